// The demo workshop's screens against reference pictures: the TuneUp view,
// the Spray preview and a part picture, rendered headless by the program's
// own passes. A change anywhere from the mesh reader to the lighting shows up
// here. A failing comparison writes the new picture beside its reference
// (NAME.new.png) so a person can look at both; KBH_UPDATE_REFERENCES=1
// replaces the references after a deliberate change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gpu/gl_context.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/os/os.hpp"
#include "scene/scene_renderer.hpp"
#include "tests/support/skip.hpp"

namespace kbh {
namespace {

const std::filesystem::path kReferenceDir =
    std::filesystem::path(KBH_SOURCE_DIR) / "tests" / "gl" / "reference";

struct Difference {
  double meanLevels = 0.0;         // mean absolute difference per channel, 0..255
  double differingFraction = 0.0;  // pixels with any channel off by more than 24 levels
};

Difference Compare(const Image& a, const Image& b) {
  Difference difference;
  double sum = 0.0;
  size_t differing = 0;
  for (size_t i = 0; i < a.texels.size(); ++i) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const int delta = std::abs(static_cast<int>((a.texels[i] >> shift) & 0xFF) -
                                 static_cast<int>((b.texels[i] >> shift) & 0xFF));
      sum += delta;
      worst = std::max(worst, delta);
    }
    if (worst > 24) ++differing;
  }
  difference.meanLevels = sum / (3.0 * static_cast<double>(a.texels.size()));
  difference.differingFraction =
      static_cast<double>(differing) / static_cast<double>(a.texels.size());
  return difference;
}

bool WritePng(const std::filesystem::path& path, const Image& image) {
  return WriteWholeFile(path.string(), EncodePng(image));
}

// Compares picture with the reference of that name, within what different
// builds of the same software renderer may round differently.
void ExpectMatchesReference(const std::string& name, const Image& picture) {
  ASSERT_FALSE(picture.texels.empty()) << name << ": nothing was rendered";
  const std::filesystem::path reference = kReferenceDir / (name + ".png");
  const std::filesystem::path fresh = kReferenceDir / (name + ".new.png");
  if (std::getenv("KBH_UPDATE_REFERENCES") != nullptr) {
    ASSERT_TRUE(WritePng(reference, picture));
    std::filesystem::remove(fresh);
    return;
  }
  std::vector<uint8_t> bytes;
  Image expected;
  ASSERT_TRUE(ReadWholeFile(reference.string(), &bytes) && DecodeImage(bytes, &expected))
      << "no reference " << reference << " (run with KBH_UPDATE_REFERENCES=1 to make it)";
  ASSERT_EQ(expected.width, picture.width);
  ASSERT_EQ(expected.height, picture.height);
  const Difference difference = Compare(expected, picture);
  const bool matches = difference.meanLevels < 1.5 && difference.differingFraction < 0.005;
  if (matches) {
    std::filesystem::remove(fresh);
  } else {
    WritePng(fresh, picture);
  }
  EXPECT_TRUE(matches) << name << ": mean difference " << difference.meanLevels << " levels, "
                       << difference.differingFraction * 100.0
                       << " % of pixels differ; the new picture is " << fresh;
}

class ScreenRegressionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (CreateHeadlessGlContext() == nullptr) return;
    std::string error;
    scene_ = SceneRenderer::Open(KBH_WORKSHOP_DIR, &error).release();
  }
  static void TearDownTestSuite() {
    delete scene_;
    scene_ = nullptr;
  }
  void SetUp() override {
    if (scene_ == nullptr) KBH_SKIP_OR_FAIL() << "no headless OpenGL or no demo workshop";
    scene_->InstallParts({});
  }

  static SceneRenderer* scene_;
};

SceneRenderer* ScreenRegressionTest::scene_ = nullptr;

TEST_F(ScreenRegressionTest, TuneUpView) {
  ExpectMatchesReference("tuneup", scene_->RenderTuneUpView(0.6f));
}

TEST_F(ScreenRegressionTest, SprayPreview) {
  ExpectMatchesReference("spray_preview", scene_->RenderSprayPreview());
}

TEST_F(ScreenRegressionTest, PartPicture) {
  // The tank: gloss paint, pinstripes and a chrome cap in one picture.
  ExpectMatchesReference("part_tank", scene_->RenderPartPicture(0x00040101, 235, 169, 0xFFD9D6CF));
}

}  // namespace
}  // namespace kbh
