#include "app/ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QShortcut>
#include <QPalette>
#include <QWidget>

namespace ui {

void installFontSubstitutions()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QFont::insertSubstitutions(QStringLiteral("Helvetica Neue"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("Helvetica")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica")});
    QFont::insertSubstitutions(QStringLiteral("Courier"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("Courier New")});
}

QFont font(const QString &family, int size, bool bold)
{
    installFontSubstitutions();
    QFont f = family == u"System" ? QApplication::font() : QFont(family);
    f.setPixelSize(size);
    f.setBold(bold);
    return f;
}

QFont systemFont(bool bold)
{
    QFont f = QApplication::font();
    f.setBold(bold);
    return f;
}

void paintBackground(QWidget *window)
{
    QPalette p = window->palette();
    p.setColor(QPalette::Window, background);
    window->setPalette(p);
    window->setAutoFillBackground(true);
}

void pressOnReturn(QWidget *window, QAbstractButton *button)
{
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *press = new QShortcut(QKeySequence(key), window);
        QObject::connect(press, &QShortcut::activated, button, &QAbstractButton::click);
    }
}

void setTextGrowingRight(QLabel *label, const QString &text)
{
    label->setText(text);
    const int needed = label->fontMetrics().horizontalAdvance(text) + 2;
    const QRect box = label->geometry();
    if (needed > box.width())
        label->resize(qMin(needed, label->window()->width() - box.left() - 4), box.height());
}

} // namespace ui
