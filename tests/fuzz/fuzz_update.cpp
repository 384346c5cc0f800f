// libFuzzer target: any bytes as the body of the update document.
#include "fuzzchecks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString broken = fuzzchecks::checkUpdate(
        QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "fuzz_update: %s\n", broken.toUtf8().constData());
        std::abort();
    }
    return 0;
}
