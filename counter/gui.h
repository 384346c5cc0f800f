#pragma once
// The counter window: where orders are taken and paid.
#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QRadioButton;

namespace counter {

// A white rounded rectangle with a thin black border: the face of a
// quantity-reduction or money button.
class RoundRectangle : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A transparent surface over a rounded rectangle that takes the presses and
// may draw a face text. To a screen reader it is a button.
class Canvas : public QWidget
{
    Q_OBJECT
public:
    explicit Canvas(QWidget *parent = nullptr);
    std::function<bool(int x, int y)> mouseDown;
    std::function<void(QPainter &)> paint;
    // The key that presses it, as shown to the player ("Shift+1", "F").
    QString keyText;

    // A press in the middle, as the keyboard and screen readers give it.
    void press();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace counter

class GUI : public QMainWindow
{
    Q_OBJECT
public:
    explicit GUI(QWidget *parent = nullptr);
    ~GUI() override;

    // The opening: runs Start.
    void Event_Open();
    // Loads the preferences, places the window, prepares the Prices window,
    // the switches and the money figures. Speaks nothing.
    void Start();
    void RefreshPrices();

    // Item button n (1 … 8): Burger … Surprise.
    void BevelButton_Action(int n);
    // Total and Next Order.
    void BevelButton9_Action();
    void BevelButton11_Action();
    // The sale switch: Yes and No.
    void RadioButton1_Action();
    void RadioButton2_Action();
    // The support button.
    void Kagi1_Action();
    // A press at (x, y) on canvas n: 1 … 8 take one item off the order,
    // 9 … 15 count a bill or coin into the amount paid. Always false.
    bool Canvas_MouseDown(int n, int x, int y);
    // The face text of money canvas n (9 … 15).
    void Canvas_Paint(int n, QPainter &g);
    void OK_Action();

    // Menu item accessors of the window's bar.
    QAction *SoundSoundOn() const;
    QAction *SoundSoundOff() const;

    // The single counter window, or nullptr.
    static GUI *instance();

    // The order in progress.
    qint32 total = 0;
    QString s;
    std::array<qint32, 8> ItemNo{}; // ItemNo[n - 1] is the quantity of item n

    // Controls the handlers use; every control also carries its name as objectName.
    QLineEdit *EditField1 = nullptr;
    QLabel *StaticText5 = nullptr;
    std::array<QLineEdit *, 8> priceFields{};    // EditField2 … EditField9
    std::array<QLineEdit *, 8> quantityFields{}; // EditField10 … EditField17
    std::array<QPushButton *, 8> itemButtons{};  // BevelButton1 … BevelButton8
    QPushButton *BevelButton9 = nullptr;
    QPushButton *BevelButton11 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QPushButton *Kagi1 = nullptr;
    std::array<counter::Canvas *, 15> canvases{}; // Canvas1 … Canvas15
    QLineEdit *AmtPaid = nullptr;
    QLineEdit *Change = nullptr;
    QPushButton *OK = nullptr;

protected:
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls(QWidget *content);
    void nameControls();
    void addPlayKeys();
    void Event_Moved();
    void Event_Close();
    void showAmountDue(double dollars);
    void redraw();
    void setPriceFields(bool sale);
    void applySaleSwitch(bool on);
};
