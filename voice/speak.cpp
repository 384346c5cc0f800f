#include "voice/speak.h"

#include "shop/state.h"
#include "voice/player.h"

namespace voice {

namespace {
constexpr Clip units[] = {Clip::SndOne,      Clip::SndTwo,       Clip::SndThree,    Clip::SndFour,
                          Clip::SndFive,     Clip::SndSix,       Clip::SndSeven,    Clip::SndEight,
                          Clip::SndNine,     Clip::SndTen,       Clip::SndEleven,   Clip::SndTwelve,
                          Clip::SndThirteen, Clip::SndFourteen,  Clip::SndFifteen,  Clip::SndSixteen,
                          Clip::SndSeventeen, Clip::SndEighteen, Clip::SndNineteen};
constexpr Clip tensClips[] = {Clip::SndTwenty, Clip::SndThirty,  Clip::SndForty,  Clip::SndFifty,
                              Clip::SndSixty,  Clip::SndSeventy, Clip::SndEighty, Clip::SndNinety};
} // namespace

void SpeakNumber(qint32 n)
{
    const qint32 tens = n / 10;
    const qint32 ones = n - 10 * tens;
    if (n < 20) {
        if (n >= 1)
            playAndWait(units[n - 1]);
        return;
    }
    if (n >= 100) {
        // There are clips up to ninety-nine only. Larger numbers (the hundreds
        // of an amount of $10000 or more) are said in hundreds as well, so
        // 123 is "one hundred twenty three" and $12345.00 becomes "one hundred
        // twenty three hundred forty five dollars".
        SpeakNumber(n / 100);
        playAndWait(Clip::SndHundred);
        SpeakNumber(n % 100);
        return;
    }
    playAndWait(tensClips[tens - 2]);
    if (ones != 0)
        playAndWait(units[ones - 1]);
}

void SpeakPrice(qint32 a)
{
    const qint32 hundreds = a / 10000;
    const qint32 d = a / 100;
    if (!prefModule::MySound)
        return;
    const qint32 dollars = d % 100;
    // In 64 bits: a near the 32-bit limits must not overflow the products.
    const qint32 cents = static_cast<qint32>(static_cast<qint64>(a) - (10000LL * hundreds + 100LL * dollars));
    if (hundreds == 0 && dollars == 0 && cents == 0)
        return;
    if (hundreds != 0) {
        SpeakNumber(hundreds);
        playAndWait(Clip::SndHundred);
        if (hundreds > 0 && dollars == 0)
            playAndWait(Clip::SndDollars);
    }
    if (dollars != 0) {
        SpeakNumber(dollars);
        playAndWait(Clip::SndDollars);
    }
    if (cents != 0) {
        SpeakNumber(cents);
        playAndWait(Clip::SndCents);
    }
    if (prefModule::PleaseFlag)
        playAndWait(Clip::SndPlease);
}

} // namespace voice
