#include <QSslSocket>

#include "core/Scramble.h"
#include "mainwindow/MailCheck.h"
#include "mainwindow/Sounds.h"
#include "platform/qt/DovecotServer.h"
#include "platform/qt/LoopbackServers.h"
#include "platform/qt/QtTcpSocket.h"
#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using test::DovecotServer;

// The mail check on the Qt socket against real POP3 servers on this machine's loopback.
class MailCheckDovecotTest : public test::WindowTest {
  protected:
    MailCheckDovecotTest() {
        InitSoundEvents(app_.settings.sounds);
        app_.settings.ProgLog = "Program.log";
        app_.settings.MaxLogSize = 1000;
        app_.settings.EmailInterval = 5;
    }

    // The mail check, trusting the server's self-signed certificate when asked to.
    void MakeCheck(const std::string& trustedCertificate = {}) {
        sockets_ = trustedCertificate.empty() ? std::make_unique<QtTcpSocketFactory>()
                                              : std::make_unique<QtTcpSocketFactory>(
                                                    std::vector<std::string>{trustedCertificate});
        mail_ = std::make_unique<MailCheck>(app_, *sockets_, mailTray_, [] { return true; });
        mail_->onChecked = [this](int count) { counts_.push_back(count); };
    }
    void AddMailbox(const std::string& server, const std::string& user,
                    const std::string& password) {
        AppSettings& s = app_.settings;
        s.nMailCheck += 1;
        s.mailServers[static_cast<std::size_t>(s.nMailCheck)] =
            MailServer{server, user, ScramblePassword(password)};
    }
    // One whole check, run at once as after a connect.
    int CheckOnce() {
        const std::size_t before = counts_.size();
        mail_->CheckNow();
        fake_.clock.Advance(1);
        EXPECT_TRUE(test::SpinUntil([&] { return counts_.size() > before; }))
            << "the check did not end; program log: " << ProgramLog();
        return counts_.size() > before ? counts_.back() : -1;
    }
    std::string ProgramLog() const { return test::ReadFile(dir_.File("Program.log")); }
    static std::string Local(std::uint16_t port) { return "127.0.0.1:" + std::to_string(port); }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            ++n;
        }
        return n;
    }
    static int Lines(const std::string& text) {
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }

    FakeTrayService mailTray_;
    std::unique_ptr<QtTcpSocketFactory> sockets_;
    std::unique_ptr<MailCheck> mail_;
    std::vector<int> counts_;
};

#define ASSERT_SERVER_RUNS(server) ASSERT_EQ((server).Error(), "") << "no POP3 server to test with"

TEST_F(MailCheckDovecotTest, ThePlainMailboxCountIsReadAndTheIconAppears) {
    DovecotServer server({{"anna", "annapw", 3}}, false);
    ASSERT_SERVER_RUNS(server);
    MakeCheck();
    AddMailbox(Local(server.Port()), "anna", "annapw");
    EXPECT_EQ(CheckOnce(), 3);
    EXPECT_TRUE(mail_->MailIconShown());
    EXPECT_EQ(mailTray_.icons.at(MailCheck::kIconId).tip, "You have new mail!");
    ASSERT_EQ(fake_.sound.played.size(), 1U);
    EXPECT_EQ(fake_.sound.played[0].path, "Newmail.wav");
    EXPECT_EQ(ProgramLog(), "");
    EXPECT_NE(server.Log().find("Login: user=<anna>"), std::string::npos) << server.Log();
    // Nothing was downloaded or deleted.
    EXPECT_NE(server.Log().find("retr=0/0, del=0/3"), std::string::npos) << server.Log();
}

TEST_F(MailCheckDovecotTest, StlsAndPop3sLogInOverTls) {
    ASSERT_TRUE(QSslSocket::supportsSsl()) << "Qt has no TLS backend";
    DovecotServer server({{"anna", "annapw", 2}, {"bob", "bobpw", 4}}, true);
    ASSERT_SERVER_RUNS(server);
    MakeCheck(server.CertificateFile());
    AddMailbox("pop3://" + Local(server.Port()), "anna", "annapw");
    EXPECT_EQ(CheckOnce(), 2);
    app_.settings.mailServers[1] = {"pop3s://" + Local(server.TlsPort()), "bob",
                                    ScramblePassword("bobpw")};
    EXPECT_EQ(CheckOnce(), 4);
    EXPECT_EQ(ProgramLog(), "");
    const std::string log = server.Log();
    EXPECT_NE(log.find("Login: user=<anna>, method=PLAIN, rip=127.0.0.1, lip=127.0.0.1, mpid="),
              std::string::npos);
    // Both logins went over TLS: none was merely "secured" by coming from loopback.
    EXPECT_EQ(Count(log, "Login: user=<"), 2) << log;
    EXPECT_EQ(Count(log, ", TLS, session="), 2) << log;
}

