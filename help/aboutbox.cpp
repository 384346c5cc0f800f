#include "help/aboutbox.h"

#include "app/menus.h"
#include "app/ui.h"
#include "buildinfo.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

namespace {

QPointer<AboutBox> theBox;

QLabel *label(QWidget *parent, const char *name, const QString &text, QRect geometry,
              const QFont &font, Qt::Alignment alignment)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    l->setFont(font);
    l->setAlignment(alignment);
    l->setTextFormat(Qt::PlainText);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, Qt::black);
    l->setPalette(p);
    return l;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setFont(ui::systemFont(true));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

QString AboutBox::creditsText()
{
    return QStringLiteral("Developed by\n%1\n\nSr. Beta Tester\n%2")
        .arg(QString::fromUtf8(buildinfo::developerName), QString::fromUtf8(buildinfo::betaTesterName));
}

AboutBox::AboutBox()
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About..."));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(264, 258);
    ui::paintBackground(this);

    // Created in tab order.
    m_button1 = button(this, "PushButton1", QStringLiteral("Email Author"), {72, 180, 120, 21});
    m_button2 = button(this, "PushButton2", QStringLiteral("Visit Web Site"), {72, 217, 120, 21});
    m_text2 = label(this, "StaticText2", creditsText(), {80, 86, 104, 87}, ui::systemFont(false),
                    Qt::AlignHCenter | Qt::AlignTop);
    m_text1 = label(this, "StaticText1", QStringLiteral("Zingaroo"), {17, 21, 231, 45},
                    ui::font(QStringLiteral("Arial"), 30, true), Qt::AlignHCenter | Qt::AlignTop);
    m_text3 = label(this, "StaticText3", QStringLiteral("Version:"), {72, 60, 56, 20},
                    ui::font(QStringLiteral("Arial"), 12, true), Qt::AlignLeft | Qt::AlignTop);
    m_text4 = label(this, "StaticText4", QStringLiteral("2.2.0 Intel"), {136, 60, 56, 20},
                    ui::font(QStringLiteral("Arial"), 12, true), Qt::AlignRight | Qt::AlignTop);

    connect(m_button1, &QPushButton::clicked, this, &AboutBox::PushButton1_Action);
    connect(m_button2, &QPushButton::clicked, this, &AboutBox::PushButton2_Action);
    menus::addShellShortcuts(this);
    StaticText4_Open();
}

void AboutBox::StaticText4_Open()
{
    // The box was drawn for a shorter text; the label's left edge stays
    // beside "Version:".
    ui::setTextGrowingRight(m_text4, QString::fromUtf8(buildinfo::longVersion));
}

void AboutBox::PushButton1_Action()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + QString::fromUtf8(buildinfo::authorEmail)));
}

void AboutBox::PushButton2_Action()
{
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(buildinfo::homeUrl)));
}

void AboutBox::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted() && theBox == this)
        theBox = nullptr;
}

AboutBox *AboutBox::instance()
{
    if (!theBox)
        theBox = new AboutBox();
    return theBox;
}

AboutBox *AboutBox::existing()
{
    return theBox;
}

void showAbout()
{
    AboutBox *box = AboutBox::instance();
    box->show();
    box->raise();
    box->activateWindow();
}
