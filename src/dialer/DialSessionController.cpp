#include "dialer/DialSessionController.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/AppCore.h"
#include "core/INIio.h"
#include "core/IniDocument.h"
#include "core/Scramble.h"
#include "dialer/RasFunc.h"
#include "platform/Timer.h"
#include "profiles/ConnectionProfile.h"

namespace kestrelon {

namespace {

// True when tick a lies after tick b, across the 32-bit wrap.
bool After(std::uint32_t a, std::uint32_t b) {
    return static_cast<std::int32_t>(a - b) > 0;
}

bool CountsAsDial(std::uint32_t error) {
    return error != 602 && error != 630 && error != 633;
}

bool IsPortError(std::uint32_t error) {
    return error == 602 || error == 631;
}

// The hung-up calls of shut-down are given this long to go before the program ends anyway.
constexpr std::uint32_t kShutdownWaitLimitMs = 5000;

}  // namespace

DialSessionController::DialSessionController(AppCore& app, RasFunc& ras, ProfileTable& profiles,
                                             int& selProfile, DialSessionHooks hooks)
    : app_(app), ras_(ras), profiles_(profiles), selProfile_(selProfile), hooks_(std::move(hooks)) {
    tmr_ = app_.platform.timers.CreateTimer([this] { TimerTick(); });
    dialWait_ = app_.platform.timers.CreateTimer([this] {
        const DialSession& s = session_;
        if (!s.Dialing && s.ConnLine <= 0 && Now() - hungUpAt_ > kRedialAfterHangUpMs) {
            dialWait_->Stop();
            BeginDial(pendingPlaySound_, pendingProfile_);
        }
    });
    reconnectWait_ =
        app_.platform.timers.CreateTimer([this] { StartDial(false, session_.CurProfile, false); });
    hangUpWait_ = app_.platform.timers.CreateTimer([this] { PollHungLines(); });
    ras_.SetDialEventHandler([this](int line, std::uint32_t state, std::uint32_t error) {
        OnRasDialEvent(line, state, error);
    });
}

DialSessionController::~DialSessionController() {
    ras_.SetDialEventHandler(nullptr);
}

void DialSessionController::StartTimer() {
    if (!tmr_->IsActive()) {
        tmr_->Start(kIdleInterval);
    }
}

bool DialSessionController::DialPending() const {
    return dialWait_->IsActive() || reconnectWait_->IsActive();
}

std::uint32_t DialSessionController::Now() const {
    return app_.platform.clock.TickCount();
}

ConnectionProfile* DialSessionController::Profile(int n) {
    return profiles_.Find(n);
}

std::string DialSessionController::ProfileName(int n) {
    const ConnectionProfile* profile = Profile(n);
    return profile != nullptr ? profile->Name : std::string();
}

void DialSessionController::SetDisconnectEnabled(bool enabled) {
    if (hooks_.setDisconnectEnabled) {
        hooks_.setDisconnectEnabled(enabled);
    }
}

void DialSessionController::SetInterval(std::uint32_t interval) {
    // Restarting a timer restarts its interval, so only a change restarts it.
    if (!tmr_->IsActive() || tmr_->Interval() != interval) {
        tmr_->Start(interval);
    }
}

void DialSessionController::StartDial(bool playSound, int profile, bool force) {
    DialSession& s = session_;
    if ((s.ConnLine > 0 || s.Dialing) && s.CurProfile == selProfile_) {
        return;
    }
    reconnectWait_->Stop();
    if (force || s.ConnLine > 0 || s.Dialing) {
        HangUpAll();
        // The old call needs a moment to go; the dial goes on when it has.
        hungUpAt_ = Now();
        pendingPlaySound_ = playSound;
        pendingProfile_ = profile;
        dialWait_->Start(kWaitPollMs);
        return;
    }
    HangUpAll();
    dialWait_->Stop();
    BeginDial(playSound, profile);
}

void DialSessionController::BeginDial(bool playSound, int profile) {
    DialSession& s = session_;
    s.CurProfile = profile != 0 ? profile : selProfile_;
    if (playSound) {
        app_.PlaySoundEvent(kSoundStartDialing);
    }
    s.Dialing = true;
    s.DialBegin = Now();
    for (int i = 1; i <= 2; ++i) {
        DialLine& line = s.Line(i);
        line.LastError = 0;
        line.PortErrorSince = 0;
        line.DialStart = 0;
        line.AttemptMs = 0;
        line.ErrorTick = 0;
    }
    s.LastErrorCode = 0;
    s.DialCount = 0;
    s.DualActive = false;
    s.ConnectStart = 0;
    SetDisconnectEnabled(true);
    app_.WriteLog(app_.LangText("startdial", "Started dialing:") + " " + ProfileName(s.CurProfile),
                  kProgramLog);
    app_.WriteLog("", kErrorLog);
    s.StatusState = kStatusDialing;
    RefreshStatus();
    TimerTick();
}

void DialSessionController::HangUpLine(DialLine& line) {
    ras_.RasHangUp(line.Handle);
    line.HungHandle = line.Handle;
    line.Handle = 0;
}

void DialSessionController::HangUpAll() {
    DialSession& s = session_;
    s.Dialing = false;
    for (int i = 1; i <= 2; ++i) {
        DialLine& line = s.Line(i);
        ras_.RasHangUp(line.Handle);
        line.DeviceConnected = false;
        line.HungHandle = line.Handle;
        line.Handle = 0;
    }
    if (s.ConnLine > 0) {
        ConnectionBroken(false);
    }
    s.ConnLine = 0;
    SetDisconnectEnabled(false);
}

void DialSessionController::Disconnect() {
    DialSession& s = session_;
    if (s.ConnLine < 1 && !s.Dialing) {
        dialWait_->Stop();
        reconnectWait_->Stop();
        HangUpAll();
        RefreshStatus();
        return;
    }
    if (s.ConnLine < 1) {
        s.StatusState = kStatusAborted;
        app_.WriteLog(app_.LangText("dialabort", "Dialing aborted by user"), kProgramLog);
        app_.PlaySoundEvent(kSoundAbortDialing);
    } else {
        s.StatusState = kStatusDisconnected;
        app_.WriteLog(app_.LangText("conbrokenusr", "Connection broken by user"), kProgramLog);
        app_.PlaySoundEvent(kSoundBrokenByUser);
    }
    HangUpAll();
    RefreshStatus();
}

void DialSessionController::OnRasDialEvent(int line, std::uint32_t state, std::uint32_t error) {
    if (line != 1 && line != 2) {
        return;
    }
    DialSession& s = session_;
    DialLine& l = s.Line(line);
    const std::uint32_t now = Now();
    if (error > 0) {
        l.DeviceConnected = false;
        if (s.StatusState == kStatusAuthorising && line == s.AuthLine) {
            s.StatusState = kStatusDialing;
        }
        l.LastError = error;
        HangUpLine(l);
        if (CountsAsDial(error)) {
            s.DialCount += 1;
            s.DialTicks[static_cast<std::size_t>(s.DialCount % DialSession::kDialTickSlots)] = now;
        }
        l.ErrorTick = now;
        l.AttemptMs = now - l.DialStart;
    }
    l.State = state;
    if (state == kRasCsDeviceConnected) {
        l.DeviceConnected = true;
        s.AuthLine = line;
        s.StatusState = kStatusAuthorising;
    }
    if (state == kRasCsConnected) {
        s.ConnLine = line;
        s.DialCount += 1;
    }
}

void DialSessionController::TimerTick() {
    // Waiting steps inside the tick let events run, and the heartbeat may be among them.
    if (inTick_) {
        return;
    }
    inTick_ = true;
    DialSession& s = session_;
    const std::uint32_t now = Now();
    if (s.Dialing) {
        SetInterval(kDialingInterval);
        if (CheckDialErrors() && CheckConnected()) {
            DialPump();
        }
    } else {
        SetInterval(kIdleInterval);
        // Idle ticks come once a second; a timer that fires a little early still looks.
        if (!refreshedOnce_ || now - lastRefresh_ >= kIdleInterval - kTickSlackMs) {
            DetectConnection();
        }
        const ConnectionProfile* profile = Profile(s.CurProfile);
        if (s.ConnLine > 0 && profile != nullptr && profile->KeepAlive) {
            if (keepAliveClock_ == 0) {
                keepAliveClock_ = now;
            }
            if (Now() - keepAliveClock_ > kKeepAliveInterval) {
                keepAliveClock_ = Now();
                if (hooks_.sendKeepAlive) {
                    hooks_.sendKeepAlive();
                }
            }
        }
    }
    if (tmr_->Interval() == kIdleInterval || !refreshedOnce_ ||
        Now() - lastRefresh_ >= kIdleInterval) {
        trayBlink_ = s.Dialing ? !trayBlink_ : false;
        if (app_.settings.ConMan && hooks_.conManCheck) {
            hooks_.conManCheck();
        }
        RefreshStatus();
        // The tick's own start: a slow tick must not push the next look further away.
        lastRefresh_ = now;
        refreshedOnce_ = true;
    }
    inTick_ = false;
}

std::vector<std::uint32_t> DialSessionController::ParseErrorList(const std::string& text) {
    constexpr std::size_t kMaxErrors = 100;
    std::vector<std::uint32_t> errors;
    const auto add = [&](std::size_t from) {
        const double value = LeadingNumber(text.substr(std::min(from, text.size()), 3));
        if (value >= 1 && errors.size() < kMaxErrors) {
            errors.push_back(static_cast<std::uint32_t>(value));
        }
    };
    add(0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') {
            add(i + 1);
        }
    }
    return errors;
}

