#include "gfx/draw2d.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/unit/gfx/recording_graphics.hpp"

namespace kbh {
namespace {

class Draw2dTest : public testing::RecordingGraphicsTest {
 protected:
  std::unique_ptr<TextureRecord> Picture(Format format, int width = 40, int height = 20) {
    auto record = std::make_unique<TextureRecord>();
    const Image image{width, height, format, std::vector<uint32_t>(size_t(width) * height)};
    record->texture = UniqueTexture(&device(), device().CreateTexture(image));
    record->width = width;
    record->height = height;
    record->format = format;
    return record;
  }
};

TEST_F(Draw2dTest, NothingIsDrawnForNullOrHiddenRecords) {
  EXPECT_EQ(DrawTexture(graphics, nullptr, 0, 0), 0);
  EXPECT_EQ(DrawTextureScaled(graphics, nullptr, 0, 0, 10, 10), 0);
  auto hidden = Picture(FMT_A8R8G8B8);
  SetTextureBlend(hidden.get(), 255);
  EXPECT_EQ(DrawTexture(graphics, hidden.get(), 0, 0), 0);
  EXPECT_EQ(DrawTextureScaled(graphics, hidden.get(), 0, 0, 10, 10), 0);
  EXPECT_EQ(device().Count(DeviceCallKind::kDrawSprite), 0u);
}

TEST_F(Draw2dTest, PicturesTurnDepthAndMultisamplingOffThroughTheCache) {
  auto picture = Picture(FMT_X8R8G8B8);
  DrawTexture(graphics, picture.get(), 0, 0);
  DrawTexture(graphics, picture.get(), 5, 5);
  EXPECT_EQ(graphics.CachedRenderState(RS_ZENABLE), 0u);
  EXPECT_EQ(graphics.CachedRenderState(RS_MULTISAMPLEANTIALIAS), 0u);
  EXPECT_EQ(device().GetRenderState(RS_ZENABLE), 0u);
  EXPECT_EQ(device().GetRenderState(RS_MULTISAMPLEANTIALIAS), 0u);
  // Sent once, not per picture.
  EXPECT_EQ(device().Count(DeviceCallKind::kSetRenderState), 2u);
}

TEST_F(Draw2dTest, ScaledDrawStretchesTheImageSizeOverTheBox) {
  auto picture = Picture(FMT_X8R8G8B8, 40, 20);
  EXPECT_EQ(DrawTextureScaled(graphics, picture.get(), 100, 50, 80, 10), 1);
  const SpriteDraw& sprite = device().Sprites().back();
  EXPECT_EQ(sprite.position.x, 0.0f);
  EXPECT_FALSE(sprite.alphaBlend);
  const Vec3 corner = TransformCoord(Vec3{40, 20, 0}, sprite.transform);
  EXPECT_FLOAT_EQ(corner.x, 180.0f);
  EXPECT_FLOAT_EQ(corner.y, 60.0f);
  const Vec3 origin = TransformCoord(Vec3{0, 0, 0}, sprite.transform);
  EXPECT_FLOAT_EQ(origin.x, 100.0f);
  EXPECT_FLOAT_EQ(origin.y, 50.0f);
}

TEST_F(Draw2dTest, LineDrawsEachSegmentAtItsWidth) {
  std::unique_ptr<Line> line = CreateLine(graphics);
  ASSERT_NE(line, nullptr);
  line->SetWidth(12.0f);
  const Vec2 bar[2] = {{361.0f, 390.0f}, {597.0f, 390.0f}};
  line->Draw(bar, 2, 0xBEFFFFFF);
  line->Draw(bar, 1, 0xBEFFFFFF);  // one point is no segment
  ASSERT_EQ(device().Lines().size(), 1u);
  EXPECT_EQ(device().Lines()[0].width, 12.0f);
  EXPECT_EQ(device().Lines()[0].to.x, 597.0f);
  EXPECT_EQ(device().Lines()[0].color, 0xBEFFFFFFu);
  ReleaseLine(line);
  EXPECT_EQ(line, nullptr);
}

}  // namespace
}  // namespace kbh
