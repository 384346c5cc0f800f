#include "counter/gui.h"

#include "app/menus.h"
#include "app/ui.h"
#include "buildinfo.h"
#include "prices/prices.h"
#include "shop/prefs.h"
#include "shop/rules.h"
#include "shop/state.h"
#include "voice/player.h"
#include "voice/speak.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QUrl>

#include <algorithm>
#include <initializer_list>
#include <vector>

using voice::Clip;

namespace {

QPointer<GUI> theGui;

const QString zeroMoney = QStringLiteral("$0.00");

struct ItemRow {
    int reductionTop, quantityTop, nameTop, priceTop;
    const char *nameLabel;
    QPoint button;
    std::vector<Clip> clips; // said after a press, with sound on
};

const ItemRow &itemRow(int n)
{
    static const ItemRow rows[8] = {
        {164, 162, 159, 160, "StaticText2", {301, 176}, {Clip::SndOK, Clip::SndFries}},
        {196, 196, 192, 195, "StaticText6", {301, 242}, {Clip::SndAnythingElse}},
        {229, 229, 227, 230, "StaticText7", {301, 309}, {Clip::SndIsThatAll}},
        {263, 263, 261, 264, "StaticText8", {301, 377}, {Clip::SndEverything}},
        {297, 297, 295, 298, "StaticText9", {423, 176}, {Clip::SndWhatElse}},
        {331, 331, 329, 332, "StaticText10", {423, 242}, {Clip::SndOK}},
        {365, 365, 363, 366, "StaticText11", {423, 309}, {}},
        {399, 399, 397, 399, "StaticText12", {423, 377}, {}},
    };
    return rows[n - 1];
}

struct MoneyButton {
    int left;
    const char *face;
    int faceX;
    int cents;
    const char *spoken; // what a screen reader says
    char key;           // the letter that presses it: its name's first, or one that stands out in it
};

const MoneyButton &moneyButton(int n) // n = 9 … 15
{
    static const MoneyButton buttons[7] = {
        {19, "$5", 10, 500, "Five dollar bill", 'F'}, {73, "$1", 10, 100, "One dollar bill", 'D'},
        {126, "$.50", 3, 50, "Half dollar", 'H'},     {181, "$.25", 3, 25, "Quarter", 'Q'},
        {235, "$.10", 3, 10, "Dime", 'M'},            {289, "$.05", 3, 5, "Nickel", 'K'},
        {342, "$.01", 3, 1, "Penny", 'P'},
    };
    return buttons[n - 9];
}

// Keyboard play, for a child without a mouse: the digits order the items
// in the order of their rows, Shift with the digit takes one off again, and
// the letters come from the buttons' names. Return stays with the support
// button, the window's default button.
const QKeySequence totalKey(Qt::Key_T);
const QKeySequence nextOrderKey(Qt::Key_N);
const QKeySequence okKey(Qt::Key_O);

QKeySequence itemKey(int n)
{
    return QKeySequence(Qt::Key_0 + n);
}

QKeySequence reductionKey(int n)
{
    return QKeySequence(Qt::SHIFT | Qt::Key(Qt::Key_0 + n));
}

QKeySequence moneyKey(int n)
{
    return QKeySequence(Qt::Key(moneyButton(n).key));
}

QString keyText(const QKeySequence &key)
{
    return key.toString(QKeySequence::NativeText);
}

QString itemName(int n)
{
    return QString::fromLatin1(shop::items[n - 1].name);
}

const QColor logoRed{0xFF, 0x0A, 0x26};

QFont helvetica(int size, bool bold = true)
{
    return ui::font(QStringLiteral("Helvetica Neue"), size, bold);
}

QFont systemFont(int size)
{
    return ui::font(QStringLiteral("System"), size, true);
}

// The platform's user-interface font is often wider than the one the layout
// was drawn with: step the size down until the text fits its box.
QFont fitted(QFont font, const QString &text, int width)
{
    const int advance = QFontMetrics(font).horizontalAdvance(text);
    const int original = font.pixelSize();
    if (advance <= width)
        return font;
    // Text widths scale almost linearly with the size: start from the
    // proportional guess and step down only if hinting made it too wide, so
    // only one or two more sizes are ever loaded.
    font.setPixelSize(std::max(6, original * width / std::max(1, advance)));
    while (font.pixelSize() > 6 && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QLabel *addLabel(QWidget *parent, const char *name, QRect box, const QString &text, const QFont &font,
                 Qt::Alignment align = Qt::AlignLeft, const QColor &colour = Qt::black)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(box);
    label->setFont(fitted(font, text, box.width()));
    label->setAlignment(align | Qt::AlignVCenter);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    return label;
}

// Single-line, read-only, bordered, white, centred and never focused: the
// program alone writes these fields. The thin grey border is painted here
// rather than by a style sheet, which cost several milliseconds at start-up.
class CounterField : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QLineEdit::paintEvent(event);
        QPainter p(this);
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

QLineEdit *addField(QWidget *parent, const QString &name, QRect box, const QString &text, const QFont &font)
{
    auto *field = new CounterField(text, parent);
    field->setObjectName(name);
    field->setGeometry(box);
    field->setFont(font);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignCenter);
    field->setFocusPolicy(Qt::NoFocus);
    field->setFrame(false);
    field->setTextMargins(1, 0, 1, 0);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    field->setPalette(palette);
    return field;
}

QPushButton *addBevelButton(QWidget *parent, const QString &name, QRect box, const char *caption)
{
    auto *button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(name);
    button->setGeometry(box);
    button->setFont(fitted(systemFont(18), button->text(), box.width() - 8));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

void addLine(QWidget *parent, const char *name, QRect box)
{
    auto *line = new QWidget(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setGeometry(box);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, Qt::black);
    line->setPalette(p);
    line->setAutoFillBackground(true);
}

} // namespace

namespace counter {

namespace {

// A canvas is a button to assistive technology: it has a name, a press
// action that does what a click does, and the key that presses it.
class CanvasAccessible : public QAccessibleWidget
{
public:
    explicit CanvasAccessible(Canvas *canvas) : QAccessibleWidget(canvas, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            canvas()->press();
    }
    QStringList keyBindingsForAction(const QString &action) const override
    {
        if (action != pressAction() || canvas()->keyText.isEmpty())
            return {};
        return {canvas()->keyText};
    }

private:
    Canvas *canvas() const { return static_cast<Canvas *>(widget()); }
};

QAccessibleInterface *canvasAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(Canvas::staticMetaObject.className()) && object && object->isWidgetType())
        return new CanvasAccessible(static_cast<Canvas *>(object));
    return nullptr;
}

} // namespace