bool DialSessionController::CheckDialErrors() {
    DialSession& s = session_;
    const ConnectionProfile* current = Profile(s.CurProfile);
    const std::uint32_t now = Now();
    if (current != nullptr && current->MaxDials > 0 && s.DialCount >= current->MaxDials) {
        s.Line(1).LastError = kErrorMaxDials;
    }
    std::uint32_t error = 0;
    int errLine = 0;
    for (int i = 1; i <= 2; ++i) {
        DialLine& line = s.Line(i);
        if (s.ConnLine == 0 && current != nullptr && current->CancCall > 0 &&
            (now - line.DialStart) / 1000 > static_cast<std::uint32_t>(current->CancCall) &&
            line.Handle != 0 && line.DialStart > 0 && (i == 1 || s.DualActive)) {
            line.LastError = kErrorConnectTimeout;
            HangUpLine(line);
        }
        if (IsPortError(line.LastError)) {
            if (line.PortErrorSince == 0) {
                line.PortErrorSince = now;
                line.LastError = 0;
            } else if (now - line.PortErrorSince > kPortErrorWindowMs) {
                line.PortErrorSince = 0;
            } else {
                line.LastError = 0;
            }
        } else if (line.LastError > 600) {
            line.PortErrorSince = 0;
        }
        if (line.LastError > 0) {
            error = line.LastError;
            errLine = i;
        }
    }
    if (error == 0) {
        return true;
    }

    s.LastErrorCode = error;
    app_.WriteLog(std::to_string(error), kErrorLog);
    DialLine& failed = s.Line(errLine);
    failed.LastError = 0;
    if (const ConnectionProfile* rules = Profile(failed.ProfileIndex)) {
        if (!failed.DeviceConnected && rules->IgnFErr) {
            return true;
        }
        const auto ignored = ParseErrorList(rules->IgnErr);
        if (std::find(ignored.begin(), ignored.end(), error) != ignored.end()) {
            return true;
        }
    }
    HangUpAll();
    s.StatusState = kStatusConnectionError;
    app_.WriteLog(app_.LangText("encerror", "Encountered error") + " " + std::to_string(error) +
                      ", " + ras_.RasErrorText(error),
                  kProgramLog);
    app_.PlaySoundEvent(kSoundDialError);
    current = Profile(s.CurProfile);
    if (current != nullptr && current->BackupCon > 0) {
        RefreshStatus();
        StartDial(false, current->BackupCon, true);
        RefreshStatus();
        return false;
    }
    if (!app_.settings.ShowError) {
        RefreshStatus();
        if (hooks_.showLastError) {
            hooks_.showLastError();
        }
    }
    RefreshStatus();
    return false;
}

