// libFuzzer target: any text through the value, money text, sale price and tax rules.
#include "fuzzchecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzchecks::runCheck("fuzz_rules", fuzzchecks::checkRules, data, size);
}
