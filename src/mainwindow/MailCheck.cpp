#include "mainwindow/MailCheck.h"

#include "core/AppCore.h"
#include "core/ProgramDirectory.h"
#include "core/Scramble.h"
#include "mainwindow/MailCheckIcon.h"
#include "mainwindow/Pop3Address.h"
#include "platform/TcpSocket.h"
#include "profiles/ProgramLauncher.h"

namespace kestrelon {

MailCheck::MailCheck(AppCore& app, TcpSocketFactory& sockets, TrayService& mailTray,
                     std::function<bool()> online)
    : app_(app), mailTray_(mailTray), online_(std::move(online)), wSock_(sockets.CreateSocket()) {
    tmrCheckMail_ = app_.platform.timers.CreateTimer([this] { Tick(); });
    deadline_ = app_.platform.timers.CreateTimer([this] {
        if (talk_) {
            talk_->TimePassed(app_.platform.clock.TickCount());
            Pump();
        }
    });
    wSock_->onEncrypted = [this] {
        if (talk_) {
            talk_->Encrypted(app_.platform.clock.TickCount());
            Pump();
        }
    };
    wSock_->onData = [this](const std::string& block) {
        if (talk_) {
            talk_->Received(app_.platform.clock.TickCount(), block);
            Pump();
        }
    };
    wSock_->onError = [this](TcpError error, const std::string& detail) {
        if (talk_) {
            talk_->SocketFailed(error, detail);
            Pump();
        }
    };
    mailTray_.SetMouseHandler([this](int id, TrayMouse mouse) { IconMouse(id, mouse); });
}

MailCheck::~MailCheck() {
    mailTray_.SetMouseHandler({});
    Close();
}

void MailCheck::Start() {
    tmrCheckMail_->Start(kInterval);
}

void MailCheck::CheckNow() {
    counter_ = kCheckNowCounter;
    tmrCheckMail_->Start(1);
}

void MailCheck::Close() {
    talk_.reset();
    deadline_->Stop();
    wSock_->Close();
}

void MailCheck::Tick() {
    tmrCheckMail_->Start(kInterval);
    // The check in progress goes on; a tick meanwhile changes nothing.
    if (Checking()) {
        return;
    }
    const AppSettings& s = app_.settings;
    if (s.nMailCheck == 0) {
        return;
    }
    if (!online_()) {
        counter_ = kOfflineCounter;
        return;
    }
    ++counter_;
    if (counter_ != -1 && counter_ < s.EmailInterval) {
        return;
    }
    // While the icon shows, every minute.
    counter_ = mailIconShown_ ? s.EmailInterval : 0;
    CheckMailbox(1);
}

void MailCheck::CheckMailbox(int n) {
    mailbox_ = n;
    const MailServer& box = app_.settings.mailServers[static_cast<std::size_t>(n)];
    const auto address = ParseMailServer(box.Server);
    if (!address) {
        LogFailure(Pop3Result::CantConnect, box.Server, {});
        MailboxDone();
        return;
    }
    talk_.emplace(box.UName, UnscramblePassword(box.Pass), address->startTlsWhenOffered,
                  app_.platform.clock.TickCount());
    wSock_->Connect(address->target.host, address->target.port, address->tls);
    Pump();
}

void MailCheck::Pump() {
    Apply(*wSock_, talk_->TakeCommands());
    if (!talk_->Done()) {
        deadline_->StartSingleShot(talk_->TimeLeft(app_.platform.clock.TickCount()));
        return;
    }
    deadline_->Stop();
    const std::string& server =
        app_.settings.mailServers[static_cast<std::size_t>(mailbox_)].Server;
    if (talk_->Result() != Pop3Result::Counted) {
        LogFailure(talk_->Result(), server, talk_->ErrorDetail());
    }
    MailboxDone();
}

void MailCheck::MailboxDone() {
    const int count = talk_ ? talk_->Count() : 0;
    talk_.reset();
    // The first mailbox with mail is enough; the table is read anew in case it changed.
    if (count > 0 || mailbox_ >= app_.settings.nMailCheck) {
        Finish(count);
        return;
    }
    CheckMailbox(mailbox_ + 1);
}

void MailCheck::Finish(int count) {
    if (!mailIconShown_ && count > 0) {
        mailTray_.Add(kIconId, NewMailIcon(), app_.LangText("youhavemail", "You have new mail!"));
        mailIconShown_ = true;
        app_.PlaySoundEvent(11);
        counter_ = app_.settings.EmailInterval;
    } else if (mailIconShown_ && count <= 0) {
        mailIconShown_ = false;
        mailTray_.Delete(kIconId);
    }
    if (onChecked) {
        onChecked(count);
    }
}

void MailCheck::LogFailure(Pop3Result result, const std::string& server,
                           const std::string& detail) {
    std::string line;
    switch (result) {
        case Pop3Result::InvalidUser:
            line = app_.LangText("emailusererror", "Email Notification: Invalid Username on #",
                                 server);
            break;
        case Pop3Result::InvalidPassword:
            line = app_.LangText("emailpasserror", "Email Notification: Invalid Password on #",
                                 server);
            break;
        case Pop3Result::Certificate:
            line = app_.LangText("emailcerterror",
                                 "Email Notification: Certificate of # does not verify", server);
            if (!detail.empty()) {
                line += " (" + detail + ")";
            }
            break;
        default:
            line =
                app_.LangText("emailservererror", "Email Notification: Can't Connect to #", server);
            break;
    }
    app_.WriteLog(line, kProgramLog);
}

void MailCheck::IconMouse(int id, TrayMouse mouse) {
    if (id == kIconId && mouse == TrayMouse::LeftClick) {
        LaunchMailProgram();
    }
}

void MailCheck::LaunchMailProgram() {
    const std::vector<std::string> words = SplitCommandLine(app_.settings.EmailProg);
    if (!words.empty()) {
        const std::vector<std::string> arguments(words.begin() + 1, words.end());
        if (app_.platform.processes.Start(words.front(), arguments, ProgramDirectory())) {
            return;
        }
    }
    app_.platform.messages.Information(
        app_.LangText("cantlaunchmail", "Can't launch the email program!"), "Kestrelon 2000");
}

}  // namespace kestrelon
