#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "core/AppCore.h"
#include "core/FileHelpers.h"
#include "dialer/DialSessionController.h"
#include "dialer/RasFunc.h"
#include "dialer/SimulatedRas.h"
#include "mainwindow/Sounds.h"
#include "platform/FakePlatform.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon::test {

// The dial session controller on the simulated service, driven by the fake clock: a test
// writes a phone book, sets up profiles and lets time pass, then reads the logs and the
// session as the program would leave them.
class DialHarness : public ::testing::Test {
  protected:
    DialHarness() {
        std::filesystem::create_directories(RasDir());
        InitSoundEvents(app_.settings.sounds);
        AppSettings& s = app_.settings;
        s.ProgLog = "Program.log";
        s.DialLog = "Dial.log";
        s.ErrorLog = "Error.log";
        s.MaxLogSize = 1000;
        s.DialDelay = 2000;
        s.DynDelay = true;
        s.WaitInvalidate = true;
        s.ShowError = true;
        hooks_.showLastError = [this] { ++lastErrorDialogs_; };
        hooks_.setDisconnectEnabled = [this](bool enabled) { disconnectEnabled_ = enabled; };
    }

    std::string RasDir() const { return dir_.File("ras"); }

    void PhoneBook(const std::string& text) { WriteFile(RasDir() + "/rasphone.pbk", text); }

    // Adds a profile at the end of the table; returns its number.
    int AddProfile(const std::string& name, const std::string& con1, const std::string& con2 = "") {
        ProfileTable& table = app_.profiles;
        table.nProfs += 1;
        ConnectionProfile& p = table.ConProf[static_cast<std::size_t>(table.nProfs)];
        p = ConnectionProfile{};
        p.Name = name;
        p.Con1 = con1;
        p.Con2 = con2;
        return table.nProfs;
    }
    ConnectionProfile& Profile(int n) { return *app_.profiles.Find(n); }

    // Starts the service, the door to it and the controller with its heartbeat.
    void Start() {
        service_ = std::make_unique<SimulatedRas>(RasDir(), fake_.clock, fake_.clock);
        ras_ = std::make_unique<RasFunc>(*service_, app_.lang);
        dialer_ = std::make_unique<DialSessionController>(app_, *ras_, app_.profiles,
                                                          app_.SelProfile, hooks_);
        dialer_->TimerTick();
        dialer_->StartTimer();
    }

    void Dial(int profile) {
        app_.SelProfile = profile;
        dialer_->StartDial(true, 0, false);
    }

    void Run(std::uint32_t ms) { fake_.clock.Advance(ms); }

    // Lets time pass in small steps until the condition holds or the limit is reached.
    bool RunUntil(const std::function<bool()>& condition, std::uint32_t limitMs = 120000) {
        for (std::uint32_t waited = 0; waited < limitMs; waited += 10) {
            if (condition()) {
                return true;
            }
            Run(10);
        }
        return condition();
    }

    std::string Log(const std::string& name) const { return ReadFile(dir_.File(name)); }

    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            ++n;
        }
        return n;
    }

    const DialSession& Session() const { return dialer_->Session(); }

    bool SoundPlayed(const std::string& file) const {
        return std::any_of(fake_.sound.played.begin(), fake_.sound.played.end(),
                           [&](const FakeSoundPlayer::Played& p) { return p.path == file; });
    }

    TempProgramDirectory dir_;
    FakePlatform fake_;
    AppCore app_{fake_.platform};
    DialSessionHooks hooks_;
    int lastErrorDialogs_ = 0;
    bool disconnectEnabled_ = false;
    std::unique_ptr<SimulatedRas> service_;
    std::unique_ptr<RasFunc> ras_;
    std::unique_ptr<DialSessionController> dialer_;
};

}  // namespace kestrelon::test
