// The loading screen on the recording device: what one progress frame draws,
// and when it pauses.
#include "ui/loading_screen.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "platform/image/image_codec.hpp"
#include "tests/unit/gfx/recording_graphics.hpp"

namespace kbh {
namespace {

class LoadingScreenTest : public testing::RecordingGraphicsTest {
 protected:
  void SetUp() override {
    RecordingGraphicsTest::SetUp();
    Image picture;
    picture.width = 260;
    picture.height = 80;
    picture.texels.assign(260 * 80, 0xFF808080);
    const std::vector<uint8_t> bytes = EncodeDds(picture, FMT_X8R8G8B8);
    testing::WriteFileBytes(log.Dir().Path() / "load.dds", std::string(bytes.begin(), bytes.end()));
    screen.pause = [this](uint32_t ms) { pauses.push_back(ms); };
  }
  std::string PicturePath() const { return log.Dir() / "load.dds"; }

  LoadingScreen screen;
  std::vector<uint32_t> pauses;
};

TEST_F(LoadingScreenTest, AFrameShowsThePictureTheFrameLineAndTheBar) {
  ASSERT_TRUE(StatusScreenLoad(screen, graphics, PicturePath().c_str()));
  StatusScreenProgress(screen, graphics, 100);

  std::vector<DeviceCallKind> order;
  for (const DeviceCall& call : device().Calls()) {
    if (call.kind != DeviceCallKind::SetRenderState && call.kind != DeviceCallKind::CreateTexture)
      order.push_back(call.kind);
  }
  EXPECT_EQ(order,
            (std::vector<DeviceCallKind>{DeviceCallKind::Clear, DeviceCallKind::BeginScene,
                                         DeviceCallKind::DrawSprite, DeviceCallKind::DrawLine,
                                         DeviceCallKind::DrawLine, DeviceCallKind::EndScene,
                                         DeviceCallKind::Present}));
  ASSERT_EQ(device().Sprites().size(), 1u);
  EXPECT_EQ(device().Sprites()[0].position.x, 382.0f);
  EXPECT_EQ(device().Sprites()[0].position.y, 300.0f);

  const std::vector<RecordedLine>& lines = device().Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].from.x, 361.0f);
  EXPECT_EQ(lines[0].to.x, 597.0f);
  EXPECT_EQ(lines[0].width, 12.0f);
  EXPECT_EQ(lines[0].color, 0xBEFFFFFFu);
  EXPECT_EQ(lines[1].from.x, 362.0f);
  EXPECT_NEAR(lines[1].to.x, 596.0f, 1e-4f);
  EXPECT_EQ(lines[1].width, 10.0f);
  EXPECT_EQ(lines[1].color, 0xFF1B5184u);
  for (const RecordedLine& line : lines) {
    EXPECT_EQ(line.from.y, 390.0f);
    EXPECT_EQ(line.to.y, 390.0f);
  }
}

TEST_F(LoadingScreenTest, PausesOnlyAtTheFirstAndLastValueAndKeepsTheBarInItsFrame) {
  ASSERT_TRUE(StatusScreenLoad(screen, graphics, PicturePath().c_str()));
  for (uint16_t percent : {0, 20, 99, 100, 250})
    StatusScreenProgress(screen, graphics, percent);
  EXPECT_EQ(pauses, (std::vector<uint32_t>{500, 500, 500}));
  EXPECT_EQ(device().Lines().back().to.x, device().Lines()[7].to.x) << "250 draws as 100";
}

TEST_F(LoadingScreenTest, AMissingPictureHoldsNothingAndReleasingTwiceIsHarmless) {
  EXPECT_FALSE(StatusScreenLoad(screen, graphics, (log.Dir() / "absent.dds").c_str()));
  EXPECT_EQ(screen.image, nullptr);
  EXPECT_EQ(screen.line, nullptr);

  ASSERT_TRUE(StatusScreenLoad(screen, graphics, PicturePath().c_str()));
  EXPECT_EQ(device().LiveTextures(), 1u);
  StatusScreenRelease(screen);
  StatusScreenRelease(screen);
  EXPECT_EQ(device().LiveTextures(), 0u);
  EXPECT_EQ(screen.line, nullptr);
}

}  // namespace
}  // namespace kbh
