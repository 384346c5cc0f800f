#include "app/ui.h"

#include <QApplication>
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

} // namespace ui
