#include "shop/prefs.h"
#include "shop/state.h"
#include "support/testmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace prefModule;

namespace {
QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The loaded state in one comparable line.
QString stateLine()
{
    QStringList parts{QStringLiteral("%1,%2").arg(Window1Top).arg(Window1Left)};
    for (int n = 1; n <= 8; ++n)
        parts << item(n);
    parts << SoundFlag << SaleFlag;
    return parts.join(u'|');
}

const char *defaultFile = "#Window1Position 70,10\n#Item1 15\n#Item2 10\n#Item3 5\n#Item4 15\n"
                          "#Item5 25\n#Item6 5\n#Item7 10\n#Item8 10\n#SoundFlag SoundOn\n"
                          "#SaleFlag SaleOff\n";
} // namespace

class TestPrefs : public QObject
{
    Q_OBJECT
    QTemporaryDir *dir = nullptr;
    QString path() const { return dir->filePath(QStringLiteral("zingaroo2a.txt")); }

private slots:
    void init()
    {
        dir = new QTemporaryDir;
        setPrefsFolder(dir->path());
        resetToProgramStart();
    }
    void cleanup()
    {
        setPrefsFolder({});
        delete dir;
    }

    void defaultFolderIsTheConfigFolder()
    {
        setPrefsFolder({});
        QCOMPARE(prefsFilePath(), QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("zingaroo2a.txt"));
    }

    void noFileGivesDefaults()
    {
        loadPrefs();
        QCOMPARE(stateLine(), QStringLiteral("70,10|15|10|5|15|25|5|10|10|SoundOn|SaleOff"));
    }

    void defaultsSavedAsElevenLines()
    {
        loadPrefs();
        QVERIFY(savePrefs());
        QCOMPARE(readAll(path()), QString::fromLatin1(defaultFile));
    }

    void savesIntoAMissingFolder()
    {
        setPrefsFolder(dir->filePath(QStringLiteral("a/b")));
        loadPrefs();
        QVERIFY(savePrefs());
        QCOMPARE(readAll(dir->filePath(QStringLiteral("a/b/zingaroo2a.txt"))), QString::fromLatin1(defaultFile));
    }

    void roundTripKeepsOddTexts()
    {
        loadPrefs();
        Window1Top = -20;
        Window1Left = 35;
        Item1 = QStringLiteral("abc");
        Item2 = QStringLiteral("");
        Item3 = QString::fromUtf8("7 ½ cents");
        SoundFlag = QStringLiteral("SoundOff");
        SaleFlag = QStringLiteral("saleon");
        const QString before = stateLine();
        QVERIFY(savePrefs());
        resetToProgramStart();
        loadPrefs();
        QCOMPARE(stateLine(), before);
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("state");
        QTest::newRow("own file") << QByteArray(defaultFile)
                                  << "70,10|15|10|5|15|25|5|10|10|SoundOn|SaleOff";
        QTest::newRow("other order and case")
            << QByteArray("#SALEFLAG SaleOn\n#item3 7\n#Item1 15\n#window1position 5,6\n")
            << "5,6|15||7|||||||SaleOn";
        QTest::newRow("comment between directives") << QByteArray("#Item1 20\n' a comment\n#Item2 30\n")
                                                    << "0,0|20|30||||||||";
        QTest::newRow("empty line after line 5")
            << QByteArray("#Window1Position 1,2\n#Item1 1\n#Item2 2\n#Item3 3\n#Item4 4\n\n#Item5 5\n#SoundFlag SoundOn\n")
            << "1,2|1|2|3|4||||||";
        QTest::newRow("other first character stops") << QByteArray("Item1 4\n#Item2 5\n") << "0,0||||||||||";
        QTest::newRow("negative position") << QByteArray("#Window1Position -20,35\n") << "-20,35||||||||||";
        QTest::newRow("position without left") << QByteArray("#Window1Position 70\n") << "70,0||||||||||";
        QTest::newRow("huge position saturates") << QByteArray("#Window1Position 99999999999,-1e3\n")
                                                 << "2147483647,-1||||||||||";
        QTest::newRow("directive without blank skipped") << QByteArray("#Item1\n#Item2 3\n") << "0,0||3||||||||";
        QTest::newRow("blank then nothing is empty") << QByteArray("#Item1 9\n#Item1 \n") << "0,0||||||||||";
        QTest::newRow("later directive wins") << QByteArray("#Item2 10\n#Item3 1\n#Item2 12\n") << "0,0||12|1|||||||";
        QTest::newRow("comma cuts the price") << QByteArray("#Item1 1,50\n") << "0,0|1|||||||||";
        QTest::newRow("unknown names ignored") << QByteArray("#Item9 4\n#Colour red\n#Item1 2\n") << "0,0|2|||||||||";
        QTest::newRow("CRLF") << QByteArray("#Item1 1\r\n#Item2 2\r\n") << "0,0|1|2||||||||";
        QTest::newRow("CR") << QByteArray("#Item1 1\r#Item2 2\r") << "0,0|1|2||||||||";
        QTest::newRow("UTF-8 price") << QByteArray("#Item1 d\xc3\xa9j\xc3\xa0\n") << QString::fromUtf8("0,0|déjà|||||||||");
        QTest::newRow("empty file") << QByteArray() << "0,0||||||||||";
    }