bool DialSessionController::CheckConnected() {
    DialSession& s = session_;
    if (s.ConnLine <= 0) {
        return true;
    }
    const DialLine& connected = s.Line(s.ConnLine);
    s.ConnEntry = connected.EntryName;
    s.Dialing = false;
    s.ConnectStart = Now();
    const ConnectionProfile* profile = Profile(s.CurProfile);
    if (hooks_.loadChargeProfile) {
        hooks_.loadChargeProfile(profile != nullptr ? profile->ChargeProfile : std::string());
    }
    s.StatusState = kStatusConnected;
    app_.platform.loop.ProcessEvents();
    if (s.ConnLine <= 0) {
        return false;  // hung up while the events ran
    }
    s.IpAddress = ras_.RasIpAddress(s.Line(s.ConnLine).Handle);
    app_.WriteLog(app_.LangText("conestablished", "Connection established to") + " " +
                      ProfileName(s.CurProfile),
                  kProgramLog);
    app_.PlaySoundEvent(kSoundConnectionEstablished);
    LogDialSummary();
    RefreshStatus();
    if (hooks_.startPrograms) {
        hooks_.startPrograms(s.CurProfile);
    }
    if (hooks_.triggerMailCheck) {
        hooks_.triggerMailCheck();
    }
    return false;
}

