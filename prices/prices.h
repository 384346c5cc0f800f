#pragma once
// The Prices window: regular prices edited in place, sale prices derived.
#include <QWidget>

#include <functional>

class QTableWidget;

class Prices : public QWidget
{
    Q_OBJECT
public:
    ~Prices() override;

    // Refers to the single Prices window, creating it (and running its
    // opening) when there is none. A new window stays hidden until shown.
    static Prices *instance();
    static Prices *existing();

    // The counter window's part of taking up the list: put the new prices
    // into its price fields and redraw. Set by the counter window, which this
    // library cannot know about; an empty function clears it.
    static void setPricesTakenUpHandler(std::function<void()> handler);

    QTableWidget *ListBox1 = nullptr;

    // Cell texts by row (0 … 7, Burger first) and column (0 regular, 1 sale).
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);

    // Fills the list from the shop state.
    void Event_Open();
    // Sale prices from the regular ones, both into the shop state, then the
    // counter window's price fields.
    void ListBox1_Change();
    // Finishes an edit in progress (its text goes into the list and is taken up).
    void commitEdit();
    void Event_Close();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Prices();
    void buildControls();
    bool m_filling = false;
};

// The Show Prices command: place the window beside the counter window and show it.
void showPrices();
