#include "update/selftest.h"

#include "app/menus.h"
#include "app/ui.h"

#include <QPointer>
#include <QWidget>

void showSelfTest()
{
    static QPointer<QWidget> window;
    if (!window) {
        window = new QWidget();
        window->setObjectName(QStringLiteral("selfTest"));
        window->setWindowTitle(QStringLiteral("Self Test"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setFixedSize(217, 102);
        ui::paintBackground(window);
        menus::addShellShortcuts(window);
    }
    window->show();
    window->raise();
    window->activateWindow();
}
