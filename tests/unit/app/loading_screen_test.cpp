// The loading screen on the recording device: when it pauses, and that no
// value draws the bar out of its frame (the start-up test checks the frames).
#include "ui/loading_screen.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "platform/image/image_codec.hpp"
#include "tests/support/temp_dir.hpp"
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
    testing::WriteFileBytes(dir.Path() / "load.dds", std::string(bytes.begin(), bytes.end()));
    screen.pause = [this](uint32_t ms) { pauses.push_back(ms); };
  }
  std::string PicturePath() const { return dir / "load.dds"; }

  testing::TempDir dir;
  LoadingScreen screen;
  std::vector<uint32_t> pauses;
};

TEST_F(LoadingScreenTest, PausesOnlyAtTheFirstAndLastValueAndKeepsTheBarInItsFrame) {
  ASSERT_TRUE(StatusScreenLoad(screen, graphics, PicturePath().c_str()));
  for (uint16_t percent : {0, 20, 99, 100, 250})
    StatusScreenProgress(screen, graphics, percent);
  EXPECT_EQ(pauses, (std::vector<uint32_t>{500, 500, 500}));
  EXPECT_EQ(device().Lines().back().to.x, device().Lines()[7].to.x) << "250 draws as 100";
}

}  // namespace
}  // namespace kbh
