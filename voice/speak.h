#pragma once
// Amounts of money said by chaining the number and unit clips.
#include <QtGlobal>

namespace voice {

// Says 1 … 99 with one or two clips, larger numbers in hundreds (123 is
// "one hundred twenty three"); nothing for 0 or less.
void SpeakNumber(qint32 n);

// Says an amount in cents as hundreds, dollars and cents, then "please"
// while PleaseFlag is true. Says nothing while MySound is false.
void SpeakPrice(qint32 amount);

} // namespace voice
