#include "mainwindow/Sounds.h"

#include "platform/SoundPlayer.h"

namespace kestrelon {

void InitSoundEvents(SoundTable& table) {
    struct Default {
        const char* name;
        bool enabled;
        const char* file;
    };
    static constexpr Default kDefaults[] = {
        {"Startup", false, ""},
        {"Shutdown", false, ""},
        {"Start dialing", false, ""},
        {"Abort dialing", false, ""},
        {"Dialerror", true, ""},
        {"Connection established", true, "Connect.wav"},
        {"Connection detected", true, "Connect.wav"},
        {"Connection broken (by user)", false, ""},
        {"Connection broken (external)", true, ""},
        {"Disconnectionwarning", true, ""},
        {"New email", true, "Newmail.wav"},
    };
    table = SoundTable{};
    table.count = static_cast<int>(std::size(kDefaults));
    for (int n = 1; n <= table.count; ++n) {
        const Default& d = kDefaults[n - 1];
        table.events[n] = SoundEvent{d.name, d.file, d.enabled};
    }
}

void PlaySoundEvent(const SoundTable& table, int n, SoundPlayer& player) {
    if (n < 1 || n > SoundTable::kCapacity) {
        return;
    }
    const SoundEvent& event = table.events[n];
    if (!event.Enabled) {
        return;
    }
    if (event.FName.empty()) {
        player.Beep();
    } else {
        player.PlayFile(event.FName, true);
    }
}

}  // namespace kestrelon
