#pragma once
// The Self Test window: the program's version and the "Check for Updates"
// button that runs the update check in the modal Update window.
#include <QWidget>

class QLabel;
class QPushButton;

class selfTest : public QWidget
{
    Q_OBJECT
public:
    // The single window, made when first asked for.
    static selfTest *instance();
    // The window if it exists, else nullptr.
    static selfTest *existing();

    QLabel *StaticText1 = nullptr;
    QLabel *StaticText2 = nullptr;
    QPushButton *PushButton1 = nullptr;

    // Puts the long version text in place of the design text.
    void StaticText2_Open();
    // Shows a new Update window modally and returns once it has closed.
    void PushButton1_Action();

private:
    selfTest();
};

// "Check Now": shows the Self Test window, making it if needed.
void showSelfTest();
