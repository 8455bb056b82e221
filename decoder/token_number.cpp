#include "decoder/token_number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/run_time_error.h"

namespace inkpane {
namespace {

constexpr std::size_t kLongestTokenShown = 32;
constexpr long kExponentLimit = 1'000'000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t CountDigits(std::string_view text, std::size_t from) {
  std::size_t end = from;
  while (end < text.size() && IsDigit(text[end])) ++end;
  return end - from;
}

[[noreturn]] void RaiseOverflow(std::string_view token) {
  std::string shown(token.substr(0, kLongestTokenShown));
  if (token.size() > kLongestTokenShown) shown += "...";
  throw RunTimeError(ErrorNumber::Overflow,
                     "Overflow: the number \"" + shown + "\" lies outside the range -32768 to 32767.");
}

// The exponent after "e" or "E" at `at`, saturated far beyond any exponent that
// could still matter; `at` moves past it. Without digits there is no exponent.
long ReadExponent(std::string_view text, std::size_t& at) {
  std::size_t i = at + 1;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i >= text.size() || !IsDigit(text[i])) return 0;
  long exponent = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    exponent = std::min(exponent * 10 + (text[i] - '0'), kExponentLimit);
  }
  at = i;
  return negative ? -exponent : exponent;
}

}  // namespace

std::int16_t TokenToInteger(std::string_view token) {
  std::size_t at = 0;
  const bool negative = at < token.size() && token[at] == '-';
  if (at < token.size() && (token[at] == '+' || token[at] == '-')) ++at;

  const std::size_t mantissaStart = at;
  const std::size_t integerDigits = CountDigits(token, at);
  at += integerDigits;
  std::size_t fractionDigits = 0;
  if (at < token.size() && token[at] == '.') {
    fractionDigits = CountDigits(token, at + 1);
    at += 1 + fractionDigits;
  }
  if (integerDigits + fractionDigits == 0) return 0;
  const std::size_t mantissaEnd = at;

  long exponent = 0;
  if (at < token.size() && (token[at] == 'e' || token[at] == 'E')) exponent = ReadExponent(token, at);

  // The decimal order of magnitude settles most numbers without arithmetic:
  // below 0.1 they round to 0, from 100000 on they overflow. Only the rest are
  // converted, so the conversion never meets an out-of-range value.
  const std::string_view mantissa = token.substr(mantissaStart, mantissaEnd - mantissaStart);
  const std::size_t firstSignificant = mantissa.find_first_not_of("0.");
  if (firstSignificant == std::string_view::npos) return 0;
  const long order = (firstSignificant < integerDigits) ? static_cast<long>(integerDigits - firstSignificant)
                                                        : -static_cast<long>(firstSignificant - integerDigits - 1);
  if (order + exponent <= -1) return 0;
  if (order + exponent >= 6) RaiseOverflow(token);

  double magnitude = 0;
  const std::string_view number = token.substr(mantissaStart, at - mantissaStart);
  std::from_chars(number.data(), number.data() + number.size(), magnitude, std::chars_format::general);
  // The default rounding mode sends halves to the even neighbour.
  const double rounded = std::nearbyint(negative ? -magnitude : magnitude);
  if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max()) {
    RaiseOverflow(token);
  }
  return static_cast<std::int16_t>(rounded);
}

}  // namespace inkpane
