// Scrolling text panels (Help, Info, the seller's description): a long text
// word-wrapped into a render texture, with up and down arrow buttons and a
// track on the right when the text is higher than the panel.
//
// The text is laid out and drawn into the texture only when it is set and on
// each scroll step; every frame draws just that one texture, which keeps a
// 100 KB text as cheap as a short one.
//
// Set-up order: SetSize, SetFont, SetPosition, LoadUpArrow, LoadDownArrow,
// LoadTrack, SetText. The arrows are placed from size and position.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/graphics_device.hpp"
#include "gfx/text.hpp"
#include "gfx/texture.hpp"
#include "ui/widgets/button.hpp"
#include "ui/widgets/widget_context.hpp"

namespace kbh {

struct TextBox {
  // Not owned: the caller keeps the text alive while it is shown.
  const char* text = nullptr;
  // Not owned either: the text boxes share the program's text-box font.
  FontRecord* font = nullptr;
  // width x height, A8R8G8B8: what is drawn every frame.
  std::unique_ptr<TextureRecord> texture;
  std::unique_ptr<TextureRecord> trackImage;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  // The wrapped text's height; 0 without font or text.
  int32_t textHeight = 0;
  // Where the text's top lies in the texture: 0 or negative.
  int32_t scroll = 0;
  Button upButton;
  Button downButton;

  // Makes a new render texture of this size in place of the old one.
  void SetSize(GraphicsDevice& graphics, int32_t boxWidth, int32_t boxHeight);
  // Measures the text again with the new font.
  void SetFont(FontRecord* textFont);
  void SetPosition(int32_t left, int32_t top);
  // Each loads both pictures of its arrow, places it on the panel's right
  // edge (the up arrow at the top, the down arrow at the bottom) and enables
  // it. True when the normal picture, the arrow's hit mask, loaded.
  bool LoadUpArrow(GraphicsDevice& graphics, const char* highlightPath, const char* normalPath);
  bool LoadDownArrow(GraphicsDevice& graphics, const char* highlightPath, const char* normalPath);
  bool LoadTrack(GraphicsDevice& graphics, const char* path);
  // Measures and renders the new text; the scroll offset stays, so a text
  // set again in place keeps its position.
  void SetText(GraphicsDevice& graphics, const char* newText);

  // One step of lineHeight + 1 pixels each, then renders. Up stops at 0;
  // down stops at the first step that shows the end of the text.
  void ScrollUp(GraphicsDevice& graphics);
  void ScrollDown(GraphicsDevice& graphics);

  // A click on an arrow steps at once; holding it steps once every 100 ms
  // plus a frame.
  void Update(WidgetContext& context, GraphicsDevice& graphics);
  void Draw(GraphicsDevice& graphics) const;

  // The texture, the track and the arrows' pictures; not the font.
  void Release();

  // The width the text is wrapped at: the panel less the arrow column.
  int32_t WrapWidth() const { return width - downButton.width; }
};

}  // namespace kbh
