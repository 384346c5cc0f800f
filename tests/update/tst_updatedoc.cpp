#include "support/testmain.h"
#include "update/document.h"

#include <QtTest>

using namespace update;

class TestUpdateDoc : public QObject
{
    Q_OBJECT
private slots:
    void tags()
    {
        QCOMPARE(startTag(QStringLiteral("Free")), QStringLiteral("<Free>"));
        QCOMPARE(endTag(QStringLiteral("Free")), QStringLiteral("</Free>"));
    }

    void returnValue_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        const QString cv = QStringLiteral("CurrentVersion");
        QTest::newRow("inside a document")
            << "<?xml version=\"1.0\"?>\n<Update><CurrentVersion>2.3.0</CurrentVersion></Update>" << cv
            << "2.3.0";
        QTest::newRow("raw text, blanks kept") << "<CurrentVersion> 2.3 \n</CurrentVersion>" << cv
                                               << " 2.3 \n";
        QTest::newRow("entities not decoded") << "<Description>a &amp; <b>b</b></Description>"
                                              << "Description" << "a &amp; <b>b</b>";
        QTest::newRow("first element wins") << "<Free>No</Free><Free>Yes</Free>" << "Free" << "No";
        QTest::newRow("no nesting rules") << "<a><a>x</a></a>" << "a" << "<a>x";
        QTest::newRow("empty element") << "<Free></Free>" << "Free" << "";
        QTest::newRow("tags are case-sensitive") << "<free>Yes</free>" << "Free" << "";
        QTest::newRow("closing tag missing") << "<CurrentVersion>2.3.0" << cv << "";
        QTest::newRow("closing tag before opening") << "</Free><Free>Yes" << "Free" << "";
        // Without an opening tag the value starts at the tag's length minus
        // one: "<Free>" is 6 long, so at index 5.
        QTest::newRow("opening tag missing") << "0123456789</Free>" << "Free" << "56789";
        QTest::newRow("nothing at all") << "" << cv << "";
        QTest::newRow("shorter than the tag") << "abc" << cv << "";
    }
    void returnValue()
    {
        QFETCH(QString, source);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QCOMPARE(update::returnValue(source, name), value);
    }

    void versionMatches_data()
    {
        QTest::addColumn<QString>("published");
        QTest::addColumn<bool>("matches");
        QTest::newRow("same") << "2.2.0" << true;
        QTest::newRow("third field missing") << "2.2" << true;
        QTest::newRow("fourth field ignored") << "2.2.0.9" << true;
        QTest::newRow("leading zero") << "02.2.0" << true;
        QTest::newRow("trailing dot") << "2.2." << true;
        QTest::newRow("leading blank and sign") << " +2.2.0" << true;
        QTest::newRow("text after the number") << "2.2.0-beta" << true;
        QTest::newRow("older") << "2.1.9" << false;
        QTest::newRow("newer bug") << "2.2.1" << false;
        QTest::newRow("newer major") << "3.0.0" << false;
        QTest::newRow("not a number counts as 0") << "2.x.0" << false;
        QTest::newRow("one field") << "2" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("huge") << "99999999999999999999.2.0" << false;
    }
    void versionMatches()
    {
        QFETCH(QString, published);
        QFETCH(bool, matches);
        QCOMPARE(update::versionMatches(published, 2, 2, 0), matches);
    }

    void emptyFieldsCountAsZero()
    {
        QVERIFY(update::versionMatches(QString(), 0, 0, 0));
        QVERIFY(update::versionMatches(QStringLiteral("x.y"), 0, 0, 0));
        QVERIFY(!update::versionMatches(QStringLiteral("-1.0.0"), 1, 0, 0));
        QVERIFY(update::versionMatches(QStringLiteral("-1.0.0"), -1, 0, 0));
    }

    void readDocument_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("free");
        const QString desc = QStringLiteral("<Description>New sounds.</Description>");
        QTest::newRow("free yes") << "<CurrentVersion>2.3.0</CurrentVersion>" + desc + "<Free>yes</Free>"
                                  << true << "2.3.0" << "New sounds." << true;
        QTest::newRow("free YES") << "<CurrentVersion>2.3.0</CurrentVersion><Free>YES</Free>" << true
                                  << "2.3.0" << "" << true;
        QTest::newRow("free No") << "<CurrentVersion>2.3.0</CurrentVersion>" + desc + "<Free>No</Free>"
                                 << true << "2.3.0" << "New sounds." << false;
        QTest::newRow("free padded") << "<CurrentVersion>2.3.0</CurrentVersion><Free> Yes </Free>"
                                     << true << "2.3.0" << "" << false;
        QTest::newRow("no Free element") << "<CurrentVersion>2.3.0</CurrentVersion>" + desc << true
                                         << "2.3.0" << "New sounds." << false;
        QTest::newRow("no CurrentVersion") << "<html><body>Not Found</body></html>" << false << ""
                                           << "" << false;
        QTest::newRow("opening tag only") << "<CurrentVersion>2.3.0" + desc << false << "" << "New sounds."
                                          << false;
        QTest::newRow("closing tag only") << "<Update>version 2.3.0</CurrentVersion>" << false << " 2.3.0" << ""
                                          << false;
        QTest::newRow("blank version") << "<CurrentVersion> </CurrentVersion>" << false << " " << ""
                                       << false;
    }
    void readDocument()
    {
        QFETCH(QString, content);
        const UpdateInfo info = update::readDocument(content);
        QTEST(info.readable, "readable");
        QTEST(info.version, "version");
        QTEST(info.description, "description");
        QTEST(info.free, "free");
    }

    void upgradeMessages()
    {
        QCOMPARE(upgradeMessage(QStringLiteral("2.3.0"), QStringLiteral("2.2.0"), true),
                 QStringLiteral("Version 2.3.0 is now available. (You are using version 2.2.0.) "
                                "This is a free upgrade. Would you like to automatically download "
                                "this update (using your web browser)?"));
        QCOMPARE(upgradeMessage(QStringLiteral("2.1.9"), QStringLiteral("2.2.0"), false),
                 QStringLiteral("Version 2.1.9 is now available. (You are using version 2.2.0.) "
                                "This is a paid upgrade. Would you like to automatically download "
                                "the trial version (using your web browser)?"));
    }

    void communicationError_data()
    {
        QTest::addColumn<qint64>("code");
        QTest::addColumn<QString>("ending");
        QTest::newRow("102") << qint64(102) << "(Code: 102)";
        QTest::newRow("negative") << qint64(-7) << "(Code: -7)";
        QTest::newRow("404") << qint64(404) << "(Code: 404)";
    }
    void communicationError()
    {
        QFETCH(qint64, code);
        QFETCH(QString, ending);
        QCOMPARE(communicationErrorText(code),
                 "There was a communication error with the website. Please try again later. " + ending);
    }
};

ZINGAROO_TEST_MAIN(TestUpdateDoc)
#include "tst_updatedoc.moc"
