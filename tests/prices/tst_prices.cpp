#include "counter/counterfixture.h"
#include "support/testmain.h"

#include <QTableWidget>

using namespace fixture;

namespace {

QTableWidget *list()
{
    return Prices::existing()->ListBox1;
}

QString column(int c)
{
    QStringList texts;
    for (int r = 0; r < list()->rowCount(); ++r)
        texts << Prices::existing()->cellText(r, c);
    return texts.join(u' ');
}

// Opens the editor of a regular price with a double-click and types into it.
QLineEdit *typePrice(int row, const QString &typed)
{
    QTableWidget *l = list();
    const QPoint at = l->visualItemRect(l->item(row, 0)).center();
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
    auto *editor = l->viewport()->findChild<QLineEdit *>();
    if (!editor)
        return nullptr;
    editor->selectAll();
    QTest::keyClicks(editor, typed);
    return editor;
}

// Closing discards the window once the event loop gets to it.
void closePrices()
{
    QVERIFY(Prices::existing()->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!Prices::existing());
}

QString savedItemLine(int n)
{
    const QStringList lines = readFile(prefModule::prefsFilePath()).split(u'\n');
    for (const QString &line : lines)
        if (line.startsWith(QStringLiteral("#Item%1 ").arg(n)))
            return line;
    return {};
}

} // namespace

class TestPrices : public QObject
{
    Q_OBJECT
    voice::RecordingPlayer rec;

private slots:
    void initTestCase() { voice::setPlayer(&rec); }
    void cleanupTestCase() { voice::setPlayer(nullptr); }
    void init()
    {
        startGame();
        showPrices();
        QVERIFY(QTest::qWaitForWindowExposed(Prices::existing()));
    }
    void cleanup() { closeGame(); }

    void firstRunList()
    {
        Prices *prices = Prices::existing();
        QCOMPARE(prices->windowTitle(), QStringLiteral("Prices"));
        QCOMPARE(prices->size(), QSize(280, 360));
        QCOMPARE(list()->rowCount(), 8);
        QCOMPARE(column(0), QStringLiteral("15 10 5 15 25 5 10 10"));
        QCOMPARE(column(1), QStringLiteral("12 8 4 12 20 4 8 8"));
        // Rows stand level with the item labels, all eight without scrolling.
        const QStringList labels{"StaticText13", "StaticText2", "StaticText3", "StaticText4",
                                 "StaticText5",  "StaticText6", "StaticText7", "StaticText8"};
        for (int r = 0; r < 8; ++r) {
            const QRect row = list()->visualItemRect(list()->item(r, 0));
            const int rowTop = list()->viewport()->mapTo(prices, row.topLeft()).y();
            const int labelTop = prices->findChild<QWidget *>(labels[r])->y();
            QVERIFY2(qAbs(rowTop - labelTop) <= 3, qPrintable(labels[r]));
            QVERIFY(list()->viewport()->rect().contains(row));
        }
        // Only the regular price can be edited.
        const QPoint sale = list()->visualItemRect(list()->item(0, 1)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, sale);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, sale);
        QVERIFY(!list()->viewport()->findChild<QLineEdit *>());
        QVERIFY(typePrice(0, QStringLiteral("9")));
    }

    void editedPrice_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sale");
        QTest::newRow("20") << "20" << "16";
        QTest::newRow("17: fraction dropped") << "17" << "13";
        QTest::newRow("letters") << "abc" << "0";
    }
    void editedPrice()
    {
        QFETCH(QString, typed);
        QFETCH(QString, sale);
        QVERIFY(typePrice(0, typed));
        list()->selectRow(3); // the change of selection takes the list up
        QCOMPARE(Prices::existing()->cellText(0, 0), typed);
        QCOMPARE(Prices::existing()->cellText(0, 1), sale);
        QCOMPARE(prefModule::Item1, typed);
        QCOMPARE(prefModule::Item1Sale, sale);
        QCOMPARE(text("EditField2"), typed); // the sale is off: the regular price, as typed
        press("RadioButton1");
        QCOMPARE(text("EditField2"), sale);
        Prices::existing()->close();
        QCOMPARE(savedItemLine(1), QStringLiteral("#Item1 ") + typed);
    }

    void editFollowedByClosingIsKept()
    {
        QLineEdit *editor = typePrice(2, QStringLiteral("7"));
        QVERIFY(editor);
        closePrices(); // no change of selection after the typing
        QCOMPARE(prefModule::Item3, QStringLiteral("7"));
        QCOMPARE(prefModule::Item3Sale, QStringLiteral("5"));
        QCOMPARE(text("EditField4"), QStringLiteral("7"));
        QCOMPARE(savedItemLine(3), QStringLiteral("#Item3 7"));
        showPrices(); // rebuilt from the shop state
        QCOMPARE(column(0), QStringLiteral("15 10 7 15 25 5 10 10"));
    }

    void committedEditIsTakenUpAtOnce()
    {
        QLineEdit *editor = typePrice(1, QStringLiteral("30"));
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(prefModule::Item2, QStringLiteral("30")); // the delegate commits by a queued call
        QCOMPARE(Prices::existing()->cellText(1, 1), QStringLiteral("24"));
        QCOMPARE(text("EditField3"), QStringLiteral("30"));
    }

    void editWhileQuittingFromTheCounterIsSaved()
    {
        QVERIFY(typePrice(4, QStringLiteral("40")));
        GUI::instance()->close();
        QCOMPARE(savedItemLine(5), QStringLiteral("#Item5 40"));
    }

    void orderKeepsItsSubtotalWhenPricesChange()
    {
        press("BevelButton1");
        QVERIFY(typePrice(0, QStringLiteral("50")));
        list()->selectRow(5);
        QCOMPARE(text("EditField1"), QStringLiteral("$0.15"));
        QCOMPARE(prefModule::subtotal, 15);
        press("BevelButton1");
        QCOMPARE(text("EditField1"), QStringLiteral("$0.65"));
    }

    void reopeningKeepsEightRows()
    {
        for (int i = 0; i < 3; ++i) {
            closePrices();
            showPrices();
            showPrices(); // showing an open window does not rebuild it
            QCOMPARE(list()->rowCount(), 8);
        }
        // The counter's Start, run again, adds no rows either.
        GUI::instance()->Start();
        QCOMPARE(list()->rowCount(), 8);
        QCOMPARE(column(1), QStringLiteral("12 8 4 12 20 4 8 8"));
    }

    void placedBesideTheCounterWindow()
    {
        GUI::instance()->move(250, 130);
        showPrices();
        QCOMPARE(Prices::existing()->pos(), QPoint(270, 150));
        QVERIFY(Prices::existing()->isVisible());
    }
};

ZINGAROO_TEST_MAIN(TestPrices)
#include "tst_prices.moc"