void RoundRectangle::paintEvent(QPaintEvent *)
{
    QPainter g(this);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(Qt::white);
    // A 16 × 16 corner oval is a radius of 8.
    g.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

Canvas::Canvas(QWidget *parent) : QWidget(parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(canvasAccessible), true);
    Q_UNUSED(factoryInstalled);
    setAttribute(Qt::WA_TranslucentBackground);
}

void Canvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (mouseDown)
        mouseDown(at.x(), at.y());
    event->accept();
}

void Canvas::press()
{
    if (mouseDown && isEnabled())
        mouseDown(width() / 2, height() / 2);
}

void Canvas::paintEvent(QPaintEvent *)
{
    if (!paint)
        return;
    QPainter g(this);
    g.setRenderHint(QPainter::TextAntialiasing);
    paint(g);
}

} // namespace counter

GUI::GUI(QWidget *parent) : QMainWindow(parent)
{
    theGui = this;
    setObjectName(QStringLiteral("GUI"));
    setWindowTitle(QStringLiteral("GUI"));
    setMenuBar(menus::buildMenuBar1(this));
    auto *content = new QWidget(this);
    content->setObjectName(QStringLiteral("GUIContent"));
    content->setFixedSize(683, 590);
    ui::paintBackground(content);
    setCentralWidget(content);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    buildControls(content);
    nameControls();
    addPlayKeys();

    // A main window has no default-button handling of its own: Return and
    // Enter press the support button wherever the focus is.
    ui::pressOnReturn(this, Kagi1);

    Prices::setPricesTakenUpHandler([this] {
        RefreshPrices();
        redraw();
    });
}

GUI::~GUI()
{
    Prices::setPricesTakenUpHandler({});
}

