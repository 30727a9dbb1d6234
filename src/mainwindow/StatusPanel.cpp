#include "mainwindow/StatusPanel.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/Language.h"
#include "dialer/DialSession.h"

namespace kestrelon {

namespace {

struct StateTexts {
    const char* titleKey;
    const char* title;
    const char* headKey;
    const char* head;
};

constexpr StateTexts kStates[] = {
    {"", "", "", ""},
    {"stdialing", "DIALING", "stdialing", "DIALING"},
    {"stauthorising", "AUTHORISING", "stauthorising", "AUTHORISING"},
    {"stconnerror", "CONNECTION ERROR", "sterror", "ERROR"},
    {"staborted", "ABORTED", "staborted", "ABORTED"},
    {"stconnected", "CONNECTED", "stconnto", "Connected to "},
    {"stdisconnected", "DISCONNECTED", "stdiscfrom", "Disconnected from "},
};

}  // namespace

std::string NumberText(long long value) {
    return (value >= 0 ? " " : "") + std::to_string(value);
}

std::string RateText(float rate, bool dualActive) {
    std::string text;
    if (rate < 10) {
        // In single precision, as the rate is held, so 2.3 stays 2.3 instead of 2.2.
        const auto tenths = static_cast<long long>(std::floor(rate * 10.0f));
        if (tenths % 10 == 0) {
            text = NumberText(tenths / 10);
        } else {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%s%lld.%lld", tenths < 0 ? "-" : " ",
                          std::llabs(tenths) / 10, std::llabs(tenths) % 10);
            text = buffer;
        }
    } else {
        text = NumberText(static_cast<long long>(rate + 0.5f));
    }
    if (dualActive) {
        text += " (D)";
    }
    return text;
}

std::optional<StatusLayout> BuildStatusLayout(const StatusInputs& in, TextLookup& lang) {
    StatusLayout layout;
    const int state = in.statusState;
    if (state == kStatusWelcome) {
        layout.welcome = true;
        layout.welcomeLines = {lang.LangText("welc1", ""),
                               "",
                               lang.LangText("welc2", "Welcome to Kestrelon 2000"),
                               lang.LangText("welc3", ""),
                               lang.LangText("welc4", ""),
                               lang.LangText("welc5", ""),
                               kWelcomeFixedLine};
        return layout;
    }
    if (state < kStatusDialing || state > kStatusDisconnected) {
        return std::nullopt;
    }
    const StateTexts& texts = kStates[state];
    layout.title = lang.LangText(texts.titleKey, texts.title);
    const std::string head = lang.LangText(texts.headKey, texts.head);
    const bool showRateRows = in.lastError >= 1 || in.dialCount >= 1;
    const std::string time = " " + FormatDuration(in.onlineSeconds);
    const std::string connection = lang.LangText("stconnection", "Connection ");
    if (state <= kStatusAborted) {
        layout.rows = 6;
        if (state != kStatusConnectionError && in.dialCount < 1) {
            layout.rows -= 2;
        }
        layout.rowTexts.push_back({connection, " " + in.profileName});
        layout.rowTexts.push_back({lang.LangText("stdials", "Dials "), NumberText(in.dialCount)});
        layout.rowTexts.push_back({lang.LangText("sttime", "Time "), time});
        const std::string rate = RateText(in.dialsPerMinute, in.dualActive);
        if (showRateRows) {
            layout.rowTexts.push_back({lang.LangText("stdpm", "DpM "), rate});
            layout.rowTexts.push_back(
                {lang.LangText("stlasterror", "Last Error "), NumberText(in.lastError)});
        }
        layout.tooltip = "Kestrelon 2000 - " + head + " - " + lang.LangText("tray1", "Dials:") +
                         NumberText(in.dialCount) + " - " + lang.LangText("tray2", "Time: ") +
                         FormatDuration(in.onlineSeconds);
        if (in.dialCount >= 1) {
            layout.tooltip += " - " + lang.LangText("tray3", "DpM:") + rate;
        }
    } else {
        layout.rows = in.chargesZero ? 4 : 5;
        layout.rowTexts.push_back({connection, " " + in.profileName});
        layout.rowTexts.push_back({lang.LangText("sttime", "Time "), time});
        if (!in.chargesZero) {
            layout.rowTexts.push_back(
                {lang.LangText("charges", "Charges") + " ", " " + in.chargesText});
        }
        layout.rowTexts.push_back({lang.LangText("ipaddress", "IP Address "), " " + in.ipAddress});
        layout.tooltip = "Kestrelon 2000 - " + head + in.profileName;
    }
    return layout;
}

}  // namespace kestrelon
