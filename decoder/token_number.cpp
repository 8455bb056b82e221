#include "decoder/token_number.h"

#include <algorithm>
#include <string>

#include "platform/run_time_error.h"

namespace inkpane {
namespace {

// An exponent is saturated here, beyond any count of digits a file can hold,
// so that it and those counts add up without overflow; no mantissa could undo
// an exponent that large.
constexpr std::int64_t kLargestExponent = 100'000'000'000'000'000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSign(char c) { return c == '+' || c == '-'; }

}  // namespace

std::int16_t TokenToInteger(std::string_view token) {
  TokenNumber number;
  number.Take(token);
  return number.Integer();
}

void TokenNumber::Take(std::string_view piece) {
  const std::size_t shown = std::min(piece.size(), kLongestShown - shownCount_);
  std::copy_n(piece.begin(), shown, shown_.begin() + static_cast<std::ptrdiff_t>(shownCount_));
  shownCount_ += shown;
  if (shown < piece.size()) longerThanShown_ = true;

  for (const char c : piece) {
    if (part_ == Part::Done) return;
    Step(c);
  }
}

// One character on from where the token's number stands: the sign, the digits
// before and after the point, and the exponent, each optional. The first
// character that fits none of them ends the number.
void TokenNumber::Step(char c) {
  switch (part_) {
    case Part::Sign:
      part_ = Part::Integer;
      if (IsSign(c)) {
        negative_ = c == '-';
        return;
      }
      [[fallthrough]];
    case Part::Integer:
      if (IsDigit(c)) {
        TakeDigit(c);
        ++integerDigits_;
        return;
      }
      if (c == '.') {
        part_ = Part::Fraction;
        return;
      }
      break;
    case Part::Fraction:
      if (IsDigit(c)) {
        TakeDigit(c);
        return;
      }
      break;
    case Part::ExponentSign:
      if (IsSign(c)) {
        exponentNegative_ = c == '-';
        part_ = Part::ExponentFirstDigit;
        return;
      }
      [[fallthrough]];
    case Part::ExponentFirstDigit:
    case Part::Exponent:
      if (IsDigit(c)) {
        TakeExponentDigit(c);
        part_ = Part::Exponent;
      } else {
        part_ = Part::Done;
      }
      return;
    case Part::Done:
      return;
  }
  // The mantissa has ended; an exponent may follow one that has digits.
  part_ = (c == 'e' || c == 'E') && digits_ > 0 ? Part::ExponentSign : Part::Done;
}

void TokenNumber::TakeDigit(char c) {
  const auto digit = static_cast<std::uint8_t>(c - '0');
  if (keptCount_ == 0) {
    if (digit != 0) {
      firstSignificant_ = digits_;
      kept_[keptCount_++] = digit;
    }
  } else if (keptCount_ < kKeptDigits) {
    kept_[keptCount_++] = digit;
  } else if (digit != 0) {
    nonZeroAfterKept_ = true;
  }
  ++digits_;
}

void TokenNumber::TakeExponentDigit(char c) { exponent_ = std::min(exponent_ * 10 + (c - '0'), kLargestExponent); }

// The significant digit at `index` from the first; those never kept read as
// 0, which is what a point moved far by an exponent meets.
int TokenNumber::Significant(std::int64_t index) const {
  return index < static_cast<std::int64_t>(keptCount_) ? kept_[static_cast<std::size_t>(index)] : 0;
}

// Rounding works on the decimal digits themselves, so a number just above or
// below a half rounds the way its digits say, however many there are.
std::int16_t TokenNumber::Integer() const {
  if (keptCount_ == 0) return 0;
  // The decimal point falls before the digit at `point`, so the value lies
  // from 10^(magnitude - 1) up to 10^magnitude.
  const std::int64_t point = integerDigits_ + (exponentNegative_ ? -exponent_ : exponent_);
  const std::int64_t magnitude = point - firstSignificant_;
  if (magnitude >= 6) RaiseOverflow();
  if (magnitude <= -1) return 0;

  int value = 0;
  for (std::int64_t index = 0; index < magnitude; ++index) value = value * 10 + Significant(index);
  const int firstDropped = Significant(magnitude);
  bool nonZeroAfterIt = nonZeroAfterKept_;
  for (auto index = static_cast<std::size_t>(magnitude) + 1; index < keptCount_; ++index) {
    nonZeroAfterIt = nonZeroAfterIt || kept_[index] != 0;
  }
  const bool aboveHalf = firstDropped > 5 || (firstDropped == 5 && nonZeroAfterIt);
  const bool halfToEven = firstDropped == 5 && value % 2 == 1;
  if (aboveHalf || halfToEven) ++value;

  if (negative_) value = -value;
  if (value < -32768 || value > 32767) RaiseOverflow();
  return static_cast<std::int16_t>(value);
}

void TokenNumber::RaiseOverflow() const {
  std::string shown(shown_.data(), shownCount_);
  if (longerThanShown_) shown += "...";
  throw RunTimeError(ErrorNumber::Overflow,
                     "Overflow: the number \"" + shown + "\" lies outside the range -32768 to 32767.");
}

}  // namespace inkpane
