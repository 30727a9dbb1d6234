#include "mainwindow/MailCheck.h"

#include <gtest/gtest.h>

#include "core/AppCore.h"
#include "core/FileHelpers.h"
#include "core/Scramble.h"
#include "mainwindow/Sounds.h"
#include "platform/FakePlatform.h"
#include "platform/FakeTcpSocket.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

// A scripted POP3 server behind the fake socket: per host a mailbox with its login and count.
struct ScriptedMailbox {
    std::string user;
    std::string password;
    int count = 0;
    bool silent = false;
};

class MailCheckTest : public ::testing::Test {
  protected:
    MailCheckTest() {
        InitSoundEvents(app_.settings.sounds);
        app_.settings.ProgLog = "Program.log";
        app_.settings.MaxLogSize = 1000;
        app_.settings.EmailInterval = 5;
        Socket().peerOnConnect = [this](FakeTcpSocket& s) {
            const auto found = boxes_.find(s.connects.back().host);
            asked_.push_back(s.connects.back().host);
            if (found == boxes_.end()) {
                s.QueueError(TcpError::Refused);
            } else if (!found->second.silent) {
                s.QueueConnected();
                s.QueueData("+OK ready\r\n");
            }
        };
        Socket().peerOnSend = [this](FakeTcpSocket& s, const std::string& sent) {
            const ScriptedMailbox& box = boxes_.at(s.connects.back().host);
            if (sent == "CAPA\r\n") {
                s.QueueData("+OK\r\nUSER\r\n.\r\n");
            } else if (sent.starts_with("USER ")) {
                user_ = sent.substr(5, sent.size() - 7);
                s.QueueData("+OK\r\n");
            } else if (sent.starts_with("PASS ")) {
                const bool ok = user_ == box.user && sent == "PASS " + box.password + "\r\n";
                s.QueueData(ok ? "+OK Logged in.\r\n" : "-ERR [AUTH] Authentication failed.\r\n");
            } else if (sent == "STAT\r\n") {
                s.QueueData("+OK " + std::to_string(box.count) + " 1234\r\n");
            }
        };
    }

    void AddMailbox(const std::string& host, const std::string& user, const std::string& password) {
        AppSettings& s = app_.settings;
        s.nMailCheck += 1;
        s.mailServers[static_cast<std::size_t>(s.nMailCheck)] =
            MailServer{host, user, ScramblePassword(password)};
    }

    FakeTcpSocket& Socket() { return *sockets_.sockets.front(); }
    // Lets the minutes pass, answering for the server in between.
    void Minutes(int n) {
        for (int i = 0; i < n * 60; ++i) {
            fake_.clock.Advance(1000);
            Socket().Run();
        }
    }
    void CheckNow() {
        mail_.CheckNow();
        fake_.clock.Advance(1);
        Socket().Run();
    }
    std::string ProgramLog() const { return test::ReadFile(dir_.File("Program.log")); }

    TempProgramDirectory dir_;
    FakePlatform fake_;
    AppCore app_{fake_.platform};
    FakeTcpSocketFactory sockets_;
    FakeTrayService mailTray_;
    bool online_ = true;
    MailCheck mail_{app_, sockets_, mailTray_, [this] { return online_; }};
    std::map<std::string, ScriptedMailbox> boxes_;
    std::vector<std::string> asked_;
    std::string user_;
};

