// libFuzzer target: any bytes as the preferences file.
#include "fuzzchecks.h"

#include "shop/prefs.h"

#include <QTemporaryDir>


extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // A scratch folder for the file; the user's own preferences are never touched.
    static QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "fuzz_prefs: no temporary folder\n");
        std::abort();
    }
    prefModule::setPrefsFolder(folder.path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzchecks::runCheck("fuzz_prefs", fuzzchecks::checkPrefs, data, size);
}
