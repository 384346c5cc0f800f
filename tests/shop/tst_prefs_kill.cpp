#include "support/testmain.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

// The exact text that the saver writes for version i.
static QString versionText(qint64 i)
{
    QString text = QStringLiteral("#Window1Position %1,10\n").arg(i % 1000);
    for (int n = 1; n <= 8; ++n)
        text += QStringLiteral("#Item%1 %2\n").arg(n).arg(i * n);
    text += QStringLiteral("#SoundFlag SoundOn\n#SaleFlag SaleOff\n");
    return text;
}

class TestPrefsKill : public QObject
{
    Q_OBJECT
private slots:
    void killedWhileSavingLeavesACompleteVersion()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zingaroo2a.txt"));
        const QString saver = QCoreApplication::applicationDirPath() + QStringLiteral("/prefs_saver");
        QVERIFY(QFile::exists(saver));
        const QRegularExpression item1(QStringLiteral("^#Item1 (\\d+)$"), QRegularExpression::MultilineOption);
        int kills = 0;
        for (int round = 0; round < 200; ++round) {
            QProcess p;
            p.start(saver, {dir.path()});
            QVERIFY(p.waitForStarted());
            QVERIFY(p.waitForReadyRead(10000));
            QThread::usleep(QRandomGenerator::global()->bounded(20000));
            ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
            QVERIFY(p.waitForFinished(10000));
            ++kills;

            QFile f(path);
            if (round == 0 && !f.exists())
                continue; // killed before its first save finished: nothing to check yet
            QVERIFY2(f.open(QIODevice::ReadOnly), "the preferences file is missing after a kill");
            const QString text = QString::fromUtf8(f.readAll());
            const auto m = item1.match(text);
            QVERIFY2(m.hasMatch(), qPrintable(QStringLiteral("round %1: no #Item1 line in:\n%2").arg(round).arg(text)));
            QCOMPARE(text, versionText(m.captured(1).toLongLong()));
        }
        qInfo("kills survived: %d", kills);
    }
};

ZINGAROO_TEST_MAIN_APP(TestPrefsKill, QCoreApplication)
#include "tst_prefs_kill.moc"
