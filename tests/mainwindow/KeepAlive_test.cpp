#include "mainwindow/KeepAlive.h"

#include <gtest/gtest.h>

#include "core/AppCore.h"
#include "platform/FakePlatform.h"
#include "platform/FakeTcpSocket.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

const std::string kRequest = "GET / HTTP/1.0\r\n\r\n";

TEST(KeepAliveConversationTest, ConnectsSendsOneRequestAndClosesOnTheFirstBlock) {
    KeepAliveConversation talk(100);
    EXPECT_TRUE(talk.TakeCommands().empty());
    talk.Connected(200);
    EXPECT_EQ(talk.TakeCommands(),
              (std::vector<SocketCommand>{{SocketCommand::Kind::Send, kRequest}}));
    talk.Received("HTTP/1.0 200 OK\r\n");
    EXPECT_TRUE(talk.Done());
    EXPECT_TRUE(talk.Answered());
    EXPECT_EQ(talk.TakeCommands(), (std::vector<SocketCommand>{{SocketCommand::Kind::Close, {}}}));
}

TEST(KeepAliveConversationTest, TwentySecondsToConnectAndThirtyForTheReply) {
    KeepAliveConversation connecting(0);
    connecting.TimePassed(20000);
    EXPECT_FALSE(connecting.Done());
    connecting.TimePassed(20001);
    EXPECT_TRUE(connecting.Done());
    EXPECT_FALSE(connecting.Answered());

    KeepAliveConversation waiting(0);
    waiting.Connected(19000);
    waiting.TimePassed(49000);
    EXPECT_FALSE(waiting.Done());
    EXPECT_EQ(waiting.TimeLeft(49000), 1U);
    waiting.TimePassed(49001);
    EXPECT_TRUE(waiting.Done());
}

class KeepAliveTest : public ::testing::Test {
  protected:
    TempProgramDirectory dir_;
    FakePlatform fake_;
    AppCore app_{fake_.platform};
    FakeTcpSocketFactory sockets_;
    KeepAlive keepAlive_{app_, sockets_};
    FakeTcpSocket& Socket() { return *sockets_.sockets.front(); }
};

TEST_F(KeepAliveTest, TheTargetIsAWellKnownWebServerUnlessTheSettingNamesAnother) {
    EXPECT_EQ(keepAlive_.Target(), (HostPort{"www.example.com", 80}));
    app_.settings.KeepAliveHost = "127.0.0.1";
    EXPECT_EQ(keepAlive_.Target(), (HostPort{"127.0.0.1", 80}));
    app_.settings.KeepAliveHost = "127.0.0.1:8080";
    EXPECT_EQ(keepAlive_.Target(), (HostPort{"127.0.0.1", 8080}));
    // A setting that names no host sends nothing at all.
    app_.settings.KeepAliveHost = "127.0.0.1:http";
    keepAlive_.Send();
    EXPECT_TRUE(Socket().connects.empty());
}

TEST_F(KeepAliveTest, ARefusedConnectionEndsTheAttemptAtOnce) {
    app_.settings.KeepAliveHost = "127.0.0.1:8080";
    std::optional<bool> answered;
    keepAlive_.onFinished = [&](bool a) { answered = a; };
    Socket().peerOnConnect = [](FakeTcpSocket& s) { s.QueueError(TcpError::Refused); };
    keepAlive_.Send();
    EXPECT_EQ(Socket().connects, (std::vector<FakeTcpSocket::Connection>{{"127.0.0.1", 8080}}));
    Socket().Run();
    EXPECT_EQ(answered, false);
    EXPECT_FALSE(keepAlive_.Busy());
    EXPECT_TRUE(Socket().sent.empty());
    EXPECT_EQ(fake_.clock.ActiveTimers(), 0);
}

TEST_F(KeepAliveTest, ASilentServerHoldsTheAttemptForThirtySeconds) {
    app_.settings.KeepAliveHost = "127.0.0.1:8080";
    std::optional<bool> answered;
    keepAlive_.onFinished = [&](bool a) { answered = a; };
    Socket().peerOnConnect = [](FakeTcpSocket& s) { s.QueueConnected(); };
    keepAlive_.Send();
    Socket().Run();
    EXPECT_EQ(Socket().sent, std::vector{kRequest});
    const int closesBefore = Socket().closes;
    fake_.clock.Advance(30000);
    EXPECT_TRUE(keepAlive_.Busy());
    fake_.clock.Advance(1);
    EXPECT_EQ(answered, false);
    EXPECT_EQ(Socket().closes, closesBefore + 1);
}

TEST_F(KeepAliveTest, ANewRequestClosesTheOneStillRunning) {
    app_.settings.KeepAliveHost = "127.0.0.1:8080";
    keepAlive_.Send();
    fake_.clock.Advance(10000);
    keepAlive_.Send();
    EXPECT_EQ(Socket().connects.size(), 2U);
    // The first attempt's 20 s are gone with it: only the second one's count.
    fake_.clock.Advance(15000);
    EXPECT_TRUE(keepAlive_.Busy());
    fake_.clock.Advance(5001);
    EXPECT_FALSE(keepAlive_.Busy());
}

}  // namespace
}  // namespace kestrelon
