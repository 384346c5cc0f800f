#include "buildinfo.h"
#include "help/aboutbox.h"
#include "support/testmain.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

// Stands in for the browser and the mail program.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

class TestAboutBox : public QObject
{
    Q_OBJECT
    UrlRecorder m_urls;

private slots:
    void initTestCase()
    {
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &m_urls, "open");
    }
    void cleanupTestCase()
    {
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    void cleanup()
    {
        delete AboutBox::existing();
        m_urls.opened.clear();
    }

    void controlsAsDrawn_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pixelSize"); // 0: the system font's own size
        QTest::addColumn<bool>("bold");
        QTest::addColumn<int>("alignment");
        const int centre = Qt::AlignHCenter, left = Qt::AlignLeft, right = Qt::AlignRight;
        const QString credits = QStringLiteral("Developed by\n%1\n\nSr. Beta Tester\n%2")
                                    .arg(QString::fromUtf8(buildinfo::developerName),
                                         QString::fromUtf8(buildinfo::betaTesterName));
        QTest::newRow("email") << "PushButton1" << QRect(72, 180, 120, 21) << "Email Author" << 0 << true << 0;
        QTest::newRow("web") << "PushButton2" << QRect(72, 217, 120, 21) << "Visit Web Site" << 0 << true << 0;
        QTest::newRow("credits") << "StaticText2" << QRect(80, 86, 104, 87) << credits << 0 << false << centre;
        QTest::newRow("name") << "StaticText1" << QRect(17, 21, 231, 45) << "Zingaroo" << 30 << true << centre;
        QTest::newRow("version label") << "StaticText3" << QRect(72, 60, 56, 20) << "Version:" << 12 << true << left;
        // Opening replaces the design text "2.2.0 Intel" with the long version.
        QTest::newRow("version") << "StaticText4" << QRect(136, 60, 56, 20)
                                 << QString::fromUtf8(buildinfo::longVersion) << 12 << true << right;
    }
    void controlsAsDrawn()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(int, pixelSize);
        QFETCH(bool, bold);
        QFETCH(int, alignment);

        showAbout();
        AboutBox *box = AboutBox::existing();
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowTitle(), QStringLiteral("About..."));
        QCOMPARE(box->size(), QSize(264, 258));
        QCOMPARE(box->minimumSize(), box->maximumSize());
        QCOMPARE(box->palette().color(QPalette::Window), QColor(0xEA, 0xFF, 0x7F));

        auto *w = box->findChild<QWidget *>(name);
        QVERIFY(w);
        if (name == u"StaticText4") {
            // Grows to the right when the version is longer than the drawn box.
            auto *l = qobject_cast<QLabel *>(w);
            QCOMPARE(w->geometry().topLeft(), geometry.topLeft());
            QCOMPARE(w->height(), geometry.height());
            QVERIFY(w->width() >= geometry.width());
            QVERIFY(w->width() >= l->fontMetrics().horizontalAdvance(l->text()));
            QVERIFY(w->geometry().right() < box->width());
        } else {
            QCOMPARE(w->geometry(), geometry);
        }
        QCOMPARE(w->font().bold(), bold);
        if (pixelSize)
            QCOMPARE(w->font().pixelSize(), pixelSize);
        else
            QCOMPARE(w->font().pointSizeF(), QApplication::font().pointSizeF());
        if (auto *b = qobject_cast<QPushButton *>(w)) {
            QCOMPARE(b->text(), text);
            QVERIFY(!b->isDefault() && !b->autoDefault());
        } else {
            auto *l = qobject_cast<QLabel *>(w);
            QVERIFY(l);
            QCOMPARE(l->text(), text);
            QCOMPARE(int(l->alignment() & Qt::AlignHorizontal_Mask), alignment);
            QCOMPARE(l->textInteractionFlags(), Qt::NoTextInteraction);
        }
    }

    void tabOrderFollowsCreation()
    {
        showAbout();
        AboutBox *box = AboutBox::existing();
        QCOMPARE(box->PushButton1()->nextInFocusChain(), box->PushButton2());
        QCOMPARE(box->StaticText2()->nextInFocusChain(), box->StaticText1());
    }

    void buttonsOpenTheAddressesAndLeaveTheBoxOpen_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QUrl>("url");
        QTest::newRow("Email Author") << "PushButton1"
                                      << QUrl(QStringLiteral("mailto:") + QString::fromUtf8(buildinfo::authorEmail));
        QTest::newRow("Visit Web Site") << "PushButton2" << QUrl(QString::fromUtf8(buildinfo::homeUrl));
    }
    void buttonsOpenTheAddressesAndLeaveTheBoxOpen()
    {
        QFETCH(QString, button);
        QFETCH(QUrl, url);
        showAbout();
        AboutBox *box = AboutBox::existing();
        auto *b = box->findChild<QPushButton *>(button);
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(m_urls.opened, QList<QUrl>{url});
        QVERIFY(url.isValid());
        QCOMPARE(AboutBox::existing(), box);
        QVERIFY(box->isVisible());
    }

    void oneBoxAtATimeAndAFreshOneAfterClosing()
    {
        showAbout();
        AboutBox *first = AboutBox::existing();
        showAbout();
        QCOMPARE(AboutBox::existing(), first);
        QPointer<AboutBox> gone(first);
        first->close();
        QCOMPARE(AboutBox::existing(), nullptr);
        QTest::qWait(0);
        QVERIFY(gone.isNull());
        showAbout();
        QVERIFY(AboutBox::existing() && AboutBox::existing()->isVisible());
    }
};

ZINGAROO_TEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
