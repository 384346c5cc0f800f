#include "counterfixture.h"
#include "support/testmain.h"

#include <QDesktopServices>
#include <QGroupBox>
#include <QMenuBar>
#include <QUrl>

using namespace fixture;

// Catches the addresses the program asks the desktop to open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

class TestCounter : public QObject
{
    Q_OBJECT
    voice::RecordingPlayer rec;
    UrlCatcher urls;

    QStringList heard() const { return rec.heard; }
    // A whole preferences file with the Burger at the given price.
    static QByteArray prefsWith(const QByteArray &burger, const QByteArray &more = "#SoundFlag SoundOn\n")
    {
        return "#Item1 " + burger + "\n#Item2 10\n#Item3 5\n#Item4 15\n#Item5 25\n#Item6 5\n#Item7 10\n#Item8 10\n" + more;
    }
    void start(const QByteArray &prefsFile = {})
    {
        startGame(prefsFile);
        rec.heard.clear();
    }

private slots:
    void initTestCase()
    {
        voice::setPlayer(&rec);
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &urls, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &urls, "open");
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        voice::setPlayer(nullptr);
    }
    void init()
    {
        urls.opened.clear();
        start();
    }
    void cleanup() { closeGame(); }

    void firstStart()
    {
        GUI *gui = GUI::instance();
        QCOMPARE(gui->windowTitle(), QStringLiteral("GUI"));
        QCOMPARE(gui->centralWidget()->size(), QSize(683, 590));
        QCOMPARE(gui->minimumSize(), gui->maximumSize()); // not resizable
        QCOMPARE(priceFields(), QStringLiteral("15 10 5 15 25 5 10 10"));
        QCOMPARE(quantityFields(), QStringLiteral("0 0 0 0 0 0 0 0"));
        QCOMPARE(text("EditField1"), QStringLiteral("$0.00"));
        QCOMPARE(text("AmtPaid"), QStringLiteral("$0.00"));
        QCOMPARE(text("Change"), QStringLiteral("$0.00"));
        QVERIFY(control<QRadioButton>("RadioButton2")->isChecked());
        QVERIFY(!control<QRadioButton>("RadioButton1")->isChecked());
        QVERIFY(!taxNoteShown());
        QVERIFY(!okEnabled());
        QVERIFY(prefModule::MySound); // sound is on at the first start …
        QVERIFY(gui->SoundSoundOn()->isChecked() && !gui->SoundSoundOff()->isChecked());
        QVERIFY(heard().isEmpty()); // … and still nothing is said
        QCOMPARE(prefModule::Item1Sale + u' ' + prefModule::Item8Sale, QStringLiteral("12 8"));
        QCOMPARE(gui->pos(), QPoint(10, 70));
        // The Prices window exists from the start, out of sight.
        QVERIFY(Prices::existing() && !Prices::existing()->isVisible());
    }

    void savedSwitchesAreApplied()
    {
        closeGame();
        start(prefsWith("20", "#Window1Position 120,240\n#SoundFlag soundoff\n#SaleFlag SALEON\n"));
        GUI *gui = GUI::instance();
        QCOMPARE(gui->pos(), QPoint(240, 120));
        QVERIFY(control<QRadioButton>("RadioButton1")->isChecked());
        QCOMPARE(priceFields(), QStringLiteral("16 8 4 12 20 4 8 8"));
        QVERIFY(!prefModule::MySound);
        QVERIFY(!gui->SoundSoundOn()->isChecked() && gui->SoundSoundOff()->isChecked());
        QCOMPARE(prefModule::SaleFlag, QStringLiteral("SALEON")); // applied, not rewritten
    }

    void controlsWhereTheLayoutPutsThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("box");
        QTest::newRow("amount due") << "EditField1" << QRect(304, 84, 209, 53);
        QTest::newRow("Surprise price") << "EditField9" << QRect(211, 399, 47, 25);
        QTest::newRow("Toy quantity") << "EditField16" << QRect(84, 365, 23, 22);
        QTest::newRow("Shake") << "BevelButton4" << QRect(301, 377, 90, 39);
        QTest::newRow("Next Order") << "BevelButton11" << QRect(543, 309, 111, 39);
        QTest::newRow("sale group") << "GroupBox1" << QRect(532, 73, 122, 100);
        QTest::newRow("support") << "Kagi1" << QRect(533, 382, 120, 27);
        QTest::newRow("OK") << "OK" << QRect(322, 474, 60, 27);
        QTest::newRow("change") << "Change" << QRect(472, 466, 140, 42);
        QTest::newRow("$.01") << "RoundRectangle15" << QRect(342, 525, 45, 45);
    }
    void controlsWhereTheLayoutPutsThem()
    {
        QFETCH(QString, name);
        QFETCH(QRect, box);
        QWidget *w = control(name);
        QVERIFY(w);
        const QPoint topLeft = w->mapTo(GUI::instance()->centralWidget(), QPoint(0, 0));
        QCOMPARE(QRect(topLeft, w->size()), box);
    }

    void pressesReachTheCanvasNotTheRectangle()
    {
        QWidget *content = GUI::instance()->centralWidget();
        for (int n = 1; n <= 15; ++n) {
            QWidget *canvas = control(QStringLiteral("Canvas%1").arg(n));
            const QRect box(canvas->mapTo(content, QPoint(0, 0)), canvas->size());
            for (QPoint p : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight(), box.center()})
                QCOMPARE(content->childAt(p), canvas);
        }
        // Item buttons, Total and Next Order never take the focus.
        for (const char *name : {"BevelButton1", "BevelButton8", "BevelButton9", "BevelButton11"})
            QCOMPARE(control(name)->focusPolicy(), Qt::NoFocus);
    }

    void burgerBurgerFries()
    {
        pressAll({"BevelButton1", "BevelButton1", "BevelButton2"});
        QCOMPARE(quantityFields(), QStringLiteral("2 1 0 0 0 0 0 0"));
        QCOMPARE(text("EditField1"), QStringLiteral("$0.40"));
        QCOMPARE(prefModule::subtotal, 40);
        QCOMPARE(heard(), QStringList({"SndOK", "SndFries", "SndOK", "SndFries", "SndAnythingElse"}));
    }

    void itemClips_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("clips");
        QTest::newRow("Soda") << "BevelButton3" << QStringList{"SndIsThatAll"};
        QTest::newRow("Shake") << "BevelButton4" << QStringList{"SndEverything"};
        QTest::newRow("Split") << "BevelButton5" << QStringList{"SndWhatElse"};
        QTest::newRow("Cookie") << "BevelButton6" << QStringList{"SndOK"};
        QTest::newRow("Toy") << "BevelButton7" << QStringList{};
        QTest::newRow("Surprise") << "BevelButton8" << QStringList{};
    }
    void itemClips()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, clips);
        press(button);
        QCOMPARE(heard(), clips);
        prefModule::MySound = false;
        press(button);
        QCOMPARE(heard(), clips); // nothing more with sound off
    }

    void total_data()
    {
        QTest::addColumn<int>("subtotal");
        QTest::addColumn<QString>("due");
        QTest::addColumn<QStringList>("clips");
        QTest::newRow("40") << 40 << "$0.42" << QStringList{"SndForty", "SndTwo", "SndCents", "SndPlease"};
        QTest::newRow("45") << 45 << "$0.48" << QStringList{"SndForty", "SndEight", "SndCents", "SndPlease"};
        QTest::newRow("100") << 100 << "$1.05" << QStringList{"SndOne", "SndDollars", "SndFive", "SndCents", "SndPlease"};
        QTest::newRow("199") << 199 << "$2.09" << QStringList{"SndTwo", "SndDollars", "SndNine", "SndCents", "SndPlease"};
        QTest::newRow("1") << 1 << "$0.02" << QStringList{"SndTwo", "SndCents", "SndPlease"};
        QTest::newRow("0") << 0 << "$0.00" << QStringList{};
    }
    void total()
    {
        QFETCH(int, subtotal);
        QFETCH(QString, due);
        QFETCH(QStringList, clips);
        prefModule::subtotal = subtotal;
        press("BevelButton9");
        QCOMPARE(text("EditField1"), due);
        QVERIFY(taxNoteShown());
        QCOMPARE(heard(), clips);
        QCOMPARE(okEnabled(), subtotal == 0); // nothing paid yet covers only $0.00
        QCOMPARE(prefModule::subtotal, subtotal);
        press("BevelButton9"); // twice gives the same total
        QCOMPARE(text("EditField1"), due);
    }

    void totalThenBurger()
    {
        pressAll({"BevelButton1", "BevelButton2", "BevelButton9"});
        pay({"$1"});
        press("OK");
        QCOMPARE(text("Change"), QStringLiteral("$0.73"));
        press("BevelButton1");
        QCOMPARE(text("EditField1"), QStringLiteral("$0.40"));
        QVERIFY(!taxNoteShown());
        QVERIFY(!okEnabled());
        QCOMPARE(text("Change"), QStringLiteral("$0.00"));
        QCOMPARE(text("AmtPaid"), QStringLiteral("$1.00")); // the money stays counted
    }

    void saleSwitch()
    {
        pressAll({"BevelButton1", "BevelButton1", "BevelButton1", "BevelButton9"});
        pay({"$1"});
        press("OK");
        rec.heard.clear();
        press("RadioButton1");
        QCOMPARE(text("EditField1"), QStringLiteral("$0.36"));
        QCOMPARE(priceFields(), QStringLiteral("12 8 4 12 20 4 8 8"));
        QCOMPARE(prefModule::SaleFlag, QStringLiteral("SaleOn"));
        QVERIFY(!taxNoteShown());
        press("RadioButton2");
        QCOMPARE(text("EditField1"), QStringLiteral("$0.45"));
        QCOMPARE(priceFields(), QStringLiteral("15 10 5 15 25 5 10 10"));
        QCOMPARE(prefModule::SaleFlag, QStringLiteral("SaleOff"));
        QVERIFY(heard().isEmpty());
        QVERIFY(okEnabled());
        QCOMPARE(text("Change"), QStringLiteral("$0.52"));
        QCOMPARE(quantityFields(), QStringLiteral("3 0 0 0 0 0 0 0"));
    }

    void quantityReduction()
    {
        // On a quantity of 0: nothing changes but the display of the subtotal.
        pressAll({"BevelButton1", "BevelButton1", "BevelButton9"});
        pay({"$1"});
        QVERIFY(okEnabled());
        press("Canvas7", {0, 0});
        QCOMPARE(quantityFields(), QStringLiteral("2 0 0 0 0 0 0 0"));
        QCOMPARE(text("EditField1"), QStringLiteral("$0.30")); // the tax is off the display
        QVERIFY(!taxNoteShown());
        QVERIFY(okEnabled()); // left as it was
        rec.heard.clear();
        press("Canvas1", {20, 20});
        QCOMPARE(quantityFields(), QStringLiteral("1 0 0 0 0 0 0 0"));
        QCOMPARE(text("EditField1"), QStringLiteral("$0.15"));
        QCOMPARE(text("Change"), QStringLiteral("$0.00"));
        QVERIFY(heard().isEmpty());
        // A press reported outside the 20 × 20 square does nothing.
        QCOMPARE(GUI::instance()->Canvas_MouseDown(1, 21, 5), false);
        QCOMPARE(quantityFields(), QStringLiteral("1 0 0 0 0 0 0 0"));
    }

    void reductionNeverBelowZero()
    {
        press("BevelButton1");
        // The Burger's price is raised in the Prices window after it was ordered.
        Prices *prices = Prices::instance();
        prices->setCellText(0, 0, QStringLiteral("25"));
        prices->ListBox1_Change();
        QCOMPARE(text("EditField2"), QStringLiteral("25"));
        QCOMPARE(text("EditField1"), QStringLiteral("$0.15")); // the order keeps its subtotal
        press("Canvas1");
        QCOMPARE(prefModule::subtotal, 0);
        QCOMPARE(text("EditField1"), QStringLiteral("$0.00"));
        press("BevelButton1"); // the next press uses the new price
        QCOMPARE(text("EditField1"), QStringLiteral("$0.25"));
    }

    void payment_data()
    {
        QTest::addColumn<QByteArray>("prefs");
        QTest::addColumn<QStringList>("paid");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("clips");
        QTest::newRow("$4.71 with $5") << prefsWith("471") << QStringList{"$5"} << "$0.29"
                                       << QStringList{"YourChangeIs", "SndTwenty", "SndNine", "SndCents"};
        QTest::newRow("exact $2.01") << prefsWith("201") << QStringList{"$1", "$1", "$.01"} << "$0.00"
                                     << QStringList{"PerfectThankYouVeryMuch"};
        QTest::newRow("exact $0.91") << prefsWith("91") << QStringList{"$.50", "$.25", "$.10", "$.05", "$.01"}
                                     << "$0.00" << QStringList{"PerfectThankYouVeryMuch"};
        QTest::newRow("$3.00 with $18") << prefsWith("300")
                                        << QStringList{"$5", "$5", "$5", "$1", "$1", "$1"} << "$15.00"
                                        << QStringList{"YourChangeIs", "SndFifteen", "SndDollars"};
    }
    void payment()
    {
        QFETCH(QByteArray, prefs);
        QFETCH(QStringList, paid);
        QFETCH(QString, change);
        QFETCH(QStringList, clips);
        closeGame();
        start(prefs);
        press("BevelButton1");
        rec.heard.clear();
        pay(paid);
        QVERIFY(heard().isEmpty()); // counting money is silent
        QVERIFY(okEnabled());
        press("OK");
        QCOMPARE(text("Change"), change);
        QCOMPARE(heard(), clips);
        QVERIFY(prefModule::PleaseFlag);
        QVERIFY(okEnabled()); // OK stays usable and says it again
        rec.heard.clear();
        press("OK");
        QCOMPARE(heard(), clips);

        // Sound off: the same change, silently.
        rec.heard.clear();
        prefModule::MySound = false;
        GUI::instance()->Change->setText(QStringLiteral("$0.00"));
        press("OK");
        QCOMPARE(text("Change"), change);
        QVERIFY(heard().isEmpty());
        QVERIFY(prefModule::PleaseFlag);
    }

    void okEnablesOnceCoveredAndNeverDisablesOnMoney()
    {
        pay({"$.01"}); // nothing due yet: the first coin covers $0.00
        QVERIFY(okEnabled());
        press("BevelButton1");
        QVERIFY(!okEnabled());
        pay({"$.01", "$.10", "$.01"});
        QVERIFY(!okEnabled()); // $0.13 < $0.15: still off
        pay({"$.01"});
        QVERIFY(!okEnabled());
        pay({"$.01"});
        QVERIFY(okEnabled()); // $0.15 paid
        press("BevelButton9"); // $0.16 due now, $0.15 paid
        QVERIFY(!okEnabled());
    }

    void hundredPenniesAreOneDollar()
    {
        press("BevelButton2");
        for (int i = 0; i < 100; ++i)
            GUI::instance()->Canvas_MouseDown(15, 5, 5);
        QCOMPARE(text("AmtPaid"), QStringLiteral("$1.00"));
        QCOMPARE(prefModule::Money, 100);
        press("OK");
        const QString byPennies = text("Change");
        const QStringList saidForPennies = heard();
        press("BevelButton11");
        press("BevelButton2");
        rec.heard.clear();
        pay({"$1"});
        press("OK");
        QCOMPARE(text("Change"), byPennies);
        QCOMPARE(byPennies, QStringLiteral("$0.90"));
        QCOMPARE(saidForPennies.mid(saidForPennies.size() - heard().size()), heard());
    }

    void moneyCountSaturates()
    {
        prefModule::Money = 2147483600;
        pay({"$5"});
        QCOMPARE(prefModule::Money, 2147483647);
        QCOMPARE(text("AmtPaid"), QStringLiteral("$21474836.47"));
        press("OK");
        QCOMPARE(text("Change"), QStringLiteral("$21474836.47"));
    }

    void negativeChangeAfterTheSaleIsSwitchedOff()
    {
        press("RadioButton1");
        pressAll({"BevelButton1", "BevelButton1", "BevelButton1", "BevelButton9"});
        QCOMPARE(text("EditField1"), QStringLiteral("$0.38"));
        pay({"$.25", "$.10", "$.01", "$.01", "$.01"});
        QVERIFY(okEnabled());
        press("RadioButton2");
        QCOMPARE(text("EditField1"), QStringLiteral("$0.45"));
        QVERIFY(okEnabled());
        rec.heard.clear();
        press("OK");
        QCOMPARE(text("Change"), QStringLiteral("-$0.07"));
        QVERIFY(heard().isEmpty());
        QVERIFY(prefModule::PleaseFlag);
    }

    void nextOrder()
    {
        pressAll({"BevelButton1", "BevelButton5", "BevelButton9"});
        pay({"$1"});
        press("OK");
        rec.heard.clear();
        press("BevelButton11");
        for (const char *field : {"EditField1", "AmtPaid", "Change"})
            QCOMPARE(text(field), QStringLiteral("$0.00"));
        QCOMPARE(quantityFields(), QStringLiteral("0 0 0 0 0 0 0 0"));
        QCOMPARE(prefModule::Money, 0);
        QCOMPARE(prefModule::Dollars, 0.0);
        QCOMPARE(GUI::instance()->total, 0);
        QVERIFY(!taxNoteShown());
        QVERIFY(okEnabled()); // as it was
        QCOMPARE(heard(), QStringList{"SndOrder"});
    }

    void figuresAreShownBeforeAnythingIsSaid()
    {
        // A player that notes what the window shows when each clip starts.
        struct Witness : voice::SoundPlayer {
            QStringList seen;
            void playAndWait(voice::Clip clip) override
            {
                seen << voice::clipName(clip) + u'=' + text("EditField1") + u'/' + text("EditField10") + u'/'
                            + text("Change") + (taxNoteShown() ? QStringLiteral("/tax") : QString());
            }
        } witness;
        voice::setPlayer(&witness);
        press("BevelButton1");
        press("BevelButton9");
        pay({"$1"});
        press("OK");
        voice::setPlayer(&rec);
        QCOMPARE(witness.seen, QStringList({
                                   "SndOK=$0.15/1/$0.00", "SndFries=$0.15/1/$0.00",
                                   "SndSixteen=$0.16/1/$0.00/tax", "SndCents=$0.16/1/$0.00/tax",
                                   "SndPlease=$0.16/1/$0.00/tax",
                                   "YourChangeIs=$0.16/1/$0.84/tax", "SndEighty=$0.16/1/$0.84/tax",
                                   "SndFour=$0.16/1/$0.84/tax", "SndCents=$0.16/1/$0.84/tax",
                               }));
    }

    void supportButtonAndReturnKey()
    {
        GUI *gui = GUI::instance();
        press("Kagi1");
        QCOMPARE(urls.opened.size(), 1);
        QVERIFY(urls.opened.first().toString().endsWith(QStringLiteral("lang=en")));

        // Return presses the support button, not OK, wherever the focus is.
        pay({"$1"});
        QVERIFY(QTest::qWaitForWindowActive(gui));
        QTest::keyClick(gui, Qt::Key_Return);
        QCOMPARE(urls.opened.size(), 2);
        control("OK")->setFocus();
        QTest::keyClick(control("OK"), Qt::Key_Return);
        QCOMPARE(urls.opened.size(), 3);
        QCOMPARE(text("Change"), QStringLiteral("$0.00"));
        QVERIFY(heard().isEmpty());
        QVERIFY(!control<QPushButton>("OK")->isDefault() && control<QPushButton>("Kagi1")->isDefault());
    }

    void moneyFacesArePainted()
    {
        // The face text is drawn in black on the white button.
        const QImage face = control("Canvas9")->parentWidget()->grab().toImage();
        int dark = 0;
        for (int y = 10; y < 31; ++y)
            for (int x = 10; x < 35; ++x)
                dark += qGray(face.pixel(x, y)) < 100;
        QVERIFY2(dark > 20, "no face text on the $5 button");
    }
};

ZINGAROO_TEST_MAIN(TestCounter)
#include "tst_counter.moc"
