// The real player through a real sound server: a chained amount is played into
// the test server's null sink, recorded from its monitor, and every clip must
// come out whole, in order, and without silence added between clips.
// Skips when no test sound server is up (ZINGAROO_TEST_SINK unset).
#include "shop/state.h"
#include "speechcapture.h"
#include "support/testmain.h"
#include "voice/player.h"
#include "voice/speak.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QtTest>

class TestRealSound : public QObject
{
    Q_OBJECT

    QString sink;

private slots:
    void initTestCase()
    {
        sink = qEnvironmentVariable("ZINGAROO_TEST_SINK");
        if (sink.isEmpty())
            QSKIP("ZINGAROO_TEST_SINK is not set: no test sound server, real sound not tested");
        if (QMediaDevices::defaultAudioOutput().isNull())
            QSKIP("no audio output: real sound not tested");
        if (!speechcapture::Recorder::available())
            QSKIP("parec is not installed: real sound not tested");
        // The clips are found by the program's own rule, <bin>/../Resources.
        voice::setResourcesFolder(QString());
        QVERIFY2(voice::sound(voice::Clip::SndOK), qPrintable(voice::resourcesFolder()));
        voice::setPlayer(nullptr);
        // Wakes the output; a fresh null sink runs at a long latency for its
        // first seconds, which would only slow the test down.
        voice::playAndWait(voice::Clip::SndOK);
        QTest::qWait(1500);
    }

    void amountComesOutWholeInOrderWithoutGaps()
    {
        QElapsedTimer clock;
        clock.start();
        speechcapture::Recorder recorder(sink);
        QVERIFY(recorder.start(&clock));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.samples() > speechcapture::rate / 10, 10000);

        // Timers (and so repaints) keep running while the amount is said.
        int timerTicks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++timerTicks; });
        ticker.start(50);

        prefModule::MySound = true;
        prefModule::PleaseFlag = true;
        voice::SpeakPrice(1234); // $12.34: twelve dollars thirty four cents please
        QVERIFY2(timerTicks > 0, "timers stopped while speaking");

        // Until the tail of the last clip has come through the server.
        QTRY_VERIFY_WITH_TIMEOUT(speechcapture::soundThenQuiet(recorder.pcm()), 15000);
        recorder.stop();

        const voice::Clip said[] = {voice::Clip::SndTwelve, voice::Clip::SndDollars,
                                    voice::Clip::SndThirty, voice::Clip::SndFour,
                                    voice::Clip::SndCents,  voice::Clip::SndPlease};
        QVector<QByteArray> clips;
        double clipsMs = 0;
        for (voice::Clip c : said) {
            clips.append(voice::sound(c)->pcm);
            clipsMs += voice::sound(c)->durationMs();
        }
        const QVector<qint16> rec = recorder.pcm();
        const QVector<speechcapture::Found> found = speechcapture::findClips(rec, clips);
        QCOMPARE(found.size(), clips.size());
        QString report;
        for (int i = 0; i < found.size(); ++i)
            report += QStringLiteral("%1: at %2 ms, match %3, gap %4 ms\n")
                          .arg(voice::clipName(said[i]))
                          .arg(found[i].startSample * 1000 / speechcapture::rate)
                          .arg(found[i].match, 0, 'f', 3)
                          .arg(found[i].gapMs, 0, 'f', 1);
        qInfo().noquote() << report;
        for (int i = 0; i < found.size(); ++i) {
            // Whole: the clip's loudness curve is found in full.
            QVERIFY2(found[i].match > 0.9, qPrintable(report));
            // In order and back to back: no more than 30 ms between the end
            // of one clip (its own padding included) and the next.
            QVERIFY2(found[i].gapMs <= 30 && found[i].gapMs >= -2, qPrintable(report));
        }
        const double spokenMs = double(found.last().startSample - found.first().startSample) * 1000
                                    / speechcapture::rate
                                + voice::sound(said[5])->durationMs();
        QVERIFY2(spokenMs >= clipsMs - 15 && spokenMs <= clipsMs + 30.0 * (clips.size() - 1),
                 qPrintable(QStringLiteral("speech %1 ms, clips %2 ms").arg(spokenMs).arg(clipsMs)));
    }
};

ZINGAROO_TEST_MAIN(TestRealSound)
#include "tst_realsound.moc"