void GUI::buildControls(QWidget *content)
{
    // Created in the window's stacking and tab order.
    addLabel(content, "StaticText1", {34, 14, 619, 45}, QStringLiteral("Welcome to Zingaroo"), helvetica(30),
             Qt::AlignHCenter);
    addLabel(content, "StaticText2", {121, itemRow(1).nameTop, 74, 25}, QStringLiteral("Burger"), helvetica(16));
    EditField1 = addField(content, QStringLiteral("EditField1"), {304, 84, 209, 53}, zeroMoney, helvetica(40));

    for (int n = 1; n <= 8; ++n) {
        const QPoint at = itemRow(n).button;
        QPushButton *button = addBevelButton(content, QStringLiteral("BevelButton%1").arg(n), {at, QSize(90, 39)},
                                             shop::items[n - 1].name);
        itemButtons[n - 1] = button;
        connect(button, &QPushButton::clicked, this, [this, n] { BevelButton_Action(n); });
    }
    BevelButton9 = addBevelButton(content, QStringLiteral("BevelButton9"), {553, 242, 90, 39}, "Total");
    connect(BevelButton9, &QPushButton::clicked, this, &GUI::BevelButton9_Action);
    BevelButton11 = addBevelButton(content, QStringLiteral("BevelButton11"), {543, 309, 111, 39}, "Next Order");
    connect(BevelButton11, &QPushButton::clicked, this, &GUI::BevelButton11_Action);

    addLabel(content, "StaticText3", {76, 71, 51, 53}, QStringLiteral("Z"), helvetica(50), Qt::AlignLeft, logoRed);
    addLabel(content, "StaticText4", {128, 71, 51, 53}, QStringLiteral("U"), helvetica(50), Qt::AlignLeft, logoRed);
    StaticText5 = addLabel(content, "StaticText5", {322, 144, 177, 20},
                           QStringLiteral("Total includes 5% State tax."), helvetica(12));
    StaticText5->hide();

    for (int n = 1; n <= 8; ++n)
        priceFields[n - 1] = addField(content, QStringLiteral("EditField%1").arg(n + 1),
                                      {211, itemRow(n).priceTop, 47, 25}, QString(), helvetica(18));
    for (int n = 2; n <= 8; ++n)
        addLabel(content, itemRow(n).nameLabel, {121, itemRow(n).nameTop, 74, 25},
                 QString::fromLatin1(shop::items[n - 1].name), helvetica(16));

    GroupBox1 = new QGroupBox(QStringLiteral(" 20% Sale?"), content);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(532, 73, 122, 100);
    GroupBox1->setFont(helvetica(18));
    RadioButton1 = new QRadioButton(QStringLiteral("Yes"), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(561 - 532, 106 - 73, 80, 20);
    RadioButton1->setFont(fitted(systemFont(18), RadioButton1->text(), 80 - 22));
    RadioButton2 = new QRadioButton(QStringLiteral("No"), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(561 - 532, 138 - 73, 80, 20);
    RadioButton2->setFont(fitted(systemFont(18), RadioButton2->text(), 80 - 22));
    RadioButton2->setChecked(true);
    // Presses only: Start selects a button without running its handler.
    connect(RadioButton1, &QRadioButton::clicked, this, &GUI::RadioButton1_Action);
    connect(RadioButton2, &QRadioButton::clicked, this, &GUI::RadioButton2_Action);

    addLabel(content, "StaticText13", {172, 71, 51, 53}, QStringLiteral("P"), helvetica(50), Qt::AlignLeft,
             logoRed);
    addLabel(content, "StaticText14", {189, 128, 86, 20}, QStringLiteral("Price in Cents"), systemFont(12));
    for (int n = 1; n <= 8; ++n)
        quantityFields[n - 1] = addField(content, QStringLiteral("EditField%1").arg(n + 9),
                                         {84, itemRow(n).quantityTop, 23, 22}, QStringLiteral("0"),
                                         helvetica(12, false));
    addLabel(content, "StaticText15", {70, 128, 86, 20}, QStringLiteral("Quantity"), systemFont(12));

    Kagi1 = new QPushButton(QStringLiteral("Support Bramblecroft"), content);
    Kagi1->setObjectName(QStringLiteral("Kagi1"));
    Kagi1->setGeometry(533, 382, 120, 27);
    Kagi1->setFont(fitted(systemFont(QFontInfo(ui::systemFont()).pixelSize()), Kagi1->text(), 120 - 8));
    Kagi1->setDefault(true);
    connect(Kagi1, &QPushButton::clicked, this, &GUI::Kagi1_Action);

    auto addCanvas = [this, content](int n, QRect box) {
        auto *frame = new counter::RoundRectangle(content);
        frame->setObjectName(QStringLiteral("RoundRectangle%1").arg(n));
        frame->setGeometry(box);
        auto *canvas = new counter::Canvas(frame);
        canvas->setObjectName(QStringLiteral("Canvas%1").arg(n));
        canvas->setGeometry(0, 0, box.width(), box.height());
        canvas->mouseDown = [this, n](int x, int y) { return Canvas_MouseDown(n, x, y); };
        if (n >= 9)
            canvas->paint = [this, n](QPainter &g) { Canvas_Paint(n, g); };
        canvases[n - 1] = canvas;
    };
    for (int n = 1; n <= 8; ++n)
        addCanvas(n, {38, itemRow(n).reductionTop, 20, 20});
    addLabel(content, "StaticText16", {38, 128, 20, 20}, QStringLiteral("-1"), systemFont(12));
    addLine(content, "Line1", {20, 440, 635, 1});
    for (int n = 9; n <= 15; ++n)
        addCanvas(n, {moneyButton(n).left, 525, 45, 45});

    AmtPaid = addField(content, QStringLiteral("AmtPaid"), {169, 466, 140, 42}, zeroMoney, helvetica(30));
    Change = addField(content, QStringLiteral("Change"), {472, 466, 140, 42}, zeroMoney, helvetica(30));
    addLabel(content, "StaticText24", {472, 530, 146, 30}, QStringLiteral("Change Back:"), helvetica(20));
    addLabel(content, "StaticText25", {20, 460, 140, 53}, QStringLiteral("Amount Paid:"), systemFont(20));
    OK = new QPushButton(QStringLiteral("OK"), content);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(322, 474, 60, 27);
    OK->setFont(fitted(systemFont(18), OK->text(), 60 - 8));
    OK->setAutoDefault(false);
    OK->setEnabled(false);
    connect(OK, &QPushButton::clicked, this, &GUI::OK_Action);
    addLine(content, "Line2", {407, 460, 1, 111});
}

void GUI::nameControls()
{
    // Screen readers see no objectName: the fields say what they hold, the
    // canvases what they do, since neither has a text of its own.
    EditField1->setAccessibleName(QStringLiteral("Amount due"));
    AmtPaid->setAccessibleName(QStringLiteral("Amount paid"));
    Change->setAccessibleName(QStringLiteral("Change back"));
    for (int n = 1; n <= 8; ++n) {
        priceFields[n - 1]->setAccessibleName(QStringLiteral("Price of %1 in cents").arg(itemName(n)));
        quantityFields[n - 1]->setAccessibleName(QStringLiteral("Quantity of %1").arg(itemName(n)));
        canvases[n - 1]->setAccessibleName(QStringLiteral("Remove one %1").arg(itemName(n)));
    }
    for (int n = 9; n <= 15; ++n)
        canvases[n - 1]->setAccessibleName(QString::fromLatin1(moneyButton(n).spoken));
    // Headings a reader would otherwise spell out.
    if (auto *heading = findChild<QLabel *>(QStringLiteral("StaticText16")))
        heading->setAccessibleName(QStringLiteral("Remove one"));
    GroupBox1->setAccessibleName(GroupBox1->title().trimmed());
}

void GUI::addPlayKeys()
{
    // Window shortcuts: they work only while the counter window is the active
    // one, so typing into the Prices window never orders anything. A key
    // presses the control itself, so the handler, the enabling of OK and the
    // speech are those of a click. Held down it presses once.
    auto addKey = [this](QWidget *control, const QKeySequence &key, std::function<void()> press) {
        QList<QKeySequence> keys{key};
        // Shift or Caps Lock on a letter is still that letter.
        if (key[0].keyboardModifiers() == Qt::NoModifier && key[0].key() >= Qt::Key_A && key[0].key() <= Qt::Key_Z)
            keys << QKeySequence(Qt::SHIFT | key[0].key());
        auto *shortcut = new QShortcut(this);
        shortcut->setKeys(keys);
        shortcut->setAutoRepeat(false);
        shortcut->setObjectName(control->objectName() + QStringLiteral("Key"));
        connect(shortcut, &QShortcut::activated, control, std::move(press));
        QString name = control->accessibleName();
        if (auto *button = qobject_cast<QPushButton *>(control); button && name.isEmpty())
            name = button->text();
        control->setToolTip(QStringLiteral("%1 (key %2)").arg(name, keyText(key)));
    };
    auto click = [](QPushButton *button) { return [button] { button->click(); }; };
    for (int n = 1; n <= 8; ++n)
        addKey(itemButtons[n - 1], itemKey(n), click(itemButtons[n - 1]));
    addKey(BevelButton9, totalKey, click(BevelButton9));
    addKey(BevelButton11, nextOrderKey, click(BevelButton11));
    for (int n = 1; n <= 15; ++n) {
        counter::Canvas *canvas = canvases[n - 1];
        const QKeySequence key = n <= 8 ? reductionKey(n) : moneyKey(n);
        canvas->keyText = keyText(key);
        addKey(canvas, key, [canvas] { canvas->press(); });
    }
    addKey(OK, okKey, click(OK));
    Kagi1->setToolTip(QStringLiteral("%1 (key %2)").arg(Kagi1->text(), keyText(QKeySequence(Qt::Key_Return))));
}

GUI *GUI::instance()
{
    return theGui;
}

QAction *GUI::SoundSoundOn() const
{
    return menus::findItem(menuBar(), QStringLiteral("SoundSoundOn"));
}

QAction *GUI::SoundSoundOff() const
{
    return menus::findItem(menuBar(), QStringLiteral("SoundSoundOff"));
}

void GUI::Event_Open()
{
    Start();
}

void GUI::Start()
{
    using namespace prefModule;
    loadPrefs();
    move(Window1Left, Window1Top);

    // The Prices window is made now, out of sight: its list yields the sale
    // prices. A window placed off screen would be dragged back into view by
    // the window manager, so it simply stays hidden until Show Prices.
    Prices *prices = Prices::instance();
    for (int r = 0; r < 8; ++r)
        prices->setCellText(r, 1, shop::salePrice(prices->cellText(r, 0)));
    for (int r = 0; r < 8; ++r)
        itemSale(r + 1) = prices->cellText(r, 1);

    const bool soundOn = soundIsOn();
    if (QAction *on = SoundSoundOn())
        on->setChecked(soundOn);
    if (QAction *off = SoundSoundOff())
        off->setChecked(!soundOn);
    MySound = soundOn;

    if (saleIsOn())
        RadioButton1->setChecked(true);
    else
        RadioButton2->setChecked(true);
    setPriceFields(saleIsOn());

    Dollars = 0;
    Money = 0;
    PleaseFlag = true;
    subtotal = 0;
    total = 0;
    RefreshPrices();
    ItemNo.fill(0);
}

void GUI::setPriceFields(bool sale)
{
    for (int n = 1; n <= 8; ++n)
        priceFields[n - 1]->setText(sale ? prefModule::itemSale(n) : prefModule::item(n));
}

void GUI::RefreshPrices()
{
    setPriceFields(RadioButton1->isChecked());
}

void GUI::redraw()
{
    // Paint now, since the speech that may follow holds the thread until it
    // ends, but only what changed: a control just shown posts an update of its
    // own first, then the window paints all dirty regions at once. Repainting
    // the whole window took over 2 ms a press.
    if (isVisible()) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
        QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
    }
}

void GUI::showAmountDue(double dollars)
{
    prefModule::number = dollars;
    s = shop::moneyText(prefModule::number);
    EditField1->setText(s);
}

void GUI::BevelButton_Action(int n)
{
    using namespace prefModule;
    if (n < 1 || n > 8)
        return;
    StaticText5->hide();
    subtotal = shop::wholePart(static_cast<double>(subtotal) + shop::textValue(priceFields[n - 1]->text()));
    showAmountDue(subtotal / 100.0);
    qint32 &quantity = ItemNo[n - 1];
    quantity = shop::addCents(quantity, 1);
    quantityFields[n - 1]->setText(shop::decimalText(quantity));
    Change->setText(zeroMoney);
    OK->setEnabled(false);
    redraw();
    if (MySound) {
        for (Clip clip : itemRow(n).clips)
            voice::playAndWait(clip);
    }
}

void GUI::BevelButton9_Action()
{
    using namespace prefModule;
    total = shop::totalWithTax(subtotal);
    showAmountDue(total / 100.0);
    StaticText5->show();
    redraw();
    voice::SpeakPrice(total);
    const double due = shop::moneyTextValue(EditField1->text());
    const double paid = shop::moneyTextValue(AmtPaid->text());
    OK->setEnabled(paid >= due);
    redraw();
}

void GUI::BevelButton11_Action()
{
    using namespace prefModule;
    StaticText5->hide();
    subtotal = 0;
    total = 0;
    showAmountDue(0);
    ItemNo.fill(0);
    for (QLineEdit *field : quantityFields)
        field->setText(QStringLiteral("0"));
    Dollars = 0;
    Money = 0;
    AmtPaid->setText(zeroMoney);
    Change->setText(zeroMoney);
    redraw();
    if (MySound)
        voice::playAndWait(Clip::SndOrder);
}

void GUI::RadioButton1_Action()
{
    applySaleSwitch(true);
}

void GUI::RadioButton2_Action()
{
    applySaleSwitch(false);
}

// Yes and No differ only in the prices they put up and the text they save.
void GUI::applySaleSwitch(bool on)
{
    using namespace prefModule;
    setPriceFields(on);
    double sum = 0;
    for (int n = 1; n <= 8; ++n)
        sum += static_cast<double>(ItemNo[n - 1]) * shop::textValue(priceFields[n - 1]->text());
    subtotal = shop::wholePart(sum);
    showAmountDue(subtotal / 100.0);
    StaticText5->hide();
    redraw();
    SaleFlag = on ? QStringLiteral("SaleOn") : QStringLiteral("SaleOff");
}

void GUI::Kagi1_Action()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(buildinfo::storeUrl)));
}

