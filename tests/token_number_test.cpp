#include "decoder/token_number.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/run_time_error.h"

namespace inkpane {
namespace {

TEST(TokenToInteger, ReadsTheLeadingNumber) {
  const struct {
    std::string token;
    std::optional<int> value;  // nullopt: the overflow error
  } cases[] = {
      {"0", 0},
      {"1", 1},
      {"0101", 101},
      {"32767", 32767},
      {"-32768", -32768},
      {"+12", 12},
      {"007", 7},
      {"40000", std::nullopt},
      {"-32769", std::nullopt},
      {"32767.5", std::nullopt},
      {"32767.4", 32767},
      {"-32768.5", -32768},
      {"0.5", 0},
      {"1.5", 2},
      {"2.5", 2},
      {"-0.5", 0},
      {"0.4", 0},
      {"0.6", 1},
      {".5", 0},
      {".51", 1},
      {"5.", 5},
      {"1e3", 1000},
      {"2E+2", 200},
      {"15e-1", 2},
      {"1e5", std::nullopt},
      {"1e-400", 0},
      {"1e99999999999999999999", std::nullopt},
      {"0e99999", 0},
      {"0.000000000000000000000000000001e30", 1},
      {"1" + std::string(29, '0') + "e-26", 1000},
      {"1e", 1},
      {"1e+", 1},
      {"12abc", 12},
      {"12#3", 12},
      {"3.7.2", 4},
      {"", 0},
      {"abc", 0},
      {"#", 0},
      {"-", 0},
      {"+.", 0},
      {"e5", 0},
      {"\xFF", 0},
      {"0.50000000000000001", 1},
      {"2.50000000000000001", 3},
      {"32767.49999999999999999", 32767},
      {"1" + std::string(2'000'000, '0') + "e-2000000", 1},
      {"0." + std::string(2'000'000, '0') + "1e2000001", 1},
      {"1" + std::string(100000, '0'), std::nullopt},
      {"0." + std::string(100000, '0') + "1", 0},
  };
  // A token too long to hold is taken a piece at a time: one character to
  // a piece breaks it at every place there is.
  const auto inPieces = [](std::string_view token) {
    TokenNumber number;
    for (std::size_t at = 0; at < token.size(); ++at) number.Take(token.substr(at, 1));
    return number.Integer();
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.token.substr(0, 40));
    for (const auto read : {+[](std::string_view token) { return TokenToInteger(token); }, +inPieces}) {
      if (c.value) {
        EXPECT_EQ(read(c.token), *c.value);
      } else {
        try {
          read(c.token);
          ADD_FAILURE() << "no overflow";
        } catch (const RunTimeError& error) {
          EXPECT_EQ(error.number(), ErrorNumber::Overflow);
        }
      }
    }
  }
}

TEST(TokenToInteger, OverflowNamesAShortenedNumber) {
  try {
    TokenToInteger(std::string(1000, '9'));
    FAIL() << "no overflow";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Overflow: the number \"" + std::string(32, '9') + "...\" lies outside the range -32768 to 32767.");
  }
}

}  // namespace
}  // namespace inkpane
