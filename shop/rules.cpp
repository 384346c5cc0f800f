#include "shop/rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace shop {

double textValue(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype start = i;
    while (i < n && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    qsizetype end = i;
    if (i < n && text[i] == u'.') {
        qsizetype j = i + 1;
        while (j < n && text[j] >= u'0' && text[j] <= u'9')
            ++j;
        if (j > i + 1 || end > start)
            end = j;
    }
    if (end == start)
        return 0.0;
    // Only ASCII digits and one full stop are left, so the C locale reading is exact.
    const QByteArray digits = text.mid(start, end - start).toLatin1();
    const double value = std::strtod(digits.constData(), nullptr);
    if (!std::isfinite(value))
        return negative ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
    return negative ? -value : value;
}

double moneyTextValue(const QString &moneyText)
{
    // A negative money text is "-$0.29": drop the "$" wherever the sign leaves it.
    if (moneyText.startsWith(u"-$"))
        return -textValue(moneyText.mid(2));
    return textValue(moneyText.mid(1));
}

qint32 wholePart(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<qint32>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(value); // truncates towards zero
}

QString decimalText(qint64 value)
{
    return QString::number(value);
}

QString salePrice(const QString &regularPrice)
{
    return decimalText(wholePart(textValue(regularPrice) * 0.8));
}

QString moneyText(double dollars)
{
    if (std::isnan(dollars))
        dollars = 0.0;
    // Work in whole cents so the two decimals never round differently from the
    // cents they stand for; llround saturates nothing, so clamp first.
    const double limit = 9.0e16;
    const double cents = std::clamp(dollars * 100.0, -limit, limit);
    const long long whole = std::llround(cents);
    const unsigned long long magnitude = whole < 0 ? 0ULL - static_cast<unsigned long long>(whole)
                                                   : static_cast<unsigned long long>(whole);
    QString text = QStringLiteral("$%1.%2")
                       .arg(magnitude / 100)
                       .arg(static_cast<int>(magnitude % 100), 2, 10, QLatin1Char('0'));
    if (whole < 0)
        text.prepend(u'-');
    return text;
}

qint32 totalWithTax(qint32 subtotal)
{
    const qint64 product = static_cast<qint64>(subtotal) * 105;
    return wholePart(std::ceil(static_cast<double>(product) / 100.0));
}

qint32 addCents(qint32 a, qint64 b)
{
    // Beyond twice the 32-bit range the result saturates anyway; bounding b
    // first keeps the 64-bit sum itself from overflowing.
    const qint64 bound = qint64(1) << 33;
    const qint64 sum = static_cast<qint64>(a) + std::clamp(b, -bound, bound);
    if (sum > std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    if (sum < std::numeric_limits<qint32>::min())
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(sum);
}

bool sameText(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace shop
