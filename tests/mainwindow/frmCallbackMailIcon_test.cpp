#include <QSystemTrayIcon>

#include "dialogs/frmCallback.h"
#include "mainwindow/MailCheck.h"
#include "platform/FakeTcpSocket.h"
#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

// The mail check's icon on this window: shown with its tip, a click starts the mail program.
class CallbackMailIconTest : public test::WindowTest {
  protected:
    CallbackMailIconTest() {
        app_.settings.EmailInterval = 5;
        app_.settings.nMailCheck = 1;
        app_.settings.mailServers[1] = {"pop3s://127.0.0.1:1995", "anna", ""};
        Socket().peerOnConnect = [](FakeTcpSocket& s) { s.QueueData("+OK\r\n"); };
        Socket().peerOnSend = [this](FakeTcpSocket& s, const std::string& sent) {
            s.QueueData(sent == "STAT\r\n" ? "+OK " + std::to_string(messages_) + " 10\r\n"
                                           : "+OK\r\n");
        };
    }
    FakeTcpSocket& Socket() { return *sockets_.sockets.front(); }
    void Check() {
        mail_.CheckNow();
        fake_.clock.Advance(1);
        Socket().Run();
    }

    FakeTcpSocketFactory sockets_;
    frmCallback callback_{app_};
    MailCheck mail_{app_, sockets_, callback_.MailTray(), [] { return true; }};
    int messages_ = 2;
};

TEST_F(CallbackMailIconTest, NewMailShowsTheIconAndAClickStartsTheMailProgram) {
    EXPECT_EQ(callback_.MailIcon(), nullptr);
    Check();
    QSystemTrayIcon* icon = callback_.MailIcon();
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->isVisible());
    EXPECT_EQ(icon->toolTip(), "You have new mail!");
    EXPECT_FALSE(icon->icon().isNull());
    EXPECT_FALSE(callback_.isVisible());

    app_.settings.EmailProg = "mailer --check";
    emit icon->activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(fake_.processes.started.empty());
    emit icon->activated(QSystemTrayIcon::Trigger);
    ASSERT_EQ(fake_.processes.started.size(), 1U);
    EXPECT_EQ(fake_.processes.started[0].program, "mailer");
    EXPECT_EQ(fake_.processes.started[0].arguments, std::vector<std::string>{"--check"});

    app_.settings.EmailProg = "";
    emit icon->activated(QSystemTrayIcon::Trigger);
    ASSERT_EQ(fake_.messages.informations.size(), 1U);
    EXPECT_EQ(fake_.messages.informations[0].text, "Can't launch the email program!");

    messages_ = 0;
    Check();
    EXPECT_EQ(callback_.MailIcon(), nullptr);
}

TEST_F(CallbackMailIconTest, TheTipSpeaksTheLanguageInUse) {
    UseLanguage("Deutsch", "youhavemail=Sie haben neue Post!\n");
    Check();
    ASSERT_NE(callback_.MailIcon(), nullptr);
    EXPECT_EQ(callback_.MailIcon()->toolTip(), "Sie haben neue Post!");
}

}  // namespace
}  // namespace kestrelon
