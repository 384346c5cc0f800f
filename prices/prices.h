#pragma once
// The Prices window: regular prices edited in place, sale prices derived.
#include <QWidget>

class Prices : public QWidget
{
    Q_OBJECT
public:
    // Refers to the single Prices window, creating it (and running its
    // opening) when there is none.
    static Prices *instance();
    static Prices *existing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Prices();
};

// The Show Prices command: place the window beside the counter window and show it.
void showPrices();
