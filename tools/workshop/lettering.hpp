// Lettering for the workshop's pictures (logos, the loading screen, the
// preview frame): text set with the installed fonts and painted into a
// Canvas. Text is Windows-1252, like every text of the program.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/font/font.hpp"
#include "tools/workshop/canvas.hpp"

namespace kbh {

struct TextStyle {
  std::string face = "DejaVu Sans";
  int cellHeight = 16;
  int weight = 400;
};

class Lettering {
 public:
  // False when a style's face cannot be opened; *error then names it.
  bool Prepare(const TextStyle& style, std::string* error);

  // Width in pixels of one line of text.
  int Width(const TextStyle& style, std::string_view text) const;
  // Draws one line with its top-left corner at (x, y), each glyph's coverage
  // painted with paint (so gradients run through the letters).
  void Draw(Canvas& canvas, const TextStyle& style, std::string_view text, int x, int y,
            const PaintFunction& paint) const;
  void Draw(Canvas& canvas, const TextStyle& style, std::string_view text, int x, int y,
            Rgba colour) const;
  // The same, centred on column centreX.
  void DrawCentred(Canvas& canvas, const TextStyle& style, std::string_view text, int centreX,
                   int y, Rgba colour) const;
  // Word-wrapped in the box from (x, y), width x height, tabs expanded and
  // cut to the box, as the program's text panels lay text out. Returns the
  // height of the whole text.
  int DrawInBox(Canvas& canvas, const TextStyle& style, std::string_view text, int x, int y,
                int width, int height, Rgba colour) const;

 private:
  const Font* Find(const TextStyle& style) const;

  std::map<std::tuple<std::string, int, int>, std::unique_ptr<Font>> fonts_;
};

}  // namespace kbh
