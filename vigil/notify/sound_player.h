#pragma once
// Port: plays a sound file to its end before returning; a file that can't be played is silence
// (never the system's default sound), and no failure is reported.
#include <string>

namespace vigil::notify {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // fileName as typed in the options, in the system's code page.
    virtual void PlaySync(const std::string& fileName) = 0;
};

} // namespace vigil::notify
