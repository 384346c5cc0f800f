// libFuzzer target: any bytes as the body of the update document.
#include "fuzzchecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzchecks::runCheck("fuzz_update", fuzzchecks::checkUpdate, data, size);
}
