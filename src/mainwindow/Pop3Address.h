#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrelon {

struct HostPort {
    std::string host;
    std::uint16_t port = 0;

    bool operator==(const HostPort&) const = default;
};

// "host" or "host:port"; an IPv6 address is written in brackets, "[::1]:110". nullopt for an
// empty host or a port that is not a number from 1 to 65535.
std::optional<HostPort> ParseHostPort(std::string_view text, std::uint16_t defaultPort);

// Where and how a mailbox is reached.
struct Pop3Address {
    static constexpr std::uint16_t kPop3Port = 110;
    static constexpr std::uint16_t kPop3sPort = 995;

    HostPort target;
    bool tls = false;                 // TLS from the first byte
    bool startTlsWhenOffered = true;  // plain, upgraded with STLS when the server offers it

    bool operator==(const Pop3Address&) const = default;
};

// A mail server as the user writes it: "host", "host:port" and "pop3://host[:port]" are plain
// POP3 on port 110 upgraded with STLS when offered; "pop3s://host[:port]" is TLS on port 995.
std::optional<Pop3Address> ParseMailServer(std::string_view server);

}  // namespace kestrelon
