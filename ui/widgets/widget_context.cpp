#include "ui/widgets/widget_context.hpp"

namespace kbh {

namespace {

// Far enough outside the back buffer that no widget can lie under it, near
// enough that widget arithmetic on it cannot overflow.
constexpr int32_t kNowhere = -1000000;

}  // namespace

void SetMouse(WidgetContext& context, const MouseState* mouse) {
  context.mouse = mouse;
}

MouseState PointerOf(const WidgetContext& context) {
  if (context.mouse == nullptr) return MouseState{kNowhere, kNowhere, 0};
  return *context.mouse;
}

uint32_t NowOf(const WidgetContext& context) {
  return context.clock ? context.clock() : 0;
}

}  // namespace kbh
