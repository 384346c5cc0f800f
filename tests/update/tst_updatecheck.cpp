// The update check end to end against a local HTTP server: the Update window
// fetches, reads and answers; boxes and the dialog go through a recorder.
#include "httpfixture.h"

#include "buildinfo.h"
#include "support/testmain.h"
#include "update/document.h"
#include "update/prompts.h"
#include "update/selftest.h"
#include "update/updatewindow.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

using update::UpgradeChoice;

namespace {

const QByteArray docPath = "/Updates/zingaroo.xml";

QByteArray document(const QByteArray &version, const QByteArray &free = "Yes",
                    const QByteArray &description = "Faster change.")
{
    QByteArray doc = "<?xml version=\"1.0\"?>\n<Update>\n  <CurrentVersion>" + version
                     + "</CurrentVersion>\n  <Description>" + description + "</Description>\n";
    if (!free.isNull())
        doc += "  <Free>" + free + "</Free>\n";
    return doc + "</Update>\n";
}

QByteArray ok(const QByteArray &body)
{
    return HttpFixture::response(200, body);
}

const QString current = QStringLiteral("message: You are using the current version. No update is available.");
const QString unreadable = QStringLiteral("message: ") + QString::fromLatin1(update::unreadableText);

QString offered(const QString &version, bool free)
{
    return "upgrade: Version " + version + " is now available. (You are using version 2.2.0.) "
           + (free ? "This is a free upgrade. Would you like to automatically download this update "
                     "(using your web browser)?"
                   : "This is a paid upgrade. Would you like to automatically download the trial "
                     "version (using your web browser)?");
}

QString failed(int code)
{
    return "beep\nmessage: There was a communication error with the website. Please try again later. "
           "(Code: "
           + QString::number(code) + ")";
}

} // namespace

// Takes the addresses handed to the desktop instead of a browser.
class UrlCatcher : public QObject
{
    Q_OBJECT
public slots:
    void open(const QUrl &url) { opened.append(url.toString()); }

public:
    QStringList opened;
};

class TestUpdateCheck : public QObject
{
    Q_OBJECT

    HttpFixture server;
    update::RecordingPrompts prompts;
    UrlCatcher browser;
    QString seen; // the Update window as the last prompt saw it

    QString log() const { return prompts.log.join(u'\n'); }

    // Watches the Update window while each prompt is "on screen".
    void watch(updateWindow *window)
    {
        prompts.whileShown = [this, window] {
            seen = window->StaticText1->text()
                   + (window->ProgressBar1->isVisible() ? QStringLiteral(" | bar") : QString());
        };
    }

