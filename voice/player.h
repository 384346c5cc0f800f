#pragma once
// Play-and-wait behind a seam: the game speaks through whatever player is
// installed; tests install one that records the clip names.
#include "voice/clips.h"

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

} // namespace voice
