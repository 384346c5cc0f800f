#pragma once
// The Help window with its printable text.
#include <QWidget>

class QAction;
class QMenuBar;
class QTextEdit;

class Help : public QWidget
{
    Q_OBJECT
public:
    // The single Help window, made (not shown) when there is none.
    static Help *instance();
    // The open Help window, or nullptr.
    static Help *existing();

    // The help text as the program ships it: six paragraphs with two carriage
    // returns between each and the next.
    static QString helpText();

    QTextEdit *TextArea1() const;
    QMenuBar *menuBar() const;

    // The items of the window's bar, found by name.
    QAction *FileMenu() const;
    QAction *FilePrintHelp() const;
    QAction *FileQuit() const;
    QAction *EditMenu() const;
    QAction *EditUndo() const;
    QAction *EditSeparator1() const;
    QAction *EditCut() const;
    QAction *EditCopy() const;
    QAction *EditPaste() const;
    QAction *EditClear() const;
    QAction *EditSeparator2() const;
    QAction *EditSelectAll() const;

    // The window's own Print Help: prints the text and closes the window.
    bool _FilePrintHelp_Action();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Help();
    void AddMenuHandlers();
    QAction *item(const char *name) const;

    QMenuBar *m_bar = nullptr;
    QTextEdit *m_text = nullptr;
};

// The Show Help command.
void showHelp();
// The application's Print Help handler (the Help window has its own).
bool printHelpFromApp();
