#include "decoder/token_number.h"

#include <algorithm>
#include <string>

#include "platform/run_time_error.h"

namespace inkpane {
namespace {

constexpr std::size_t kLongestTokenShown = 32;

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

// The exponent after the "e" or "E" at `at`, saturated at `limit`; `at` moves
// past it. Without digits there is no exponent.
long ReadExponent(std::string_view text, std::size_t& at, long limit) {
  std::size_t i = at + 1;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i >= text.size() || !IsDigit(text[i])) return 0;
  long exponent = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) exponent = std::min(exponent * 10 + (text[i] - '0'), limit);
  at = i;
  return negative ? -exponent : exponent;
}

// The digits of a mantissa with its decimal point taken out, by position.
// Positions before the first digit or after the last read as 0, which is what
// a point moved far by an exponent meets.
class Digits {
 public:
  Digits(std::string_view integer, std::string_view fraction) : integer_(integer), fraction_(fraction) {}

  int operator[](long position) const {
    if (position < 0) return 0;
    const auto at = static_cast<std::size_t>(position);
    if (at < integer_.size()) return integer_[at] - '0';
    if (at - integer_.size() < fraction_.size()) return fraction_[at - integer_.size()] - '0';
    return 0;
  }

  // The position of the first digit from `from` on that is not 0, or -1.
  long FirstNonZero(long from = 0) const {
    const long size = static_cast<long>(integer_.size() + fraction_.size());
    for (long position = std::max(from, 0L); position < size; ++position) {
      if ((*this)[position] != 0) return position;
    }
    return -1;
  }

 private:
  std::string_view integer_;
  std::string_view fraction_;
};

}  // namespace

// Rounding works on the decimal digits themselves, so a number just above or
// below a half rounds the way its digits say, however many there are.
std::int16_t TokenToInteger(std::string_view token) {
  std::size_t at = 0;
  const bool negative = at < token.size() && token[at] == '-';
  if (at < token.size() && (token[at] == '+' || token[at] == '-')) ++at;

  const std::string_view integer = token.substr(at, CountDigits(token, at));
  at += integer.size();
  std::string_view fraction;
  if (at < token.size() && token[at] == '.') {
    fraction = token.substr(at + 1, CountDigits(token, at + 1));
    at += 1 + fraction.size();
  }
  if (integer.empty() && fraction.empty()) return 0;

  // Saturating the exponent just beyond the token's length keeps the sums
  // below in range, and no mantissa of that length could undo it.
  const long exponentLimit = static_cast<long>(token.size()) + 8;
  long exponent = 0;
  if (at < token.size() && (token[at] == 'e' || token[at] == 'E')) exponent = ReadExponent(token, at, exponentLimit);

  const Digits digits(integer, fraction);
  const long first = digits.FirstNonZero();
  if (first < 0) return 0;
  // The decimal point falls before the digit at `point`, so the value lies
  // from 10^(magnitude - 1) up to 10^magnitude.
  const long point = static_cast<long>(integer.size()) + exponent;
  const long magnitude = point - first;
  if (magnitude >= 6) RaiseOverflow(token);
  if (magnitude <= -1) return 0;

  long value = 0;
  for (long position = first; position < point; ++position) value = value * 10 + digits[position];
  const int firstDropped = digits[point];
  const bool aboveHalf = firstDropped > 5 || (firstDropped == 5 && digits.FirstNonZero(point + 1) >= 0);
  const bool halfToEven = firstDropped == 5 && value % 2 == 1;
  if (aboveHalf || halfToEven) ++value;

  if (negative) value = -value;
  if (value < -32768 || value > 32767) RaiseOverflow(token);
  return static_cast<std::int16_t>(value);
}

}  // namespace inkpane
