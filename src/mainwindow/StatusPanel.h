#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrelon {

class TextLookup;

// What the status refresh has prepared for the panel and the tray tooltip.
struct StatusInputs {
    int statusState = 0;
    std::string profileName;
    int dialCount = 0;
    std::uint32_t lastError = 0;
    float dialsPerMinute = 0;
    bool dualActive = false;
    float onlineSeconds = 0;
    std::string chargesText;
    bool chargesZero = true;  // the charges text reads as zero (or is empty)
    std::string ipAddress;
};

// One row below the title: a label right-aligned against the column line and a value
// left-aligned after it.
struct StatusRow {
    std::string label;
    std::string value;
    bool operator==(const StatusRow&) const = default;
};

// The panel's content, independent of how it is drawn. A state outside 0..6 gives nothing.
struct StatusLayout {
    bool welcome = false;
    // Welcome layout: centred lines, one below the other ("" is an empty line).
    std::vector<std::string> welcomeLines;
    // Dialing and online layouts: the centred title, the rows that divide the panel's height
    // (title included) and the rows below the title, the first one row height down.
    std::string title;
    int rows = 0;
    std::vector<StatusRow> rowTexts;
    std::string tooltip;  // "" leaves the tray tip as it is
};

// The fixed, untranslated last line of the welcome layout.
inline constexpr const char* kWelcomeFixedLine = "Select a profile and press Dial";

// A number as printed with its sign place: " 3", "-3".
std::string NumberText(long long value);
// The dials-per-minute text: cut to one decimal below 10, rounded to whole from 10 on, with
// its sign place; " (D)" while the second line dials too.
std::string RateText(float rate, bool dualActive);

std::optional<StatusLayout> BuildStatusLayout(const StatusInputs& in, TextLookup& lang);

}  // namespace kestrelon
