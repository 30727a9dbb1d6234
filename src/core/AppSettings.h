#pragma once

#include <array>
#include <string>

#include "mainwindow/Sounds.h"

namespace kestrelon {

// One mailbox checked for new mail; the password is held scrambled.
struct MailServer {
    std::string Server;
    std::string UName;
    std::string Pass;
};

// The [Settings], [Sounds] and [MailCheck] values in memory.
struct AppSettings {
    static constexpr int kMaxMailServers = 16;

    bool StartHidden = false;
    bool StartDial = false;
    int DialDelay = 0;
    bool DynDelay = false;
    bool WaitInvalidate = false;
    std::string ProgLog;
    std::string DialLog;
    std::string ErrorLog;
    int MaxLogSize = 50;  // kilobytes
    int StartCon = 0;
    bool DisDual = false;
    std::string Language;       // as stored; the Options dialog changes it
    std::string LanguageInUse;  // fixed from start-up to exit
    bool Hangup = false;
    bool ShowError = false;
    bool GlobalLaunchApps = false;
    bool ConMan = false;
    std::string EmailProg;
    int EmailInterval = 0;
    std::string KeepAliveHost;

    SoundTable sounds;
    std::array<MailServer, kMaxMailServers + 1> mailServers{};  // 1..nMailCheck
    int nMailCheck = 0;
};

// Reads every key of [Settings] and the [Sounds] and [MailCheck] sections. Events whose
// enabled key is missing keep the defaults already in the table.
void LoadSettings(AppSettings& settings);

// Writes everything but "Windowx", "Windowy", "LastCon" and "Version", in one file write.
void SaveSettings(const AppSettings& settings);

// "1.0" for version 1.0 revision 0: major, ".", minor and revision without a separator.
std::string ProgramVersionText();

}  // namespace kestrelon