TEST_F(MailCheckDovecotTest, ASelfSignedCertificateIsNeverAccepted) {
    DovecotServer server({{"anna", "annapw", 2}}, true);
    ASSERT_SERVER_RUNS(server);
    MakeCheck();
    AddMailbox("pop3s://" + Local(server.TlsPort()), "anna", "annapw");
    AddMailbox(Local(server.Port()), "anna", "annapw");
    EXPECT_EQ(CheckOnce(), 0);
    const std::string log = ProgramLog();
    EXPECT_EQ(Lines(log), 2) << log;
    EXPECT_NE(log.find("  Email Notification: Certificate of pop3s://" + Local(server.TlsPort()) +
                       " does not verify ("),
              std::string::npos)
        << log;
    // The STLS upgrade fails the same way and does not go on in plain.
    EXPECT_NE(log.find("  Email Notification: Certificate of " + Local(server.Port()) +
                       " does not verify ("),
              std::string::npos)
        << log;
    EXPECT_EQ(server.Log().find("Login: user="), std::string::npos) << server.Log();
    EXPECT_FALSE(mail_->MailIconShown());
}

TEST_F(MailCheckDovecotTest, AWrongUserNameOrPasswordGivesItsLineAndNoIcon) {
    DovecotServer server({{"anna", "annapw", 3}}, false);
    ASSERT_SERVER_RUNS(server);
    // A server that refuses the user name at once, as some do.
    test::ScriptedServer refusing("+OK ready\r\n", [](const std::string& block) {
        return block.starts_with("USER") ? "-ERR unknown user\r\n" : "-ERR\r\n";
    });
    ASSERT_TRUE(refusing.listening);
    MakeCheck();
    AddMailbox(Local(server.Port()), "anne", "annapw");
    AddMailbox(Local(server.Port()), "anna", "wrong");
    AddMailbox(Local(refusing.Port()), "anna", "annapw");
    EXPECT_EQ(CheckOnce(), 0);
    const std::string log = ProgramLog();
    EXPECT_EQ(Lines(log), 3) << log;
    // Dovecot judges the user name only together with the password.
    EXPECT_EQ(
        Count(log, "  Email Notification: Invalid Password on " + Local(server.Port()) + "\r\n"), 2)
        << log;
    EXPECT_NE(
        log.find("  Email Notification: Invalid Username on " + Local(refusing.Port()) + "\r\n"),
        std::string::npos)
        << log;
    EXPECT_EQ(log.find("wrong"), std::string::npos);
    EXPECT_EQ(log.find("annapw"), std::string::npos);
    EXPECT_TRUE(mailTray_.icons.empty());
    EXPECT_TRUE(fake_.sound.played.empty());
}

TEST_F(MailCheckDovecotTest, TheSecondMailboxIsNotAskedWhenTheFirstHasMail) {
    DovecotServer server({{"anna", "annapw", 1}, {"bob", "bobpw", 5}}, false);
    ASSERT_SERVER_RUNS(server);
    MakeCheck();
    AddMailbox(Local(server.Port()), "anna", "annapw");
    AddMailbox(Local(server.Port()), "bob", "bobpw");
    EXPECT_EQ(CheckOnce(), 1);
    EXPECT_NE(server.Log().find("user=<anna>"), std::string::npos);
    EXPECT_EQ(server.Log().find("user=<bob>"), std::string::npos) << server.Log();
}

TEST_F(MailCheckDovecotTest, AServerThatNeverAnswersHoldsTheCheckForThirtySeconds) {
    test::ScriptedServer silent;
    ASSERT_TRUE(silent.listening);
    MakeCheck();
    AddMailbox(Local(silent.Port()), "anna", "annapw");
    mail_->CheckNow();
    fake_.clock.Advance(1);
    ASSERT_TRUE(test::SpinUntil([&] { return silent.connections == 1; }));
    test::SpinUntil([] { return false; }, 100);
    fake_.clock.Advance(30000);
    EXPECT_TRUE(mail_->Checking());
    EXPECT_EQ(ProgramLog(), "");
    fake_.clock.Advance(1);
    EXPECT_FALSE(mail_->Checking());
    const std::string log = ProgramLog();
    EXPECT_EQ(Lines(log), 1);
    EXPECT_NE(log.find("  Email Notification: Can't Connect to " + Local(silent.Port()) + "\r\n"),
              std::string::npos)
        << log;
}

TEST_F(MailCheckDovecotTest, ARefusedPortIsCantConnectAtOnce) {
    MakeCheck();
    AddMailbox(Local(test::FreeLoopbackPort()), "anna", "annapw");
    EXPECT_EQ(CheckOnce(), 0);
    EXPECT_NE(ProgramLog().find("Email Notification: Can't Connect to 127.0.0.1:"),
              std::string::npos);
}

}  // namespace
}  // namespace kestrelon
