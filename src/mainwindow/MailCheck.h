#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "mainwindow/Pop3Conversation.h"

namespace kestrelon {

class AppCore;
class TcpSocket;
class TcpSocketFactory;
class Timer;
class TrayService;
enum class TrayMouse;

// The mail check: the timer tmrCheckMail, the mailbox conversations on the socket wSock, and
// the new-mail icon that hangs on the hidden callback window.
class MailCheck {
  public:
    static constexpr std::uint32_t kInterval = 60000;
    static constexpr int kIconId = 1;
    static constexpr int kOfflineCounter = -2;
    static constexpr int kCheckNowCounter = 1000;

    // mailTray is the callback window's own notification-area service; online tells whether a
    // connection is up.
    MailCheck(AppCore& app, TcpSocketFactory& sockets, TrayService& mailTray,
              std::function<bool()> online);
    ~MailCheck();
    MailCheck(const MailCheck&) = delete;
    MailCheck& operator=(const MailCheck&) = delete;

    // Starts tmrCheckMail with its minute interval.
    void Start();
    // The tmrCheckMail tick.
    void Tick();
    // A connection came up: the next tick, in a millisecond, checks at once.
    void CheckNow();
    // Closes wSock; a check in progress ends without a result.
    void Close();
    // A mouse message of the new-mail icon: a click starts the mail program.
    void IconMouse(int id, TrayMouse mouse);
    // Starts "EmailProg"; says "Can't launch the email program!" when that fails.
    void LaunchMailProgram();

    bool MailIconShown() const { return mailIconShown_; }
    int Counter() const { return counter_; }
    bool Checking() const { return talk_.has_value(); }
    const Timer& CheckTimer() const { return *tmrCheckMail_; }

    // After each whole check, with the count of the mailbox that had mail (0 for none).
    std::function<void(int count)> onChecked;

  private:
    void CheckMailbox(int n);
    void Pump();
    void MailboxDone();
    void Finish(int count);
    void LogFailure(Pop3Result result, const std::string& server, const std::string& detail);

    AppCore& app_;
    TrayService& mailTray_;
    std::function<bool()> online_;
    std::unique_ptr<TcpSocket> wSock_;
    std::unique_ptr<Timer> tmrCheckMail_;
    std::unique_ptr<Timer> deadline_;
    std::optional<Pop3Conversation> talk_;
    int mailbox_ = 0;
    int counter_ = kOfflineCounter;
    bool mailIconShown_ = false;
};

}  // namespace kestrelon
