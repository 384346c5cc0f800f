#include "help/aboutbox.h"

#include "app/menus.h"
#include "app/ui.h"

#include <QPointer>
#include <QWidget>

void showAbout()
{
    static QPointer<QWidget> box;
    if (!box) {
        box = new QWidget();
        box->setObjectName(QStringLiteral("AboutBox"));
        box->setWindowTitle(QStringLiteral("About..."));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setFixedSize(264, 258);
        ui::paintBackground(box);
        menus::addShellShortcuts(box);
    }
    box->show();
    box->raise();
    box->activateWindow();
}
