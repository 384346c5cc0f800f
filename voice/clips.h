#pragma once
// The forty voice clips. Each is the WAV file "<name>.wav" in the program's
// Resources folder.
#include <QString>
#include <array>

namespace voice {

enum class Clip {
    SndOne, SndTwo, SndThree, SndFour, SndFive, SndSix, SndSeven, SndEight, SndNine, SndTen,
    SndEleven, SndTwelve, SndThirteen, SndFourteen, SndFifteen, SndSixteen, SndSeventeen,
    SndEighteen, SndNineteen, SndTwenty, SndThirty, SndForty, SndFifty, SndSixty, SndSeventy,
    SndEighty, SndNinety, SndHundred, SndDollars, SndCents, SndPlease, SndOK, SndFries,
    SndAnythingElse, SndIsThatAll, SndEverything, SndWhatElse, SndOrder,
    PerfectThankYouVeryMuch, YourChangeIs,
};

inline constexpr int clipCount = 40;

struct ClipInfo {
    Clip clip;
    const char *name;  // also the file name without ".wav"
    const char *words; // what the recording says
};

inline constexpr std::array<ClipInfo, clipCount> clipTable{{
    {Clip::SndOne, "SndOne", "one"},
    {Clip::SndTwo, "SndTwo", "two"},
    {Clip::SndThree, "SndThree", "three"},
    {Clip::SndFour, "SndFour", "four"},
    {Clip::SndFive, "SndFive", "five"},
    {Clip::SndSix, "SndSix", "six"},
    {Clip::SndSeven, "SndSeven", "seven"},
    {Clip::SndEight, "SndEight", "eight"},
    {Clip::SndNine, "SndNine", "nine"},
    {Clip::SndTen, "SndTen", "ten"},
    {Clip::SndEleven, "SndEleven", "eleven"},
    {Clip::SndTwelve, "SndTwelve", "twelve"},
    {Clip::SndThirteen, "SndThirteen", "thirteen"},
    {Clip::SndFourteen, "SndFourteen", "fourteen"},
    {Clip::SndFifteen, "SndFifteen", "fifteen"},
    {Clip::SndSixteen, "SndSixteen", "sixteen"},
    {Clip::SndSeventeen, "SndSeventeen", "seventeen"},
    {Clip::SndEighteen, "SndEighteen", "eighteen"},
    {Clip::SndNineteen, "SndNineteen", "nineteen"},
    {Clip::SndTwenty, "SndTwenty", "twenty"},
    {Clip::SndThirty, "SndThirty", "thirty"},
    {Clip::SndForty, "SndForty", "forty"},
    {Clip::SndFifty, "SndFifty", "fifty"},
    {Clip::SndSixty, "SndSixty", "sixty"},
    {Clip::SndSeventy, "SndSeventy", "seventy"},
    {Clip::SndEighty, "SndEighty", "eighty"},
    {Clip::SndNinety, "SndNinety", "ninety"},
    {Clip::SndHundred, "SndHundred", "hundred"},
    {Clip::SndDollars, "SndDollars", "dollars"},
    {Clip::SndCents, "SndCents", "cents"},
    {Clip::SndPlease, "SndPlease", "please"},
    {Clip::SndOK, "SndOK", "okay"},
    {Clip::SndFries, "SndFries", "fries"},
    {Clip::SndAnythingElse, "SndAnythingElse", "anything else"},
    {Clip::SndIsThatAll, "SndIsThatAll", "is that all"},
    {Clip::SndEverything, "SndEverything", "everything"},
    {Clip::SndWhatElse, "SndWhatElse", "what else"},
    {Clip::SndOrder, "SndOrder", "order"},
    {Clip::PerfectThankYouVeryMuch, "PerfectThankYouVeryMuch", "perfect, thank you very much"},
    {Clip::YourChangeIs, "YourChangeIs", "your change is"},
}};

inline QString clipName(Clip clip)
{
    return QString::fromLatin1(clipTable[static_cast<size_t>(clip)].name);
}

} // namespace voice
