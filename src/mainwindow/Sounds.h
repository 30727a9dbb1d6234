#pragma once

#include <array>
#include <string>

namespace kestrelon {

class SoundPlayer;

struct SoundEvent {
    std::string Name;   // English name, shown in the Options dialog
    std::string FName;  // wave file; empty = the system's default beep
    bool Enabled = false;
};

// The event sound table: room for 32 events (1..32, slot 0 unused); 11 are in use.
struct SoundTable {
    static constexpr int kCapacity = 32;
    std::array<SoundEvent, kCapacity + 1> events{};
    int count = 0;
};

enum SoundEventNumber {
    kSoundStartup = 1,
    kSoundShutdown = 2,
    kSoundStartDialing = 3,
    kSoundAbortDialing = 4,
    kSoundDialError = 5,
    kSoundConnectionEstablished = 6,
    kSoundConnectionDetected = 7,
    kSoundBrokenByUser = 8,
    kSoundBrokenExternal = 9,
    kSoundDisconnectionWarning = 10,
    kSoundNewEmail = 11,
};

// Sets the count to 11 and fills the table with the names and defaults.
void InitSoundEvents(SoundTable& table);

// Plays event n: nothing when disabled, the beep without a file, else the wave file without
// interrupting a sound that is still playing.
void PlaySoundEvent(const SoundTable& table, int n, SoundPlayer& player);

}  // namespace kestrelon
