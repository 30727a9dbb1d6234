#include "mainwindow/NetworkServices.h"

#include "core/Scramble.h"
#include "dialer/DialHarness.h"
#include "platform/FakeTcpSocket.h"

namespace kestrelon {
namespace {

// The three services on the controller, connected on the simulated service.
class NetworkServicesTest : public test::DialHarness {
  protected:
    void StartAll() {
        PhoneBook("[Office Line]\nAnswer=connect\nDeviceMs=500\nAuthMs=500\n");
        office_ = AddProfile("Office", "Office Line");
        Start();
        net_ = std::make_unique<NetworkServices>(app_, *dialer_, sockets_, mailTray_);
    }
    FakeTcpSocket& MailSocket() { return *sockets_.sockets.at(1); }
    FakeTcpSocket& KeepAliveSocket() { return *sockets_.sockets.at(0); }

    FakeTcpSocketFactory sockets_;
    FakeTrayService mailTray_;
    std::unique_ptr<NetworkServices> net_;
    int office_ = 0;
};

TEST_F(NetworkServicesTest, ProgramsStartAtConnectAndTheMarkedOnesEndAtDisconnect) {
    StartAll();
    ConnectionProfile& p = Profile(office_);
    p.nLaunchApps = 2;
    p.LaunchApps[1] = {"browser", false};
    p.LaunchApps[2] = {"chat --quiet", true};
    Dial(office_);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnected; }));
    ASSERT_EQ(fake_.processes.started.size(), 2U);
    EXPECT_EQ(fake_.processes.started[1].arguments, std::vector<std::string>{"--quiet"});
    dialer_->Disconnect();
    EXPECT_EQ(fake_.processes.quitRequests, std::vector<ProcessId>{fake_.processes.started[1].id});
}

TEST_F(NetworkServicesTest, TheMailboxIsAskedAtConnectAndTheIconAppears) {
    StartAll();
    app_.settings.EmailInterval = 10;
    app_.settings.nMailCheck = 1;
    app_.settings.mailServers[1] = {"127.0.0.1:1110", "anna", ScramblePassword("pw")};
    MailSocket().peerOnConnect = [](FakeTcpSocket& s) { s.QueueData("+OK\r\n"); };
    MailSocket().peerOnSend = [](FakeTcpSocket& s, const std::string& sent) {
        s.QueueData(sent == "STAT\r\n"   ? "+OK 2 99\r\n"
                    : sent == "CAPA\r\n" ? "+OK\r\nUSER\r\n.\r\n"
                                         : "+OK\r\n");
    };
    // Offline the minute ticks ask nobody.
    Run(180000);
    EXPECT_TRUE(MailSocket().connects.empty());
    Dial(office_);
    ASSERT_TRUE(RunUntil(
        [&] {
            MailSocket().Run();
            return net_->Mail().MailIconShown();
        },
        5000));
    EXPECT_EQ(MailSocket().connects.size(), 1U);
    EXPECT_EQ(mailTray_.icons.at(MailCheck::kIconId).tip, "You have new mail!");
    // Going offline keeps the icon.
    dialer_->Disconnect();
    Run(120000);
    EXPECT_TRUE(net_->Mail().MailIconShown());
}

TEST_F(NetworkServicesTest, AKeepAliveProfileSendsItsRequestEveryFiveMinutes) {
    StartAll();
    app_.settings.KeepAliveHost = "127.0.0.1:8080";
    Profile(office_).KeepAlive = true;
    KeepAliveSocket().peerOnConnect = [](FakeTcpSocket& s) { s.QueueConnected(); };
    KeepAliveSocket().peerOnSend = [](FakeTcpSocket& s, const std::string&) {
        s.QueueData("HTTP/1.0 200 OK\r\n\r\n");
    };
    Dial(office_);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnected; }));
    for (int second = 0; second < 16 * 60; ++second) {
        Run(1000);
        KeepAliveSocket().Run();
    }
    // 300 to 301 s apart: three requests in sixteen minutes.
    EXPECT_EQ(KeepAliveSocket().sent.size(), 3U);
    EXPECT_EQ(KeepAliveSocket().connects.back(), (FakeTcpSocket::Connection{"127.0.0.1", 8080}));

    // Without the profile's keep-alive, no traffic at all.
    Profile(office_).KeepAlive = false;
    Run(20 * 60000);
    EXPECT_EQ(KeepAliveSocket().connects.size(), 3U);
}

TEST_F(NetworkServicesTest, TheHooksAreTakenOffWhenTheServicesEnd) {
    StartAll();
    EXPECT_TRUE(dialer_->Hooks().startPrograms);
    net_.reset();
    EXPECT_FALSE(dialer_->Hooks().startPrograms);
    EXPECT_FALSE(dialer_->Hooks().triggerMailCheck);
}

}  // namespace
}  // namespace kestrelon
