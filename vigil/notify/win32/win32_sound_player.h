#pragma once
// Sounds through winmm: sndPlaySoundA with SND_NODEFAULT alone, so the call returns when the
// sound has ended and a file that can't be played is silence.
#include "vigil/notify/sound_player.h"

namespace vigil::notify::win32 {

class Win32SoundPlayer : public SoundPlayer {
public:
    void PlaySync(const std::string& fileName) override;
};

} // namespace vigil::notify::win32
