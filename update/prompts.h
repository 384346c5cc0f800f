#pragma once
// The update check's boxes and beep behind a seam: the program shows real
// modal boxes; tests install a recorder that answers from a script.
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QMessageBox;
class QWidget;

namespace update {

// The button pressed in the upgrade dialog.
enum class UpgradeChoice { Ok, Cancel, GoToWebsite };

struct UpgradeQuestion {
    QString title;
    QString message;
    QString explanation; // the smaller text under the message
};

class Prompts
{
public:
    virtual ~Prompts() = default;
    virtual void beep() = 0;
    // A modal box with one text and an OK button.
    virtual void showMessage(QWidget *parent, const QString &text) = 0;
    // The modal upgrade dialog: OK (default), Cancel and "Go to Website".
    virtual UpgradeChoice askUpgrade(QWidget *parent, const UpgradeQuestion &question) = 0;
};

// The installed prompts; the real ones by default.
Prompts &prompts();
// Installs other prompts (not owned); nullptr puts the real ones back.
void setPrompts(Prompts *prompts);

// The real boxes, built but not shown, so their set-up can be checked. All
// texts are plain: what the website sends is never read as markup or links.
QMessageBox *makeMessageBox(QWidget *parent, const QString &text);
QMessageBox *makeUpgradeBox(QWidget *parent, const UpgradeQuestion &question);

// Prompts that record what would have been shown and answer the upgrade
// dialog from a script (Cancel once the script is used up).
class RecordingPrompts : public Prompts
{
public:
    void beep() override
    {
        log.append(QStringLiteral("beep"));
        if (whileShown)
            whileShown();
    }
    void showMessage(QWidget *, const QString &text) override
    {
        log.append(QStringLiteral("message: ") + text);
        if (whileShown)
            whileShown();
    }
    UpgradeChoice askUpgrade(QWidget *, const UpgradeQuestion &question) override
    {
        questions.append(question);
        log.append(QStringLiteral("upgrade: ") + question.message);
        if (whileShown)
            whileShown();
        return answers.isEmpty() ? UpgradeChoice::Cancel : answers.takeFirst();
    }

    QStringList log;                 // "beep", "message: …", "upgrade: …" in order
    QList<UpgradeQuestion> questions;
    QList<UpgradeChoice> answers;    // scripted answers of the upgrade dialog
    std::function<void()> whileShown; // runs as each prompt would be on screen
};

} // namespace update