bool DialSessionController::LineMayDial(int line, int other) const {
    const DialSession& s = session_;
    const DialLine& a = s.Line(line);
    const DialLine& b = s.Line(other);
    const std::uint32_t now = Now();
    const AppSettings& settings = app_.settings;
    const auto delay = static_cast<std::uint32_t>(std::max(settings.DialDelay, 0));
    // A line that has not failed yet in this dial needs no pause.
    if (a.ErrorTick != 0 && !(now - a.ErrorTick > delay)) {
        return false;
    }
    if (s.DualActive && settings.DynDelay) {
        // The lines are staggered by half a cycle of the other line.
        const auto halfCycle = static_cast<std::uint32_t>((b.AttemptMs + delay) * 0.5);
        if (!After(now, b.DialStart + halfCycle)) {
            return false;
        }
    }
    return !b.DeviceConnected && a.LastError == 0 && a.Handle == 0;
}

void DialSessionController::DialPump() {
    DialSession& s = session_;
    const ConnectionProfile* profile = Profile(s.CurProfile);
    if (profile == nullptr) {
        return;
    }
    int a = 1;
    int b = 2;
    s.DualActive = !profile->Con2.empty() && s.DialCount >= 1 && !app_.settings.DisDual;
    if (s.ConnLine == 1) {
        a = 2;
        b = 0;
        s.DualActive = false;
    }
    int toDial = 0;
    if (LineMayDial(a, b == 0 ? 1 : b)) {
        toDial = a;
    } else if (b != 0 && s.DualActive && LineMayDial(b, a)) {
        toDial = b;
    }
    if (toDial == 0) {
        return;
    }
    DialLine& line = s.Line(toDial);
    if (app_.settings.WaitInvalidate) {
        std::uint32_t state = 0;
        if (ras_.RasGetConnectStatus(line.HungHandle, state) != kErrorInvalidHandle) {
            return;  // the previous call on this line is not gone yet
        }
    }
    DialLineNow(toDial);
}

