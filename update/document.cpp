#include "update/document.h"

#include "buildinfo.h"
#include "shop/rules.h"

#include <QStringList>

namespace update {

QString startTag(const QString &name)
{
    return u'<' + name + u'>';
}

QString endTag(const QString &name)
{
    return QStringLiteral("</") + name + u'>';
}

QString returnValue(const QString &source, const QString &name)
{
    const QString open = startTag(name);
    // Index of the value's first character. A missing opening tag behaves
    // as if it had been found at position "minus one", as in the 1-based
    // search this mirrors where "not found" is 0.
    const qsizetype found = source.indexOf(open);
    const qsizetype a = found < 0 ? open.size() - 1 : found + open.size();
    if (a > source.size())
        return QString();
    const qsizetype e = source.indexOf(endTag(name), a);
    if (e < 0)
        return QString(); // the negative length of a missing closing tag
    return source.mid(a, e - a);
}

bool hasElement(const QString &source, const QString &name)
{
    const QString open = startTag(name);
    const qsizetype found = source.indexOf(open);
    return found >= 0 && source.indexOf(endTag(name), found + open.size()) >= 0;
}

bool versionMatches(const QString &published, int major, int minor, int bug)
{
    const QStringList fields = published.split(u'.');
    const int own[3] = {major, minor, bug};
    for (int i = 0; i < 3; ++i) {
        const QString field = i < fields.size() ? fields.at(i) : QString();
        if (shop::textValue(field) != double(own[i]))
            return false;
    }
    return true;
}

bool versionMatches(const QString &published)
{
    return versionMatches(published, buildinfo::majorVersion, buildinfo::minorVersion,
                          buildinfo::bugVersion);
}

bool isFreeUpgrade(const QString &freeValue)
{
    return shop::sameText(freeValue, QStringLiteral("Yes"));
}

UpdateInfo readDocument(const QString &content)
{
    UpdateInfo info;
    info.version = returnValue(content, QStringLiteral("CurrentVersion"));
    info.description = returnValue(content, QStringLiteral("Description"));
    info.free = isFreeUpgrade(returnValue(content, QStringLiteral("Free")));
    // An error page or a cut-off document has no version to compare; reading
    // it anyway would offer an "upgrade" to whatever text lies about.
    info.readable = hasElement(content, QStringLiteral("CurrentVersion"))
                    && !info.version.trimmed().isEmpty();
    return info;
}

QString upgradeMessage(const QString &newVersion, const QString &ownVersion, bool free)
{
    QString text = QStringLiteral("Version ") + newVersion + QStringLiteral(" is now available. ")
                   + QStringLiteral("(You are using version ") + ownVersion + QStringLiteral(".) ");
    if (free)
        text += QStringLiteral("This is a free upgrade. ")
                + QStringLiteral("Would you like to automatically download ")
                + QStringLiteral("this update (using your web browser)?");
    else
        text += QStringLiteral("This is a paid upgrade. ")
                + QStringLiteral("Would you like to automatically download ")
                + QStringLiteral("the trial version (using your web browser)?");
    return text;
}

QString upgradeMessage(const QString &newVersion, bool free)
{
    return upgradeMessage(newVersion, QString::fromLatin1(buildinfo::shortVersion), free);
}

QString communicationErrorText(qint64 code)
{
    return QStringLiteral("There was a communication error ") + QStringLiteral("with the website. Please try ")
           + QStringLiteral("again later. (Code: ") + QString::number(code) + u')';
}

} // namespace update
