#include "shop/rules.h"

#include <QtTest>
#include <cmath>
#include <limits>

using namespace shop;

class TestRules : public QObject
{
    Q_OBJECT
private slots:
    void textValue_data();
    void textValue();
    void wholePartSaturates_data();
    void wholePartSaturates();
    void salePrice_data();
    void salePrice();
    void salePriceIsFourFifthsRoundedDown();
    void moneyText_data();
    void moneyText();
    void moneyTextValueReadsBothSigns();
    void totalWithTax_data();
    void totalWithTax();
    void addCentsSaturates();
    void defaultItems();
};

void TestRules::textValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << "15" << 15.0;
    QTest::newRow("fraction") << "6.25" << 6.25;
    QTest::newRow("negative") << "-8" << -8.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("number then letters") << "12abc" << 12.0;
    QTest::newRow("leading blanks") << " 15" << 15.0;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("exponent is not read") << "1e3" << 1.0;
    QTest::newRow("two full stops") << "1.5.2" << 1.5;
    QTest::newRow("leading full stop") << ".5" << 0.5;
    QTest::newRow("trailing full stop") << "5." << 5.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("letters first") << "a12" << 0.0;
    QTest::newRow("beyond 32 bits") << "99999999999" << 99999999999.0;
    QTest::newRow("non-ASCII digits are not digits") << QString::fromUtf8("\u0661\u0662") << 0.0;
}

void TestRules::textValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(shop::textValue(text), value);
}

void TestRules::wholePartSaturates_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("whole");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("13.6") << 13.6 << 13;
    QTest::newRow("15.75") << 15.75 << 15;
    QTest::newRow("-5.6") << -5.6 << -5;
    QTest::newRow("NaN") << nan << 0;
    QTest::newRow("+inf") << inf << std::numeric_limits<int>::max();
    QTest::newRow("-inf") << -inf << std::numeric_limits<int>::min();
    QTest::newRow("1e300") << 1e300 << std::numeric_limits<int>::max();
    QTest::newRow("just above max") << 2147483647.9 << std::numeric_limits<int>::max();
    QTest::newRow("just below min") << -2147483648.9 << std::numeric_limits<int>::min();
    QTest::newRow("99999999999") << 99999999999.0 << std::numeric_limits<int>::max();
}

void TestRules::wholePartSaturates()
{
    QFETCH(double, value);
    QFETCH(int, whole);
    QCOMPARE(shop::wholePart(value), whole);
}

void TestRules::salePrice_data()
{
    QTest::addColumn<QString>("regular");
    QTest::addColumn<QString>("sale");
    const char *rows[][2] = {{"0", "0"},   {"1", "0"},   {"4", "3"},   {"5", "4"},     {"99", "79"},
                             {"100", "80"}, {"15", "12"}, {"25", "20"}, {"17", "13"},   {"13", "10"},
                             {"abc", "0"},  {"", "0"},    {"15.5", "12"}, {"-10", "-8"},
                             {"99999999999", "2147483647"}, {"-99999999999", "-2147483648"}};
    for (const auto &r : rows)
        QTest::newRow(r[0][0] ? r[0] : "empty") << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1]);
}

void TestRules::salePrice()
{
    QFETCH(QString, regular);
    QFETCH(QString, sale);
    QCOMPARE(shop::salePrice(regular), sale);
}

void TestRules::salePriceIsFourFifthsRoundedDown()
{
    for (int p = 0; p <= 100000; ++p) {
        if (shop::salePrice(QString::number(p)) != QString::number(4 * p / 5))
            QFAIL(qPrintable(QStringLiteral("sale price of %1").arg(p)));
    }
}

void TestRules::moneyText_data()
{
    QTest::addColumn<double>("dollars");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0.0 << "$0.00";
    QTest::newRow("0.5") << 0.5 << "$0.50";
    QTest::newRow("12.34") << 12.34 << "$12.34";
    QTest::newRow("1234.5") << 1234.5 << "$1234.50";
    QTest::newRow("0.29") << 0.29 << "$0.29";
    QTest::newRow("100") << 100.0 << "$100.00";
    QTest::newRow("0.05") << 0.05 << "$0.05";
    QTest::newRow("29 cents from cents") << 29 / 100.0 << "$0.29";
    QTest::newRow("negative change") << -0.29 << "-$0.29";
    QTest::newRow("negative whole") << -3.0 << "-$3.00";
    QTest::newRow("largest cents") << 2147483647 / 100.0 << "$21474836.47";
    QTest::newRow("smallest cents") << -2147483648 / 100.0 << "-$21474836.48";
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << "$0.00";
}

void TestRules::moneyText()
{
    QFETCH(double, dollars);
    QFETCH(QString, text);
    QCOMPARE(shop::moneyText(dollars), text);
}

void TestRules::moneyTextValueReadsBothSigns()
{
    QCOMPARE(moneyTextValue(QStringLiteral("$6.25")), 6.25);
    QCOMPARE(moneyTextValue(QStringLiteral("$0.00")), 0.0);
    QCOMPARE(moneyTextValue(QStringLiteral("-$0.29")), -0.29);
}

void TestRules::totalWithTax_data()
{
    QTest::addColumn<int>("subtotal");
    QTest::addColumn<int>("total");
    QTest::newRow("40") << 40 << 42;
    QTest::newRow("45") << 45 << 48;
    QTest::newRow("100") << 100 << 105;
    QTest::newRow("199") << 199 << 209;
    QTest::newRow("1") << 1 << 2;
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("-100") << -100 << -105;
    // Above 20,452,225 cents the product leaves 32 bits; it is formed in 64.
    QTest::newRow("20452226") << 20452226 << 21474838;
    QTest::newRow("max saturates") << std::numeric_limits<int>::max() << std::numeric_limits<int>::max();
    QTest::newRow("min saturates") << std::numeric_limits<int>::min() << std::numeric_limits<int>::min();
}

void TestRules::totalWithTax()
{
    QFETCH(int, subtotal);
    QFETCH(int, total);
    QCOMPARE(shop::totalWithTax(subtotal), total);
}

void TestRules::addCentsSaturates()
{
    QCOMPARE(addCents(100, 500), 600);
    QCOMPARE(addCents(std::numeric_limits<qint32>::max() - 1, 500), std::numeric_limits<qint32>::max());
    QCOMPARE(addCents(std::numeric_limits<qint32>::min() + 1, -500), std::numeric_limits<qint32>::min());
    qint32 money = 0;
    for (int i = 0; i < 10000000; ++i)
        money = addCents(money, 500);
    QCOMPARE(money, std::numeric_limits<qint32>::max());
}

void TestRules::defaultItems()
{
    QStringList names, prices;
    for (const auto &i : items) {
        names << QString::fromLatin1(i.name);
        prices << QString::fromLatin1(i.defaultPrice);
    }
    QCOMPARE(names.join(u' '), QStringLiteral("Burger Fries Soda Shake Split Cookie Toy Surprise"));
    QCOMPARE(prices.join(u' '), QStringLiteral("15 10 5 15 25 5 10 10"));
}

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
