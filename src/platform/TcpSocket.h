#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kestrelon {

enum class TcpError {
    Refused,
    HostNotFound,
    RemoteClosed,
    Certificate,  // the peer's certificate does not verify
    Tls,          // any other failure of the TLS handshake
    Other,
};

// A TCP client connection on the user-interface thread, optionally with TLS. Events arrive as
// callbacks from the event loop, never from inside Connect, StartTls, Send or Close; a callback
// may close or reconnect the socket, but must not destroy it.
class TcpSocket {
  public:
    enum class State { Closed, Connecting, Connected, Closing, Error };

    virtual ~TcpSocket() = default;
    // Closes what is open and connects; with tls the handshake runs first and onConnected comes
    // when it is done. The certificate must verify for the host name.
    virtual void Connect(const std::string& host, std::uint16_t port, bool tls) = 0;
    // Starts the TLS handshake on an open plain connection (after a STARTTLS-style command);
    // onEncrypted comes when it is done.
    virtual void StartTls() = 0;
    virtual void Send(const std::string& bytes) = 0;
    virtual void Close() = 0;
    virtual State GetState() const = 0;

    std::function<void()> onConnected;
    std::function<void()> onEncrypted;
    // One block of received bytes, as it came from the network.
    std::function<void(const std::string& block)> onData;
    std::function<void(TcpError error, const std::string& detail)> onError;
};

// What a conversation asks of its socket, in order.
struct SocketCommand {
    enum class Kind { Send, StartTls, Close };
    Kind kind = Kind::Close;
    std::string bytes;  // for Send

    bool operator==(const SocketCommand&) const = default;
};

inline void Apply(TcpSocket& socket, const std::vector<SocketCommand>& commands) {
    for (const SocketCommand& c : commands) {
        switch (c.kind) {
            case SocketCommand::Kind::Send:
                socket.Send(c.bytes);
                break;
            case SocketCommand::Kind::StartTls:
                socket.StartTls();
                break;
            case SocketCommand::Kind::Close:
                socket.Close();
                break;
        }
    }
}

class TcpSocketFactory {
  public:
    virtual ~TcpSocketFactory() = default;
    virtual std::unique_ptr<TcpSocket> CreateSocket() = 0;
};

}  // namespace kestrelon
