// Review pictures of the demo workshop's Spray colour controls, Seller panel
// and Help and Info panels, drawn headless with the program's own objects and
// written to build/<preset>/workshop-preview/ for a person to look at. The
// checks here are the ones the content has to pass: the standard frame's
// description and the help text scroll, the four finishes look different.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalogue/data_store_loader.hpp"
#include "gfx/draw2d.hpp"
#include "platform/gpu/gl_context.hpp"
#include "platform/gpu/gl_system.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/os/os.hpp"
#include "scene/scene_pass.hpp"
#include "tests/gl/gpu/headless.hpp"
#include "tests/support/skip.hpp"
#include "tests/unit/gfx/log_capture.hpp"
#include "ui/colour_selector.hpp"
#include "ui/logo_list.hpp"
#include "ui/menu_bar.hpp"
#include "ui/seller_panel.hpp"
#include "ui/texts.hpp"
#include "workshop/installed_parts.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;

constexpr ItemId kStandardFrame = 0x00010101;

class PanelReviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (CreateHeadlessGlContext() == nullptr) {
      KBH_SKIP_OR_FAIL() << "no headless OpenGL (EGL surfaceless) on this machine";
    }
    startDirectory_ = CurrentDirectory();
    ASSERT_TRUE(graphics.InitGraphicsDevice(CreateHeadlessGlSystem, 1024, 768, 32)) << log.Text();
    Device& device = *graphics.GetDevice();
    mainFont = CreateTextFont(device, 14, 520, nullptr, "Verdana");
    textBoxFont = CreateTextFont(device, 15, 600, nullptr, "Verdana");
    ASSERT_NE(mainFont, nullptr);
    ASSERT_NE(textBoxFont, nullptr);
    background = LoadBmp(graphics, (workshop / "gfx/env/mainBG.dds").c_str());
    ASSERT_NE(background, nullptr) << "no demo workshop in " << workshop;
    cubes.LoadCubeTexture(kEnvironmentMapSlot, (workshop / "gfx/env/envmap.dds").c_str());
    SetupLights(graphics);
    ASSERT_TRUE(menu.Load(graphics, Dir()));
    menu.SetLabelBlend(50);
    SetMouse(context, &mouse);
  }
  void TearDown() override {
    if (!startDirectory_.empty()) ChangeDirectory(startDirectory_);
    menu.Release();
    ReleaseTexture(background);
    cubes.ReleaseCubeTexture(kEnvironmentMapSlot);
    if (graphics.GetDevice() != nullptr) {
      ReleaseTextFont(*graphics.GetDevice(), mainFont);
      ReleaseTextFont(*graphics.GetDevice(), textBoxFont);
    }
  }

  ProgramDir Dir() const { return ProgramDir{workshop.string()}; }

  // The frame's background and the menu bar with tab active.
  void BeginScreen(int32_t tab) {
    menu.SetActiveTab(tab);
    graphics.BeginFrame();
    DrawTexture(graphics, background.get(), 0, 0);
    menu.Draw(graphics);
  }
  Image EndScreen() {
    Image frame = graphics.GetDevice()->ReadRenderTarget();
    graphics.EndFrame();
    return frame;
  }
  static void Save(const std::string& name, const Image& picture) {
    std::error_code ignored;
    fs::create_directories(kPreviewDir, ignored);
    EXPECT_TRUE(WriteWholeFile((fs::path(kPreviewDir) / name).string(), EncodePng(picture)))
        << name;
  }
  static Image Crop(const Image& frame, int x, int y, int width, int height) {
    Image part{width, height, frame.sourceFormat, {}};
    for (int row = y; row < y + height; ++row) {
      const auto first = frame.texels.begin() + row * frame.width + x;
      part.texels.insert(part.texels.end(), first, first + width);
    }
    return part;
  }

  inline static const fs::path workshop = KBH_WORKSHOP_DIR;
  static constexpr const char* kPreviewDir = KBH_PREVIEW_DIR;
  testing::LogCapture log;
  GraphicsDevice graphics{log.Log()};
  CubeTextureSlots cubes{graphics};
  std::unique_ptr<FontRecord> mainFont;
  std::unique_ptr<FontRecord> textBoxFont;
  std::unique_ptr<TextureRecord> background;
  MenuBar menu;
  MouseState mouse{0, 0, 0};
  WidgetContext context;

 private:
  std::string startDirectory_;
};

