#include "app/app.h"
#include "app/menus.h"
#include "counter/gui.h"
#include "prices/prices.h"
#include "shop/prefs.h"
#include "shop/state.h"
#include "support/testmain.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

namespace {

// "Menu caption [name]: item caption [name] shortcut; …" one menu a line.
QString describe(QMenuBar *bar)
{
    QStringList lines;
    for (QAction *menuAction : bar->actions()) {
        QMenu *menu = menuAction->menu();
        QStringList items;
        for (QAction *a : menu->actions()) {
            if (a->isSeparator()) {
                items << QStringLiteral("- [%1]").arg(a->objectName());
                continue;
            }
            QString item = QStringLiteral("%1 [%2]").arg(a->text(), a->objectName());
            if (!a->shortcut().isEmpty())
                item += u' ' + a->shortcut().toString();
            if (a->isCheckable())
                item += QStringLiteral(" (check)");
            items << item;
        }
        lines << QStringLiteral("%1 [%2]: %3").arg(menu->title(), menu->objectName(), items.join(QStringLiteral("; ")));
    }
    return lines.join(u'\n');
}

QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

App *app()
{
    return static_cast<App *>(qApp);
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QFile::remove(prefModule::prefsFilePath());
        prefModule::resetToProgramStart();
    }
    void cleanup()
    {
        if (Prices *p = Prices::existing())
            delete p;
        delete GUI::instance();
    }

    void menuBarsAsTheTablesGive()
    {
        std::unique_ptr<QMenuBar> bar1(menus::buildMenuBar1());
        QCOMPARE(bar1->objectName(), QStringLiteral("MenuBar1"));
        QCOMPARE(describe(bar1.get()),
                 QStringLiteral(
                     "&File [FileMenu]: Print Help [FilePrintHelp] Ctrl+P; Quit [FileQuit] Ctrl+Q\n"
                     "&Edit [EditMenu]: &Undo [EditUndo] Ctrl+Z; - [UntitledMenu0]; Cu&t [EditCut] Ctrl+X; "
                     "&Copy [EditCopy] Ctrl+C; &Paste [EditPaste] Ctrl+V; Clear [EditClear]\n"
                     "Sound [SoundMenu]: Sound On [SoundSoundOn] (check); Sound Off [SoundSoundOff] (check)\n"
                     "Prices [PricesMenu]: Show Prices [PricesShow]\n"
                     "Check for Update [CheckforUpdateMenu]: Check Now [CheckforUpdateCheckNow]\n"
                     "ZUP Help [HelpMenu]: Show Help [HelpShow]; About... [AppleAbout]"));
        std::unique_ptr<QMenuBar> bar2(menus::buildMenuBar2());
        QCOMPARE(bar2->objectName(), QStringLiteral("MenuBar2"));
        QCOMPARE(describe(bar2.get()),
                 QStringLiteral(
                     "&File [FileMenu]: Print Help [FilePrintHelp] Ctrl+P; &Quit [FileQuit]\n"
                     "&Edit [EditMenu]: &Undo [EditUndo] Ctrl+Z; - [EditSeparator1]; Cu&t [EditCut] Ctrl+X; "
                     "&Copy [EditCopy] Ctrl+C; &Paste [EditPaste] Ctrl+V; &Delete [EditClear]; "
                     "- [EditSeparator2]; Select &All [EditSelectAll] Ctrl+A"));
    }

    void dispatchAsksTheWindowFirst()
    {
        QStringList calls;
        QWidget helpLike, other;
        bool windowAnswer = true;
        menus::setWindowHandler(&helpLike, QStringLiteral("Probe"), [&] {
            calls << QStringLiteral("window");
            return windowAnswer;
        });
        menus::setAppHandler(QStringLiteral("Probe"), [&] {
            calls << QStringLiteral("app");
            return true;
        });
        QVERIFY(menus::dispatch(QStringLiteral("Probe"), &helpLike));
        QVERIFY(menus::dispatch(QStringLiteral("Probe"), &other));
        QVERIFY(menus::dispatch(QStringLiteral("Probe"), nullptr));
        windowAnswer = false; // a window handler that declines passes the command on
        QVERIFY(menus::dispatch(QStringLiteral("Probe"), &helpLike));
        QCOMPARE(calls, (QStringList{"window", "app", "app", "window", "app"}));
        QVERIFY(!menus::dispatch(QStringLiteral("NoSuchItem"), &other));
        menus::setAppHandler(QStringLiteral("Probe"), nullptr);
    }

    void menuItemsReachTheAppHandlers()
    {
        GUI *gui = app()->lateStartUp();
        QMenuBar *bar = gui->menuBar();
        menus::findItem(bar, QStringLiteral("SoundSoundOff"))->trigger();
        QVERIFY(!prefModule::MySound);
        QCOMPARE(prefModule::SoundFlag, QStringLiteral("SoundOff"));
        QVERIFY(app()->SoundSoundOff()->isChecked());
        QVERIFY(!app()->SoundSoundOn()->isChecked());
        for (int i = 0; i < 2; ++i) { // choosing the checked item again changes nothing
            menus::findItem(bar, QStringLiteral("SoundSoundOn"))->trigger();
            QVERIFY(prefModule::MySound);
            QCOMPARE(prefModule::SoundFlag, QStringLiteral("SoundOn"));
            QVERIFY(app()->SoundSoundOn()->isChecked());
            QVERIFY(!app()->SoundSoundOff()->isChecked());
            QVERIFY(app()->SoundSoundOn()->isEnabled() && app()->SoundSoundOff()->isEnabled());
        }

        gui->move(300, 200);
        menus::findItem(bar, QStringLiteral("PricesShow"))->trigger();
        menus::findItem(bar, QStringLiteral("PricesShow"))->trigger();
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.cbegin(), windows.cend(),
                               [](QWidget *w) { return w->objectName() == u"Prices"; }), 1);
        QCOMPARE(Prices::existing()->pos(), QPoint(320, 220));
        QVERIFY(Prices::existing()->isVisible());
    }

    void quitSavesLikeClosingTheWindow()
    {
        GUI *gui = app()->lateStartUp();
        gui->move(123, 45);
        gui->close();
        const QString byClose = readAll(prefModule::prefsFilePath());
        QVERIFY(byClose.startsWith(QStringLiteral("#Window1Position 45,123\n")));
        delete gui;

        prefModule::resetToProgramStart();
        gui = app()->lateStartUp();
        QCOMPARE(gui->pos(), QPoint(123, 45)); // reopened where it was left
        menus::findItem(gui->menuBar(), QStringLiteral("FileQuit"))->trigger();
        QVERIFY(!gui->isVisible());
        QCOMPARE(readAll(prefModule::prefsFilePath()), byClose);
        QCOMPARE(byClose.count(u'\n'), 11);
    }

    void shellShortcutsInWindowsWithoutABar()
    {
        app()->lateStartUp();
        showPrices();
        Prices *prices = Prices::existing();
        QStringList keys;
        for (QAction *a : prices->actions())
            keys << a->shortcut().toString();
        QCOMPARE(keys, (QStringList{"Ctrl+P", "Ctrl+Q"}));
        QVERIFY(QTest::qWaitForWindowActive(prices));
        QTest::keyClick(prices, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!GUI::instance()->isVisible());
        QVERIFY(QFile::exists(prefModule::prefsFilePath()));
    }
};

ZINGAROO_TEST_MAIN_APP(TestShell, App)
#include "tst_shell.moc"
