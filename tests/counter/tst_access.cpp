// What a screen reader and a child at the keyboard get from the counter.
#include "counterfixture.h"
#include "support/testmain.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QTableWidget>
#include <QWindow>

using namespace fixture;

namespace {

QAccessibleInterface *accessible(QWidget *w)
{
    return w ? QAccessible::queryAccessibleInterface(w) : nullptr;
}

// Everything a player can see or hear of the counter after a press.
QString snapshot(const QStringList &heard)
{
    QStringList parts;
    const auto fields = GUI::instance()->centralWidget()->findChildren<QLineEdit *>();
    for (QLineEdit *field : fields)
        parts << field->objectName() + u'=' + field->text();
    parts << QStringLiteral("OK=%1 tax=%2").arg(okEnabled()).arg(taxNoteShown());
    parts << QStringLiteral("subtotal=%1 total=%2 Money=%3")
                 .arg(prefModule::subtotal)
                 .arg(GUI::instance()->total)
                 .arg(prefModule::Money);
    parts << QStringLiteral("heard=") + heard.join(u',');
    return parts.join(u' ');
}

// The order every key is tried on: two items, the total, a dollar paid, so
// that each control has something to change.
const QStringList preparation{"BevelButton1", "BevelButton2", "BevelButton9", "Canvas10"};

} // namespace

class TestAccess : public QObject
{
    Q_OBJECT
    voice::RecordingPlayer rec;

