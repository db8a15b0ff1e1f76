// Each screen's first look against a reference picture: the frame, the tabs
// and labels, the lists, text boxes and panels, the hall behind them. One
// program session visits the screens in tab order (Account has no screen).
//
// What is compared: every pixel outside the masks, with a tolerance of
// kLevels (8) per channel and at most kMostDiffering (100) pixels beyond it.
// The references come from Mesa's software renderer, which rounds the same
// way run after run; another version of it may round a blend or a filtered
// texel a few levels differently (hence the tolerance) and put a few dozen
// edge pixels of the hall's geometry on the other side of an edge (hence the
// count). A wrong, missing or shifted word changes well over a hundred
// pixels, a missing picture thousands.
//
// KBH_UPDATE_REFERENCES=1 writes the pictures seen as the new references.
// Look at each before committing it.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/image/image_codec.hpp"
#include "tests/e2e/support/journey_session.hpp"
#include "tests/e2e/support/reference_picture.hpp"
#include "tests/support/skip.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;
using testing::Region;

constexpr int kLevels = 8;
constexpr int kMostDiffering = 100;

// The statistics line: frame rate and vertex count at the top left.
constexpr Region kStatistics{12, 12, 420, 34};
// The pointer, parked in the bottom-right corner where at most a few of its
// pixels stay on the screen.
constexpr int kParkX = 1024;
constexpr int kParkY = 768;
constexpr Region kParkedPointer{1008, 756, 1024, 768};
// The moped turning on its stand, with its reflection in the floor.
constexpr Region kTurningMoped{260, 100, 770, 515};
// The about text's second line, the program's version, which changes with
// every release.
constexpr Region kVersionLine{270, 593, 545, 608};

struct ScreenLook {
  const char* name;  // also the reference's file name
  // The tab's top-left corner and its lit picture; no picture: the screen
  // the program starts on.
  int tabX;
  int tabY;
  const char* litTab;
  std::vector<Region> moving;
};

const std::vector<ScreenLook>& Screens() {
  static const std::vector<ScreenLook> screens{
      {"tuneup", 150, 520, nullptr, {kTurningMoped}},
      {"spray", 270, 520, "gui_menu_bSpray_active.dds", {}},
      {"seller", 415, 520, "gui_menu_bSeller_active.dds", {}},
      {"options", 70, 720, "gui_menu_bOptions_active.dds", {}},
      {"help", 110, 740, "gui_menu_bHelp_active.dds", {}},
      {"info", 160, 740, "gui_menu_bInfo_active.dds", {kVersionLine}},
  };
  return screens;
}

std::vector<Region> MasksOf(const ScreenLook& screen) {
  std::vector<Region> masks{kStatistics, kParkedPointer};
  masks.insert(masks.end(), screen.moving.begin(), screen.moving.end());
  return masks;
}

