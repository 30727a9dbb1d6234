#pragma once

#include <QObject>
#include <memory>

#include "platform/SoundPlayer.h"

class QSoundEffect;

namespace kestrelon {

// Plays wave files through Qt Multimedia, one at a time like the system's sound player.
class QtSoundPlayer : public SoundPlayer {
  public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void PlayFile(const std::string& path, bool keepPlaying) override;
    void Beep() override;

  private:
    std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace kestrelon
