#pragma once
// The preferences file "zingaroo2a.txt": prices, switches and the counter
// window's position, one "#Name text" directive per line.
#include <QString>
#include <QtGlobal>

namespace prefModule {

inline constexpr const char *prefsFileName = "zingaroo2a.txt";

// The folder that holds the file: the user's configuration folder unless a
// test or a caller has set another one.
QString prefsFolder();
void setPrefsFolder(const QString &folder); // empty: back to the user's folder
QString prefsFilePath();

// Reads the directives of the file into gDirectives; false when it cannot be
// opened. Only the first megabyte is read: the writer's file is a few hundred
// bytes, and a damaged or hostile file must not stall the start.
bool extractDirectives(const QString &path);

void loadPrefs();

// Writes the eleven lines. The new file replaces the old one only once it is
// complete, so a failed or interrupted save keeps the previous file whole.
// Returns whether the file was written (callers may ignore it: failures are silent).
bool savePrefs();

namespace testing {
// When 0 or more, a save fails after writing that many bytes, as on a full disk.
inline qint64 failWriteAfterBytes = -1;
} // namespace testing

} // namespace prefModule
