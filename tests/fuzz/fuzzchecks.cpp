#include "fuzzchecks.h"

#include "shop/prefs.h"
#include "shop/rules.h"
#include "shop/state.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace fuzzchecks {

namespace {

constexpr qint32 int32Max = std::numeric_limits<qint32>::max();
constexpr qint32 int32Min = std::numeric_limits<qint32>::min();

// What the preferences put into the shop state.
struct Loaded {
    qint32 top = 0;
    qint32 left = 0;
    std::array<QString, 8> items;
    QString sound;
    QString sale;

    bool operator==(const Loaded &) const = default;

    QString describe() const
    {
        QStringList parts{QStringLiteral("%1,%2").arg(top).arg(left)};
        for (const QString &price : items)
            parts << price;
        parts << sound << sale;
        for (QString &part : parts)
            part = QString::fromLatin1(part.toUtf8().toPercentEncoding(" ,.-+#'"));
        return parts.join(u'|');
    }
};

Loaded shopState()
{
    Loaded state;
    state.top = prefModule::Window1Top;
    state.left = prefModule::Window1Left;
    for (int n = 1; n <= 8; ++n)
        state.items[static_cast<size_t>(n - 1)] = prefModule::item(n);
    state.sound = prefModule::SoundFlag;
    state.sale = prefModule::SaleFlag;
    return state;
}

// A second, independent reading of the file written the plainest way: split
// into lines, stop at the first line that is neither a directive nor a comment.
Loaded expectedState(QByteArrayView bytes)
{
    constexpr qsizetype readLimit = 1 << 20; // the reader looks at the first megabyte only
    const QString content = QString::fromUtf8(bytes.first(std::min(bytes.size(), readLimit)));
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    const auto field = [](const QString &text, int k) { return text.section(u',', k - 1, k - 1); };

    Loaded state;
    for (const QString &line : content.split(lineEnd)) {
        if (line.isEmpty() || (line[0] != u'#' && line[0] != u'\''))
            break;
        const qsizetype blank = line.indexOf(u' ');
        if (line[0] == u'\'' || blank < 0)
            continue;
        const QString name = line.mid(1, blank - 1).toLower();
        const QString text = line.mid(blank + 1);
        const auto is = [&](const char *key) {
            return name.compare(QLatin1String(key), Qt::CaseInsensitive) == 0;
        };
        if (is("Window1Position")) {
            state.top = shop::wholePart(shop::textValue(field(text, 1)));
            state.left = shop::wholePart(shop::textValue(field(text, 2)));
        } else if (is("SoundFlag")) {
            state.sound = field(text, 1);
        } else if (is("SaleFlag")) {
            state.sale = field(text, 1);
        } else {
            for (int n = 1; n <= 8; ++n)
                if (is(QByteArray("Item" + QByteArray::number(n)).constData()))
                    state.items[static_cast<size_t>(n - 1)] = field(text, 1);
        }
    }
    return state;
}

bool holdsLineBreakOrComma(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r') || text.contains(u',');
}

bool isDecimalText(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("^(0|-?[1-9][0-9]*)$"));
    return decimal.match(text).hasMatch();
}

bool isMoneyText(const QString &text)
{
    static const QRegularExpression money(QStringLiteral("^-?\\$[0-9]+\\.[0-9]{2}$"));
    return money.match(text).hasMatch();
}

