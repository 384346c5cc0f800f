#include "fuzzchecks.h"

#include "buildinfo.h"
#include "shop/rules.h"
#include "update/document.h"

#include <QStringList>

#include <cmath>
#include <cstring>
#include <limits>

namespace fuzzchecks {

namespace {

// The cutting rule written out a second, plain way: 1-based positions, a
// search that finds nothing yields 0, and a negative length gives the empty
// text.
QString expectedValue(const QString &source, const QString &name)
{
    const QString open = QLatin1Char('<') + name + QLatin1Char('>');
    const QString close = QLatin1String("</") + name + QLatin1Char('>');
    const qsizetype p = source.indexOf(open) + 1;
    const qsizetype a = p + open.size();
    const qsizetype e = a - 1 <= source.size() ? source.indexOf(close, a - 1) + 1 : 0;
    if (e - a < 0)
        return QString();
    return source.mid(a - 1, e - a);
}

// The published version's first three fields as numbers; false when one of
// them is no 32-bit whole number, so no program version can equal it.
bool versionFigures(const QString &published, int figures[3])
{
    for (int i = 0; i < 3; ++i) {
        const double value = shop::textValue(published.section(u'.', i, i));
        if (value != std::trunc(value) || value < std::numeric_limits<int>::min()
            || value > std::numeric_limits<int>::max())
            return false;
        figures[i] = static_cast<int>(value);
    }
    return true;
}

QString checkVersion(const QString &published)
{
    int figures[3];
    if (versionFigures(published, figures)) {
        if (!update::versionMatches(published, figures[0], figures[1], figures[2]))
            return QStringLiteral("version \"%1\" does not match its own figures %2.%3.%4")
                .arg(published)
                .arg(figures[0])
                .arg(figures[1])
                .arg(figures[2]);
        for (int i = 0; i < 3; ++i) {
            int other[3] = {figures[0], figures[1], figures[2]};
            other[i] = other[i] == std::numeric_limits<int>::max() ? 0 : other[i] + 1;
            if (update::versionMatches(published, other[0], other[1], other[2]))
                return QStringLiteral("version \"%1\" matches %2.%3.%4")
                    .arg(published)
                    .arg(other[0])
                    .arg(other[1])
                    .arg(other[2]);
        }
    }
    const bool own = versionFigures(published, figures) && figures[0] == buildinfo::majorVersion
                     && figures[1] == buildinfo::minorVersion && figures[2] == buildinfo::bugVersion;
    if (update::versionMatches(published) != own)
        return QStringLiteral("version \"%1\" against the program's own: %2")
            .arg(published, update::versionMatches(published) ? u"match" : u"no match");
    return {};
}

} // namespace

QString checkUpdate(QByteArrayView bytes)
{
    const QString content = QString::fromUtf8(bytes);

    for (const char *name : {"CurrentVersion", "Description", "Free"}) {
        const QString key = QLatin1String(name);
        const QString value = update::returnValue(content, key);
        const QString expected = expectedValue(content, key);
        if (value != expected)
            return QStringLiteral("returnValue(%1) = \"%2\", expected \"%3\"").arg(key, value, expected);
        if (update::hasElement(content, key) && value.contains(update::endTag(key)))
            return QStringLiteral("returnValue(%1) holds its closing tag").arg(key);
    }

    // A name cut from the body itself reaches tags the three names never do.
    const QString name = content.left(12);
    if (update::returnValue(content, name) != expectedValue(content, name))
        return QStringLiteral("returnValue(\"%1\") differs from the cutting rule").arg(name);

    const update::UpdateInfo info = update::readDocument(content);
    if (info.version != expectedValue(content, QStringLiteral("CurrentVersion"))
        || info.description != expectedValue(content, QStringLiteral("Description"))
        || info.free != expectedValue(content, QStringLiteral("Free")).compare(u"yes", Qt::CaseInsensitive) == 0)
        return QStringLiteral("readDocument disagrees with returnValue");
    if (info.readable && info.version.trimmed().isEmpty())
        return QStringLiteral("a blank version counts as readable");

    for (const QString &published : {info.version, content}) {
        const QString broken = checkVersion(published);
        if (!broken.isEmpty())
            return broken;
    }

    const QString message = update::upgradeMessage(info.version, info.free);
    if (!message.startsWith(QLatin1String("Version ") + info.version + QLatin1String(" is now available. "))
        || !message.endsWith(QLatin1String("(using your web browser)?")))
        return QStringLiteral("upgrade message \"%1\"").arg(message);

    if (bytes.size() >= 8) {
        qint64 code;
        std::memcpy(&code, bytes.data(), sizeof code);
        if (!update::communicationErrorText(code).endsWith(QStringLiteral("(Code: %1)").arg(code)))
            return QStringLiteral("communication error text for %1").arg(code);
    }
    return {};
}

} // namespace fuzzchecks
