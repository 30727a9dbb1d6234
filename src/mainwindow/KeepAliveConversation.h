#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/TcpSocket.h"

namespace kestrelon {

// One keep-alive request without I/O: wait up to 20 s for the connection, send an HTTP request,
// wait up to 30 s for the first block of the reply, close. Only the traffic matters, so the
// reply is not judged and every error just ends the attempt.
class KeepAliveConversation {
  public:
    static constexpr std::uint32_t kConnectTimeoutMs = 20000;
    static constexpr std::uint32_t kReplyTimeoutMs = 30000;
    static constexpr std::string_view kRequest = "GET / HTTP/1.0\r\n\r\n";

    // The socket is being connected now.
    explicit KeepAliveConversation(std::uint32_t now) : waitStart_(now) {}

    void Connected(std::uint32_t now);
    void Received(std::string_view block);
    void SocketFailed();
    void TimePassed(std::uint32_t now);

    std::vector<SocketCommand> TakeCommands();
    std::uint32_t TimeLeft(std::uint32_t now) const;

    bool Done() const { return step_ == Step::Done; }
    bool Answered() const { return answered_; }

  private:
    enum class Step { Connecting, Reply, Done };

    void Finish();
    std::uint32_t Limit() const;

    Step step_ = Step::Connecting;
    std::uint32_t waitStart_;
    bool answered_ = false;
    std::vector<SocketCommand> commands_;
};

}  // namespace kestrelon
