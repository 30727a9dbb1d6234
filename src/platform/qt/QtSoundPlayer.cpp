#include "platform/qt/QtSoundPlayer.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include "platform/qt/QtUi.h"

namespace kestrelon {

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::PlayFile(const std::string& path, bool keepPlaying) {
    const QString file = ToQt(path);
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        return;
    }
    if (keepPlaying && effect_ && effect_->isPlaying()) {
        return;
    }
    // A new effect per file: changing the source of a playing effect cuts it off anyway, which
    // is what a new sound does to the one playing.
    effect_ = std::make_unique<QSoundEffect>();
    effect_->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    effect_->play();
}

void QtSoundPlayer::Beep() {
    QApplication::beep();
}

}  // namespace kestrelon