bool GUI::Canvas_MouseDown(int n, int x, int y)
{
    using namespace prefModule;
    if (n >= 1 && n <= 8) {
        if (x < 0 || x > 20 || y < 0 || y > 20)
            return false;
        qint32 &quantity = ItemNo[n - 1];
        if (quantity > 0) {
            --quantity;
            quantityFields[n - 1]->setText(shop::decimalText(quantity));
            subtotal = shop::wholePart(static_cast<double>(subtotal) - shop::textValue(priceFields[n - 1]->text()));
            if (subtotal < 0)
                subtotal = 0;
        }
        showAmountDue(subtotal / 100.0);
        StaticText5->hide();
        Change->setText(zeroMoney);
        redraw();
        return false;
    }
    if (n >= 9 && n <= 15) {
        Money = shop::addCents(Money, moneyButton(n).cents);
        Dollars = Money / 100.0;
        s = shop::moneyText(Dollars);
        AmtPaid->setText(s);
        redraw();
        const double due = shop::moneyTextValue(EditField1->text());
        const double paid = shop::moneyTextValue(AmtPaid->text());
        if (paid >= due) {
            OK->setEnabled(true);
            redraw();
        }
    }
    return false;
}

void GUI::Canvas_Paint(int n, QPainter &g)
{
    if (n < 9 || n > 15)
        return;
    g.setPen(QColor(0, 0, 0));
    g.setFont(ui::font(QStringLiteral("Arial"), 20, false));
    g.drawText(QPoint(moneyButton(n).faceX, 30), QString::fromLatin1(moneyButton(n).face));
}

