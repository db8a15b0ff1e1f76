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
    const Image picture{260, 80, FMT_X8R8G8B8, std::vector<uint32_t>(260 * 80, 0xFF808080)};
    const std::vector<uint8_t> bytes = EncodeDds(picture, FMT_X8R8G8B8);
    testing::WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
    screen.pause = [this](uint32_t ms) { pauses.push_back(ms); };
  }

  const std::string path = log.Dir() / "load.dds";
  LoadingScreen screen;
  std::vector<uint32_t> pauses;
};

TEST_F(LoadingScreenTest, AFrameShowsThePictureTheFrameLineAndTheBar) {
  ASSERT_TRUE(StatusScreenLoad(screen, graphics, path.c_str()));
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

  // The white frame first, then the full bar inside it.
  const RecordedLine expected[] = {{{361, 390}, {597, 390}, 12, 0xBEFFFFFF},
                                   {{362, 390}, {596, 390}, 10, 0xFF1B5184}};
  ASSERT_EQ(device().Lines().size(), 2u);
  for (int i = 0; i < 2; ++i) {
    const RecordedLine& line = device().Lines()[i];
    EXPECT_EQ(line.from.x, expected[i].from.x);
    EXPECT_NEAR(line.to.x, expected[i].to.x, 1e-4f);
    EXPECT_EQ(line.from.y, 390.0f);
    EXPECT_EQ(line.to.y, 390.0f);
    EXPECT_EQ(line.width, expected[i].width);
    EXPECT_EQ(line.color, expected[i].color);
  }
}

TEST_F(LoadingScreenTest, PausesOnlyAtTheFirstAndLastValueAndKeepsTheBarInItsFrame) {
  ASSERT_TRUE(StatusScreenLoad(screen, graphics, path.c_str()));
  for (uint16_t percent : {0, 20, 99, 100, 250})
    StatusScreenProgress(screen, graphics, percent);
  EXPECT_EQ(pauses, (std::vector<uint32_t>{500, 500, 500}));
  EXPECT_EQ(device().Lines().back().to.x, device().Lines()[7].to.x) << "250 draws as 100";
}

TEST_F(LoadingScreenTest, AMissingPictureHoldsNothingAndReleasingTwiceIsHarmless) {
  EXPECT_FALSE(StatusScreenLoad(screen, graphics, (log.Dir() / "absent.dds").c_str()));
  EXPECT_EQ(screen.image, nullptr);
  EXPECT_EQ(screen.line, nullptr);

  ASSERT_TRUE(StatusScreenLoad(screen, graphics, path.c_str()));
  EXPECT_EQ(device().LiveTextures(), 1u);
  StatusScreenRelease(screen);
  StatusScreenRelease(screen);
  EXPECT_EQ(device().LiveTextures(), 0u);
  EXPECT_EQ(screen.line, nullptr);
}

}  // namespace
}  // namespace kbh
