// The seven screens behind the menu bar's tabs, as one family with the same
// four verbs: prepare (when the screen becomes active), update (every frame,
// after the input is read), and the two drawing phases of a frame, 3D after
// the background and 2D after the menu bar. The main loop asks the active
// screen and never tests screen numbers.
#pragma once

#include <cstdint>
#include <functional>

#include "catalogue/data_store.hpp"
#include "core/error_log.hpp"
#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"
#include "input/input.hpp"
#include "platform/gpu/d3d_types.hpp"
#include "scene/animation.hpp"
#include "scene/preview_animation.hpp"
#include "ui/colour_selector.hpp"
#include "ui/cursor.hpp"
#include "ui/logo_list.hpp"
#include "ui/menu_bar.hpp"
#include "ui/seller_panel.hpp"
#include "ui/widgets/message_line.hpp"
#include "ui/widgets/scroll_box.hpp"
#include "ui/widgets/text_box.hpp"
#include "ui/widgets/widget_context.hpp"
#include "workshop/installed_parts.hpp"

namespace kbh {

// Numbered as the menu bar's tabs.
enum class ScreenId : int32_t {
  kTuneUp = 0,
  kSpray = 1,
  kSeller = 2,
  kOptions = 3,
  kHelp = 4,
  kAccount = 5,
  kInfo = 6,
};
constexpr int32_t kScreenCount = 7;

// What the TuneUp screen keeps across frames and screen changes.
struct TuneUpState {
  // How the moped is drawn: FILL_SOLID or FILL_WIREFRAME (the W key).
  uint32_t fillMode = FILL_SOLID;
  // The part the last build-in click asked for; kept until the next click.
  ItemId pendingId = 0;
  // Fades an exchange's occupant out, then the new part in.
  Animation installFader;
  // Fades a part out before it is removed.
  Animation removeFader;
};

// What the Spray screen keeps across frames.
struct SprayState {
  // A part chosen while the camera was still flying to the last one; its
  // subsets are listed and its flight starts once the flight has ended.
  bool partChangePending = false;
};

// Everything the screens act on. The program owns the subsystems and fills
// this once at start-up; the screens' own state lives here too.
struct ScreenContext {
  GraphicsDevice* graphics = nullptr;
  const ProgramDir* programDir = nullptr;
  // Read-only after start-up; the walks move its cursors.
  DataStore* catalogue = nullptr;
  const Input* input = nullptr;
  InstalledPartList* installedParts = nullptr;
  const CubeTextureSlots* cubeTextures = nullptr;
  // The program's millisecond clock.
  std::function<uint32_t()> clock;
  WidgetContext* widgets = nullptr;
  MenuBar* menuBar = nullptr;
  Cursor* cursor = nullptr;
  ScrollBox* categoryList = nullptr;
  ScrollBox* subcategoryList = nullptr;
  ScrollBox* partList = nullptr;
  ScrollBox* subsetList = nullptr;
  MessageLine* messageLine = nullptr;
  PreviewAnimation* preview = nullptr;
  ColorSelector* colourSelector = nullptr;
  InfoScreen* infoScreen = nullptr;
  const LogoList* logos = nullptr;
  TextBox* helpBox = nullptr;
  TextBox* aboutBox = nullptr;
  // The frame round the Spray screen's preview.
  const std::unique_ptr<TextureRecord>* modelFrame = nullptr;

  TuneUpState tuneUp;
  SprayState spray;
};

struct Screen {
  void (*prepare)(ScreenContext& context);
  void (*update)(ScreenContext& context);
  void (*draw3d)(ScreenContext& context);
  void (*draw2d)(ScreenContext& context);
};

// The screen of a tab; one that shows nothing for an index outside 0 to 6.
const Screen& ScreenAt(int32_t index);

// For screens that have nothing to do in a phase.
void NothingToDo(ScreenContext& context);

}  // namespace kbh
