#include "mainwindow/KeepAlive.h"
#include "platform/qt/DovecotServer.h"
#include "platform/qt/LoopbackServers.h"
#include "platform/qt/QtTcpSocket.h"
#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

// The keep-alive request on the Qt socket against servers on this machine's loopback.
class KeepAliveLoopbackTest : public test::WindowTest {
  protected:
    KeepAliveLoopbackTest() {
        keepAlive_.onFinished = [this](bool answered) { finished_.push_back(answered); };
    }
    void Target(std::uint16_t port) {
        app_.settings.KeepAliveHost = "127.0.0.1:" + std::to_string(port);
    }

    QtTcpSocketFactory sockets_;
    KeepAlive keepAlive_{app_, sockets_};
    std::vector<bool> finished_;
};

TEST_F(KeepAliveLoopbackTest, TheRequestReachesTheWebServer) {
    test::ScriptedServer web({}, [](const std::string&) {
        return std::string("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n");
    });
    ASSERT_TRUE(web.listening);
    Target(web.Port());
    keepAlive_.Send();
    ASSERT_TRUE(test::SpinUntil([&] { return !finished_.empty(); }));
    EXPECT_EQ(finished_, std::vector<bool>{true});
    EXPECT_EQ(web.received, std::vector<std::string>{"GET / HTTP/1.0\r\n\r\n"});
    EXPECT_FALSE(keepAlive_.Busy());
}

TEST_F(KeepAliveLoopbackTest, ARefusedPortEndsTheAttemptAtOnce) {
    Target(test::FreeLoopbackPort());
    keepAlive_.Send();
    // No time passes on the program's clock: the refusal alone ends it.
    ASSERT_TRUE(test::SpinUntil([&] { return !finished_.empty(); }, 5000));
    EXPECT_EQ(finished_, std::vector<bool>{false});
    EXPECT_TRUE(fake_.messages.informations.empty());
}

TEST_F(KeepAliveLoopbackTest, ASilentServerHoldsTheAttemptForThirtySeconds) {
    test::ScriptedServer silent;
    ASSERT_TRUE(silent.listening);
    Target(silent.Port());
    keepAlive_.Send();
    ASSERT_TRUE(test::SpinUntil([&] { return silent.received.size() == 1; }));
    fake_.clock.Advance(30000);
    EXPECT_TRUE(keepAlive_.Busy());
    fake_.clock.Advance(1);
    EXPECT_EQ(finished_, std::vector<bool>{false});
}

}  // namespace
}  // namespace kestrelon
