#include "voice/player.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <array>
#include <cstring>
#include <memory>

namespace voice {

namespace {

quint32 le32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}

quint16 le16(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return quint16(u[0] | u[1] << 8);
}

// A clip file larger than this is not a voice clip; it is left unread.
constexpr qint64 maxClipFileBytes = 16 * 1024 * 1024;

struct Slot
{
    bool tried = false;
    std::unique_ptr<Sound> sound;
};

std::array<Slot, clipCount> &clipSlots()
{
    static std::array<Slot, clipCount> s;
    return s;
}

QString &folderOverride()
{
    static QString f;
    return f;
}

} // namespace

bool decodeWav(const QByteArray &file, Sound &out)
{
    const char *d = file.constData();
    const qint64 size = file.size();
    if (size < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0)
        return false;

    bool haveFormat = false;
    quint16 channels = 0, bits = 0;
    quint32 rate = 0;
    const char *data = nullptr;
    qint64 dataBytes = 0;

    // Chunks follow one another, each padded to an even length; the header is
    // not always 44 bytes (LIST, fact and other chunks may come first).
    qint64 pos = 12;
    while (pos + 8 <= size) {
        const char *id = d + pos;
        const qint64 len = le32(d + pos + 4);
        const qint64 body = pos + 8;
        const qint64 avail = std::min(len, size - body);
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (avail < 16)
                return false;
            quint16 tag = le16(d + body);
            channels = le16(d + body + 2);
            rate = le32(d + body + 4);
            bits = le16(d + body + 14);
            if (tag == 0xFFFE && avail >= 26) // WAVE_FORMAT_EXTENSIBLE: the real tag opens the sub-format
                tag = le16(d + body + 24);
            if (tag != 1)
                return false;
            haveFormat = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            data = d + body;
            dataBytes = avail; // a file cut short keeps what it has
            break;
        }
        pos = body + len + (len & 1);
    }
    if (!haveFormat || !data || (channels != 1 && channels != 2) || (bits != 8 && bits != 16)
        || rate < 1000 || rate > 384000)
        return false;

    const int bytesPerSample = bits / 8;
    const qint64 frames = dataBytes / (bytesPerSample * channels);
    auto sample = [&](qint64 frame, int ch) -> int {
        const char *p = data + (frame * channels + ch) * bytesPerSample;
        if (bits == 8)
            return (int(static_cast<unsigned char>(*p)) - 128) << 8;
        return static_cast<qint16>(le16(p));
    };
    auto mono = [&](qint64 frame) -> double {
        if (channels == 1)
            return sample(frame, 0);
        return (sample(frame, 0) + sample(frame, 1)) / 2.0;
    };

    // Linear interpolation is plenty for a voice clip recorded at another rate.
    const qint64 outFrames = frames * Sound::sampleRate / rate;
    out.pcm.resize(outFrames * 2);
    char *o = out.pcm.data();
    for (qint64 i = 0; i < outFrames; ++i) {
        double v;
        if (rate == quint32(Sound::sampleRate)) {
            v = mono(i);
        } else {
            const double at = double(i) * rate / Sound::sampleRate;
            const qint64 a = qint64(at);
            const qint64 b = std::min(a + 1, frames - 1);
            v = mono(a) + (mono(b) - mono(a)) * (at - a);
        }
        const int s = std::clamp(int(std::lround(v)), -32768, 32767);
        o[2 * i] = char(s & 0xff);
        o[2 * i + 1] = char((s >> 8) & 0xff);
    }
    return true;
}

QString resourcesFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../Resources"));
}

void setResourcesFolder(const QString &folder)
{
    folderOverride() = folder;
    for (Slot &s : clipSlots())
        s = Slot();
}

bool soundLoadTried(Clip clip)
{
    return clipSlots()[static_cast<size_t>(clip)].tried;
}

const Sound *sound(Clip clip)
{
    Slot &slot = clipSlots()[static_cast<size_t>(clip)];
    if (!slot.tried) {
        // Marked first: a clip that fails to load is not tried again.
        slot.tried = true;
        QFile file(QDir(resourcesFolder()).filePath(clipName(clip) + QStringLiteral(".wav")));
        if (file.open(QIODevice::ReadOnly) && file.size() <= maxClipFileBytes) {
            auto s = std::make_unique<Sound>();
            if (decodeWav(file.readAll(), *s) && !s->pcm.isEmpty())
                slot.sound = std::move(s);
        }
    }
    return slot.sound.get();
}

} // namespace voice
