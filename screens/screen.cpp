#include "screens/screen.hpp"

#include <array>

#include "screens/seller_screen.hpp"
#include "screens/spray_screen.hpp"
#include "screens/text_screens.hpp"
#include "screens/tuneup_screen.hpp"

namespace kbh {

namespace {

// Options and Account have a tab and nothing else: the background, the menu
// bar and the statistics.
constexpr Screen kEmptyScreen{NothingToDo, NothingToDo, NothingToDo, NothingToDo};

constexpr std::array<Screen, kScreenCount> kScreens{{
    kTuneUpScreen,
    kSprayScreen,
    kSellerScreen,
    kEmptyScreen,
    kHelpScreen,
    kEmptyScreen,
    kInfoScreen,
}};

}  // namespace

void NothingToDo(ScreenContext&) {}

const Screen& ScreenAt(int32_t index) {
  if (index < 0 || index >= kScreenCount) return kEmptyScreen;
  return kScreens[static_cast<size_t>(index)];
}

}  // namespace kbh
