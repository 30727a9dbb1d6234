#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TcpSocket.h"

namespace kestrelon {

// How one mailbox conversation ended.
enum class Pop3Result {
    Running,
    Counted,          // the message count was read
    CantConnect,      // no greeting, no STAT reply, or the STLS upgrade failed
    InvalidUser,      // the USER reply was not "+OK"
    InvalidPassword,  // the PASS reply was not "+OK"
    Certificate,      // the server's certificate does not verify
};

// One POP3 conversation without I/O: log in, ask for the mailbox status, read the message count.
// Each received block is one reply and is judged by its first three characters ("+OK"); a reply
// split over blocks is judged by its first block. Every wait gives up after 30 s. The socket
// is connected by the caller when the conversation is created; what it must do next is taken
// with TakeCommands after each event.
class Pop3Conversation {
  public:
    static constexpr std::uint32_t kReplyTimeoutMs = 30000;
    // A capability list longer than this is not a POP3 server talking.
    static constexpr std::size_t kMaxCapabilityBytes = 8192;

    Pop3Conversation(std::string user, std::string password, bool startTlsWhenOffered,
                     std::uint32_t now);
    ~Pop3Conversation();
    Pop3Conversation(const Pop3Conversation&) = delete;
    Pop3Conversation& operator=(const Pop3Conversation&) = delete;

    void Received(std::uint32_t now, std::string_view block);
    // The TLS handshake after STLS is done.
    void Encrypted(std::uint32_t now);
    // Any socket error ends the wait in progress at once.
    void SocketFailed(TcpError error, std::string_view detail);
    // Lets the wait in progress give up when its time is over.
    void TimePassed(std::uint32_t now);

    std::vector<SocketCommand> TakeCommands();
    // Milliseconds from now until the wait in progress gives up (0 when done).
    std::uint32_t TimeLeft(std::uint32_t now) const;

    bool Done() const { return result_ != Pop3Result::Running; }
    Pop3Result Result() const { return result_; }
    int Count() const { return count_; }
    // The socket's own words for a certificate that does not verify.
    const std::string& ErrorDetail() const { return detail_; }

    // The count in a STAT reply: the leading number of the word after the first blank.
    static int ParseStatCount(std::string_view reply);

  private:
    enum class Step { Greeting, Capabilities, MoreCapabilities, Stls, Handshake, User, Pass, Stat };

    void Send(std::string command, Step next, std::uint32_t now);
    void SendUser(std::uint32_t now);
    void Fail(Pop3Result result);
    void CapabilitiesComplete(std::uint32_t now);
    void ForgetPassword();

    std::string user_;
    std::string password_;
    bool startTlsWhenOffered_;
    Step step_ = Step::Greeting;
    std::uint32_t waitStart_;
    std::string capabilities_;
    Pop3Result result_ = Pop3Result::Running;
    int count_ = 0;
    std::string detail_;
    std::vector<SocketCommand> commands_;
};

}  // namespace kestrelon
