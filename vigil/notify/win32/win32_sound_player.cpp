#include "vigil/notify/win32/win32_sound_player.h"

#include <windows.h>

#include <mmsystem.h>

namespace vigil::notify::win32 {

void Win32SoundPlayer::PlaySync(const std::string& fileName) {
    // SND_SYNC is 0: the flags are SND_NODEFAULT (2) and nothing else. The result says only
    // whether something played, which changes nothing for the caller.
    sndPlaySoundA(fileName.c_str(), SND_NODEFAULT);
}

} // namespace vigil::notify::win32