TEST_F(PanelReviewTest, ColourControlsWithTheBallInEachFinish) {
  ColorSelector selector;
  ASSERT_TRUE(selector.Load(graphics, Dir()));
  selector.font = mainFont.get();
  // A red mixed with the sliders: 70, 8 and 10 %.
  selector.red.value = 70;
  selector.green.value = 8;
  selector.blue.value = 10;
  selector.chosen = SliderColour(70, 8, 10);
  Image sheet{4 * 380, 208, FMT_X8R8G8B8, {}};
  sheet.texels.resize(size_t(sheet.width) * sheet.height);
  for (uint8_t finish = 0; finish < 4; ++finish) {
    selector.finish = finish;
    selector.Update(context);
    BeginScreen(MenuBar::kSpray);
    selector.DrawBall(graphics, cubes);
    selector.Draw(graphics);
    const Image frame = EndScreen();
    Save("colour_ball_" + std::to_string(finish) + ".png", frame);
    const Image controls = Crop(frame, 270, 560, 380, 208);
    for (int row = 0; row < controls.height; ++row) {
      std::copy_n(controls.texels.begin() + row * controls.width, controls.width,
                  sheet.texels.begin() + row * sheet.width + finish * 380);
    }
  }
  Save("colour_balls.png", sheet);
  selector.Release();
}

TEST_F(PanelReviewTest, SellerPanelOfTheStandardFrame) {
  DataStore catalogue;
  ASSERT_TRUE(LoadDataStore((workshop / "data/firstData.khb").c_str(), catalogue));
  InstalledPartList parts(graphics, Dir());
  PartModel* frame = parts.InstallPart(kStandardFrame);
  ASSERT_NE(frame->image, nullptr) << "the demo workshop has a picture of the frame";
  LogoList logos;
  ASSERT_TRUE(LoadLogos(logos, graphics, (workshop / "data/logos").string()));
  InfoScreen screen;
  ASSERT_TRUE(InitInfoScreen(screen, graphics, Dir()));
  SelectSeller(screen, graphics, frame, FindById(catalogue, kStandardFrame));
  ASSERT_NE(screen.info, nullptr);
  ASSERT_NE(FindLogo(logos, screen.info->text5), nullptr) << screen.info->text5;

  BeginScreen(MenuBar::kSeller);
  DrawSellerPanel(screen, graphics, logos);
  Save("seller_panel.png", EndScreen());

  // Several steps of scrolling down to the end of the description.
  const TextBox& box = screen.infoBox;
  const int step = screen.infoFont->lineHeight + 1;
  EXPECT_GE((box.textHeight - box.height + step - 1) / step, 3)
      << "text " << box.textHeight << " high in a box of " << box.height;
  for (int i = 0; i < 4; ++i)
    screen.infoBox.ScrollDown(graphics);
  BeginScreen(MenuBar::kSeller);
  DrawSellerPanel(screen, graphics, logos);
  Save("seller_panel_scrolled.png", EndScreen());

  ReleaseInfoScreen(screen, graphics);
  ReleaseLogos(logos);
}

TEST_F(PanelReviewTest, HelpAndAboutPanels) {
  const struct {
    int32_t tab;
    const char* text;
    const char* name;
  } panels[] = {{MenuBar::kHelp, kHelpText, "help_panel"},
                {MenuBar::kInfo, kAboutText, "about_panel"}};
  for (const auto& panel : panels) {
    SCOPED_TRACE(panel.name);
    TextBox box;
    SetUpTextBox(box, graphics, Dir(), textBoxFont.get(), layout::kTextPanel, panel.text);
    EXPECT_GT(box.textHeight, box.height) << "the panel scrolls";
    BeginScreen(panel.tab);
    box.Draw(graphics);
    Save(std::string(panel.name) + ".png", EndScreen());
    // And scrolled to its end, where the addresses are.
    for (int step = 0; step < 100 && box.scroll > box.height - box.textHeight; ++step)
      box.ScrollDown(graphics);
    BeginScreen(panel.tab);
    box.Draw(graphics);
    Save(std::string(panel.name) + "_end.png", EndScreen());
    box.Release();
  }
}

}  // namespace
}  // namespace kbh
