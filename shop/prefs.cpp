#include "shop/prefs.h"

#include "shop/rules.h"
#include "shop/state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace prefModule {

namespace {
QString &folderOverride()
{
    static QString folder;
    return folder;
}

constexpr qint64 maxReadBytes = 1 << 20;

// Field k (1-based) of a text cut at every ","; a missing field is empty.
QString field(const QString &text, int k)
{
    const QStringList parts = text.split(u',');
    return k <= parts.size() ? parts.at(k - 1) : QString();
}
} // namespace

QString prefsFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void setPrefsFolder(const QString &folder)
{
    folderOverride() = folder;
}

QString prefsFilePath()
{
    const QString folder = prefsFolder();
    if (folder.isEmpty())
        return {};
    return QDir(folder).filePath(QString::fromLatin1(prefsFileName));
}

bool extractDirectives(const QString &path)
{
    if (path.isEmpty())
        return false;
    // Only a regular file: opening a pipe or a device standing at the path
    // would wait for a writer, or never end, and stall the start.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString content = QString::fromUtf8(file.read(qBound<qint64>(0, file.size(), maxReadBytes)));
    file.close();

    qsizetype pos = 0;
    const qsizetype n = content.size();
    while (pos < n) {
        // One line, ended by LF, CRLF or CR.
        qsizetype end = pos;
        while (end < n && content[end] != u'\n' && content[end] != u'\r')
            ++end;
        const QStringView line = QStringView(content).mid(pos, end - pos);
        if (end + 1 < n && content[end] == u'\r' && content[end + 1] == u'\n')
            pos = end + 2;
        else
            pos = end < n ? end + 1 : end;

        if (line.isEmpty() || (line[0] != u'#' && line[0] != u'\''))
            return true; // this line and all after it are ignored
        if (line[0] == u'\'')
            continue;
        const qsizetype blank = line.indexOf(u' ');
        if (blank < 0)
            continue;
        gDirectives.append(directiveClass{line.mid(blank + 1).toString(),
                                          line.mid(1, blank - 1).toString().toLower()});
    }
    return true;
}

void loadPrefs()
{
    if (!extractDirectives(prefsFilePath())) {
        Window1Top = 70;
        Window1Left = 10;
        for (const auto &info : shop::items)
            item(info.number) = QString::fromLatin1(info.defaultPrice);
        SoundFlag = QStringLiteral("SoundOn");
        SaleFlag = QStringLiteral("SaleOff");
        return;
    }
    for (const directiveClass &d : std::as_const(gDirectives)) {
        if (shop::sameText(d.name, QStringLiteral("Window1Position"))) {
            Window1Top = shop::wholePart(shop::textValue(field(d.text, 1)));
            Window1Left = shop::wholePart(shop::textValue(field(d.text, 2)));
            continue;
        }
        bool matched = false;
        for (const auto &info : shop::items) {
            if (shop::sameText(d.name, QStringLiteral("Item%1").arg(info.number))) {
                item(info.number) = field(d.text, 1);
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        if (shop::sameText(d.name, QStringLiteral("SoundFlag")))
            SoundFlag = field(d.text, 1);
        else if (shop::sameText(d.name, QStringLiteral("SaleFlag")))
            SaleFlag = field(d.text, 1);
    }
}

bool savePrefs()
{
    const QString path = prefsFilePath();
    if (path.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString text;
    text += QStringLiteral("#Window1Position %1,%2\n")
                .arg(shop::decimalText(Window1Top), shop::decimalText(Window1Left));
    for (const auto &info : shop::items)
        text += QStringLiteral("#Item%1 ").arg(info.number) + item(info.number) + u'\n';
    text += QStringLiteral("#SoundFlag ") + SoundFlag + u'\n';
    text += QStringLiteral("#SaleFlag ") + SaleFlag + u'\n';
    const QByteArray bytes = text.toUtf8();
    if (testing::failWriteAfterBytes >= 0 && testing::failWriteAfterBytes < bytes.size()) {
        file.write(bytes.left(testing::failWriteAfterBytes));
        file.cancelWriting();
        return false;
    }
    if (file.write(bytes) != bytes.size())
        return false; // QSaveFile discards the half-written file
    return file.commit();
}

} // namespace prefModule