void WritePng(const fs::path& path, const Image& image) {
  fs::create_directories(path.parent_path());
  const std::vector<uint8_t> bytes = EncodePng(image);
  testing::WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

class ScreenReferenceE2eTest : public testing::JourneySession {
 protected:
  // Screenshots until two in a row agree outside the masks: whatever the
  // switch started (a fade, a list filling) has finished.
  Image SettledScreenshot(const std::vector<Region>& masks) {
    Image previous;
    return ScreenshotShowing([&](const Image& shot) {
      const bool still = previous.width != 0 &&
                         testing::CountDifferentOutside(shot, previous, masks, kLevels) == 0;
      previous = shot;
      return still ? "" : "the screen at rest; ";
    });
  }

  void CompareWithReference(const ScreenLook& screen, const Image& shot) {
    const std::vector<Region> masks = MasksOf(screen);
    const Image stored = testing::PaintedOver(shot, masks);
    const fs::path reference = fs::path(KBH_REFERENCE_DIR) / (std::string(screen.name) + ".png");
    if (testing::EnvironmentFlagSet("KBH_UPDATE_REFERENCES")) {
      WritePng(reference, stored);
      std::cout << "renewed " << reference.string() << ": look at it before committing it\n";
      return;
    }
    const fs::path output = fs::path(KBH_E2E_OUTPUT_DIR);
    const fs::path seen = output / (std::string(screen.name) + ".png");
    const fs::path difference = output / (std::string(screen.name) + "_difference.png");
    if (!fs::exists(reference)) {
      WritePng(seen, stored);
      ADD_FAILURE() << "no reference " << reference.string() << "; the screen as seen is in "
                    << seen.string() << " (KBH_UPDATE_REFERENCES=1 renews)";
      return;
    }
    const Image expected = testing::DecodeFile(reference);
    const int differing = testing::CountDifferentOutside(shot, expected, masks, kLevels);
    if (differing <= kMostDiffering) return;
    WritePng(seen, stored);
    WritePng(difference, testing::DifferencePicture(shot, expected, masks, kLevels));
    ADD_FAILURE() << differing << " pixels differ from " << reference.string() << " by more than "
                  << kLevels << " levels (at most " << kMostDiffering
                  << " may); the screen as seen: " << seen.string()
                  << ", the differences in red: " << difference.string();
  }
};

TEST_F(ScreenReferenceE2eTest, EveryScreenFirstLooksAsItsReference) {
  StartAndWaitUntilRunning();
  const std::string renderer = testing::RendererNamedIn(Log());
  if (renderer.find("llvmpipe") == std::string::npos) {
    ADD_FAILURE() << "refusing to compare: the references were made with Mesa's software "
                     "renderer (llvmpipe), and this run's log names the renderer \""
                  << renderer << "\"";
    Quit();
    return;
  }
  for (const ScreenLook& screen : Screens()) {
    SCOPED_TRACE(screen.name);
    if (screen.litTab != nullptr) ClickTab(screen.tabX, screen.tabY, screen.litTab);
    PointAt(kParkX, kParkY);
    CompareWithReference(screen, SettledScreenshot(MasksOf(screen)));
  }
  Quit();
}

// The comparison itself, on small pictures worked out by hand.
Image Uniform(int width, int height, uint32_t colour) {
  Image image;
  image.width = width;
  image.height = height;
  image.texels.assign(size_t(width) * height, colour);
  return image;
}

TEST(ReferencePictureTest, CountsOnlyUnmaskedPixelsBeyondTheTolerance) {
  const Image reference = Uniform(4, 2, 0xFF808080u);
  struct Case {
    const char* what;
    uint32_t changedTo;
    int x;
    int y;
    int expected;
  };
  const Case cases[] = {
      {"equal", 0xFF808080u, 0, 0, 0},
      {"8 levels in red: within", 0xFF888080u, 0, 0, 0},
      {"9 levels in blue: beyond", 0xFF808077u, 0, 0, 1},
      {"9 levels in green, but masked", 0xFF808980u, 3, 1, 0},
      {"alpha does not count", 0x00808080u, 1, 0, 0},
  };
  const std::vector<Region> masks{{3, 1, 4, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Image shot = reference;
    shot.texels[size_t(c.y) * 4 + c.x] = c.changedTo;
    EXPECT_EQ(testing::CountDifferentOutside(shot, reference, masks, 8), c.expected);
  }
  // Another size is a different picture altogether.
  EXPECT_EQ(testing::CountDifferentOutside(Uniform(2, 2, 0xFF808080u), reference, masks, 8), 8);
}

TEST(ReferencePictureTest, StoredPicturesAndDifferencesShowWhatWasCompared) {
  const Image reference = Uniform(3, 1, 0xFF906030u);
  Image shot = reference;
  shot.texels[1] = 0xFF000000u;
  const std::vector<Region> masks{{2, 0, 3, 1}};
  const Image stored = testing::PaintedOver(shot, masks);
  EXPECT_EQ(stored.texels, (std::vector<uint32_t>{0xFF906030u, 0xFF000000u, 0xFFFF00FFu}));
  const Image difference = testing::DifferencePicture(shot, reference, masks, 8);
  // Unchanged: the reference at a third (0x90 / 3 = 0x30, 0x60 / 3 = 0x20,
  // 0x30 / 3 = 0x10); changed: red; masked: dark blue.
  EXPECT_EQ(difference.texels, (std::vector<uint32_t>{0xFF302010u, 0xFFFF0000u, 0xFF000040u}));
}

TEST(ReferencePictureTest, ReadsTheRendererOffTheLog) {
  EXPECT_EQ(
      testing::RendererNamedIn(".initialising DirectX 9.0\n gfx.device   D3DCreate - success\n"
                               "   adapter: llvmpipe (LLVM 15.0.6, 256 bits)\n"
                               "   driver: 4.5 Mesa 22.3.6\n"),
      "llvmpipe (LLVM 15.0.6, 256 bits)");
  EXPECT_EQ(testing::RendererNamedIn(".creating application window\n"), "");
}

}  // namespace
}  // namespace kbh
