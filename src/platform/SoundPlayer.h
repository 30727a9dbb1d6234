#pragma once

#include <string>

namespace kestrelon {

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Plays a wave file without waiting for it. With keepPlaying, a sound that is still playing
    // is not interrupted and the new one stays silent. A file that cannot be played plays nothing.
    virtual void PlayFile(const std::string& path, bool keepPlaying) = 0;
    virtual void Beep() = 0;
};

}  // namespace kestrelon
