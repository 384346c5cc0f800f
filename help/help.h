#pragma once
// The Help window with its printable text.
#include <QWidget>

class Help : public QWidget
{
    Q_OBJECT
public:
    static Help *instance();
    static Help *existing();

private:
    Help();
};

// The Show Help command.
void showHelp();
// The application's Print Help handler (the Help window has its own).
bool printHelpFromApp();