bool isPlainWholeNumber(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// Properties of the whole part of any real: towards zero, saturated at the limits.
QString checkWholePart(double value)
{
    const qint32 whole = shop::wholePart(value);
    if (std::isnan(value))
        return whole == 0 ? QString() : QStringLiteral("wholePart(NaN) = %1, not 0").arg(whole);
    const bool inRange = value > -2147483649.0 && value < 2147483648.0;
    const bool right = inRange ? static_cast<double>(whole) == std::trunc(value)
                               : whole == (value > 0 ? int32Max : int32Min);
    if (!right)
        return QStringLiteral("wholePart(%1) = %2").arg(value, 0, 'g', 17).arg(whole);
    return {};
}

// The tax rule: subtotal + 5 %, rounded up to a whole cent, saturated; worked
// out here in exact integers.
QString checkTotalWithTax(qint32 subtotal)
{
    const qint64 product = static_cast<qint64>(subtotal) * 105;
    qint64 expected = product / 100 + (product % 100 > 0 ? 1 : 0);
    expected = std::clamp<qint64>(expected, int32Min, int32Max);
    const qint32 total = shop::totalWithTax(subtotal);
    if (total != expected)
        return QStringLiteral("totalWithTax(%1) = %2, not %3").arg(subtotal).arg(total).arg(expected);
    return {};
}

QString checkMoneyText(double dollars)
{
    const QString text = shop::moneyText(dollars);
    if (!isMoneyText(text))
        return QStringLiteral("moneyText(%1) = \"%2\"").arg(dollars, 0, 'g', 17).arg(text);
    if (std::isfinite(dollars) && std::fabs(dollars) < 1e9) {
        // Rounded to the nearest cent, and reading the text back shows the same text.
        const double shown = shop::moneyTextValue(text);
        if (std::fabs(shown - dollars) > 0.005 + 1e-6)
            return QStringLiteral("moneyText(%1) = \"%2\" is not the nearest cent")
                .arg(dollars, 0, 'g', 17)
                .arg(text);
        if (shop::moneyText(shown) != text)
            return QStringLiteral("moneyText(moneyTextValue(\"%1\")) = \"%2\"")
                .arg(text, shop::moneyText(shown));
    }
    return {};
}

QString checkSalePrice(const QString &regular)
{
    const QString sale = shop::salePrice(regular);
    if (!isDecimalText(sale))
        return QStringLiteral("salePrice(\"%1\") = \"%2\" is no decimal text").arg(regular, sale);
    bool fits = false;
    const qint32 salePrice = sale.toInt(&fits);
    if (!fits)
        return QStringLiteral("salePrice(\"%1\") = \"%2\" is beyond 32 bits").arg(regular, sale);
    // A sale never raises a price and never turns its sign.
    const qint32 whole = shop::wholePart(shop::textValue(regular));
    const bool within = whole >= 0 ? (salePrice >= 0 && salePrice <= whole)
                                   : (salePrice <= 0 && salePrice >= whole);
    if (!within)
        return QStringLiteral("salePrice(\"%1\") = %2 for a price of %3")
            .arg(regular)
            .arg(salePrice)
            .arg(whole);
    // A plain whole number p up to 100000 sells for four fifths of p, rounded down.
    if (isPlainWholeNumber(regular) && shop::textValue(regular) <= 100000) {
        const qint64 p = static_cast<qint64>(shop::textValue(regular));
        if (salePrice != 4 * p / 5)
            return QStringLiteral("salePrice(\"%1\") = %2, not %3").arg(regular).arg(salePrice).arg(4 * p / 5);
    }
    return {};
}

template<typename T>
T readRaw(QByteArrayView bytes, qsizetype offset)
{
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

} // namespace

QString checkPrefs(QByteArrayView bytes)
{
    using namespace prefModule;
    const QString path = prefsFilePath();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(bytes.data(), bytes.size()) != bytes.size())
            return QStringLiteral("cannot write the scratch file %1").arg(path);
    }

    resetToProgramStart();
    loadPrefs();
    const Loaded loaded = shopState();
    const Loaded expected = expectedState(bytes);
    if (loaded != expected)
        return QStringLiteral("loaded %1, expected %2").arg(loaded.describe(), expected.describe());
    if (gDirectives.size() > bytes.count('\n') + bytes.count('\r') + 1)
        return QStringLiteral("%1 directives from %2 bytes").arg(gDirectives.size()).arg(bytes.size());

    bool texts = true; // every text is one field of one line
    for (const QString &price : loaded.items) {
        texts = texts && !holdsLineBreakOrComma(price);
        const QString broken = checkSalePrice(price);
        if (!broken.isEmpty())
            return broken;
    }
    texts = texts && !holdsLineBreakOrComma(loaded.sound) && !holdsLineBreakOrComma(loaded.sale);
    if (!texts)
        return QStringLiteral("a loaded text holds a line break or a comma: %1").arg(loaded.describe());

    // What was loaded is saved and loaded again unchanged.
    if (!savePrefs())
        return QStringLiteral("savePrefs failed");
    QFile saved(path);
    if (!saved.open(QIODevice::ReadOnly))
        return QStringLiteral("the saved file cannot be read");
    const QByteArray written = saved.readAll();
    if (written.count('\n') != 11 || !written.startsWith("#Window1Position ") || !written.endsWith('\n'))
        return QStringLiteral("the saved file is not eleven lines: %1")
            .arg(QString::fromLatin1(written.toPercentEncoding(" ,.-+#'")));
    resetToProgramStart();
    loadPrefs();
    const Loaded again = shopState();
    if (again != loaded)
        return QStringLiteral("saved %1, loaded back %2").arg(loaded.describe(), again.describe());
    return {};
}

QString checkRules(QByteArrayView bytes)
{
    const QString text = QString::fromUtf8(bytes);
    const double value = shop::textValue(text);
    if (!std::isfinite(value))
        return QStringLiteral("textValue gave %1").arg(value);

    for (const QString &broken :
         {checkWholePart(value), checkMoneyText(value), checkMoneyText(value / 100.0),
          checkSalePrice(text), checkTotalWithTax(shop::wholePart(value))}) {
        if (!broken.isEmpty())
            return broken;
    }

    // The same bytes as raw figures reach the edges that texts rarely do:
    // NaN, infinities, the 32-bit limits.
    if (bytes.size() >= 8) {
        const double raw = readRaw<double>(bytes, 0);
        for (const QString &broken : {checkWholePart(raw), checkMoneyText(raw)})
            if (!broken.isEmpty())
                return broken;
    }
    if (bytes.size() >= 4) {
        const qint64 p = readRaw<quint32>(bytes, 0) % 100001;
        const QString broken = checkSalePrice(QString::number(p));
        if (!broken.isEmpty())
            return broken;
    }
    if (bytes.size() >= 12) {
        const qint32 cents = readRaw<qint32>(bytes, 8);
        const QString broken = checkTotalWithTax(cents);
        if (!broken.isEmpty())
            return broken;
        const qint64 more = bytes.size() >= 20 ? readRaw<qint64>(bytes, 12) : cents;
        const __int128 sum = static_cast<__int128>(cents) + more;
        const qint32 expected = sum > int32Max ? int32Max : sum < int32Min ? int32Min : static_cast<qint32>(sum);
        if (shop::addCents(cents, more) != expected)
            return QStringLiteral("addCents(%1, %2) = %3").arg(cents).arg(more).arg(shop::addCents(cents, more));
    }
    return {};
}

} // namespace fuzzchecks
