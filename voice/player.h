#pragma once
// Play-and-wait behind a seam: the game speaks through whatever player is
// installed; tests install one that records the clip names.
#include "voice/clips.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace voice {

class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    // Plays the clip to its end before returning. Never hangs, never throws:
    // a clip that cannot be played is skipped.
    virtual void playAndWait(Clip clip) = 0;
};

// The installed player; the real one by default.
SoundPlayer &player();
// Installs another player (not owned); nullptr puts the real one back.
void setPlayer(SoundPlayer *player);

// Plays one clip with the installed player.
inline void playAndWait(Clip clip) { player().playAndWait(clip); }

// A player that only records what it was asked to say.
class RecordingPlayer : public SoundPlayer
{
public:
    void playAndWait(Clip clip) override { heard.append(clipName(clip)); }
    QStringList heard;
};

// ---------------------------------------------------------------------------
// The clips themselves.

// A clip's samples as the audio output takes them: mono, signed 16-bit,
// little-endian, at sampleRate.
struct Sound
{
    static constexpr int sampleRate = 16000;
    QByteArray pcm;
    qint64 durationMs() const { return pcm.size() / 2 * 1000 / sampleRate; }
};

// The clip's accessor: the first call reads "<name>.wav" from the resources
// folder and keeps what it read; later calls return the same sound without
// touching the file. nullptr when the file was missing or unreadable; such a
// clip stays empty for the rest of the run.
const Sound *sound(Clip clip);
// Whether sound(clip) has been asked for yet (so whether its file was read).
bool soundLoadTried(Clip clip);

// The folder that holds the clips: "Resources" beside the folder of the
// executable (<dir of executable>/../Resources).
QString resourcesFolder();
// Points the clips at another folder (tests); an empty text restores the
// default. Forgets every clip loaded so far.
void setResourcesFolder(const QString &folder);

// Decodes a RIFF/WAVE file of 8- or 16-bit integer PCM, mono or stereo, at
// any rate into the form of Sound (mixed down and resampled as needed).
// Returns false for anything else or a damaged file.
bool decodeWav(const QByteArray &file, Sound &out);

} // namespace voice
