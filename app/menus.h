#pragma once
// The two menu bars and the routing of menu commands by item name: a
// frontmost window's own handler for an item goes before the application's.
#include <QString>
#include <functional>

class QAction;
class QMenuBar;
class QWidget;

namespace menus {

using Handler = std::function<bool()>;

// The main bar, shown with the counter window.
QMenuBar *buildMenuBar1(QWidget *parent = nullptr);
// The Help window's bar.
QMenuBar *buildMenuBar2(QWidget *parent = nullptr);

// Application handlers live as long as the program; window handlers as long
// as their window.
void setAppHandler(const QString &itemName, Handler handler);
void clearAppHandlers();
void setWindowHandler(QWidget *window, const QString &itemName, Handler handler);

// Runs the handler for itemName, the frontmost window's first. Returns
// whether one handled it.
bool dispatch(const QString &itemName, QWidget *frontmost);

// Quit: close every window (the counter window's close saves and quits).
void quitApplication();

// The standard editing commands on the focused text control.
void performEdit(const QString &itemName);

// Windows without a bar of their own still answer Print Help (Ctrl+P) and
// Quit (Ctrl+Q); a window whose bar has Print Help but no Quit shortcut asks
// for Quit alone.
void addShellShortcuts(QWidget *window, bool withPrintHelp = true);

// The item (or menu's action) named itemName in a bar, or nullptr.
QAction *findItem(QMenuBar *bar, const QString &itemName);

} // namespace menus
