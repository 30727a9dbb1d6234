#pragma once

#include <string>
#include <string_view>

namespace kestrelon {

// The reversible, same-length form in which passwords are stored. Printable characters are
// shifted by a pseudo-random offset into the codes 35..134 (so the stored form never holds a
// blank, a quote or a control character); control characters and characters beyond the
// scrambled range are kept. Text is UTF-8 and scrambled per character.
std::string ScramblePassword(std::string_view text);
std::string UnscramblePassword(std::string_view text);

}  // namespace kestrelon
