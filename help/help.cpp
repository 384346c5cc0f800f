#include "help/help.h"

#include "app/menus.h"
#include "app/ui.h"

#include <QMenuBar>
#include <QPointer>
#include <QVBoxLayout>

namespace {
QPointer<Help> theHelp;
}

Help::Help()
{
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(QStringLiteral("Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    ui::paintBackground(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menus::buildMenuBar2(this));
    menus::addShellShortcuts(this, false);
    setFixedSize(444, 367);
}

Help *Help::instance()
{
    if (!theHelp)
        theHelp = new Help();
    return theHelp;
}

Help *Help::existing()
{
    return theHelp;
}

void showHelp()
{
    Help *w = Help::instance();
    w->show();
    w->raise();
    w->activateWindow();
}

bool printHelpFromApp()
{
    return true;
}
