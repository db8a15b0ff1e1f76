#include "screens/text_screens.hpp"

namespace kbh {

void UpdateHelp(ScreenContext& context) {
  context.helpBox->Update(*context.widgets, *context.graphics);
}

void DrawHelp2d(ScreenContext& context) {
  context.helpBox->Draw(*context.graphics);
}

void UpdateInfo(ScreenContext& context) {
  context.aboutBox->Update(*context.widgets, *context.graphics);
}

void DrawInfo2d(ScreenContext& context) {
  context.aboutBox->Draw(*context.graphics);
}

}  // namespace kbh
