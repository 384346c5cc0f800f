#pragma once
// The money and price rules that every window uses. Amounts are whole cents in
// 32-bit integers; doubles of dollars exist only to be shown or compared.
#include <QString>
#include <QtGlobal>
#include <array>

namespace shop {

struct ItemInfo {
    int number;               // 1 … 8, the same order everywhere
    const char *name;         // "Burger" …
    const char *defaultPrice; // regular price in cents, as text
};

inline constexpr std::array<ItemInfo, 8> items{{
    {1, "Burger", "15"}, {2, "Fries", "10"}, {3, "Soda", "5"}, {4, "Shake", "15"},
    {5, "Split", "25"},  {6, "Cookie", "5"}, {7, "Toy", "10"}, {8, "Surprise", "10"},
}};

// The value of a text: optional leading blanks, an optional sign, then the
// longest plain decimal number ("12abc" → 12, "1e3" → 1, "1.5.2" → 1.5).
// A text holding no number is 0.
double textValue(const QString &text);

// The value of a money text: the value of the text without its first character.
double moneyTextValue(const QString &moneyText);

// The whole part of a real, towards zero, saturated at the 32-bit limits
// (NaN gives 0): converting an out-of-range double to int is undefined.
qint32 wholePart(double value);

// The decimal text of a whole number: "12", "0", "-8".
QString decimalText(qint64 value);

// The sale price rule: the decimal text of the whole part of value × 0.8.
QString salePrice(const QString &regularPrice);

// The money text of an amount of dollars, "$0.00" style, rounded to the cent.
// A negative amount keeps its sign in front: "-$0.29".
QString moneyText(double dollars);

// The tax rule of Total: subtotal plus 5 %, rounded up to a whole cent. The
// product is formed in 64 bits so huge subtotals saturate instead of overflowing.
qint32 totalWithTax(qint32 subtotal);

// a + b saturated at the 32-bit limits.
qint32 addCents(qint32 a, qint64 b);

// Case-insensitive comparison used for switch values and preference names.
bool sameText(const QString &a, const QString &b);

} // namespace shop
