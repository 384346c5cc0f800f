// Inputs that once broke a fuzz target's properties, and the seed corpora,
// replayed through the same checks in the normal build.
#include "fuzzchecks.h"

#include "shop/prefs.h"
#include "shop/state.h"
#include "support/testmain.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

using Check = std::function<QString(QByteArrayView)>;

Check checkFor(const QString &target)
{
    if (target == u"fuzz_prefs")
        return fuzzchecks::checkPrefs;
    if (target == u"fuzz_rules")
        return fuzzchecks::checkRules;
    if (target == u"fuzz_update")
        return fuzzchecks::checkUpdate;
    return {};
}

} // namespace

class TestFuzzRegressions : public QObject
{
    Q_OBJECT
    QTemporaryDir folder;

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        prefModule::setPrefsFolder(folder.path());
    }
    void cleanupTestCase()
    {
        prefModule::setPrefsFolder({});
        prefModule::resetToProgramStart();
    }

    void findings_data();
    void findings();
    void corpus_data();
    void corpus();
};

// One row per input that a fuzz target reported, named after what it broke.
void TestFuzzRegressions::findings_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("input");
    // Bytes 8…11 are the cents, 12…19 the amount added: the 64-bit sum itself overflowed.
    QTest::newRow("addCents(min, INT64_MIN) overflows")
        << "fuzz_rules" << QByteArray::fromBase64("AAAAAAAA8P8AAACAAAAAAAAAAIA=");
    QTest::newRow("addCents(1, INT64_MAX) overflows")
        << "fuzz_rules" << QByteArray::fromHex("0000000000000000" "01000000" "ffffffffffffff7f");
}

void TestFuzzRegressions::findings()
{
    QFETCH(QString, target);
    QFETCH(QByteArray, input);
    const Check check = checkFor(target);
    QVERIFY2(check, qPrintable(target));
    const QString broken = check(input);
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
}

// Every seed kept in the repository holds the properties too, so the seeds
// stay meaningful and the checks run in builds without clang.
void TestFuzzRegressions::corpus_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");
    const QDir root(QStringLiteral(ZINGAROO_FUZZ_CORPUS));
    const QStringList targets = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QVERIFY(!targets.isEmpty());
    for (const QString &target : targets) {
        const QDir dir(root.filePath(target));
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(target + u'/' + name)) << target << dir.filePath(name);
    }
}

void TestFuzzRegressions::corpus()
{
    QFETCH(QString, target);
    QFETCH(QString, path);
    const Check check = checkFor(target);
    QVERIFY2(check, qPrintable(target));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString broken = check(file.readAll());
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
}

ZINGAROO_TEST_MAIN(TestFuzzRegressions)
#include "tst_fuzz_regressions.moc"