void GUI::OK_Action()
{
    using namespace prefModule;
    const qint32 totalCents = shop::wholePart((number + 0.001) * 100);
    const qint32 paidCents = shop::wholePart((shop::moneyTextValue(AmtPaid->text()) + 0.001) * 100);
    const qint32 changeCents = shop::addCents(paidCents, -static_cast<qint64>(totalCents));
    Change->setText(shop::moneyText(changeCents / 100.0));
    redraw();
    if (MySound) {
        if (changeCents == 0) {
            voice::playAndWait(Clip::PerfectThankYouVeryMuch);
        } else if (changeCents > 0) {
            PleaseFlag = false;
            voice::playAndWait(Clip::YourChangeIs);
            voice::SpeakPrice(changeCents);
        }
    }
    PleaseFlag = true;
}

void GUI::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    Event_Moved();
}

void GUI::Event_Moved()
{
    prefModule::Window1Top = y();
    prefModule::Window1Left = x();
}

void GUI::closeEvent(QCloseEvent *event)
{
    Event_Close();
    event->accept();
}

void GUI::Event_Close()
{
    // A price still being typed in the Prices window belongs in the file too.
    if (Prices *prices = Prices::existing()) {
        prices->commitEdit();
        prices->ListBox1_Change();
    }
    prefModule::savePrefs();
    QApplication::quit();
}
