#include "mainwindow/Pop3Address.h"

#include <algorithm>
#include <cctype>

namespace kestrelon {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        })) {
        return std::nullopt;
    }
    const int port = std::stoi(std::string(text));
    if (port < 1 || port > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(port);
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::optional<HostPort> ParseHostPort(std::string_view text, std::uint16_t defaultPort) {
    text = Trim(text);
    std::string_view host = text;
    std::string_view port;
    bool hasPort = false;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        host = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') {
                return std::nullopt;
            }
            port = rest.substr(1);
            hasPort = true;
        }
    } else if (const auto colon = text.find(':'); colon != std::string_view::npos) {
        // More than one colon without brackets is an IPv6 address without a port.
        if (text.find(':', colon + 1) == std::string_view::npos) {
            host = text.substr(0, colon);
            port = text.substr(colon + 1);
            hasPort = true;
        }
    }
    if (host.empty() || host.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    HostPort result{std::string(host), defaultPort};
    if (hasPort) {
        const auto number = ParsePort(port);
        if (!number) {
            return std::nullopt;
        }
        result.port = *number;
    }
    return result;
}

std::optional<Pop3Address> ParseMailServer(std::string_view server) {
    server = Trim(server);
    Pop3Address address;
    std::uint16_t defaultPort = Pop3Address::kPop3Port;
    if (StartsWithNoCase(server, "pop3s://")) {
        server.remove_prefix(8);
        address.tls = true;
        address.startTlsWhenOffered = false;
        defaultPort = Pop3Address::kPop3sPort;
    } else if (StartsWithNoCase(server, "pop3://")) {
        server.remove_prefix(7);
    }
    // A trailing slash is what people copy from an address bar.
    if (!server.empty() && server.back() == '/') {
        server.remove_suffix(1);
    }
    const auto target = ParseHostPort(server, defaultPort);
    if (!target) {
        return std::nullopt;
    }
    address.target = *target;
    return address;
}

}  // namespace kestrelon
