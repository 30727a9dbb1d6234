#include "mainwindow/Pop3Conversation.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <utility>

namespace kestrelon {

namespace {

bool IsOk(std::string_view reply) {
    return reply.substr(0, 3) == "+OK";
}

bool EndsMultiLine(std::string_view text) {
    return text.ends_with("\r\n.\r\n") || text.ends_with("\n.\n");
}

// A capability line naming STLS, in any case.
bool OffersStls(std::string_view list) {
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find('\n', start);
        if (end == std::string_view::npos) {
            end = list.size();
        }
        std::string_view line = list.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        std::string upper(line);
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (upper == "STLS" || upper.starts_with("STLS ")) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

Pop3Conversation::Pop3Conversation(std::string user, std::string password, bool startTlsWhenOffered,
                                   std::uint32_t now)
    : user_(std::move(user)),
      password_(std::move(password)),
      startTlsWhenOffered_(startTlsWhenOffered),
      waitStart_(now) {}

Pop3Conversation::~Pop3Conversation() {
    ForgetPassword();
}

void Pop3Conversation::ForgetPassword() {
    // The plain password lives only for the conversation; leave no copy in freed memory.
    std::fill(password_.begin(), password_.end(), '\0');
    password_.clear();
}

void Pop3Conversation::Send(std::string command, Step next, std::uint32_t now) {
    commands_.push_back({SocketCommand::Kind::Send, std::move(command) + "\r\n"});
    step_ = next;
    waitStart_ = now;
}

void Pop3Conversation::SendUser(std::uint32_t now) {
    Send("USER " + user_, Step::User, now);
}

void Pop3Conversation::Fail(Pop3Result result) {
    result_ = result;
    count_ = 0;
    ForgetPassword();
    commands_.push_back({SocketCommand::Kind::Close, {}});
}

void Pop3Conversation::CapabilitiesComplete(std::uint32_t now) {
    if (OffersStls(capabilities_)) {
        Send("STLS", Step::Stls, now);
    } else {
        SendUser(now);
    }
    capabilities_.clear();
}

void Pop3Conversation::Received(std::uint32_t now, std::string_view block) {
    if (Done() || block.empty()) {
        return;
    }
    switch (step_) {
        case Step::Greeting:
            if (!IsOk(block)) {
                Fail(Pop3Result::CantConnect);
            } else if (startTlsWhenOffered_) {
                Send("CAPA", Step::Capabilities, now);
            } else {
                SendUser(now);
            }
            return;
        case Step::Capabilities:
            // A server without CAPA answers with an error; it then offers no STLS either.
            if (!IsOk(block)) {
                SendUser(now);
                return;
            }
            capabilities_ = block;
            step_ = Step::MoreCapabilities;
            break;
        case Step::MoreCapabilities:
            capabilities_ += block;
            break;
        case Step::Stls:
            if (!IsOk(block)) {
                Fail(Pop3Result::CantConnect);
                return;
            }
            commands_.push_back({SocketCommand::Kind::StartTls, {}});
            step_ = Step::Handshake;
            waitStart_ = now;
            return;
        case Step::Handshake:
            // Bytes before the handshake are not POP3 over TLS.
            Fail(Pop3Result::CantConnect);
            return;
        case Step::User:
            if (!IsOk(block)) {
                Fail(Pop3Result::InvalidUser);
                return;
            }
            Send("PASS " + password_, Step::Pass, now);
            ForgetPassword();
            return;
        case Step::Pass:
            if (!IsOk(block)) {
                Fail(Pop3Result::InvalidPassword);
                return;
            }
            Send("STAT", Step::Stat, now);
            return;
        case Step::Stat:
            if (!IsOk(block)) {
                Fail(Pop3Result::CantConnect);
                return;
            }
            count_ = ParseStatCount(block);
            result_ = Pop3Result::Counted;
            commands_.push_back({SocketCommand::Kind::Close, {}});
            return;
    }
    // The capability list is collected up to its closing dot line.
    if (capabilities_.size() > kMaxCapabilityBytes) {
        Fail(Pop3Result::CantConnect);
    } else if (EndsMultiLine(capabilities_)) {
        CapabilitiesComplete(now);
    }
}

void Pop3Conversation::Encrypted(std::uint32_t now) {
    if (!Done() && step_ == Step::Handshake) {
        SendUser(now);
    }
}

void Pop3Conversation::SocketFailed(TcpError error, std::string_view detail) {
    if (Done()) {
        return;
    }
    switch (step_) {
        case Step::User:
            Fail(Pop3Result::InvalidUser);
            break;
        case Step::Pass:
            Fail(Pop3Result::InvalidPassword);
            break;
        default:
            Fail(Pop3Result::CantConnect);
            break;
    }
    if (error == TcpError::Certificate) {
        result_ = Pop3Result::Certificate;
        detail_ = detail;
    }
}

void Pop3Conversation::TimePassed(std::uint32_t now) {
    if (!Done() && now - waitStart_ > kReplyTimeoutMs) {
        SocketFailed(TcpError::Other, "time-out");
    }
}

std::vector<SocketCommand> Pop3Conversation::TakeCommands() {
    return std::exchange(commands_, {});
}

std::uint32_t Pop3Conversation::TimeLeft(std::uint32_t now) const {
    if (Done()) {
        return 0;
    }
    const std::uint32_t waited = now - waitStart_;
    return waited > kReplyTimeoutMs ? 0 : kReplyTimeoutMs + 1 - waited;
}

int Pop3Conversation::ParseStatCount(std::string_view reply) {
    const auto space = reply.find(' ');
    std::string_view word = space == std::string_view::npos ? reply : reply.substr(space + 1);
    word = word.substr(0, word.find(' '));
    std::size_t i = 0;
    while (i < word.size() && (word[i] == ' ' || word[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) {
        negative = word[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])); ++i) {
        value = std::min<long long>(value * 10 + (word[i] - '0'), std::numeric_limits<int>::max());
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace kestrelon
