#pragma once
// The About window: the product, its version and credits, and two buttons
// that reach the author by mail and the maker's web site.
#include <QWidget>

class QLabel;
class QPushButton;

class AboutBox : public QWidget
{
    Q_OBJECT
public:
    // The single About window, made when there is none.
    static AboutBox *instance();
    // The open About window, or nullptr.
    static AboutBox *existing();

    // The five credit lines: "Developed by", the developer, an empty line,
    // "Sr. Beta Tester", the beta tester.
    static QString creditsText();

    QPushButton *PushButton1() const { return m_button1; }
    QPushButton *PushButton2() const { return m_button2; }
    QLabel *StaticText1() const { return m_text1; }
    QLabel *StaticText2() const { return m_text2; }
    QLabel *StaticText3() const { return m_text3; }
    QLabel *StaticText4() const { return m_text4; }

    void PushButton1_Action();
    void PushButton2_Action();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    AboutBox();
    void StaticText4_Open();

    QPushButton *m_button1 = nullptr;
    QPushButton *m_button2 = nullptr;
    QLabel *m_text1 = nullptr;
    QLabel *m_text2 = nullptr;
    QLabel *m_text3 = nullptr;
    QLabel *m_text4 = nullptr;
};

// The About... command.
void showAbout();
