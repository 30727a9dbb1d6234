#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/TcpSocket.h"

namespace kestrelon {

// A socket whose peer is played by the test. Everything the peer does is queued and happens
// only when the test calls Run(), as events would come from the event loop.
class FakeTcpSocket : public TcpSocket {
  public:
    struct Connection {
        std::string host;
        std::uint16_t port = 0;
        bool tls = false;
        bool operator==(const Connection&) const = default;
    };

    void Connect(const std::string& host, std::uint16_t port, bool tls) override;
    void StartTls() override;
    void Send(const std::string& bytes) override;
    void Close() override;
    State GetState() const override { return state_; }

    // The peer's side, queued.
    void QueueConnected();
    void QueueData(std::string block);
    void QueueError(TcpError error, std::string detail = {});
    void QueueEncrypted();
    // Delivers what is queued, including what the callbacks cause meanwhile.
    void Run();

    // Called on each connect and on each sent block; may queue the peer's answer.
    std::function<void(FakeTcpSocket&)> peerOnConnect;
    std::function<void(FakeTcpSocket&, const std::string& sent)> peerOnSend;
    std::function<void(FakeTcpSocket&)> peerOnStartTls;

    std::vector<Connection> connects;
    std::vector<std::string> sent;
    int startTlsCalls = 0;
    int closes = 0;

  private:
    void Queue(std::function<void()> event);

    State state_ = State::Closed;
    // Events queued before a close or reconnect are dropped, as the real connection is gone.
    int generation_ = 0;
    std::deque<std::pair<int, std::function<void()>>> queue_;
};

class FakeTcpSocketFactory : public TcpSocketFactory {
  public:
    std::unique_ptr<TcpSocket> CreateSocket() override;
    // Every socket made so far, in order of creation; valid while their owners live.
    std::vector<FakeTcpSocket*> sockets;
    // Runs the queues of all sockets until all are empty.
    void RunAll();
};

}  // namespace kestrelon
