#pragma once

#include <cstdint>
#include <string>

namespace kestrelon {

// The remote access service's English text for one of its error numbers (600 and up); ""
// for a number it has no text for.
std::string StandardRasErrorText(std::uint32_t code);

}  // namespace kestrelon
