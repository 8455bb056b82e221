#include "viewer/window_design.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>

namespace inkpane {
namespace {

// Alt and a letter reach each entry only if no other entry of its menu, or
// of the menu bar, has that letter.
TEST(WindowDesign, EveryEntryHasAnAccessKeyOfItsOwn) {
  std::map<std::string, std::set<char>> keysOfMenu;
  for (const MenuEntry& entry : kMenuEntries) {
    if (IsSeparator(entry)) continue;
    SCOPED_TRACE(std::string(entry.name));
    const std::size_t marker = entry.caption.find('&');
    ASSERT_LT(marker + 1, entry.caption.size());
    EXPECT_EQ(entry.caption.find('&', marker + 1), std::string_view::npos);
    const auto key = static_cast<char>(std::tolower(static_cast<unsigned char>(entry.caption[marker + 1])));
    EXPECT_TRUE(keysOfMenu[std::string(entry.parent)].insert(key).second) << "the key " << key << " is taken";
  }
}

}  // namespace
}  // namespace inkpane
