// The menu bar: the frame round the screen, the panel behind its lower part,
// the seven screen tabs with each screen's label picture, the quit button and
// the three workshop buttons (build in and remove on TuneUp, spray on Spray).
//
// It only reports: which tab is active and whether that changed, and the
// buttons' bits. Switching screens and acting on the workshop buttons belong
// to the screen logic, which reads and clears menuChanged, reads screenIndex
// and the quit button's clicked bit, and enables, disables and selects the
// workshop buttons.
//
// Its pictures are drawn over a base panel that already shows every caption
// in its idle look: a tab is drawn only while hovered or active, the quit
// button only while hovered, a workshop button only while hovered or
// selected. A tab's normal picture is therefore never seen; it serves as the
// tab's hit mask.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/error_log.hpp"
#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"
#include "ui/screen_positions.hpp"
#include "ui/widgets/button.hpp"
#include "ui/widgets/widget_context.hpp"

namespace kbh {

struct MenuBar {
  // Tab indexes, which are the screens' numbers.
  static constexpr int32_t kTuneUp = 0;
  static constexpr int32_t kSpray = 1;
  static constexpr int32_t kSeller = 2;
  static constexpr int32_t kOptions = 3;
  static constexpr int32_t kHelp = 4;
  // Has no screen behind it: disabled for the whole run.
  static constexpr int32_t kAccount = 5;
  static constexpr int32_t kInfo = 6;

  // 1 when the active tab changed since the screen logic last cleared it.
  uint8_t menuChanged = 0;
  std::unique_ptr<TextureRecord> borderLeft;
  std::unique_ptr<TextureRecord> borderTop;
  std::unique_ptr<TextureRecord> borderRight;
  std::unique_ptr<TextureRecord> borderBottom;
  std::unique_ptr<TextureRecord> base;
  // Per tab, drawn while the tab is active; the Account tab has none.
  std::array<std::unique_ptr<TextureRecord>, layout::kTabCount> labelImages;
  std::array<layout::Point, layout::kTabCount> labelPositions{};
  std::array<Button, layout::kTabCount> tabs;
  // The active tab; -1 before the first SetActiveTab.
  int32_t screenIndex = -1;
  Button turnOff;
  Button buildIn;
  Button remove;
  Button spray;

  // Loads every picture from "<programDir>/gfx/gui/" and places every
  // button. A file that does not load leaves its slot empty and loading goes
  // on, so it always returns true. Sets menuChanged, so the first frame
  // prepares whatever screen is active.
  bool Load(GraphicsDevice& graphics, const ProgramDir& programDir);
  // Once per frame, before the screen logic looks at the bar. A click on a
  // tab other than the active one makes it active and sets menuChanged. The
  // workshop buttons are updated only while their screen is active; their
  // bits otherwise keep the values of their last update.
  void Update(const WidgetContext& context);
  void Draw(GraphicsDevice& graphics) const;
  // Makes index the active tab unless it is already; indexes outside the
  // tabs are ignored.
  void SetActiveTab(int32_t index);
  // The blend byte of every label picture that loaded.
  void SetLabelBlend(uint8_t level);
  void Release();
};

}  // namespace kbh
