#pragma once
// The properties that must hold for any input of a fuzz target. The libFuzzer
// targets abort on the first broken one; tst_fuzz_regressions replays saved
// inputs through the same checks in the normal build, so a finding stays fixed.
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzzchecks {

// Each returns an empty text when every property held, else what broke.

// `bytes` as the whole preferences file, then loading, then a save and load
// round trip. Writes into prefModule::prefsFolder(): point it at a scratch
// folder first.
QString checkPrefs(QByteArrayView bytes);

// `bytes` (as UTF-8) through the value of a text, the money text, the sale
// price, the whole part and the tax rule; the first eight bytes also as a raw
// double and the first sixteen as two raw amounts of cents.
QString checkRules(QByteArrayView bytes);

// `bytes` (as UTF-8, as the update check decodes the page) as the body of the
// update document: the values cut out of it, the version comparison and the
// texts built from them. In fuzzchecks_update.cpp.
QString checkUpdate(QByteArrayView bytes);

// Runs one check on a fuzzer's input; a broken property is reported and ends
// the run, so libFuzzer keeps the input as a finding.
inline int runCheck(const char *target, QString (*check)(QByteArrayView), const uint8_t *data, size_t size)
{
    const QString broken = check(QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", target, broken.toUtf8().constData());
        std::abort();
    }
    return 0;
}

} // namespace fuzzchecks