void DialSessionController::DialLineNow(int lineNumber) {
    DialSession& s = session_;
    const ConnectionProfile* profile = Profile(s.CurProfile);
    DialLine& line = s.Line(lineNumber);
    line.EntryName = lineNumber == 1 ? profile->Con1 : profile->Con2;
    line.ProfileIndex = s.CurProfile;
    line.DialStart = Now();
    RasHandle handle = 0;
    line.LastError = ras_.RasDialLine(lineNumber, line.EntryName, profile->UName,
                                      UnscramblePassword(profile->Pass), handle);
    line.Handle = handle;
}

void DialSessionController::ConnectionBroken(bool unexpected) {
    DialSession& s = session_;
    if (s.ConnLine == 1 || s.ConnLine == 2) {
        DialLine& line = s.Line(s.ConnLine);
        line.Handle = 0;
        line.DeviceConnected = false;
    }
    s.StatusState = kStatusDisconnected;
    if (hooks_.closePrograms) {
        hooks_.closePrograms();
    }
    SetDisconnectEnabled(false);
    if (hooks_.recordStatistics) {
        hooks_.recordStatistics();
    }
    LogConnectionSummary();
    if (unexpected) {
        s.ConnLine = 0;
        app_.WriteLog(app_.LangText("conbroken", "Connection broken"), kProgramLog);
        app_.PlaySoundEvent(kSoundBrokenExternal);
        const ConnectionProfile* profile = Profile(s.CurProfile);
        if (profile != nullptr && profile->Reconnect) {
            reconnectWait_->StartSingleShot(kReconnectPauseMs);
        }
    }
    s.ConnLine = 0;
    RefreshStatus();
}

void DialSessionController::DetectConnection() {
    DialSession& s = session_;
    std::string name;
    RasHandle handle = 0;
    ras_.FindRasConnection(name, handle);
    if (handle == 0) {
        if (s.ConnLine >= 1) {
            ConnectionBroken(true);
        }
        return;
    }
    if (s.ConnLine > 0) {
        return;
    }
    std::uint32_t state = 0;
    if (ras_.RasGetConnectStatus(handle, state) != 0 || state != kRasCsConnected ||
        s.Line(1).Handle != 0) {
        return;
    }
    DialLine& line = s.Line(1);
    line.Handle = handle;
    line.EntryName = name;
    s.ConnEntry = name;
    s.ConnectStart = Now() - ras_.RasConnectDuration(handle);
    s.ConnLine = 1;
    s.StatusState = kStatusConnected;
    s.IpAddress = ras_.RasIpAddress(handle);
    SetDisconnectEnabled(true);
    for (int i = 1; i <= profiles_.nProfs; ++i) {
        const ConnectionProfile* profile = Profile(i);
        if (profile->Con1 == name || profile->Con2 == name) {
            s.CurProfile = i;
            break;
        }
    }
    const ConnectionProfile* profile = Profile(s.CurProfile);
    if (hooks_.loadChargeProfile) {
        hooks_.loadChargeProfile(profile != nullptr ? profile->ChargeProfile : std::string());
    }
    const std::string profileName = ProfileName(s.CurProfile);
    app_.WriteLog(app_.LangText("condetect", "Connection detected:") + " " + profileName,
                  kProgramLog);
    app_.WriteLog("", kDialLog);
    app_.WriteLog(Trim(app_.LangText("stconnection", "Connection")) + ": " + profileName, kDialLog);
    app_.PlaySoundEvent(kSoundConnectionDetected);
    if (hooks_.startPrograms) {
        hooks_.startPrograms(s.CurProfile);
    }
    if (hooks_.triggerMailCheck) {
        hooks_.triggerMailCheck();
    }
    RefreshStatus();
}

