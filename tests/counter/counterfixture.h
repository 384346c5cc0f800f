#pragma once
// Drives the real counter window the way a player does: presses by control
// name, a recording sound player, a fresh preferences file per test.
#include "counter/gui.h"
#include "prices/prices.h"
#include "shop/prefs.h"
#include "shop/state.h"
#include "voice/player.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace fixture {

// Opens the game as start-up does, optionally over a preferences file.
inline GUI *startGame(const QByteArray &prefsFile = {})
{
    QFile::remove(prefModule::prefsFilePath());
    if (!prefsFile.isEmpty()) {
        QDir().mkpath(prefModule::prefsFolder());
        QFile f(prefModule::prefsFilePath());
        if (f.open(QIODevice::WriteOnly))
            f.write(prefsFile);
    }
    prefModule::resetToProgramStart();
    auto *gui = new GUI();
    gui->Event_Open();
    gui->show();
    return gui;
}

inline void closeGame()
{
    delete Prices::existing();
    delete GUI::instance();
}

template <typename T = QWidget>
T *control(const QString &name)
{
    T *w = GUI::instance()->findChild<T *>(name);
    if (!w)
        qWarning("no control %s", qPrintable(name));
    return w;
}

inline QString text(const QString &name)
{
    QLineEdit *field = control<QLineEdit>(name);
    return field ? field->text() : QStringLiteral("<missing>");
}

// A button, radio button or canvas, pressed with the mouse.
inline void press(const QString &name, QPoint at = {})
{
    QWidget *w = control(name);
    QVERIFY2(w, qPrintable(name));
    QVERIFY2(w->isEnabled(), qPrintable(name + QStringLiteral(" is disabled")));
    QTest::mouseClick(w, Qt::LeftButton, {}, at.isNull() ? w->rect().center() : at);
}

inline void pressAll(const QStringList &names)
{
    for (const QString &name : names)
        press(name);
}

inline QString priceFields()
{
    QStringList texts;
    for (int n = 2; n <= 9; ++n)
        texts << text(QStringLiteral("EditField%1").arg(n));
    return texts.join(u' ');
}

inline QString quantityFields()
{
    QStringList texts;
    for (int n = 10; n <= 17; ++n)
        texts << text(QStringLiteral("EditField%1").arg(n));
    return texts.join(u' ');
}

inline bool taxNoteShown()
{
    return control<QLabel>(QStringLiteral("StaticText5"))->isVisible();
}

inline bool okEnabled()
{
    return control<QPushButton>(QStringLiteral("OK"))->isEnabled();
}

// The money canvases by face.
inline QString coin(const QString &face)
{
    static const QHash<QString, QString> byFace{
        {"$5", "Canvas9"},    {"$1", "Canvas10"},   {"$.50", "Canvas11"}, {"$.25", "Canvas12"},
        {"$.10", "Canvas13"}, {"$.05", "Canvas14"}, {"$.01", "Canvas15"},
    };
    return byFace.value(face);
}

inline void pay(const QStringList &faces)
{
    for (const QString &face : faces)
        press(coin(face));
}

inline QString readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace fixture
