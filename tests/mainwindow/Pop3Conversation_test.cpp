#include "mainwindow/Pop3Conversation.h"

#include <gtest/gtest.h>

#include "mainwindow/Pop3Address.h"

namespace kestrelon {
namespace {

using Kind = SocketCommand::Kind;

SocketCommand Sent(std::string text) {
    return {Kind::Send, std::move(text)};
}
const SocketCommand kClose{Kind::Close, {}};
const SocketCommand kStartTls{Kind::StartTls, {}};

class Pop3ConversationTest : public ::testing::Test {
  protected:
    // A conversation without the STLS question unless asked for.
    Pop3Conversation& Begin(bool startTls = false) {
        talk_.emplace("anna", "s3cret", startTls, now_);
        return *talk_;
    }
    std::vector<SocketCommand> Reply(std::string_view block) {
        talk_->Received(now_, block);
        return talk_->TakeCommands();
    }

    std::uint32_t now_ = 5000;
    std::optional<Pop3Conversation> talk_;
};

TEST_F(Pop3ConversationTest, LogsInAndReadsTheCountFromTheStatusReply) {
    Begin();
    EXPECT_TRUE(talk_->TakeCommands().empty());
    EXPECT_EQ(Reply("+OK POP3 ready\r\n"), std::vector{Sent("USER anna\r\n")});
    EXPECT_EQ(Reply("+OK\r\n"), std::vector{Sent("PASS s3cret\r\n")});
    EXPECT_EQ(Reply("+OK Logged in.\r\n"), std::vector{Sent("STAT\r\n")});
    EXPECT_FALSE(talk_->Done());
    EXPECT_EQ(Reply("+OK 3 4520\r\n"), std::vector{kClose});
    EXPECT_TRUE(talk_->Done());
    EXPECT_EQ(talk_->Result(), Pop3Result::Counted);
    EXPECT_EQ(talk_->Count(), 3);
}

TEST_F(Pop3ConversationTest, EachRejectedStepHasItsOwnResultAndCountsNoMail) {
    struct Case {
        std::vector<std::string> replies;
        Pop3Result result;
    };
    const std::vector<Case> cases = {
        {{"-ERR go away\r\n"}, Pop3Result::CantConnect},
        {{"+OK\r\n", "-ERR no such user\r\n"}, Pop3Result::InvalidUser},
        {{"+OK\r\n", "+OK\r\n", "-ERR [AUTH] Authentication failed.\r\n"},
         Pop3Result::InvalidPassword},
        {{"+OK\r\n", "+OK\r\n", "+OK\r\n", "-ERR mailbox locked\r\n"}, Pop3Result::CantConnect},
    };
    for (const Case& c : cases) {
        Begin();
        std::vector<SocketCommand> last;
        for (const std::string& reply : c.replies) {
            last = Reply(reply);
        }
        EXPECT_TRUE(talk_->Done());
        EXPECT_EQ(talk_->Result(), c.result) << c.replies.back();
        EXPECT_EQ(talk_->Count(), 0);
        EXPECT_EQ(last, std::vector{kClose});
        // Nothing after the end changes the outcome.
        EXPECT_TRUE(Reply("+OK 9 9\r\n").empty());
        EXPECT_EQ(talk_->Result(), c.result);
    }
}

TEST_F(Pop3ConversationTest, AReplySplitOverBlocksIsJudgedByItsFirstBlock) {
    // "+O" and "K" in two blocks: the first block does not begin with "+OK".
    Begin();
    EXPECT_EQ(Reply("+O"), std::vector{kClose});
    EXPECT_EQ(talk_->Result(), Pop3Result::CantConnect);

    // A status reply whose count comes in the next block reads as no mail, and the next block
    // is never taken for a reply.
    Begin();
    Reply("+OK\r\n");
    Reply("+OK\r\n");
    Reply("+OK\r\n");
    EXPECT_EQ(Reply("+OK"), std::vector{kClose});
    EXPECT_EQ(talk_->Result(), Pop3Result::Counted);
    EXPECT_EQ(talk_->Count(), 0);
    EXPECT_TRUE(Reply(" 7 100\r\n").empty());
    EXPECT_EQ(talk_->Count(), 0);
}

TEST_F(Pop3ConversationTest, GarbageAndOverLongLinesAreJudgedLikeAnyReply) {
    Begin();
    EXPECT_EQ(Reply(std::string("\x00\xff\x16\x03\x01", 5)), std::vector{kClose});
    EXPECT_EQ(talk_->Result(), Pop3Result::CantConnect);

    // A greeting far beyond the 512 bytes a POP3 line may have still begins with "+OK".
    Begin();
    EXPECT_EQ(Reply("+OK " + std::string(100000, 'x') + "\r\n"),
              std::vector{Sent("USER anna\r\n")});
    Reply("+OK\r\n");
    Reply("+OK\r\n");
    Reply("+OK 99999999999999999999999 1\r\n");
    EXPECT_EQ(talk_->Count(), 2147483647);
}

TEST_F(Pop3ConversationTest, TheCountIsTheLeadingNumberOfTheSecondWord) {
    EXPECT_EQ(Pop3Conversation::ParseStatCount("+OK 3 4520\r\n"), 3);
    EXPECT_EQ(Pop3Conversation::ParseStatCount("+OK 12\r\n"), 12);
    EXPECT_EQ(Pop3Conversation::ParseStatCount("+OK 0 0\r\n"), 0);
    EXPECT_EQ(Pop3Conversation::ParseStatCount("+OK\r\n"), 0);
    EXPECT_EQ(Pop3Conversation::ParseStatCount("+OK many 3\r\n"), 0);
    EXPECT_EQ(Pop3Conversation::ParseStatCount("+OK 5messages\r\n"), 5);
    EXPECT_EQ(Pop3Conversation::ParseStatCount("+OK -4 0\r\n"), -4);
}

TEST_F(Pop3ConversationTest, EveryWaitGivesUpAfterThirtySeconds) {
    Begin();
    talk_->TimePassed(now_ + 30000);
    EXPECT_FALSE(talk_->Done());
    EXPECT_EQ(talk_->TimeLeft(now_ + 30000), 1U);
    talk_->TimePassed(now_ + 30001);
    EXPECT_EQ(talk_->Result(), Pop3Result::CantConnect);
    EXPECT_EQ(talk_->TakeCommands(), std::vector{kClose});

    // The wait for the PASS reply starts when PASS goes out; the clock may wrap meanwhile.
    now_ = 0xFFFFFF00U;
    Begin();
    Reply("+OK\r\n");
    now_ += 20000;
    Reply("+OK\r\n");
    talk_->TimePassed(now_ + 30000);
    EXPECT_FALSE(talk_->Done());
    talk_->TimePassed(now_ + 30001);
    EXPECT_EQ(talk_->Result(), Pop3Result::InvalidPassword);
}

TEST_F(Pop3ConversationTest, ASocketErrorFailsTheWaitInProgressAtOnce) {
    Begin();
    Reply("+OK\r\n");
    talk_->SocketFailed(TcpError::RemoteClosed, "closed");
    EXPECT_EQ(talk_->Result(), Pop3Result::InvalidUser);
    EXPECT_EQ(talk_->TakeCommands(), std::vector{kClose});

    Begin();
    talk_->SocketFailed(TcpError::Refused, "refused");
    EXPECT_EQ(talk_->Result(), Pop3Result::CantConnect);
}

TEST_F(Pop3ConversationTest, StlsIsUsedWhenTheServerOffersIt) {
    Begin(true);
    EXPECT_EQ(Reply("+OK ready\r\n"), std::vector{Sent("CAPA\r\n")});
    // The capability list comes in pieces up to its closing dot.
    EXPECT_TRUE(Reply("+OK\r\nTOP\r\nUI").empty());
    EXPECT_EQ(Reply("DL\r\nstls\r\nSASL PLAIN\r\n.\r\n"), std::vector{Sent("STLS\r\n")});
    EXPECT_EQ(Reply("+OK Begin TLS negotiation now.\r\n"), std::vector{kStartTls});
    // Nothing is sent until the handshake is done.
    talk_->TimePassed(now_ + 20000);
    EXPECT_TRUE(talk_->TakeCommands().empty());
    talk_->Encrypted(now_ + 20000);
    EXPECT_EQ(talk_->TakeCommands(), std::vector{Sent("USER anna\r\n")});
}

TEST_F(Pop3ConversationTest, WithoutStlsOnOfferTheLoginGoesOnPlain) {
    Begin(true);
    Reply("+OK ready\r\n");
    EXPECT_EQ(Reply("+OK\r\nUSER\r\nUIDL\r\n.\r\n"), std::vector{Sent("USER anna\r\n")});

    // A server that knows no CAPA offers no STLS either.
    Begin(true);
    Reply("+OK ready\r\n");
    EXPECT_EQ(Reply("-ERR unknown command\r\n"), std::vector{Sent("USER anna\r\n")});
}

TEST_F(Pop3ConversationTest, AFailedUpgradeNeverFallsBackToPlain) {
    Begin(true);
    Reply("+OK\r\n");
    Reply("+OK\r\nSTLS\r\n.\r\n");
    EXPECT_EQ(Reply("-ERR TLS not available\r\n"), std::vector{kClose});
    EXPECT_EQ(talk_->Result(), Pop3Result::CantConnect);

    Begin(true);
    Reply("+OK\r\n");
    Reply("+OK\r\nSTLS\r\n.\r\n");
    Reply("+OK\r\n");
    talk_->SocketFailed(TcpError::Certificate, "The certificate is self-signed, and untrusted");
    EXPECT_EQ(talk_->Result(), Pop3Result::Certificate);
    EXPECT_EQ(talk_->ErrorDetail(), "The certificate is self-signed, and untrusted");
    EXPECT_EQ(talk_->TakeCommands(), std::vector{kClose});
}

TEST_F(Pop3ConversationTest, AnEndlessCapabilityListEndsTheConversation) {
    Begin(true);
    Reply("+OK\r\n");
    Reply("+OK\r\n");
    std::vector<SocketCommand> last;
    for (int i = 0; i < 200 && last.empty(); ++i) {
        last = Reply(std::string(100, 'X') + "\r\n");
    }
    EXPECT_EQ(last, std::vector{kClose});
    EXPECT_EQ(talk_->Result(), Pop3Result::CantConnect);
}

TEST(Pop3AddressTest, ServersAreWrittenAsHostPortOrAddress) {
    using A = Pop3Address;
    EXPECT_EQ(ParseMailServer("mail.example.net"), (A{{"mail.example.net", 110}, false, true}));
    EXPECT_EQ(ParseMailServer(" mail.example.net:1110 "),
              (A{{"mail.example.net", 1110}, false, true}));
    EXPECT_EQ(ParseMailServer("pop3://127.0.0.1:2110"), (A{{"127.0.0.1", 2110}, false, true}));
    EXPECT_EQ(ParseMailServer("POP3S://mail.example.net"),
              (A{{"mail.example.net", 995}, true, false}));
    EXPECT_EQ(ParseMailServer("pop3s://mail.example.net:1995/"),
              (A{{"mail.example.net", 1995}, true, false}));
    EXPECT_EQ(ParseMailServer("pop3s://[::1]:1995"), (A{{"::1", 1995}, true, false}));
    EXPECT_EQ(ParseMailServer("::1"), (A{{"::1", 110}, false, true}));
    EXPECT_FALSE(ParseMailServer(""));
    EXPECT_FALSE(ParseMailServer("pop3s://"));
    EXPECT_FALSE(ParseMailServer("host:0"));
    EXPECT_FALSE(ParseMailServer("host:65536"));
    EXPECT_FALSE(ParseMailServer("host:pop"));
    EXPECT_FALSE(ParseMailServer("imap://host/inbox"));
    EXPECT_EQ(ParseHostPort("10.0.0.1", 80), (HostPort{"10.0.0.1", 80}));
    EXPECT_EQ(ParseHostPort("10.0.0.1:8080", 80), (HostPort{"10.0.0.1", 8080}));
}

}  // namespace
}  // namespace kestrelon
