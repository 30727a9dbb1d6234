#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialer/DialSession.h"

namespace kestrelon {

class AppCore;
class RasFunc;
class Timer;
struct ConnectionProfile;
struct ProfileTable;

// Where the controller reaches the parts around it. Every member may stay empty: the
// controller only stores or shows what they return.
struct DialSessionHooks {
    // The Disconnect button.
    std::function<void(bool enabled)> setDisconnectEnabled;
    // The programs of the profile: started with the connection, closed when it ends.
    std::function<void(int profile)> startPrograms;
    std::function<void()> closePrograms;
    // Loads the tariff named by the profile for the connection now in use.
    std::function<void(const std::string& chargeProfile)> loadChargeProfile;
    // The running charges of the connection between two moments, as currency text.
    std::function<std::string(double onlineSeconds)> chargesText;
    // Writes the connection's record to the statistics file.
    std::function<void()> recordStatistics;
    std::function<void()> triggerMailCheck;
    std::function<void()> sendKeepAlive;
    std::function<void()> conManCheck;
    std::function<void()> showLastError;
    // The status panel and the tray counter.
    std::function<void()> paintStatus;
    std::function<void()> updateTray;
};

// Turns a dial request into a kept connection: redial, dual line, dial limit, time-out, error
// rules, backup profile, connect, takeover of outside connections, breaks and reconnect. Driven
// by commands, the dial events of both lines and the heartbeat timer TMR it owns.
class DialSessionController {
  public:
    static constexpr std::uint32_t kIdleInterval = 1000;
    static constexpr std::uint32_t kDialingInterval = 1;
    static constexpr std::uint32_t kKeepAliveInterval = 300000;
    static constexpr std::uint32_t kWaitPollMs = 50;
    static constexpr std::uint32_t kRedialAfterHangUpMs = 1500;
    static constexpr std::uint32_t kReconnectPauseMs = 1000;
    static constexpr std::uint32_t kPortErrorWindowMs = 2000;
    static constexpr std::uint32_t kTickSlackMs = 100;

    // selProfile is the main window's selection (1-based, 0 = none).
    DialSessionController(AppCore& app, RasFunc& ras, ProfileTable& profiles, int& selProfile,
                          DialSessionHooks hooks = {});
    ~DialSessionController();
    DialSessionController(const DialSessionController&) = delete;
    DialSessionController& operator=(const DialSessionController&) = delete;

    // Starts the heartbeat (idle interval).
    void StartTimer();

    // profile 0 means the selected one; force hangs up and waits before dialing anew.
    void StartDial(bool playSound, int profile, bool force);
    void HangUpAll();
    void Disconnect();
    void OnRasDialEvent(int line, std::uint32_t state, std::uint32_t error);
    void TimerTick();
    void RefreshStatus();
    // "Connection Time: #" and "Connection Charges: #" to the dial log.
    void LogConnectionSummary();

    // Shut-down: hangs up the lines still dialing and calls done once their calls are gone.
    void HangUpDialingLines(std::function<void()> done);

    // The parts around may attach their hooks after the controller exists.
    DialSessionHooks& Hooks() { return hooks_; }
    DialSession& Session() { return session_; }
    const DialSession& Session() const { return session_; }
    bool TrayBlink() const { return trayBlink_; }
    const Timer& Heartbeat() const { return *tmr_; }
    // True while StartDial waits for a hang-up to settle or a reconnect pause runs.
    bool DialPending() const;

    // Error numbers of an ignore list: up to 100, each read from the three characters at the
    // start and behind every blank; zeros are dropped.
    static std::vector<std::uint32_t> ParseErrorList(const std::string& text);

  private:
    void BeginDial(bool playSound, int profile);
    bool CheckDialErrors();
    bool CheckConnected();
    void DialPump();
    bool LineMayDial(int line, int other) const;
    void DialLineNow(int line);
    void ConnectionBroken(bool unexpected);
    void DetectConnection();
    void LogDialSummary();
    void SetInterval(std::uint32_t interval);
    void SetDisconnectEnabled(bool enabled);
    void HangUpLine(DialLine& line);
    void PollHungLines();
    ConnectionProfile* Profile(int n);
    std::string ProfileName(int n);
    std::uint32_t Now() const;

    AppCore& app_;
    RasFunc& ras_;
    ProfileTable& profiles_;
    int& selProfile_;
    DialSessionHooks hooks_;
    DialSession session_;

    std::unique_ptr<Timer> tmr_;
    // Pending steps: the settle wait of a forced dial, the reconnect pause, the shut-down wait.
    std::unique_ptr<Timer> dialWait_;
    std::unique_ptr<Timer> reconnectWait_;
    std::unique_ptr<Timer> hangUpWait_;
    bool pendingPlaySound_ = false;
    int pendingProfile_ = 0;
    std::uint32_t hungUpAt_ = 0;
    std::vector<RasHandle> hungHandles_;
    std::function<void()> hangUpDone_;
    std::uint32_t hangUpWaitStarted_ = 0;

    bool inTick_ = false;
    bool trayBlink_ = false;
    std::uint32_t lastRefresh_ = 0;
    bool refreshedOnce_ = false;
    std::uint32_t keepAliveClock_ = 0;
};

}  // namespace kestrelon
