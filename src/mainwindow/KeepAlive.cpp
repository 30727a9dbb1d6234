#include "mainwindow/KeepAlive.h"

#include "core/AppCore.h"
#include "platform/TcpSocket.h"

namespace kestrelon {

KeepAlive::KeepAlive(AppCore& app, TcpSocketFactory& sockets)
    : app_(app), socket_(sockets.CreateSocket()) {
    deadline_ = app_.platform.timers.CreateTimer([this] {
        if (talk_) {
            talk_->TimePassed(app_.platform.clock.TickCount());
            Pump();
        }
    });
    socket_->onConnected = [this] {
        if (talk_) {
            talk_->Connected(app_.platform.clock.TickCount());
            Pump();
        }
    };
    socket_->onData = [this](const std::string& block) {
        if (talk_) {
            talk_->Received(block);
            Pump();
        }
    };
    socket_->onError = [this](TcpError, const std::string&) {
        if (talk_) {
            talk_->SocketFailed();
            Pump();
        }
    };
}

KeepAlive::~KeepAlive() {
    Close();
}

std::optional<HostPort> KeepAlive::Target() const {
    const std::string& host = app_.settings.KeepAliveHost;
    return ParseHostPort(host.empty() ? kDefaultHost : std::string_view(host), kDefaultPort);
}

void KeepAlive::Send() {
    Close();
    const auto target = Target();
    if (!target) {
        return;
    }
    talk_.emplace(app_.platform.clock.TickCount());
    socket_->Connect(target->host, target->port, false);
    Pump();
}

void KeepAlive::Close() {
    talk_.reset();
    deadline_->Stop();
    socket_->Close();
}

void KeepAlive::Pump() {
    Apply(*socket_, talk_->TakeCommands());
    if (!talk_->Done()) {
        deadline_->StartSingleShot(talk_->TimeLeft(app_.platform.clock.TickCount()));
        return;
    }
    const bool answered = talk_->Answered();
    talk_.reset();
    deadline_->Stop();
    if (onFinished) {
        onFinished(answered);
    }
}

}  // namespace kestrelon
