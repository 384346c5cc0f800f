// The clip store (lazy loading, the Resources folder rule, the WAV reader) and
// the real player when there is no audio output at all.
#include "support/testmain.h"
#include "voice/player.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cmath>

namespace {

QByteArray le(quint32 v, int bytes)
{
    QByteArray b;
    for (int i = 0; i < bytes; ++i)
        b.append(char((v >> (8 * i)) & 0xff));
    return b;
}

QByteArray chunk(const char *id, const QByteArray &body)
{
    QByteArray c = QByteArray(id, 4) + le(quint32(body.size()), 4) + body;
    if (body.size() & 1)
        c.append('\0');
    return c;
}

QByteArray fmtBody(int tag, int channels, int rate, int bits)
{
    const int align = channels * bits / 8;
    return le(tag, 2) + le(channels, 2) + le(rate, 4) + le(rate * align, 4) + le(align, 2)
           + le(bits, 2);
}

QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le(quint32(4 + chunks.size()), 4) + "WAVE" + chunks;
}

// Samples as the store keeps them.
QByteArray int16(std::initializer_list<int> samples)
{
    QByteArray b;
    for (int s : samples)
        b += le(quint16(qint16(s)), 2);
    return b;
}

QString builtResources()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../Resources"));
}

} // namespace

class TestPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // No sound server can be reached from here: the real player must find
        // no audio output.
        qputenv("PULSE_SERVER", "unix:/nonexistent/zingaroo-no-server");
        voice::setPlayer(nullptr);
    }
    void cleanup() { voice::setResourcesFolder(QString()); }

    void decodeWav_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("pcm");

        const QByteArray mono = int16({0, 1000, -1000, 32767, -32768});
        QTest::newRow("plain 44-byte header")
            << riff(chunk("fmt ", fmtBody(1, 1, 16000, 16)) + chunk("data", mono)) << true << mono;
        QTest::newRow("other chunks first, odd one padded")
            << riff(chunk("LIST", "INFOabc") + chunk("fmt ", fmtBody(1, 1, 16000, 16))
                    + chunk("fact", le(5, 4)) + chunk("data", mono))
            << true << mono;
        QTest::newRow("chunks after the data")
            << riff(chunk("fmt ", fmtBody(1, 1, 16000, 16)) + chunk("data", mono)
                    + chunk("LIST", "INFO"))
            << true << mono;
        QTest::newRow("stereo mixed down")
            << riff(chunk("fmt ", fmtBody(1, 2, 16000, 16)) + chunk("data", int16({100, 300, -200, -400})))
            << true << int16({200, -300});
        QTest::newRow("8-bit")
            << riff(chunk("fmt ", fmtBody(1, 1, 16000, 8)) + chunk("data", QByteArray("\x80\xff\x00", 3)))
            << true << int16({0, 127 * 256, -128 * 256});
        QByteArray ext = fmtBody(0xFFFE, 1, 16000, 16) + le(22, 2) + le(16, 2) + le(4, 4) + le(1, 2)
                         + QByteArray(14, '\0');
        QTest::newRow("extensible PCM") << riff(chunk("fmt ", ext) + chunk("data", mono)) << true << mono;
        QTest::newRow("data cut short keeps what is there")
            << riff(chunk("fmt ", fmtBody(1, 1, 16000, 16))).append("data").append(le(100, 4)).append(int16({5, 6}))
            << true << int16({5, 6});
        QTest::newRow("8000 Hz doubled")
            << riff(chunk("fmt ", fmtBody(1, 1, 8000, 16)) + chunk("data", int16({0, 1000})))
            << true << int16({0, 500, 1000, 1000});

        QTest::newRow("float") << riff(chunk("fmt ", fmtBody(3, 1, 16000, 32)) + chunk("data", mono))
                               << false << QByteArray();
        QTest::newRow("24-bit") << riff(chunk("fmt ", fmtBody(1, 1, 16000, 24)) + chunk("data", mono))
                                << false << QByteArray();
        QTest::newRow("no channels") << riff(chunk("fmt ", fmtBody(1, 0, 16000, 16)) + chunk("data", mono))
                                     << false << QByteArray();
        QTest::newRow("no data chunk") << riff(chunk("fmt ", fmtBody(1, 1, 16000, 16))) << false
                                       << QByteArray();
        QTest::newRow("data before fmt") << riff(chunk("data", mono) + chunk("fmt ", fmtBody(1, 1, 16000, 16)))
                                         << false << QByteArray();
        QTest::newRow("fmt too short") << riff(chunk("fmt ", le(1, 2)) + chunk("data", mono)) << false
                                       << QByteArray();
        QTest::newRow("huge chunk length")
            << riff(QByteArray("LIST") + le(0xFFFFFFF0u, 4) + "x") << false << QByteArray();
        QTest::newRow("not a WAV") << QByteArray("ID3\x03 not a wave file at all") << false << QByteArray();
        QTest::newRow("empty") << QByteArray() << false << QByteArray();
    }
    void decodeWav()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, ok);
        QFETCH(QByteArray, pcm);
        voice::Sound s;
        QCOMPARE(voice::decodeWav(file, s), ok);
        if (ok)
            QCOMPARE(s.pcm, pcm);
    }

    // The shipped clips, found by the folder rule: all forty readable, in the
    // player's format, and about equally loud so a sentence sounds even.
    void shippedClipsByFolderRule()
    {
        voice::setResourcesFolder(QString());
        QCOMPARE(voice::resourcesFolder(), builtResources());
        for (const voice::ClipInfo &info : voice::clipTable) {
            const voice::Sound *s = voice::sound(info.clip);
            QVERIFY2(s, info.name);
            QVERIFY2(s->durationMs() > 200 && s->durationMs() < 3000, info.name);
            const auto *p = reinterpret_cast<const qint16 *>(s->pcm.constData());
            const qint64 n = s->pcm.size() / 2;
            double sum = 0;
            for (qint64 i = 0; i < n; ++i)
                sum += double(p[i]) * p[i];
            const double rmsDb = 20 * std::log10(std::sqrt(sum / n) / 32768);
            QVERIFY2(rmsDb > -21 && rmsDb < -16, qPrintable(QStringLiteral("%1: %2 dBFS").arg(info.name).arg(rmsDb)));
        }
    }

    void loadsOnceOnFirstUseAndNeverRetries()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(builtResources() + "/SndOK.wav", dir.filePath("SndOK.wav")));
        QVERIFY(QFile::copy(builtResources() + "/SndFries.wav", dir.filePath("SndFries.wav")));
        voice::setResourcesFolder(dir.path());
        for (const voice::ClipInfo &info : voice::clipTable)
            QVERIFY2(!voice::soundLoadTried(info.clip), info.name);

        const voice::Sound *ok = voice::sound(voice::Clip::SndOK);
        QVERIFY(ok);
        QVERIFY(voice::soundLoadTried(voice::Clip::SndOK));
        QVERIFY(!voice::soundLoadTried(voice::Clip::SndFries));

        // Kept: the file is not read again.
        QVERIFY(QFile::remove(dir.filePath("SndOK.wav")));
        QCOMPARE(voice::sound(voice::Clip::SndOK), ok);

        // Missing: empty for the rest of the run, even once the file appears.
        QVERIFY(!voice::sound(voice::Clip::SndPlease));
        QVERIFY(QFile::copy(builtResources() + "/SndPlease.wav", dir.filePath("SndPlease.wav")));
        QVERIFY(!voice::sound(voice::Clip::SndPlease));

        // Unreadable: empty as well.
        QFile junk(dir.filePath("SndOrder.wav"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("RIFF\x10\0\0\0WAVEjunkjunk", 20);
        junk.close();
        QVERIFY(!voice::sound(voice::Clip::SndOrder));
    }

    void missingFolderLeavesClipsEmpty()
    {
        voice::setResourcesFolder(QStringLiteral("/nonexistent/zingaroo/Resources"));
        QVERIFY(!voice::sound(voice::Clip::SndOne));
        QVERIFY(voice::soundLoadTried(voice::Clip::SndOne));
    }

    // With no audio output the real player skips every clip at once (a wait
    // here would be the game hanging), present, missing or unreadable alike.
    void noAudioOutputReturnsAtOnce()
    {
        QTemporaryDir dir;
        for (const voice::ClipInfo &info : voice::clipTable)
            if (info.clip != voice::Clip::SndPlease)
                QFile::copy(builtResources() + "/" + info.name + ".wav", dir.filePath(info.name + QStringLiteral(".wav")));
        voice::setResourcesFolder(dir.path());
        qint64 clipsMs = 0;
        QElapsedTimer t;
        t.start();
        for (const voice::ClipInfo &info : voice::clipTable) {
            voice::playAndWait(info.clip);
            if (const voice::Sound *s = voice::sound(info.clip))
                clipsMs += s->durationMs();
        }
        // Returning at all is the point; far less than the clips' own length
        // shows none of them was waited for.
        QVERIFY2(t.elapsed() < clipsMs / 2,
                 qPrintable(QStringLiteral("%1 ms for %2 ms of clips").arg(t.elapsed()).arg(clipsMs)));
    }
};

ZINGAROO_TEST_MAIN(TestPlayer)
#include "tst_player.moc"