    // Opens an Update window on url and waits (at most a few seconds) until
    // it has closed.
    bool runCheck(updateWindow &window)
    {
        watch(&window);
        window.open();
        return QTest::qWaitFor([&] { return !window.isVisible(); }, 5000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.port() != 0);
        update::setPrompts(&prompts);
        update::setDocumentUrl(server.url(QString::fromLatin1(docPath)));
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &browser, "open");
        server.setRoute("/loop", HttpFixture::Mode::Whole, HttpFixture::redirect("/loop"));
        server.setRoute("/moved", HttpFixture::Mode::Whole, HttpFixture::redirect(docPath));
        server.setRoute("/elsewhere", HttpFixture::Mode::Whole,
                        HttpFixture::redirect("http://localhost:" + QByteArray::number(server.port())
                                              + docPath));
    }
    void cleanupTestCase()
    {
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        update::setPrompts(nullptr);
    }
    void init()
    {
        prompts.log.clear();
        prompts.questions.clear();
        prompts.answers.clear();
        prompts.whileShown = nullptr;
        browser.opened.clear();
        seen.clear();
        server.requests.clear();
    }

    void windows()
    {
        showSelfTest();
        selfTest *st = selfTest::existing();
        QVERIFY(st && st->isVisible());
        QCOMPARE(st->windowTitle(), QStringLiteral("Self Test"));
        QCOMPARE(st->size(), QSize(217, 102));
        QCOMPARE(st->minimumSize(), st->maximumSize());
        QCOMPARE(st->StaticText1->text(), QStringLiteral("Version:"));
        QCOMPARE(st->StaticText1->geometry(), QRect(38, 19, 67, 20));
        QCOMPARE(st->StaticText2->text(), QString::fromUtf8(buildinfo::longVersion));
        QCOMPARE(st->StaticText2->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        // The long version text is shown whole: the label widens to the right.
        const QRect version = st->StaticText2->geometry();
        QCOMPARE(version.topLeft(), QPoint(105, 19));
        QVERIFY(version.width() >= 70);
        QVERIFY(version.right() < st->width());
        QVERIFY(st->StaticText2->fontMetrics().horizontalAdvance(st->StaticText2->text()) <= version.width());
        QCOMPARE(st->PushButton1->text(), QStringLiteral("Check for Updates"));
        QCOMPARE(st->PushButton1->geometry(), QRect(28, 61, 157, 21));
        QVERIFY(st->PushButton1->isDefault());
        showSelfTest();
        QCOMPARE(selfTest::existing(), st); // a single window

        updateWindow w(server.url(QStringLiteral("/unused")));
        QCOMPARE(w.windowTitle(), QStringLiteral("Update"));
        QCOMPARE(w.size(), QSize(300, 120));
        QVERIFY(w.minimumSize() != w.maximumSize());
        QCOMPARE(w.StaticText1->text(), QStringLiteral("Checking for updates..."));
        QCOMPARE(w.StaticText1->geometry(), QRect(20, 19, 266, 20));
        QCOMPARE(w.ProgressBar1->geometry(), QRect(20, 46, 260, 12));
        QCOMPARE(w.ProgressBar1->maximum(), 100);
        QCOMPARE(w.PushButton1->text(), QStringLiteral("Cancel"));
        QCOMPARE(w.PushButton1->geometry(), QRect(208, 80, 72, 20));
        QVERIFY(w.PushButton1->isDefault());
        QVERIFY(!w.automaticCheck);
        QVERIFY(w.hp);
        st->close();
        QTRY_VERIFY(!selfTest::existing());
    }

    // What each answer of the website ends in.
    void outcomes_data()
    {
        QTest::addColumn<QString>("where");       // a path on the server, or a special address
        QTest::addColumn<QByteArray>("response"); // served at the document's path
        QTest::addColumn<QString>("expected");    // the prompts, in order
        QTest::addColumn<QString>("seenLast");    // the window as the last prompt saw it

        const QString path = QString::fromLatin1(docPath);
        const QString checking = QStringLiteral("Checking for updates...");
        const QString isCurrent = QStringLiteral("This version is current.");
        QTest::newRow("2.2.0 is current") << path << ok(document("2.2.0")) << current << isCurrent;
        QTest::newRow("2.2 is current") << path << ok(document("2.2")) << current << isCurrent;
        QTest::newRow("2.2.0.9 is current") << path << ok(document("2.2.0.9")) << current << isCurrent;
        QTest::newRow("02.2.0 is current") << path << ok(document("02.2.0")) << current << isCurrent;
        QTest::newRow("2.1.9 is offered") << path << ok(document("2.1.9")) << offered("2.1.9", true)
                                          << checking;
        QTest::newRow("2.x.0 is offered") << path << ok(document("2.x.0")) << offered("2.x.0", true)
                                          << checking;
        QTest::newRow("free yes") << path << ok(document("2.3.0", "yes")) << offered("2.3.0", true)
                                  << checking;
        QTest::newRow("free No") << path << ok(document("2.3.0", "No")) << offered("2.3.0", false)
                                 << checking;
        QTest::newRow("no Free element") << path << ok(document("2.3.0", QByteArray()))
                                         << offered("2.3.0", false) << checking;
        QTest::newRow("empty body closes silently") << path << ok("") << "" << "";
        QTest::newRow("no CurrentVersion")
            << path << ok("<html><body><h1>Welcome</h1></body></html>") << "beep\n" + unreadable << checking;
        QTest::newRow("CurrentVersion never closed")
            << path << ok("<CurrentVersion>2.3.0<Free>Yes</Free>") << "beep\n" + unreadable << checking;
        QTest::newRow("blank CurrentVersion")
            << path << ok(document("  ")) << "beep\n" + unreadable << checking;
        QByteArray garbage(4096, '\0');
        QRandomGenerator random(42);
        for (char &c : garbage)
            c = char(random.bounded(256));
        QTest::newRow("binary garbage") << path << ok(garbage) << "beep\n" + unreadable << checking;
        // An error page is never read as a document, even one that looks like it.
        QTest::newRow("404") << path << HttpFixture::response(404, document("2.3.0")) << failed(404)
                             << checking + " | bar";
        QTest::newRow("500") << path << HttpFixture::response(500, "oops") << failed(500)
                             << checking + " | bar";
        QTest::newRow("10 MB with its length")
            << path << ok(QByteArray(10 << 20, 'x')) << failed(updateWindow::tooLargeCode)
            << checking + " | bar";
        QTest::newRow("10 MB without a length")
            << path << "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + QByteArray(10 << 20, 'x')
            << failed(updateWindow::tooLargeCode) << checking + " | bar";
        QTest::newRow("just over the cap")
            << path << ok(document("2.3.0", "Yes", QByteArray(updateWindow::maxBodySize, 'd')))
            << failed(updateWindow::tooLargeCode) << checking + " | bar";
        QTest::newRow("reset mid-body") << "reset" << ok(document("2.3.0")) << failed(2)
                                        << checking + " | bar";
        QTest::newRow("same-host redirect followed") << "/moved" << ok(document("2.2.0")) << current
                                                     << isCurrent;
        QTest::newRow("redirect loop") << "/loop" << QByteArray() << failed(QNetworkReply::TooManyRedirectsError) << checking + " | bar";
        QTest::newRow("redirect to another host")
            << "/elsewhere" << ok(document("2.2.0")) << failed(302) << checking + " | bar";
        QTest::newRow("connection refused") << "refused" << QByteArray() << failed(1)
                                            << checking + " | bar";
        QTest::newRow("https to a plain server") << "https" << ok(document("2.2.0")) << failed(2)
                                                 << checking + " | bar";
    }
    void outcomes()
    {
        QFETCH(QString, where);
        QFETCH(QByteArray, response);
        QFETCH(QString, expected);
        QFETCH(QString, seenLast);

        server.setRoute(docPath, HttpFixture::Mode::Whole, response);
        QUrl url = server.url(QString::fromLatin1(docPath));
        if (where == u"reset") {
            server.setRoute("/reset", HttpFixture::Mode::ResetMidBody, response);
            url = server.url(QStringLiteral("/reset"));
        } else if (where == u"refused") {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
            url = QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(closed.serverPort()).arg(docPath));
        } else if (where == u"https") {
            url = server.url(QString::fromLatin1(docPath), QStringLiteral("https"));
        } else {
            url = server.url(where);
        }

        updateWindow window(url);
        QVERIFY(runCheck(window));
        QCOMPARE(log(), expected);
        QCOMPARE(seen, seenLast);
        // Redirects: followed on the same host only, and not forever.
        const qsizetype requests = where == u"/moved" ? 2
                                   : where == u"/loop" ? updateWindow::maxRedirects + 1
                                   : where == u"refused" || where == u"https" ? 0 : 1;
        QCOMPARE(server.requests.size(), requests);
        QVERIFY(browser.opened.isEmpty());
        QVERIFY(!window.isChecking());
    }

    // The upgrade dialog: its texts and what each button does.
    void upgradeDialog_data()
    {
        QTest::addColumn<UpgradeChoice>("answer");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("OK") << UpgradeChoice::Ok << QStringList{QString::fromUtf8(buildinfo::downloadUrl)}
                            << false;
        QTest::newRow("Cancel") << UpgradeChoice::Cancel << QStringList() << false;
        QTest::newRow("Go to Website") << UpgradeChoice::GoToWebsite
                                       << QStringList{QString::fromUtf8(buildinfo::homeUrl)} << true;
    }
    void upgradeDialog()
    {
        QFETCH(UpgradeChoice, answer);
        QFETCH(QStringList, opened);
        QFETCH(bool, staysOpen);

        // A document that tries to choose the download address and to
        // smuggle a link into the dialog: neither has any effect.
        const QByteArray description = "See <a href=\"http://bad.example/\">here</a> &amp; more.";
        server.setRoute(docPath, HttpFixture::Mode::Whole,
                        ok(document("2.3.0", "Yes", description)
                           + "<DownloadURL>http://bad.example/</DownloadURL>"));
        prompts.answers = {answer};
        updateWindow window(update::documentUrl());
        watch(&window);
        window.open();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.questions.size(), 1, 5000);
        const update::UpgradeQuestion q = prompts.questions.first();
        QCOMPARE(q.title, QStringLiteral("New version available!"));
        QCOMPARE("upgrade: " + q.message, offered("2.3.0", true));
        QCOMPARE(q.explanation, QString::fromLatin1(description));
        QCOMPARE(browser.opened, opened);
        QCOMPARE(window.isVisible(), staysOpen);
        if (staysOpen) {
            QCOMPARE(window.windowTitle(), QStringLiteral("Update"));
            QCOMPARE(window.StaticText1->text(), QStringLiteral("Checking for updates..."));
            QVERIFY(!window.ProgressBar1->isVisible());
            QTest::mouseClick(window.PushButton1, Qt::LeftButton);
            QVERIFY(!window.isVisible());
        }
        QCOMPARE(prompts.log.size(), 1);
    }

    void automaticCheckShowsNoBox()
    {
        server.setRoute(docPath, HttpFixture::Mode::Whole, ok(document("2.2.0")));
        updateWindow window(update::documentUrl());
        window.automaticCheck = true;
        QVERIFY(runCheck(window));
        QCOMPARE(log(), QString());
        QCOMPARE(window.StaticText1->text(), QStringLiteral("This version is current."));
        QVERIFY(!window.ProgressBar1->isVisible());
    }

    // Cancel while nothing, or next to nothing, has come: the window closes at
    // once, the connection is dropped, and a late answer shows nothing.
    void cancelWhileChecking_data()
    {
        QTest::addColumn<HttpFixture::Mode>("mode");
        QTest::addColumn<QString>("how");
        QTest::newRow("never answers, Cancel") << HttpFixture::Mode::Never << "button";
        QTest::newRow("never answers, Escape") << HttpFixture::Mode::Never << "escape";
        QTest::newRow("never answers, close box") << HttpFixture::Mode::Never << "close";
        QTest::newRow("trickles bytes, Cancel") << HttpFixture::Mode::Trickle << "button";
    }
    void cancelWhileChecking()
    {
        QFETCH(HttpFixture::Mode, mode);
        QFETCH(QString, how);
        server.setRoute(docPath, mode, ok(document("2.3.0")));
        server.trickled = 0;
        updateWindow window(update::documentUrl());
        window.open();
        QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 1, 5000);
        if (mode == HttpFixture::Mode::Trickle)
            QTRY_VERIFY_WITH_TIMEOUT(server.trickled > 3, 5000);
        QVERIFY(window.isVisible());
        QVERIFY(window.isChecking());
        QCOMPARE(window.ProgressBar1->maximum(), 0); // animated

        if (how == u"button")
            QTest::mouseClick(window.PushButton1, Qt::LeftButton);
        else if (how == u"escape")
            QTest::keyClick(&window, Qt::Key_Escape);
        else
            window.close();
        QVERIFY(!window.isVisible());
        QVERIFY(!window.isChecking());

        QTRY_COMPARE_WITH_TIMEOUT(server.openConnections(), 0, 5000);
        server.wakeUp();
        QTest::qWait(100);
        QCOMPARE(log(), QString());
    }

    // Check Now → Check for Updates: the Self Test window hides while the
    // modal Update window runs, and stays hidden until shown again.
    void checkFromSelfTest()
    {
        server.setRoute(docPath, HttpFixture::Mode::Whole, ok(document("2.2.0")));
        showSelfTest();
        selfTest *st = selfTest::existing();
        QVERIFY(st->isVisible());

        QStringList during;
        prompts.whileShown = [&] {
            auto *modal = qobject_cast<updateWindow *>(QApplication::activeModalWidget());
            during << QStringLiteral("modal Update window: %1, Self Test shown: %2")
                          .arg(modal && modal->isVisible())
                          .arg(st->isVisible());
        };
        // A safety net: the modal loop must end by itself, but should it not,
        // close it rather than hang the run.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        guard.start(10000);

        for (int round = 1; round <= 2; ++round) {
            st->PushButton1->click(); // returns once the Update window has closed
            QVERIFY(guard.isActive());
            QCOMPARE(log(), current);
            QCOMPARE(during, QStringList{QStringLiteral("modal Update window: 1, Self Test shown: 0")});
            QVERIFY(!st->isVisible());
            QVERIFY(!QApplication::activeModalWidget());
            QCOMPARE(server.requests.size(), round); // a new request every time
            QCOMPARE(server.requests.last(), "GET " + docPath + " HTTP/1.1");
            showSelfTest();
            QCOMPARE(selfTest::existing(), st);
            QVERIFY(st->isVisible());
            prompts.log.clear();
            during.clear();
        }
        st->close();
    }

    // The real boxes are built with plain text only and the right buttons.
    void realBoxes()
    {
        const update::UpgradeQuestion q{QStringLiteral("New version available!"),
                                        QStringLiteral("Version <b>9</b> is now available."),
                                        QStringLiteral("<a href=\"http://bad.example/\">click</a>")};
        std::unique_ptr<QMessageBox> box(update::makeUpgradeBox(nullptr, q));
        QCOMPARE(box->windowTitle(), q.title);
        QCOMPARE(box->text(), q.message);
        QCOMPARE(box->informativeText(), q.explanation);
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->textFormat(), Qt::PlainText);
        for (QLabel *label : box->findChildren<QLabel *>()) {
            if (label->text().isEmpty())
                continue;
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QVERIFY(!label->openExternalLinks());
        }
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Ok));
        QVERIFY(box->button(QMessageBox::Cancel));
        QCOMPARE(box->escapeButton(), box->button(QMessageBox::Cancel));
        auto *site = box->findChild<QPushButton *>(QStringLiteral("GoToWebsite"));
        QVERIFY(site);
        QCOMPARE(site->text(), QStringLiteral("Go to Website"));
        QCOMPARE(box->buttons().size(), 3);

        std::unique_ptr<QMessageBox> message(update::makeMessageBox(nullptr, QStringLiteral("<i>x</i>")));
        QCOMPARE(message->textFormat(), Qt::PlainText);
        QCOMPARE(message->buttons().size(), 1);
    }
};

ZINGAROO_TEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
