#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "mainwindow/KeepAliveConversation.h"
#include "mainwindow/Pop3Address.h"

namespace kestrelon {

class AppCore;
class TcpSocketFactory;
class TcpSocket;
class Timer;

// The keep-alive socket wsockAlive and its one request. The target is a well-known public web
// server on port 80 unless "KeepAliveHost" in [Settings] names another (host or host:port).
class KeepAlive {
  public:
    static constexpr std::string_view kDefaultHost = "www.example.com";
    static constexpr std::uint16_t kDefaultPort = 80;

    KeepAlive(AppCore& app, TcpSocketFactory& sockets);
    ~KeepAlive();
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;

    // One request; a request still running is closed first. Errors are swallowed.
    void Send();
    void Close();
    bool Busy() const { return talk_.has_value(); }

    // Where the next request goes, from the settings as they are now.
    std::optional<HostPort> Target() const;

    // After each request, answered or not (for tests and the log viewer's curiosity).
    std::function<void(bool answered)> onFinished;

  private:
    void Pump();

    AppCore& app_;
    std::unique_ptr<TcpSocket> socket_;
    std::unique_ptr<Timer> deadline_;
    std::optional<KeepAliveConversation> talk_;
};

}  // namespace kestrelon
