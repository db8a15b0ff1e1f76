// A small 2D painter for the workshop's pictures (palette, frames, loading
// screen, logos): antialiased filled paths with the non-zero rule, painted
// with a colour or a function of the position, composited source-over into
// straight-alpha float pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/image/image.hpp"
#include "platform/math/math.hpp"

namespace kbh {

struct Rgba {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 1.0f;
};

Rgba Mix(Rgba a, Rgba b, float t);
Rgba RgbaFromArgb(uint32_t argb);
Rgba Scaled(Rgba c, float brightness);  // colour times brightness, alpha kept
uint32_t ArgbFromRgba(Rgba c);          // clamped and rounded

// A contour is a closed polygon; a path is one or more contours filled
// together (a letter with its hole, a frame with its window).
using Contour = std::vector<Vec2>;
using Path2 = std::vector<Contour>;

Contour RectContour(float x0, float y0, float x1, float y1);
Contour RoundedRectContour(float x0, float y0, float x1, float y1, float radius);
Contour EllipseContour(float cx, float cy, float rx, float ry, int segments = 96);
// The outline of a polyline drawn with a pen of the given width (round caps
// and joins), as one contour per segment plus one per joint.
Path2 StrokePolyline(const std::vector<Vec2>& points, float width);
// The same contour run the other way: a hole when added to a path.
Contour Reversed(Contour contour);
Contour Translated(Contour contour, float dx, float dy);

using PaintFunction = std::function<Rgba(float x, float y)>;

class Canvas {
 public:
  Canvas(int width, int height, Rgba clear = {0, 0, 0, 0});

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgba At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  void Set(int x, int y, Rgba c) { pixels_[static_cast<size_t>(y) * width_ + x] = c; }

  // Paints every pixel through f (x and y at the pixel's centre), replacing
  // what was there.
  void Paint(const PaintFunction& f);
  void Fill(const Path2& path, Rgba colour);
  void Fill(const Path2& path, const PaintFunction& paint);
  // Punches the path out of the picture: its alpha goes down by the coverage.
  void Erase(const Path2& path);
  // Source-over of c at (x, y) with the given coverage.
  void Blend(int x, int y, Rgba c, float coverage);

  Image ToImage() const;

 private:
  // Coverage of the path per pixel (0..1), with 4 x 4 samples per pixel.
  std::vector<float> Coverage(const Path2& path, int* x0, int* y0, int* x1, int* y1) const;

  int width_;
  int height_;
  std::vector<Rgba> pixels_;
};

}  // namespace kbh
