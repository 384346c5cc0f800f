#include "prices/prices.h"

#include "app/menus.h"
#include "app/ui.h"
#include "shop/prefs.h"
#include "shop/rules.h"
#include "shop/state.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace {

QPointer<Prices> thePrices;
std::function<void()> takenUpHandler;

constexpr int rowCount = 8;
// The item labels stand at these tops; rows of this height keep the list's
// rows level with them.
constexpr int rowHeight = 23;

// The list: it hands an open cell editor back to the window on request.
class PriceList : public QTableWidget
{
public:
    using QTableWidget::QTableWidget;
    void commitOpenEditor()
    {
        if (state() != QAbstractItemView::EditingState)
            return;
        // The open editor is the viewport's visible child; closed ones are
        // hidden until they are deleted.
        const auto children = viewport()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget *editor : children) {
            if (!editor->isVisible())
                continue;
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
            return;
        }
    }
};

// The editor of a regular price tells a screen reader whose price it holds.
class PriceDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor && index.row() >= 0 && index.row() < rowCount)
            editor->setAccessibleName(
                QStringLiteral("Price of %1 in cents").arg(QString::fromLatin1(shop::items[index.row()].name)));
        return editor;
    }
};

} // namespace

Prices::Prices()
{
    setObjectName(QStringLiteral("Prices"));
    setWindowTitle(QStringLiteral("Prices"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(280, 360);
    ui::paintBackground(this);
    menus::addShellShortcuts(this);
    buildControls();
}

Prices::~Prices()
{
    // QWidget's destructor hides the window, which ends an open cell edit and
    // makes the list emit its signals; by then this object is only a QWidget,
    // so take the edit up now and stop listening.
    if (ListBox1) {
        commitEdit();
        ListBox1->disconnect(this);
    }
}

void Prices::buildControls()
{
    // The texts are drawn at the default size of the layout's platform.
    constexpr int textSize = 13;
    const QFont helvetica = ui::font(QStringLiteral("Helvetica Neue"), textSize, true);
    const QFont system = ui::font(QStringLiteral("System"), textSize, true);
    struct LabelRow {
        const char *name;
        int left, top, width, height;
        const char *text;
        bool systemFont;
        bool centred;
    };
    // In tab order, which is also creation order.
    static const LabelRow labels[] = {
        {"StaticText2", 20, 115, 73, 25, "Fries", false, false},
        {"StaticText3", 20, 138, 73, 25, "Soda", false, false},
        {"StaticText4", 20, 161, 73, 25, "Shake", false, false},
        {"StaticText5", 20, 184, 73, 25, "Split", false, false},
        {"StaticText6", 20, 207, 73, 25, "Cookie", false, false},
        {"StaticText7", 20, 230, 73, 25, "Toy", false, false},
        {"StaticText8", 20, 253, 73, 25, "Surprise", false, false},
        {"StaticText9", 102, 65, 73, 25, "  Price", true, false},
        {"StaticText11", 20, 291, 238, 49, "Double-click on regular price to edit.", false, true},
        {"StaticText12", 20, 14, 240, 32, "You can set prices.", false, true},
        {"StaticText13", 20, 93, 73, 25, "Burger", false, false},
        {"StaticText1", 20, 65, 73, 20, "Item:", false, false},
        {"StaticText14", 100, 45, 73, 25, "Regular", false, false},
        {"StaticText15", 185, 65, 73, 25, "  Price", false, false},
        {"StaticText16", 183, 45, 73, 25, "20% Sale", true, false},
    };
    for (const LabelRow &row : labels) {
        auto *label = new QLabel(QString::fromLatin1(row.text), this);
        label->setObjectName(QString::fromLatin1(row.name));
        label->setGeometry(row.left, row.top, row.width, row.height);
        label->setFont(row.systemFont ? system : helvetica);
        // Single-line labels centre their text in the box, so each item name
        // stands level with the middle of its row.
        label->setAlignment(row.centred ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
        label->setWordWrap(row.height > 40);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }

    auto *list = new PriceList(0, 2, this);
    ListBox1 = list;
    list->setObjectName(QStringLiteral("ListBox1"));
    list->setGeometry(94, 93, 166, 186);
    list->setFont(system);
    list->horizontalHeader()->hide();
    list->verticalHeader()->hide();
    list->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(rowHeight);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setShowGrid(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setDragEnabled(false);
    list->setEditTriggers(QAbstractItemView::DoubleClicked);
    list->setFrameStyle(QFrame::Box | QFrame::Plain);
    list->setLineWidth(1);
    // The headers stay hidden (the labels beside and above the list show
    // them) but a screen reader announces them with each cell.
    list->setAccessibleName(QStringLiteral("Prices in cents"));
    list->setHorizontalHeaderLabels({QStringLiteral("Regular price"), QStringLiteral("20% Sale price")});
    list->setItemDelegate(new PriceDelegate(list));

    connect(list, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!m_filling)
            ListBox1_Change();
    });
    // A committed edit is taken up at once, so a price typed and never
    // followed by a change of selection is not lost.
    connect(list, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (!m_filling && item->column() == 0)
            ListBox1_Change();
    });
}

Prices *Prices::instance()
{
    if (!thePrices) {
        thePrices = new Prices();
        thePrices->Event_Open();
    }
    return thePrices;
}

Prices *Prices::existing()
{
    return thePrices;
}

void Prices::setPricesTakenUpHandler(std::function<void()> handler)
{
    takenUpHandler = std::move(handler);
}

QString Prices::cellText(int row, int column) const
{
    const QTableWidgetItem *cell = ListBox1->item(row, column);
    return cell ? cell->text() : QString();
}

void Prices::setCellText(int row, int column, const QString &text)
{
    QTableWidgetItem *cell = ListBox1->item(row, column);
    if (!cell)
        return;
    const bool wasFilling = m_filling;
    m_filling = true;
    cell->setText(text);
    m_filling = wasFilling;
}

void Prices::Event_Open()
{
    m_filling = true;
    ListBox1->setRowCount(0);
    ListBox1->setRowCount(rowCount);
    for (int row = 0; row < rowCount; ++row)
        ListBox1->setVerticalHeaderItem(row, new QTableWidgetItem(QString::fromLatin1(shop::items[row].name)));
    for (int row = 0; row < rowCount; ++row) {
        auto *regular = new QTableWidgetItem(prefModule::item(row + 1));
        regular->setTextAlignment(Qt::AlignCenter);
        regular->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
        ListBox1->setItem(row, 0, regular);
        auto *sale = new QTableWidgetItem(shop::salePrice(regular->text()));
        sale->setTextAlignment(Qt::AlignCenter);
        sale->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        ListBox1->setItem(row, 1, sale);
    }
    m_filling = false;
}

void Prices::ListBox1_Change()
{
    for (int row = 0; row < rowCount; ++row)
        setCellText(row, 1, shop::salePrice(cellText(row, 0)));
    for (int row = 0; row < rowCount; ++row)
        prefModule::item(row + 1) = cellText(row, 0);
    for (int row = 0; row < rowCount; ++row)
        prefModule::itemSale(row + 1) = cellText(row, 1);
    if (takenUpHandler)
        takenUpHandler();
}

void Prices::commitEdit()
{
    static_cast<PriceList *>(ListBox1)->commitOpenEditor();
}

void Prices::Event_Close()
{
    // What was typed last reaches the shop state before it is saved.
    commitEdit();
    ListBox1_Change();
    prefModule::savePrefs();
}

void Prices::closeEvent(QCloseEvent *event)
{
    Event_Close();
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
