#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace inkpane {

// The number a token stands for: its leading decimal number (optional sign,
// digits, optional fraction and exponent), 0 when it does not begin with one,
// rounded to the nearest integer with halves to the even neighbour. Raises the
// overflow error when the result lies outside the signed 16-bit range.
std::int16_t TokenToInteger(std::string_view token);

// The same number for a token too long to hold, taken in a piece at a time.
// Only what can change the result is kept, so any length takes the same
// little memory: the sign, where the point falls, the first significant
// digits, whether a digit other than 0 follows them, and the exponent.
class TokenNumber {
 public:
  // The next piece of the token, in file order.
  void Take(std::string_view piece);
  // The number of all the pieces taken, as TokenToInteger gives it for the
  // whole token.
  std::int16_t Integer() const;

 private:
  enum class Part : std::uint8_t { Sign, Integer, Fraction, ExponentSign, ExponentFirstDigit, Exponent, Done };
  // Seven significant digits settle any result in range: up to five before
  // the point, the first one dropped, and one more to tell a half from more.
  static constexpr std::size_t kKeptDigits = 8;
  static constexpr std::size_t kLongestShown = 32;

  void Step(char c);
  void TakeDigits(std::string_view digits);
  int Significant(std::int64_t index) const;
  [[noreturn]] void RaiseOverflow() const;

  Part part_ = Part::Sign;
  bool negative_ = false;
  // Digits of the mantissa, those before its point, and the position among
  // them of the first one that is not 0 (meaningful once one is kept).
  std::int64_t digits_ = 0;
  std::int64_t integerDigits_ = 0;
  std::int64_t firstSignificant_ = 0;
  std::array<std::uint8_t, kKeptDigits> kept_{};
  std::size_t keptCount_ = 0;
  bool nonZeroAfterKept_ = false;
  bool exponentNegative_ = false;
  std::int64_t exponent_ = 0;
  // The token's first characters, shown in the overflow message.
  std::array<char, kLongestShown> shown_{};
  std::size_t shownCount_ = 0;
  bool longerThanShown_ = false;
};

}  // namespace inkpane
