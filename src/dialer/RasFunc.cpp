#include "dialer/RasFunc.h"

#include <exception>
#include <utility>

#include "core/Language.h"

namespace kestrelon {

RasFunc::RasFunc(RasBackend& backend, TextLookup& lang) : backend_(backend), lang_(lang) {
    backend_.SetDialEventSink([this](int line, std::uint32_t state, std::uint32_t error) {
        if (!handler_) {
            return;
        }
        try {
            handler_(line, state, error);
        } catch (const std::exception&) {
            // A failing handler must not take the service's delivery down with it.
        }
    });
}

void RasFunc::SetDialEventHandler(DialEventHandler handler) {
    handler_ = std::move(handler);
}

void RasFunc::SetPlatformVersion(bool isNt, int majorVersion) {
    isNt_ = isNt;
    majorVersion_ = majorVersion;
}

std::vector<std::string> RasFunc::EnumRasEntries() {
    return backend_.EnumEntries();
}

RasDialParams RasFunc::GetEntryDialParams(const std::string& entry) {
    return backend_.GetEntryDialParams(entry);
}

std::uint32_t RasFunc::RasDialLine(int line, const std::string& entry, const std::string& userName,
                                   const std::string& password, RasHandle& handle) {
    handle = 0;
    return backend_.Dial(line, entry, userName, password, handle);
}

void RasFunc::RasHangUp(RasHandle handle) {
    if (handle != 0) {
        backend_.HangUp(handle);
    }
}

std::uint32_t RasFunc::RasGetConnectStatus(RasHandle handle, std::uint32_t& state) {
    return backend_.GetConnectStatus(handle, state);
}

void RasFunc::FindRasConnection(std::string& name, RasHandle& handle) {
    const std::vector<RasConnection> connections = backend_.EnumConnections();
    if (connections.empty()) {
        handle = 0;
        name.clear();
        return;
    }
    if (name.empty()) {
        handle = connections.front().handle;
        name = connections.front().entryName;
        return;
    }
    for (const RasConnection& connection : connections) {
        if (connection.entryName == name) {
            handle = connection.handle;
        }
    }
}

std::uint32_t RasFunc::RasConnectDuration(RasHandle handle) {
    if (!isNt_ || majorVersion_ < 5) {
        return 0;
    }
    return backend_.ConnectDurationMs(handle).value_or(0);
}

std::string RasFunc::RasIpAddress(RasHandle handle) {
    return backend_.IpAddress(handle);
}

std::string RasFunc::RasErrorText(std::uint32_t code) {
    if (code >= 1001) {
        return "";
    }
    if (code == kErrorMaxDials) {
        return lang_.LangText("ErrorMaxDials", "Kestrelon has reached the maximum number of dials");
    }
    if (code == kErrorConnectTimeout) {
        return lang_.LangText("ErrorConnectTimeout", "Connecting timed out");
    }
    const std::string text = backend_.ErrorString(code);
    return text.substr(0, text.find('\0'));
}

}  // namespace kestrelon