    GUI *startActive()
    {
        GUI *gui = startGame();
        gui->activateWindow();
        if (!QTest::qWaitForWindowActive(gui))
            qWarning("the counter window is not active");
        return gui;
    }

public slots:
    void ignoreUrl(const QUrl &) {}

private slots:
    void initTestCase()
    {
        voice::setPlayer(&rec);
        // Return opens the store's page: keep the browser shut.
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "ignoreUrl");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "ignoreUrl");
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        voice::setPlayer(nullptr);
    }
    void init()
    {
        startActive();
        rec.heard.clear();
    }
    void cleanup() { closeGame(); }

    void namesRolesAndValues_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        const int button = QAccessible::Button, field = QAccessible::EditableText;
        QTest::newRow("Burger") << "BevelButton1" << button << "Burger" << "";
        QTest::newRow("Surprise") << "BevelButton8" << button << "Surprise" << "";
        QTest::newRow("Total") << "BevelButton9" << button << "Total" << "";
        QTest::newRow("Next Order") << "BevelButton11" << button << "Next Order" << "";
        QTest::newRow("OK") << "OK" << button << "OK" << "";
        QTest::newRow("-1 Burger") << "Canvas1" << button << "Remove one Burger" << "";
        QTest::newRow("-1 Cookie") << "Canvas6" << button << "Remove one Cookie" << "";
        QTest::newRow("-1 Surprise") << "Canvas8" << button << "Remove one Surprise" << "";
        QTest::newRow("$5") << "Canvas9" << button << "Five dollar bill" << "";
        QTest::newRow("$1") << "Canvas10" << button << "One dollar bill" << "";
        QTest::newRow("$.50") << "Canvas11" << button << "Half dollar" << "";
        QTest::newRow("$.25") << "Canvas12" << button << "Quarter" << "";
        QTest::newRow("$.10") << "Canvas13" << button << "Dime" << "";
        QTest::newRow("$.05") << "Canvas14" << button << "Nickel" << "";
        QTest::newRow("$.01") << "Canvas15" << button << "Penny" << "";
        QTest::newRow("amount due") << "EditField1" << field << "Amount due" << "$0.15";
        QTest::newRow("Burger quantity") << "EditField10" << field << "Quantity of Burger" << "1";
        QTest::newRow("Surprise quantity") << "EditField17" << field << "Quantity of Surprise" << "0";
        QTest::newRow("Burger price") << "EditField2" << field << "Price of Burger in cents" << "15";
        QTest::newRow("Toy price") << "EditField8" << field << "Price of Toy in cents" << "10";
        QTest::newRow("amount paid") << "AmtPaid" << field << "Amount paid" << "$0.25";
        QTest::newRow("change") << "Change" << field << "Change back" << "$0.10";
        QTest::newRow("sale group") << "GroupBox1" << int(QAccessible::Grouping) << "20% Sale?" << "";
    }
    void namesRolesAndValues()
    {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, value);
        // The values follow the order as it goes.
        pressAll({"BevelButton1", "Canvas12", "OK"});
        QAccessibleInterface *iface = accessible(fixture::control(control));
        QVERIFY(iface && iface->isValid());
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        if (role == QAccessible::EditableText) {
            QCOMPARE(iface->text(QAccessible::Value), value);
            QVERIFY(iface->state().readOnly);
        }
        QVERIFY(!iface->state().invisible);
    }

    void everyControlCanBeSaid()
    {
        showPrices();
        QVERIFY(QTest::qWaitForWindowExposed(Prices::existing()));
        QStringList unnamed;
        for (QWidget *window : {static_cast<QWidget *>(GUI::instance()->centralWidget()),
                                static_cast<QWidget *>(Prices::existing())}) {
            const auto widgets = window->findChildren<QWidget *>();
            for (QWidget *w : widgets) {
                QAccessibleInterface *iface = accessible(w);
                if (!w->isVisibleTo(window) || !iface)
                    continue;
                const QAccessible::Role role = iface->role();
                const bool says = role == QAccessible::Button || role == QAccessible::EditableText
                                  || role == QAccessible::StaticText || role == QAccessible::RadioButton
                                  || role == QAccessible::Grouping || role == QAccessible::Table;
                if (says && iface->text(QAccessible::Name).trimmed().isEmpty())
                    unnamed << w->objectName() + u'/' + QString::fromLatin1(w->metaObject()->className());
            }
        }
        // The corner button of the list is not shown.
        unnamed.removeAll(QStringLiteral("/QTableCornerButton"));
        QCOMPARE(unnamed, QStringList());
    }

    void priceListCellsSayTheirItem()
    {
        showPrices();
        QTableWidget *list = Prices::existing()->ListBox1;
        QAccessibleInterface *table = accessible(list);
        QVERIFY(table && table->tableInterface());
        QCOMPARE(table->text(QAccessible::Name), QStringLiteral("Prices in cents"));
        struct Cell {
            int row, column;
            const char *text, *rowHeader, *columnHeader;
        };
        for (Cell c : {Cell{0, 0, "15", "Burger", "Regular price"}, Cell{7, 1, "8", "Surprise", "20% Sale price"}}) {
            QAccessibleInterface *cell = table->tableInterface()->cellAt(c.row, c.column);
            QVERIFY(cell);
            QCOMPARE(cell->text(QAccessible::Name), QString::fromLatin1(c.text));
            const auto rows = cell->tableCellInterface()->rowHeaderCells();
            const auto columns = cell->tableCellInterface()->columnHeaderCells();
            QCOMPARE(rows.size(), 1);
            QCOMPARE(columns.size(), 1);
            QCOMPARE(rows.first()->text(QAccessible::Name), QString::fromLatin1(c.rowHeader));
            QCOMPARE(columns.first()->text(QAccessible::Name), QString::fromLatin1(c.columnHeader));
        }
        // Reopened, the list still names its rows; the editor says whose price it holds.
        QVERIFY(Prices::existing()->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        showPrices();
        list = Prices::existing()->ListBox1;
        QCOMPARE(list->verticalHeaderItem(3)->text(), QStringLiteral("Shake"));
        list->editItem(list->item(3, 0));
        auto *editor = list->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QCOMPARE(accessible(editor)->text(QAccessible::Name), QStringLiteral("Price of Shake in cents"));
        QCOMPARE(Prices::existing()->cellText(3, 0), QStringLiteral("15"));
    }

    void canvasPressActionIsAClick()
    {
        press("BevelButton3");
        QAccessibleInterface *fiver = accessible(control("Canvas9"));
        QAccessibleActionInterface *action = fiver->actionInterface();
        QVERIFY(action);
        QCOMPARE(action->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        QCOMPARE(action->keyBindingsForAction(QAccessibleActionInterface::pressAction()), QStringList{"F"});
        action->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(text("AmtPaid"), QStringLiteral("$5.00"));
        QVERIFY(okEnabled());

        QAccessibleActionInterface *minusSoda = accessible(control("Canvas3"))->actionInterface();
        QCOMPARE(minusSoda->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
                 QStringList{"Shift+3"});
        minusSoda->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(text("EditField12"), QStringLiteral("0"));
        QCOMPARE(text("EditField1"), QStringLiteral("$0.00"));
        QCOMPARE(rec.heard, QStringList{"SndIsThatAll"}); // the Soda's own clip, nothing for the rest
    }

    void keyDoesWhatAClickDoes_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("control");
        for (int n = 1; n <= 8; ++n) {
            QTest::addRow("item %d", n) << QKeySequence(Qt::Key_0 + n) << QStringLiteral("BevelButton%1").arg(n);
            QTest::addRow("remove %d", n) << QKeySequence(Qt::SHIFT | Qt::Key(Qt::Key_0 + n))
                                          << QStringLiteral("Canvas%1").arg(n);
        }
        QTest::newRow("Total") << QKeySequence(Qt::Key_T) << "BevelButton9";
        QTest::newRow("Next Order") << QKeySequence(Qt::Key_N) << "BevelButton11";
        QTest::newRow("$5") << QKeySequence(Qt::Key_F) << "Canvas9";
        QTest::newRow("$1") << QKeySequence(Qt::Key_D) << "Canvas10";
        QTest::newRow("$.50") << QKeySequence(Qt::Key_H) << "Canvas11";
        QTest::newRow("$.25") << QKeySequence(Qt::Key_Q) << "Canvas12";
        QTest::newRow("$.10") << QKeySequence(Qt::Key_M) << "Canvas13";
        QTest::newRow("$.05") << QKeySequence(Qt::Key_K) << "Canvas14";
        QTest::newRow("$.01") << QKeySequence(Qt::Key_P) << "Canvas15";
        QTest::newRow("OK") << QKeySequence(Qt::Key_O) << "OK";
    }
    void keyDoesWhatAClickDoes()
    {
        QFETCH(QKeySequence, key);
        QFETCH(QString, control);

        pressAll(preparation);
        rec.heard.clear();
        const QString before = snapshot(rec.heard);
        press(control);
        const QString byMouse = snapshot(rec.heard);
        QVERIFY2(byMouse != before, "the click changed nothing: a useless row");

        closeGame();
        GUI *gui = startActive();
        pressAll(preparation);
        rec.heard.clear();
        QTest::keySequence(gui, key);
        QCOMPARE(snapshot(rec.heard), byMouse);

        // The player can find the key on the control itself.
        QVERIFY2(fixture::control(control)->toolTip().contains(key.toString(QKeySequence::NativeText)),
                 qPrintable(fixture::control(control)->toolTip()));
    }

    void keysKeepTheButtonsRules()
    {
        GUI *gui = GUI::instance();
        // OK is still disabled: its key does nothing either.
        QTest::keyClick(gui, Qt::Key_O);
        QCOMPARE(text("Change"), QStringLiteral("$0.00"));
        QVERIFY(rec.heard.isEmpty());
        // Keypad digits and capitals do the same as the plain keys.
        QTest::keyClick(gui, Qt::Key_2, Qt::KeypadModifier);
        QTest::keyClick(gui, Qt::Key_D, Qt::ShiftModifier);
        QCOMPARE(quantityFields(), QStringLiteral("0 1 0 0 0 0 0 0"));
        QCOMPARE(text("AmtPaid"), QStringLiteral("$1.00"));
        // A key held down orders once, not once per repeat.
        QWindow *window = gui->windowHandle();
        for (bool repeat : {false, true, true, true})
            QTest::simulateEvent(window, true, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"), repeat);
        QTest::simulateEvent(window, false, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"), false);
        QCOMPARE(quantityFields(), QStringLiteral("1 1 0 0 0 0 0 0"));
        // Return is still the support button's alone.
        QTest::keyClick(gui, Qt::Key_Return);
        QCOMPARE(text("EditField1"), QStringLiteral("$0.25"));
        QCOMPARE(text("Change"), QStringLiteral("$0.00"));
    }

    void typingPricesOrdersNothing()
    {
        showPrices();
        Prices *prices = Prices::existing();
        QVERIFY(QTest::qWaitForWindowActive(prices));
        QTableWidget *list = prices->ListBox1;
        list->setFocus();
        QTest::keyClicks(list, QStringLiteral("1tfo"));
        const QPoint at = list->visualItemRect(list->item(0, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        auto *editor = list->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("12345678"));
        QTest::keySequence(editor, QKeySequence(Qt::SHIFT | Qt::Key_1));
        QTest::keyClicks(editor, QStringLiteral("TNFDHQMKPO"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY2(prefModule::Item1.startsWith(QStringLiteral("12345678")), qPrintable(prefModule::Item1));
        QVERIFY(prefModule::Item1.endsWith(QStringLiteral("TNFDHQMKPO")));
        QCOMPARE(quantityFields(), QStringLiteral("0 0 0 0 0 0 0 0"));
        for (const char *field : {"EditField1", "AmtPaid", "Change"})
            QCOMPARE(text(field), QStringLiteral("$0.00"));
        QVERIFY(rec.heard.isEmpty());

        // Back at the counter the same keys play again.
        GUI::instance()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(GUI::instance()));
        QTest::keyClick(GUI::instance(), Qt::Key_2);
        QCOMPARE(quantityFields(), QStringLiteral("0 1 0 0 0 0 0 0"));
    }

    void roundedFacesAreCrispWhenScaled_data()
    {
        QTest::addColumn<int>("scale");
        QTest::newRow("1") << 1;
        QTest::newRow("2") << 2;
    }
    void roundedFacesAreCrispWhenScaled()
    {
        // The one-pixel border covers whole device pixels: solid black on
        // the straight edges, white right inside, at any whole scale.
        QFETCH(int, scale);
        QWidget *face = control("RoundRectangle9");
        QImage image(face->size() * scale, QImage::Format_ARGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        face->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        const int middle = image.height() / 2;
        for (int x = 0; x < scale; ++x)
            QCOMPARE(image.pixelColor(x, middle), QColor(Qt::black));
        QCOMPARE(image.pixelColor(scale, middle), QColor(Qt::white));
        QCOMPARE(image.pixelColor(image.width() / 2, image.height() - 1), QColor(Qt::black));
        QCOMPARE(image.pixelColor(image.width() / 2, image.height() - 1 - scale), QColor(Qt::white));
    }
};

ZINGAROO_TEST_MAIN(TestAccess)
#include "tst_access.moc"
