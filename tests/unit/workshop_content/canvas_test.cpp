// The 2D painter behind the interface pictures: coverage is exact enough
// for clean edges, holes stay holes, and blending and erasing do what the
// pictures rely on.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/workshop/canvas.hpp"

namespace kbh {
namespace {

TEST(Canvas, EdgesGetFractionalCoverage) {
  Canvas canvas(8, 4);
  // Covers columns 0 and 1 fully, and the left half of column 2.
  canvas.Fill({RectContour(0.0f, 0.0f, 2.5f, 4.0f)}, Rgba{1, 1, 1, 1});
  EXPECT_FLOAT_EQ(canvas.At(0, 1).a, 1.0f);
  EXPECT_FLOAT_EQ(canvas.At(1, 2).a, 1.0f);
  EXPECT_NEAR(canvas.At(2, 1).a, 0.5f, 1e-6f);
  EXPECT_FLOAT_EQ(canvas.At(3, 1).a, 0.0f);
  // A disc's area comes out right within the sampling's resolution.
  Canvas disc(40, 40);
  disc.Fill({EllipseContour(20.0f, 20.0f, 15.0f, 15.0f, 256)}, Rgba{1, 1, 1, 1});
  double area = 0.0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x)
      area += disc.At(x, y).a;
  }
  EXPECT_NEAR(area, 3.14159265 * 225.0, 3.0);
}

TEST(Canvas, ReversedContoursCutHolesAndErasePunchesThrough) {
  Canvas canvas(20, 20);
  canvas.Fill({RectContour(0, 0, 20, 20), Reversed(RectContour(5, 5, 15, 15))}, Rgba{1, 0, 0, 1});
  EXPECT_FLOAT_EQ(canvas.At(2, 2).a, 1.0f);
  EXPECT_FLOAT_EQ(canvas.At(10, 10).a, 0.0f);
  // The same contour twice in the same direction is still covered once.
  Canvas twice(4, 4);
  twice.Fill({RectContour(0, 0, 4, 4), RectContour(0, 0, 4, 4)}, Rgba{1, 1, 1, 0.5f});
  EXPECT_NEAR(twice.At(1, 1).a, 0.5f, 1e-6f);

  canvas.Erase({RectContour(0, 0, 10, 20)});
  EXPECT_FLOAT_EQ(canvas.At(2, 2).a, 0.0f);
  EXPECT_FLOAT_EQ(canvas.At(17, 2).a, 1.0f);
}

TEST(Canvas, BlendsSourceOverAndPacksArgb) {
  Canvas canvas(1, 1, Rgba{0, 0, 1, 1});
  canvas.Blend(0, 0, Rgba{1, 0, 0, 1}, 0.25f);
  const Rgba c = canvas.At(0, 0);
  EXPECT_NEAR(c.r, 0.25f, 1e-6f);
  EXPECT_NEAR(c.b, 0.75f, 1e-6f);
  EXPECT_FLOAT_EQ(c.a, 1.0f);
  // Over a transparent pixel the colour is kept whole and only alpha grows.
  Canvas clear(1, 1);
  clear.Blend(0, 0, Rgba{0.2f, 0.4f, 0.6f, 1}, 0.5f);
  EXPECT_NEAR(clear.At(0, 0).g, 0.4f, 1e-6f);
  EXPECT_NEAR(clear.At(0, 0).a, 0.5f, 1e-6f);

  EXPECT_EQ(ArgbFromRgba({1.0f, 0.5f, 0.0f, 1.0f}), 0xFFFF8000u);
  EXPECT_EQ(ArgbFromRgba({2.0f, -1.0f, 0.0f, 0.0f}), 0x00FF0000u);
  const Image image = canvas.ToImage();
  EXPECT_EQ(image.sourceFormat, FMT_A8R8G8B8);
  EXPECT_EQ(image.texels[0], ArgbFromRgba(c));
}

TEST(Canvas, StrokesHaveTheirWidthAndRoundEnds) {
  Canvas canvas(40, 20);
  canvas.Fill(StrokePolyline({{10, 10}, {30, 10}}, 4.0f), Rgba{1, 1, 1, 1});
  EXPECT_FLOAT_EQ(canvas.At(20, 9).a, 1.0f);
  EXPECT_FLOAT_EQ(canvas.At(20, 11).a, 1.0f);
  EXPECT_FLOAT_EQ(canvas.At(20, 13).a, 0.0f);
  // The round cap reaches past the end point by half the width.
  EXPECT_GT(canvas.At(31, 10).a, 0.9f);
  EXPECT_FLOAT_EQ(canvas.At(33, 10).a, 0.0f);
}

}  // namespace
}  // namespace kbh
