#include "update/selftest.h"

#include "app/menus.h"
#include "app/ui.h"
#include "buildinfo.h"
#include "update/updatewindow.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {
QPointer<selfTest> theWindow;
}

selfTest *selfTest::instance()
{
    if (!theWindow)
        theWindow = new selfTest();
    return theWindow;
}

selfTest *selfTest::existing()
{
    return theWindow;
}

selfTest::selfTest()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("selfTest"));
    setWindowTitle(QStringLiteral("Self Test"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(217, 102);
    ui::paintBackground(this);

    StaticText1 = new QLabel(QStringLiteral("Version:"), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setFont(ui::systemFont(true));
    StaticText1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StaticText1->setGeometry(38, 19, 67, 20);

    StaticText2 = new QLabel(QStringLiteral("2.2.0 Intel"), this);
    StaticText2->setObjectName(QStringLiteral("StaticText2"));
    StaticText2->setFont(ui::systemFont(false));
    StaticText2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    StaticText2->setGeometry(105, 19, 70, 20);

    PushButton1 = new QPushButton(QStringLiteral("Check for Updates"), this);
    PushButton1->setObjectName(QStringLiteral("PushButton1"));
    PushButton1->setFont(ui::systemFont(true));
    PushButton1->setGeometry(28, 61, 157, 21);
    PushButton1->setDefault(true);
    connect(PushButton1, &QPushButton::clicked, this, &selfTest::PushButton1_Action);
    // A plain window has no default-button handling of its own.
    ui::pressOnReturn(this, PushButton1);

    menus::addShellShortcuts(this);
    StaticText2_Open();
}

void selfTest::StaticText2_Open()
{
    // The long version text is wider than the design's "2.2.0 Intel".
    ui::setTextGrowingRight(StaticText2, QString::fromUtf8(buildinfo::longVersion));
}

void selfTest::PushButton1_Action()
{
    // A new window and client for every check; it hides this window as it opens.
    updateWindow window;
    window.exec();
}

void showSelfTest()
{
    selfTest *window = selfTest::instance();
    window->show();
    window->raise();
    window->activateWindow();
}
