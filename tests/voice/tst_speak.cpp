// Spoken amounts: the clips SpeakPrice chains for an amount, in order.
#include "shop/state.h"
#include "support/testmain.h"
#include "voice/player.h"
#include "voice/speak.h"

#include <QtTest>

#include <limits>

class TestSpeak : public QObject
{
    Q_OBJECT

    voice::RecordingPlayer recorder;

    // "Twelve Dollars" -> {"SndTwelve", "SndDollars"}
    static QStringList clips(const QString &words)
    {
        QStringList out;
        for (const QString &w : words.split(u' ', Qt::SkipEmptyParts))
            out << QStringLiteral("Snd") + w;
        return out;
    }

private slots:
    void init()
    {
        recorder.heard.clear();
        voice::setPlayer(&recorder);
        prefModule::MySound = true;
        prefModule::PleaseFlag = true;
    }
    void cleanup() { voice::setPlayer(nullptr); }

    void speakPrice_data()
    {
        QTest::addColumn<qint32>("amount");
        QTest::addColumn<bool>("please");
        QTest::addColumn<QString>("words");

        QTest::newRow("$0.00") << 0 << true << "";
        QTest::newRow("$0.00 no please") << 0 << false << "";
        QTest::newRow("$0.01") << 1 << true << "One Cents Please";
        QTest::newRow("$0.07") << 7 << true << "Seven Cents Please";
        QTest::newRow("$0.10") << 10 << true << "Ten Cents Please";
        QTest::newRow("$0.15") << 15 << true << "Fifteen Cents Please";
        QTest::newRow("$0.19") << 19 << true << "Nineteen Cents Please";
        QTest::newRow("$0.20") << 20 << true << "Twenty Cents Please";
        QTest::newRow("$0.21") << 21 << true << "Twenty One Cents Please";
        QTest::newRow("$0.99") << 99 << true << "Ninety Nine Cents Please";
        QTest::newRow("$1.00") << 100 << true << "One Dollars Please";
        QTest::newRow("$1.15") << 115 << true << "One Dollars Fifteen Cents Please";
        QTest::newRow("$9.99") << 999 << true << "Nine Dollars Ninety Nine Cents Please";
        QTest::newRow("$12.34") << 1234 << true << "Twelve Dollars Thirty Four Cents Please";
        QTest::newRow("$45.67") << 4567 << true << "Forty Five Dollars Sixty Seven Cents Please";
        QTest::newRow("$58.80") << 5880 << true << "Fifty Eight Dollars Eighty Cents Please";
        QTest::newRow("$99.99") << 9999 << true
                                << "Ninety Nine Dollars Ninety Nine Cents Please";
        QTest::newRow("$100.00") << 10000 << true << "One Hundred Dollars Please";
        QTest::newRow("$100.05") << 10005 << true << "One Hundred Dollars Five Cents Please";
        QTest::newRow("$101.00") << 10100 << true << "One Hundred One Dollars Please";
        QTest::newRow("$123.45") << 12345 << true
                                 << "One Hundred Twenty Three Dollars Forty Five Cents Please";
        QTest::newRow("$200.99") << 20099 << true
                                 << "Two Hundred Dollars Ninety Nine Cents Please";
        QTest::newRow("$1234.56") << 123456 << true
                                  << "Twelve Hundred Thirty Four Dollars Fifty Six Cents Please";
        QTest::newRow("$1500.00") << 150000 << true << "Fifteen Hundred Dollars Please";
        QTest::newRow("$9999.99") << 999999 << true
                                  << "Ninety Nine Hundred Ninety Nine Dollars Ninety Nine Cents Please";
        // $10000 and more: the hundreds part is itself said in hundreds.
        QTest::newRow("$10000.00") << 1000000 << true << "One Hundred Hundred Dollars Please";
        QTest::newRow("$10000.01") << 1000001 << true
                                   << "One Hundred Hundred Dollars One Cents Please";
        QTest::newRow("$12345.67") << 1234567 << true
                                   << "One Hundred Twenty Three Hundred Forty Five Dollars "
                                      "Sixty Seven Cents Please";
        QTest::newRow("$50500.00") << 5050000 << true
                                   << "Five Hundred Five Hundred Dollars Please";
        QTest::newRow("largest") << std::numeric_limits<qint32>::max() << true
                                 << "Twenty One Hundred Forty Seven Hundred Forty Eight Hundred "
                                    "Thirty Six Dollars Forty Seven Cents Please";
        // The change, said by OK with PleaseFlag false.
        QTest::newRow("change $0.29") << 29 << false << "Twenty Nine Cents";
        QTest::newRow("change $15.00") << 1500 << false << "Fifteen Dollars";
        QTest::newRow("change $100.05") << 10005 << false << "One Hundred Dollars Five Cents";
        // Negative amounts have negative parts, of which only the unit words are said.
        QTest::newRow("-$1.50") << -150 << true << "Dollars Cents Please";
        QTest::newRow("-$0.29") << -29 << true << "Cents Please";
        QTest::newRow("-$1.00") << -100 << false << "Dollars";
        QTest::newRow("-$100.00") << -10000 << true << "Hundred Please";
        QTest::newRow("smallest") << std::numeric_limits<qint32>::min() << true
                                  << "Hundred Dollars Cents Please";
    }
    void speakPrice()
    {
        QFETCH(qint32, amount);
        QFETCH(bool, please);
        QFETCH(QString, words);
        prefModule::PleaseFlag = please;
        voice::SpeakPrice(amount);
        QCOMPARE(recorder.heard, clips(words));
    }

    void soundOffSaysNothing_data()
    {
        QTest::addColumn<qint32>("amount");
        QTest::newRow("$0.01") << 1;
        QTest::newRow("$12.34") << 1234;
        QTest::newRow("$12345.67") << 1234567;
        QTest::newRow("-$1.50") << -150;
    }
    void soundOffSaysNothing()
    {
        QFETCH(qint32, amount);
        prefModule::MySound = false;
        voice::SpeakPrice(amount);
        QCOMPARE(recorder.heard, QStringList());
    }

    // Every number the hundreds, dollars and cents parts can take is said with
    // the right clips: 1-19 one clip, tens alone, tens and a unit.
    void speakNumberOneToNinetyNine()
    {
        static const char *units[] = {"One", "Two", "Three", "Four", "Five", "Six", "Seven",
                                      "Eight", "Nine", "Ten", "Eleven", "Twelve", "Thirteen",
                                      "Fourteen", "Fifteen", "Sixteen", "Seventeen", "Eighteen",
                                      "Nineteen"};
        static const char *tens[] = {"Twenty", "Thirty", "Forty", "Fifty",
                                     "Sixty", "Seventy", "Eighty", "Ninety"};
        for (int n = -1; n <= 99; ++n) {
            recorder.heard.clear();
            voice::SpeakNumber(n);
            QString expected;
            if (n >= 1 && n < 20)
                expected = QString::fromLatin1(units[n - 1]);
            else if (n >= 20)
                expected = QString::fromLatin1(tens[n / 10 - 2])
                           + (n % 10 ? QStringLiteral(" ") + QString::fromLatin1(units[n % 10 - 1])
                                     : QString());
            QVERIFY2(recorder.heard == clips(expected), qPrintable(QString::number(n)));
        }
    }
};

ZINGAROO_TEST_MAIN(TestSpeak)
#include "tst_speak.moc"
