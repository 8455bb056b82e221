#pragma once

#include <cstdint>
#include <string_view>

namespace inkpane {

// The number a token stands for: its leading decimal number (optional sign,
// digits, optional fraction and exponent), 0 when it does not begin with one,
// rounded to the nearest integer with halves to the even neighbour. Raises the
// overflow error when the result lies outside the signed 16-bit range.
std::int16_t TokenToInteger(std::string_view token);

}  // namespace inkpane
