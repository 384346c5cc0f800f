#include "app/menus.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace menus {

namespace {

enum class Kind { Ordinary, Separator, Edit, Quit };

struct ItemDef {
    const char *name;
    const char *caption;
    const char *shortcut; // "Ctrl+P" or nullptr
    Kind kind;
};

struct MenuDef {
    const char *name;
    const char *caption;
    std::initializer_list<ItemDef> items;
};

QHash<QString, Handler> &appHandlers()
{
    static QHash<QString, Handler> handlers;
    return handlers;
}

// Per-window handlers ride on a child object, so they vanish with the window.
class WindowHandlers : public QObject
{
public:
    using QObject::QObject;
    QHash<QString, Handler> handlers;
};

WindowHandlers *windowHandlers(QWidget *window, bool create)
{
    if (!window)
        return nullptr;
    for (QObject *child : window->children()) {
        if (auto *h = dynamic_cast<WindowHandlers *>(child))
            return h;
    }
    return create ? new WindowHandlers(window) : nullptr;
}

void runItem(const QString &name, Kind kind, QWidget *window)
{
    switch (kind) {
    case Kind::Quit:
        quitApplication();
        break;
    case Kind::Edit:
        performEdit(name);
        break;
    default:
        dispatch(name, window);
        break;
    }
}

// Editing items are enabled when the focused control can perform them.
void refreshEditItems(QMenu *menu)
{
    QWidget *focus = QApplication::focusWidget();
    auto *line = qobject_cast<QLineEdit *>(focus);
    auto *rich = qobject_cast<QTextEdit *>(focus);
    auto *plain = qobject_cast<QPlainTextEdit *>(focus);
    const bool text = line || rich || plain;
    const bool readOnly = line ? line->isReadOnly()
                          : rich ? rich->isReadOnly()
                          : plain ? plain->isReadOnly() : true;
    const bool selection = line ? line->hasSelectedText()
                           : rich ? rich->textCursor().hasSelection()
                           : plain ? plain->textCursor().hasSelection() : false;
    for (QAction *a : menu->actions()) {
        const QString n = a->objectName();
        if (n == u"EditUndo")
            a->setEnabled(text && !readOnly);
        else if (n == u"EditCut" || n == u"EditClear")
            a->setEnabled(text && !readOnly && selection);
        else if (n == u"EditCopy")
            a->setEnabled(selection);
        else if (n == u"EditPaste")
            a->setEnabled(text && !readOnly);
        else if (n == u"EditSelectAll")
            a->setEnabled(text);
    }
}

QMenuBar *buildBar(const char *barName, std::initializer_list<MenuDef> defs, QWidget *parent)
{
    auto *bar = new QMenuBar(parent);
    bar->setObjectName(QString::fromLatin1(barName));
    for (const MenuDef &m : defs) {
        auto *menu = bar->addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QString::fromLatin1(m.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(m.name));
        bool hasEdit = false;
        for (const ItemDef &it : m.items) {
            const QString name = QString::fromLatin1(it.name);
            QAction *action = nullptr;
            if (it.kind == Kind::Separator) {
                action = menu->addSeparator();
            } else {
                action = menu->addAction(QString::fromUtf8(it.caption));
                if (it.shortcut)
                    action->setShortcut(QKeySequence(QString::fromLatin1(it.shortcut)));
                const Kind kind = it.kind;
                QObject::connect(action, &QAction::triggered, bar,
                                 [name, kind, bar] { runItem(name, kind, bar->window()); });
            }
            action->setObjectName(name);
            if (it.kind == Kind::Quit)
                action->setMenuRole(QAction::QuitRole);
            else if (name == u"AppleAbout")
                action->setMenuRole(QAction::AboutRole);
            else
                action->setMenuRole(QAction::NoRole);
            if (name == u"SoundSoundOn" || name == u"SoundSoundOff")
                action->setCheckable(true);
            hasEdit = hasEdit || it.kind == Kind::Edit;
        }
        if (hasEdit)
            QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { refreshEditItems(menu); });
    }
    return bar;
}

} // namespace

QMenuBar *buildMenuBar1(QWidget *parent)
{
    return buildBar("MenuBar1",
                    {
                        {"FileMenu", "&File",
                         {{"FilePrintHelp", "Print Help", "Ctrl+P", Kind::Ordinary},
                          {"FileQuit", "Quit", "Ctrl+Q", Kind::Quit}}},
                        {"EditMenu", "&Edit",
                         {{"EditUndo", "&Undo", "Ctrl+Z", Kind::Edit},
                          {"UntitledMenu0", "-", nullptr, Kind::Separator},
                          {"EditCut", "Cu&t", "Ctrl+X", Kind::Edit},
                          {"EditCopy", "&Copy", "Ctrl+C", Kind::Edit},
                          {"EditPaste", "&Paste", "Ctrl+V", Kind::Edit},
                          {"EditClear", "Clear", nullptr, Kind::Edit}}},
                        {"SoundMenu", "Sound",
                         {{"SoundSoundOn", "Sound On", nullptr, Kind::Ordinary},
                          {"SoundSoundOff", "Sound Off", nullptr, Kind::Ordinary}}},
                        {"PricesMenu", "Prices", {{"PricesShow", "Show Prices", nullptr, Kind::Ordinary}}},
                        {"CheckforUpdateMenu", "Check for Update",
                         {{"CheckforUpdateCheckNow", "Check Now", nullptr, Kind::Ordinary}}},
                        {"HelpMenu", "ZUP Help",
                         {{"HelpShow", "Show Help", nullptr, Kind::Ordinary},
                          {"AppleAbout", "About...", nullptr, Kind::Ordinary}}},
                    },
                    parent);
}

