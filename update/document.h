#pragma once
// The update document and the texts the update check shows. The document is
// not parsed as XML: a value is the raw text between an element's first
// opening tag and the next closing tag. Nothing here touches widgets or the
// network.
#include <QString>
#include <QtGlobal>

namespace update {

// "<name>" and "</name>".
QString startTag(const QString &name);
QString endTag(const QString &name);

// The text between the first startTag(name) in source and the next
// endTag(name) after it, unchanged. Nothing is checked: without an opening
// tag the search behaves as if the tag had been found just before the start,
// so the value begins at the tag's length minus one; without a closing tag
// the value is empty.
QString returnValue(const QString &source, const QString &name);

// Whether source holds an opening tag for name followed by its closing tag.
bool hasElement(const QString &source, const QString &name);

// The published version split at ".", fields 1 to 3 read as numbers (an
// empty field or one without a number counts as 0, a fourth field and beyond
// is ignored), each equal to the program's own figure.
bool versionMatches(const QString &published, int major, int minor, int bug);
// The same against the program's own version.
bool versionMatches(const QString &published);

// The "Free" element's content means a free upgrade: "Yes" in any case.
bool isFreeUpgrade(const QString &freeValue);

// What the update check reads out of a page body.
struct UpdateInfo {
    bool readable = false; // a non-blank CurrentVersion element is present
    QString version;       // CurrentVersion, unchanged
    QString description;   // Description, unchanged
    bool free = false;     // Free says "Yes"
};
UpdateInfo readDocument(const QString &content);

// The texts of the Update window and its boxes.
inline constexpr const char *checkingText = "Checking for updates...";
inline constexpr const char *currentLabelText = "This version is current.";
inline constexpr const char *currentBoxText =
    "You are using the current version. No update is available.";
inline constexpr const char *upgradeTitle = "New version available!";
inline constexpr const char *goToWebsiteCaption = "Go to Website";
inline constexpr const char *unreadableText =
    "The update information from the website could not be read. "
    "Please try again later.";

// The upgrade dialog's message for a published version, given the program's
// own short version text.
QString upgradeMessage(const QString &newVersion, const QString &ownVersion, bool free);
// The same with the program's own short version text.
QString upgradeMessage(const QString &newVersion, bool free);

// "There was a communication error with the website. Please try again later.
// (Code: c)".
QString communicationErrorText(qint64 code);

} // namespace update
