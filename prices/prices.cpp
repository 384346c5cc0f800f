#include "prices/prices.h"

#include "app/menus.h"
#include "app/ui.h"
#include "shop/prefs.h"
#include "shop/state.h"

#include <QCloseEvent>
#include <QPointer>

namespace {
QPointer<Prices> thePrices;
}

Prices::Prices()
{
    setObjectName(QStringLiteral("Prices"));
    setWindowTitle(QStringLiteral("Prices"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(280, 360);
    ui::paintBackground(this);
    menus::addShellShortcuts(this);
}

Prices *Prices::instance()
{
    if (!thePrices)
        thePrices = new Prices();
    return thePrices;
}

Prices *Prices::existing()
{
    return thePrices;
}

void Prices::closeEvent(QCloseEvent *event)
{
    prefModule::savePrefs();
    event->accept();
}

void showPrices()
{
    Prices *w = Prices::instance();
    w->move(prefModule::Window1Left + 20, prefModule::Window1Top + 20);
    w->show();
    w->raise();
    w->activateWindow();
}
