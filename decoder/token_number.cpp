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

// The number is read as it stands: the sign, the digits before and after the
// point, and the exponent, each optional. The first character that fits none
// of them ends it.
void TokenNumber::Take(std::string_view piece) {
  const std::size_t shown = std::min(piece.size(), kLongestShown - shownCount_);
  std::copy_n(piece.begin(), shown, shown_.begin() + static_cast<std::ptrdiff_t>(shownCount_));
  shownCount_ += shown;
  if (shown < piece.size()) longerThanShown_ = true;

  std::size_t at = 0;
  if (part_ == Part::Sign && !piece.empty()) {
    part_ = Part::Integer;
    if (IsSign(piece.front())) {
      negative_ = piece.front() == '-';
      ++at;
    }
  }
  while (at < piece.size() && part_ != Part::Done) {
    if (part_ == Part::Integer || part_ == Part::Fraction) {
      const auto end = static_cast<std::size_t>(
          std::find_if_not(piece.begin() + static_cast<std::ptrdiff_t>(at), piece.end(), IsDigit) - piece.begin());
      TakeDigits(piece.substr(at, end - at));
      at = end;
      if (at == piece.size()) return;
    }
    Step(piece[at++]);
  }
}

// One character that is not a digit of the mantissa, on from where the
// number stands.
void TokenNumber::Step(char c) {
  switch (part_) {
    case Part::Integer:
    case Part::Fraction:
      if (c == '.' && part_ == Part::Integer) {
        part_ = Part::Fraction;
      } else {
        // An exponent may follow a mantissa that has digits.
        part_ = (c == 'e' || c == 'E') && digits_ > 0 ? Part::ExponentSign : Part::Done;
      }
      return;
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
        exponent_ = std::min(exponent_ * 10 + (c - '0'), kLargestExponent);
        part_ = Part::Exponent;
      } else {
        part_ = Part::Done;
      }
      return;
    case Part::Sign:
    case Part::Done:
      return;
  }
}

// A stretch of the mantissa's digits at once: a long token is mostly these,
// and past the first few significant digits only whether one is not 0 counts.
void TokenNumber::TakeDigits(std::string_view digits) {
  if (part_ == Part::Integer) integerDigits_ += static_cast<std::int64_t>(digits.size());
  std::size_t at = 0;
  if (keptCount_ == 0) {
    at = std::min(digits.find_first_not_of('0'), digits.size());
    digits_ += static_cast<std::int64_t>(at);
    if (at == digits.size()) return;
    firstSignificant_ = digits_;
  }
  const std::size_t kept = std::min(digits.size() - at, kKeptDigits - keptCount_);
  for (const char c : digits.substr(at, kept)) kept_[keptCount_++] = static_cast<std::uint8_t>(c - '0');
  const std::string_view rest = digits.substr(at + kept);
  nonZeroAfterKept_ = nonZeroAfterKept_ || rest.find_first_not_of('0') != std::string_view::npos;
  digits_ += static_cast<std::int64_t>(digits.size() - at);
}

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