TEST_F(MailCheckTest, MailShowsTheIconWithItsTipAndPlaysTheSoundOnce) {
    boxes_["mail.test"] = {"anna", "pw", 3};
    AddMailbox("mail.test", "anna", "pw");
    mail_.Start();
    CheckNow();
    EXPECT_TRUE(mail_.MailIconShown());
    ASSERT_EQ(mailTray_.icons.count(MailCheck::kIconId), 1U);
    EXPECT_EQ(mailTray_.icons[MailCheck::kIconId].tip, "You have new mail!");
    EXPECT_EQ(mailTray_.icons[MailCheck::kIconId].icon.width, 16);
    ASSERT_EQ(fake_.sound.played.size(), 1U);
    EXPECT_EQ(fake_.sound.played[0].path, "Newmail.wav");
    // The password went out unscrambled, and nowhere else.
    EXPECT_NE(std::find(Socket().sent.begin(), Socket().sent.end(), "PASS pw\r\n"),
              Socket().sent.end());
    EXPECT_EQ(ProgramLog(), "");

    // While the icon shows, the mailbox is asked every minute; the icon is not added again.
    Minutes(1);
    EXPECT_EQ(asked_.size(), 2U);
    EXPECT_EQ(mailTray_.adds, 1);
    EXPECT_EQ(fake_.sound.played.size(), 1U);

    // Read mail: the next check takes the icon away.
    boxes_["mail.test"].count = 0;
    Minutes(1);
    EXPECT_FALSE(mail_.MailIconShown());
    EXPECT_EQ(mailTray_.icons.count(MailCheck::kIconId), 0U);
}

TEST_F(MailCheckTest, AfterGoingOnlineTheCheckRunsAtOnceThenEveryIntervalMinutes) {
    boxes_["mail.test"] = {"anna", "pw", 0};
    AddMailbox("mail.test", "anna", "pw");
    mail_.Start();
    CheckNow();
    EXPECT_EQ(asked_.size(), 1U);
    EXPECT_EQ(mail_.CheckTimer().Interval(), MailCheck::kInterval);
    Minutes(4);
    EXPECT_EQ(asked_.size(), 1U);
    Minutes(1);
    EXPECT_EQ(asked_.size(), 2U);
    Minutes(5);
    EXPECT_EQ(asked_.size(), 3U);
}

TEST_F(MailCheckTest, OfflineNothingIsAskedAndTheIconStays) {
    boxes_["mail.test"] = {"anna", "pw", 2};
    AddMailbox("mail.test", "anna", "pw");
    mail_.Start();
    CheckNow();
    ASSERT_TRUE(mail_.MailIconShown());
    online_ = false;
    Minutes(10);
    EXPECT_EQ(asked_.size(), 1U);
    EXPECT_EQ(mail_.Counter(), MailCheck::kOfflineCounter);
    EXPECT_TRUE(mail_.MailIconShown());
    // The first tick after the connection came back checks, also without the immediate check.
    online_ = true;
    Minutes(1);
    EXPECT_EQ(asked_.size(), 2U);
}

TEST_F(MailCheckTest, WithoutMailboxesNothingIsEverAsked) {
    mail_.Start();
    CheckNow();
    Minutes(3);
    EXPECT_TRUE(Socket().connects.empty());
}

TEST_F(MailCheckTest, TheFirstMailboxWithMailEndsTheCheck) {
    boxes_["one.test"] = {"anna", "pw", 1};
    boxes_["two.test"] = {"bob", "pw2", 5};
    AddMailbox("one.test", "anna", "pw");
    AddMailbox("two.test", "bob", "pw2");
    CheckNow();
    EXPECT_EQ(asked_, std::vector<std::string>{"one.test"});

    // Without mail in the first, the second is asked.
    boxes_["one.test"].count = 0;
    boxes_["two.test"].count = 0;
    Minutes(1);
    EXPECT_EQ(asked_, (std::vector<std::string>{"one.test", "one.test", "two.test"}));
    EXPECT_FALSE(mail_.MailIconShown());
}

