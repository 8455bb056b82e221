#include "decoder/decoding_steps.h"

#include "decoder/read_pbm_token.h"
#include "decoder/token_number.h"
#include "platform/file_slots.h"
#include "platform/platform_hooks.h"

namespace inkpane {

bool ReadTokenSkippingComments(std::string& token) {
  bool goesOn = false;
  do {
    goesOn = ReadPbmToken(token);
  } while (!token.empty() && token.front() == '#');
  return goesOn;
}

[[gnu::noinline]] std::int16_t NumberOfLongToken(std::string& token) {
  TokenNumber number;
  number.Take(token);
  for (bool goesOn = true; goesOn;) {
    goesOn = ReadPbmTokenPiece(token);
    number.Take(token);
  }
  return number.Integer();
}

void RefreshAndLetEventsRun(DrawingTarget& target) {
  target.Refresh();
  DoEvents();
  FileSlotAt(kImageFileSlot).RestartPace();
}

}  // namespace inkpane
