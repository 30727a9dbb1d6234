#include "mainwindow/KeepAliveConversation.h"

#include <string>
#include <utility>

namespace kestrelon {

void KeepAliveConversation::Finish() {
    step_ = Step::Done;
    commands_.push_back({SocketCommand::Kind::Close, {}});
}

void KeepAliveConversation::Connected(std::uint32_t now) {
    if (step_ != Step::Connecting) {
        return;
    }
    commands_.push_back({SocketCommand::Kind::Send, std::string(kRequest)});
    step_ = Step::Reply;
    waitStart_ = now;
}

void KeepAliveConversation::Received(std::string_view block) {
    if (step_ == Step::Reply && !block.empty()) {
        answered_ = true;
        Finish();
    }
}

void KeepAliveConversation::SocketFailed() {
    if (!Done()) {
        Finish();
    }
}

std::uint32_t KeepAliveConversation::Limit() const {
    return step_ == Step::Connecting ? kConnectTimeoutMs : kReplyTimeoutMs;
}

void KeepAliveConversation::TimePassed(std::uint32_t now) {
    if (!Done() && now - waitStart_ > Limit()) {
        Finish();
    }
}

std::vector<SocketCommand> KeepAliveConversation::TakeCommands() {
    return std::exchange(commands_, {});
}

std::uint32_t KeepAliveConversation::TimeLeft(std::uint32_t now) const {
    if (Done()) {
        return 0;
    }
    const std::uint32_t waited = now - waitStart_;
    return waited > Limit() ? 0 : Limit() + 1 - waited;
}

}  // namespace kestrelon
