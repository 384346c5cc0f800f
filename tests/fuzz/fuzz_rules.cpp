// libFuzzer target: any text through the value, money text, sale price and tax rules.
#include "fuzzchecks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString broken = fuzzchecks::checkRules(
        QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "fuzz_rules: %s\n", broken.toUtf8().constData());
        std::abort();
    }
    return 0;
}
