#include "update/prompts.h"

#include "update/document.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace update {

namespace {

// QMessageBox guesses rich text and opens links in its informative text;
// neither may happen to text that came over the network.
void makePlain(QMessageBox *box)
{
    box->setTextFormat(Qt::PlainText);
    for (QLabel *label : box->findChildren<QLabel *>()) {
        label->setTextFormat(Qt::PlainText);
        label->setOpenExternalLinks(false);
        label->setTextInteractionFlags(label->textInteractionFlags() & ~Qt::LinksAccessibleByMouse
                                       & ~Qt::LinksAccessibleByKeyboard);
    }
}

class RealPrompts : public Prompts
{
public:
    void beep() override { QApplication::beep(); }

    void showMessage(QWidget *parent, const QString &text) override
    {
        QMessageBox *box = makeMessageBox(parent, text);
        box->exec();
        delete box;
    }

    UpgradeChoice askUpgrade(QWidget *parent, const UpgradeQuestion &question) override
    {
        QMessageBox *box = makeUpgradeBox(parent, question);
        box->exec();
        QAbstractButton *pressed = box->clickedButton();
        UpgradeChoice choice = UpgradeChoice::Cancel;
        if (pressed == box->button(QMessageBox::Ok))
            choice = UpgradeChoice::Ok;
        else if (pressed && pressed->objectName() == u"GoToWebsite")
            choice = UpgradeChoice::GoToWebsite;
        delete box;
        return choice;
    }
};

RealPrompts realPrompts;
Prompts *installed = nullptr;

} // namespace

Prompts &prompts()
{
    return installed ? *installed : realPrompts;
}

void setPrompts(Prompts *p)
{
    installed = p;
}

QMessageBox *makeMessageBox(QWidget *parent, const QString &text)
{
    auto *box = new QMessageBox(parent);
    box->setWindowTitle(QApplication::applicationName());
    box->setIcon(QMessageBox::NoIcon);
    box->setText(text);
    box->setStandardButtons(QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    makePlain(box);
    return box;
}

QMessageBox *makeUpgradeBox(QWidget *parent, const UpgradeQuestion &question)
{
    auto *box = new QMessageBox(parent);
    box->setWindowTitle(question.title);
    box->setIcon(QMessageBox::Question);
    box->setText(question.message);
    box->setInformativeText(question.explanation);
    box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    QPushButton *site = box->addButton(QString::fromLatin1(goToWebsiteCaption), QMessageBox::ActionRole);
    site->setObjectName(QStringLiteral("GoToWebsite"));
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Cancel);
    makePlain(box);
    return box;
}

} // namespace update
