#include "help/help.h"

#include "app/menus.h"
#include "app/ui.h"
#include "help/printing.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPalette>
#include <QPointer>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
QPointer<Help> theHelp;
}

QString Help::helpText()
{
    static const QString text = QStringLiteral(
        "You are manager of Zingaroo, a popular fast food restaurant with a drivethrough."
        "\r\r"
        "As manager, you get to set the prices and decide when to have a 20% off sale.  "
        "Prices are managed in the Prices window, accessed from the menu bar.  "
        "To change an item's regular price, double-click on a cell and enter the price in "
        "cents (no decimal).  Sale prices are calculated automatically.  "
        "Prices are saved between sessions."
        "\r\r"
        "Sound is supported.  You can turn off the sound from the Menu bar."
        "\r\r"
        "The main window keeps track of what is ordered and the subtotal.  "
        "When the order is completed, click Total and a 5% tax is added.  "
        "If the customer changes his mind after an order is started, click on the small "
        "buttons to the left of each item to reduce the quantity of that item by one."
        "\r\r"
        "After the order is taken and a total is calculated, enter the cash amount given by "
        "the customer and the change will be calculated."
        "\r\r"
        "Besides just having fun with the point-of-sale application, children can learn how "
        "to make change.");
    return text;
}

Help::Help()
{
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(QStringLiteral("Help"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    ui::paintBackground(this);

    // The bar sits above the 444 x 367 content, which keeps the drawn layout.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_bar = menus::buildMenuBar2(this);
    layout->setMenuBar(m_bar);
    auto *content = new QWidget(this);
    content->setObjectName(QStringLiteral("HelpContent"));
    content->setFixedSize(444, 367);
    layout->addWidget(content);

    m_text = new QTextEdit(content);
    m_text->setObjectName(QStringLiteral("TextArea1"));
    m_text->setGeometry(20, 20, 404, 327);
    m_text->setFont(ui::font(QStringLiteral("System"), 14, false));
    m_text->setReadOnly(true);
    m_text->setAcceptRichText(true);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setLineWrapMode(QTextEdit::WidgetWidth);
    m_text->setFrameShape(QFrame::StyledPanel);
    m_text->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setFocusPolicy(Qt::StrongFocus);
    QPalette p = m_text->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Text, Qt::black);
        p.setColor(group, QPalette::Base, Qt::white);
    }
    // The selection shows only while the window is active.
    p.setColor(QPalette::Inactive, QPalette::Highlight, Qt::white);
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
    m_text->setPalette(p);
    m_text->setPlainText(helpText());
    m_text->setFocus();

    menus::addShellShortcuts(this, false);
    AddMenuHandlers();
}

void Help::AddMenuHandlers()
{
    menus::setWindowHandler(this, QStringLiteral("FilePrintHelp"), [this] { return _FilePrintHelp_Action(); });
}

bool Help::_FilePrintHelp_Action()
{
    return helpprint::printHelpText();
}

void Help::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    // A closed Help window is gone at once for everyone who asks, even before
    // its deferred deletion: the next Show Help makes a fresh one.
    if (event->isAccepted() && theHelp == this)
        theHelp = nullptr;
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

QTextEdit *Help::TextArea1() const
{
    return m_text;
}

QMenuBar *Help::menuBar() const
{
    return m_bar;
}

QAction *Help::item(const char *name) const
{
    return menus::findItem(m_bar, QString::fromLatin1(name));
}

QAction *Help::FileMenu() const { return item("FileMenu"); }
QAction *Help::FilePrintHelp() const { return item("FilePrintHelp"); }
QAction *Help::FileQuit() const { return item("FileQuit"); }
QAction *Help::EditMenu() const { return item("EditMenu"); }
QAction *Help::EditUndo() const { return item("EditUndo"); }
QAction *Help::EditSeparator1() const { return item("EditSeparator1"); }
QAction *Help::EditCut() const { return item("EditCut"); }
QAction *Help::EditCopy() const { return item("EditCopy"); }
QAction *Help::EditPaste() const { return item("EditPaste"); }
QAction *Help::EditClear() const { return item("EditClear"); }
QAction *Help::EditSeparator2() const { return item("EditSeparator2"); }
QAction *Help::EditSelectAll() const { return item("EditSelectAll"); }

void showHelp()
{
    Help *w = Help::instance();
    w->show();
    w->raise();
    w->activateWindow();
}

bool printHelpFromApp()
{
    return helpprint::printHelpText();
}
