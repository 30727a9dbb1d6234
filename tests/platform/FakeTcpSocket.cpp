#include "platform/FakeTcpSocket.h"

namespace kestrelon {

void FakeTcpSocket::Connect(const std::string& host, std::uint16_t port, bool tls) {
    ++generation_;
    connects.push_back({host, port, tls});
    state_ = State::Connecting;
    if (peerOnConnect) {
        peerOnConnect(*this);
    }
}

void FakeTcpSocket::StartTls() {
    ++startTlsCalls;
    if (peerOnStartTls) {
        peerOnStartTls(*this);
    }
}

void FakeTcpSocket::Send(const std::string& bytes) {
    sent.push_back(bytes);
    if (peerOnSend) {
        peerOnSend(*this, bytes);
    }
}

void FakeTcpSocket::Close() {
    ++closes;
    ++generation_;
    state_ = State::Closed;
}

void FakeTcpSocket::Queue(std::function<void()> event) {
    queue_.emplace_back(generation_, std::move(event));
}

void FakeTcpSocket::QueueConnected() {
    Queue([this] {
        state_ = State::Connected;
        if (onConnected) {
            onConnected();
        }
    });
}

void FakeTcpSocket::QueueData(std::string block) {
    Queue([this, block = std::move(block)] {
        if (onData) {
            onData(block);
        }
    });
}

void FakeTcpSocket::QueueError(TcpError error, std::string detail) {
    Queue([this, error, detail = std::move(detail)] {
        state_ = State::Error;
        if (onError) {
            onError(error, detail);
        }
    });
}

void FakeTcpSocket::QueueEncrypted() {
    Queue([this] {
        if (onEncrypted) {
            onEncrypted();
        }
    });
}

void FakeTcpSocket::Run() {
    while (!queue_.empty()) {
        auto [generation, event] = std::move(queue_.front());
        queue_.pop_front();
        if (generation == generation_) {
            event();
        }
    }
}

std::unique_ptr<TcpSocket> FakeTcpSocketFactory::CreateSocket() {
    auto socket = std::make_unique<FakeTcpSocket>();
    sockets.push_back(socket.get());
    return socket;
}

void FakeTcpSocketFactory::RunAll() {
    for (FakeTcpSocket* socket : sockets) {
        socket->Run();
    }
}

}  // namespace kestrelon