QMenuBar *buildMenuBar2(QWidget *parent)
{
    return buildBar("MenuBar2",
                    {
                        {"FileMenu", "&File",
                         {{"FilePrintHelp", "Print Help", "Ctrl+P", Kind::Ordinary},
                          {"FileQuit", "&Quit", nullptr, Kind::Quit}}},
                        {"EditMenu", "&Edit",
                         {{"EditUndo", "&Undo", "Ctrl+Z", Kind::Edit},
                          {"EditSeparator1", "-", nullptr, Kind::Separator},
                          {"EditCut", "Cu&t", "Ctrl+X", Kind::Edit},
                          {"EditCopy", "&Copy", "Ctrl+C", Kind::Edit},
                          {"EditPaste", "&Paste", "Ctrl+V", Kind::Edit},
                          {"EditClear", "&Delete", nullptr, Kind::Edit},
                          {"EditSeparator2", "-", nullptr, Kind::Separator},
                          {"EditSelectAll", "Select &All", "Ctrl+A", Kind::Edit}}},
                    },
                    parent);
}

void setAppHandler(const QString &itemName, Handler handler)
{
    appHandlers().insert(itemName, std::move(handler));
}

void clearAppHandlers()
{
    appHandlers().clear();
}

void setWindowHandler(QWidget *window, const QString &itemName, Handler handler)
{
    windowHandlers(window, true)->handlers.insert(itemName, std::move(handler));
}

bool dispatch(const QString &itemName, QWidget *frontmost)
{
    if (frontmost) {
        if (WindowHandlers *h = windowHandlers(frontmost->window(), false)) {
            const auto it = h->handlers.constFind(itemName);
            if (it != h->handlers.cend() && (*it) && (*it)())
                return true;
        }
    }
    const auto it = appHandlers().constFind(itemName);
    if (it != appHandlers().cend() && *it)
        return (*it)();
    return false;
}

void quitApplication()
{
    // Closing the counter window saves the preferences and ends the program.
    QApplication::closeAllWindows();
}

void performEdit(const QString &itemName)
{
    QWidget *focus = QApplication::focusWidget();
    if (auto *line = qobject_cast<QLineEdit *>(focus)) {
        const bool ro = line->isReadOnly();
        if (itemName == u"EditCopy") line->copy();
        else if (itemName == u"EditSelectAll") line->selectAll();
        else if (ro) return;
        else if (itemName == u"EditUndo") line->undo();
        else if (itemName == u"EditCut") line->cut();
        else if (itemName == u"EditPaste") line->paste();
        else if (itemName == u"EditClear") line->del();
        return;
    }
    auto editText = [&](auto *edit) {
        const bool ro = edit->isReadOnly();
        if (itemName == u"EditCopy") edit->copy();
        else if (itemName == u"EditSelectAll") edit->selectAll();
        else if (ro) return;
        else if (itemName == u"EditUndo") edit->undo();
        else if (itemName == u"EditCut") edit->cut();
        else if (itemName == u"EditPaste") edit->paste();
        else if (itemName == u"EditClear") edit->textCursor().removeSelectedText();
    };
    if (auto *rich = qobject_cast<QTextEdit *>(focus))
        editText(rich);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(focus))
        editText(plain);
}

void addShellShortcuts(QWidget *window, bool withPrintHelp)
{
    if (withPrintHelp) {
        auto *print = new QAction(window);
        print->setObjectName(QStringLiteral("ShellPrintHelp"));
        print->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
        QObject::connect(print, &QAction::triggered, window,
                         [window] { dispatch(QStringLiteral("FilePrintHelp"), window); });
        window->addAction(print);
    }
    auto *quit = new QAction(window);
    quit->setObjectName(QStringLiteral("ShellQuit"));
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    QObject::connect(quit, &QAction::triggered, window, [] { quitApplication(); });
    window->addAction(quit);
}

QAction *findItem(QMenuBar *bar, const QString &itemName)
{
    if (!bar)
        return nullptr;
    const auto actions = bar->findChildren<QAction *>(itemName);
    return actions.isEmpty() ? nullptr : actions.first();
}

} // namespace menus