    void reading()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, state);
        writeFile(path(), file);
        loadPrefs();
        QCOMPARE(stateLine(), state);
    }

    void garbageNeitherCrashesNorHangs_data()
    {
        QTest::addColumn<QByteArray>("file");
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary.append(char(i * 131 % 256));
        QTest::newRow("binary") << binary;
        QTest::newRow("invalid UTF-8") << QByteArray("#Item1 \xff\xfe\xc3\n#Item2 4\n");
        QTest::newRow("line of megabytes") << (QByteArray("#Item1 ") + QByteArray(8 << 20, '7') + "\n");
        QTest::newRow("100 MB of directives") << QByteArray("#Item2 4\n").repeated((100 << 20) / 9);
    }

    void garbageNeitherCrashesNorHangs()
    {
        QFETCH(QByteArray, file);
        writeFile(path(), file);
        loadPrefs();
        QVERIFY(Item1.size() <= (1 << 20));
        QVERIFY(gDirectives.size() <= (1 << 20));
    }

    void failedWriteKeepsOldFile()
    {
        writeFile(path(), "#Item1 42\n");
        // A folder standing where the temporary file must go makes the write fail.
        QFile::setPermissions(dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        loadPrefs();
        Item1 = QStringLiteral("99");
        const bool written = savePrefs();
        QFile::setPermissions(dir->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (written)
            QSKIP("running as a user who may write into read-only folders");
        QCOMPARE(readAll(path()), QStringLiteral("#Item1 42\n"));
    }

    void diskFullKeepsOldFile()
    {
        writeFile(path(), "#Item1 42\n");
        loadPrefs();
        Item1 = QStringLiteral("99");
        testing::failWriteAfterBytes = 30;
        const bool written = savePrefs();
        testing::failWriteAfterBytes = -1;
        QVERIFY(!written);
        QCOMPARE(readAll(path()), QStringLiteral("#Item1 42\n"));
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"zingaroo2a.txt"});
    }

    void pathThroughAFileGivesDefaultsAndSavesNothing()
    {
        writeFile(dir->filePath(QStringLiteral("plain")), "x");
        setPrefsFolder(dir->filePath(QStringLiteral("plain/config")));
        loadPrefs();
        QCOMPARE(stateLine(), QStringLiteral("70,10|15|10|5|15|25|5|10|10|SoundOn|SaleOff"));
        QVERIFY(!savePrefs());
        QCOMPARE(readAll(dir->filePath(QStringLiteral("plain"))), QStringLiteral("x"));
    }

    void pipeAtThePathDoesNotStallTheStart()
    {
        QVERIFY(::mkfifo(QFile::encodeName(path()).constData(), 0600) == 0);
        loadPrefs(); // opening a pipe for reading would wait for a writer forever
        QCOMPARE(stateLine(), QStringLiteral("70,10|15|10|5|15|25|5|10|10|SoundOn|SaleOff"));
    }

    void fileReplacedByFolderGivesDefaultsAndSavesNothing()
    {
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("zingaroo2a.txt")));
        loadPrefs();
        QCOMPARE(stateLine(), QStringLiteral("70,10|15|10|5|15|25|5|10|10|SoundOn|SaleOff"));
        QVERIFY(!savePrefs());
        QVERIFY(QFileInfo(path()).isDir());
    }
};

ZINGAROO_TEST_MAIN_APP(TestPrefs, QCoreApplication)
#include "tst_prefs.moc"