TEST_F(MailCheckTest, EachFailureIsOneLogLineAndTheNextMailboxIsStillAsked) {
    boxes_["good.test"] = {"anna", "pw", 0};
    boxes_["silent.test"] = {"x", "y", 0, true};
    AddMailbox("nowhere.test", "anna", "pw");
    AddMailbox("good.test", "anna", "wrong");
    AddMailbox("silent.test", "x", "y");
    AddMailbox("good.test", "anna", "pw");
    int checks = 0;
    mail_.onChecked = [&](int) { ++checks; };
    CheckNow();
    EXPECT_EQ(ProgramLog().find("silent"), std::string::npos);
    fake_.clock.Advance(30000);
    EXPECT_EQ(checks, 0);
    fake_.clock.Advance(1);
    Socket().Run();
    EXPECT_EQ(checks, 1);
    const std::string log = ProgramLog();
    EXPECT_NE(log.find("Email Notification: Can't Connect to nowhere.test\r\n"), std::string::npos);
    EXPECT_NE(log.find("Email Notification: Invalid Password on good.test\r\n"), std::string::npos);
    EXPECT_NE(log.find("Email Notification: Can't Connect to silent.test\r\n"), std::string::npos);
    EXPECT_EQ(log.find("wrong"), std::string::npos);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);
    EXPECT_EQ(asked_.size(), 4U);
    EXPECT_TRUE(mailTray_.icons.empty());
}

TEST_F(MailCheckTest, ARefusedUserNameIsLoggedWithTheServerAsWritten) {
    boxes_["mail.test"] = {"anna", "pw", 4};
    AddMailbox("mail.test:1110", "nobody", "pw");
    Socket().peerOnSend = [](FakeTcpSocket& s, const std::string& sent) {
        s.QueueData(sent.starts_with("USER") || sent.starts_with("CAPA") ? "-ERR no\r\n"
                                                                         : "+OK\r\n");
    };
    CheckNow();
    EXPECT_EQ(Socket().connects.back(), (FakeTcpSocket::Connection{"mail.test", 1110, false}));
    EXPECT_NE(ProgramLog().find(" Email Notification: Invalid Username on mail.test:1110\r\n"),
              std::string::npos);
    EXPECT_FALSE(mail_.MailIconShown());
    EXPECT_TRUE(fake_.sound.played.empty());
}

TEST_F(MailCheckTest, ACertificateThatDoesNotVerifyIsLoggedOnce) {
    AddMailbox("pop3s://mail.test", "anna", "pw");
    Socket().peerOnConnect = [](FakeTcpSocket& s) {
        s.QueueError(TcpError::Certificate, "The certificate is self-signed, and untrusted");
    };
    CheckNow();
    EXPECT_EQ(Socket().connects.back(), (FakeTcpSocket::Connection{"mail.test", 995, true}));
    const std::string log = ProgramLog();
    EXPECT_NE(log.find("Email Notification: Certificate of pop3s://mail.test does not verify "
                       "(The certificate is self-signed, and untrusted)\r\n"),
              std::string::npos);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
}

TEST_F(MailCheckTest, ClickingTheIconStartsTheMailProgram) {
    app_.settings.EmailProg = "\"/opt/mail client/bin/mail\" --compose";
    mailTray_.Mouse(MailCheck::kIconId, TrayMouse::RightClick);
    EXPECT_TRUE(fake_.processes.started.empty());
    mailTray_.Mouse(MailCheck::kIconId, TrayMouse::LeftClick);
    ASSERT_EQ(fake_.processes.started.size(), 1U);
    EXPECT_EQ(fake_.processes.started[0].program, "/opt/mail client/bin/mail");
    EXPECT_EQ(fake_.processes.started[0].arguments, std::vector<std::string>{"--compose"});
    EXPECT_TRUE(fake_.messages.informations.empty());

    fake_.processes.startSucceeds = false;
    mailTray_.Mouse(MailCheck::kIconId, TrayMouse::LeftClick);
    app_.settings.EmailProg = "";
    mailTray_.Mouse(MailCheck::kIconId, TrayMouse::LeftClick);
    EXPECT_EQ(fake_.processes.started.size(), 2U);
    ASSERT_EQ(fake_.messages.informations.size(), 2U);
    EXPECT_EQ(fake_.messages.informations[1].text, "Can't launch the email program!");
}

}  // namespace
}  // namespace kestrelon
