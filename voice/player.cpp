#include "voice/player.h"

namespace voice {

namespace {
// Placeholder until the audio output lands: says nothing.
class SilentPlayer : public SoundPlayer
{
public:
    void playAndWait(Clip) override {}
};

SoundPlayer *installed = nullptr;
} // namespace

SoundPlayer &player()
{
    static SilentPlayer silent;
    return installed ? *installed : silent;
}

void setPlayer(SoundPlayer *p)
{
    installed = p;
}

} // namespace voice