void DialSessionController::LogDialSummary() {
    DialSession& s = session_;
    app_.WriteLog("", kDialLog);
    const std::string dialTime = FormatDuration(s.OnlineSeconds);
    const std::string perMinute = FormatDialsPerMinute(s.DialCount, s.OnlineSeconds);
    RefreshStatus();
    const auto label = [this](std::string_view key, std::string_view english) {
        return Trim(app_.LangText(key, english));
    };
    app_.WriteLog(label("stconnection", "Connection") + ": " + ProfileName(s.CurProfile), kDialLog);
    app_.WriteLog(label("dialtime", "Dialtime") + ": " + dialTime, kDialLog);
    app_.WriteLog(label("stdials", "Dials") + ": " + std::to_string(s.DialCount), kDialLog);
    app_.WriteLog(label("stdpm", "DpM") + ": " + perMinute, kDialLog);
}

void DialSessionController::LogConnectionSummary() {
    const DialSession& s = session_;
    app_.WriteLog(
        app_.LangText("connectiontime", "Connection Time: #", FormatDuration(s.OnlineSeconds)),
        kDialLog);
    app_.WriteLog(app_.LangText("connectioncharges", "Connection Charges: #", s.ChargesText),
                  kDialLog);
}

void DialSessionController::RefreshStatus() {
    DialSession& s = session_;
    const std::uint32_t now = Now();
    if (s.DialCount < DialSession::kDialTickSlots) {
        const std::uint32_t last = s.DialTicks[static_cast<std::size_t>(s.DialCount)];
        // A tick left from an earlier dial lies before this one began and gives no rate.
        if (s.DialCount > 0 && After(last, s.DialBegin)) {
            s.DialsPerMinute =
                static_cast<float>(s.DialCount * 60.0 / ((last - s.DialBegin) / 1000.0));
        } else {
            s.DialsPerMinute = 0;
        }
    } else {
        const int newest = s.DialCount % DialSession::kDialTickSlots;
        const int oldest = (newest + 2) % DialSession::kDialTickSlots;
        const std::uint32_t span = s.DialTicks[static_cast<std::size_t>(newest)] -
                                   s.DialTicks[static_cast<std::size_t>(oldest)];
        s.DialsPerMinute = span > 0 ? static_cast<float>(48.0 / (span / 60000.0)) : 0;
    }
    if (s.Dialing) {
        s.OnlineSeconds = static_cast<float>((now - s.DialBegin) / 1000.0);
    } else if (s.ConnLine > 0) {
        s.OnlineSeconds = static_cast<float>((now - s.ConnectStart) / 1000.0);
    }
    s.ChargesText = hooks_.chargesText ? hooks_.chargesText(s.OnlineSeconds) : std::string();
    if (hooks_.paintStatus) {
        hooks_.paintStatus();
    }
    if (!s.Dialing) {
        trayBlink_ = s.ConnLine > 0;
    }
    if (hooks_.updateTray) {
        hooks_.updateTray();
    }
}

void DialSessionController::HangUpDialingLines(std::function<void()> done) {
    DialSession& s = session_;
    hungHandles_.clear();
    if (s.Dialing) {
        for (int i = 1; i <= 2; ++i) {
            if (i == s.ConnLine) {
                continue;
            }
            s.Dialing = false;
            DialLine& line = s.Line(i);
            if (line.Handle != 0) {
                hungHandles_.push_back(line.Handle);
                HangUpLine(line);
            }
        }
    }
    dialWait_->Stop();
    reconnectWait_->Stop();
    if (hungHandles_.empty()) {
        done();
        return;
    }
    hangUpDone_ = std::move(done);
    hangUpWaitStarted_ = Now();
    hangUpWait_->Start(kWaitPollMs);
}

void DialSessionController::PollHungLines() {
    std::erase_if(hungHandles_, [this](RasHandle handle) {
        std::uint32_t state = 0;
        return ras_.RasGetConnectStatus(handle, state) == kErrorInvalidHandle;
    });
    if (!hungHandles_.empty() && Now() - hangUpWaitStarted_ <= kShutdownWaitLimitMs) {
        return;
    }
    hangUpWait_->Stop();
    if (auto done = std::exchange(hangUpDone_, nullptr)) {
        done();
    }
}

}  // namespace kestrelon
