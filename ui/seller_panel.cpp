#include "ui/seller_panel.hpp"

#include "gfx/draw2d.hpp"
#include "ui/texts.hpp"

namespace kbh {

namespace {

constexpr int kInfoFontHeight = 13;
constexpr int kInfoFontWeight = 600;
constexpr const char* kInfoFontFace = "Verdana";
constexpr uint32_t kInfoTextColour = 0xFFFAFAFA;
constexpr int kSpareTextureWidth = 235;
constexpr int kSpareTextureHeight = 122;

}  // namespace

void SetUpTextBox(TextBox& box, GraphicsDevice& graphics, const ProgramDir& programDir,
                  FontRecord* font, layout::Rect place, const char* text) {
  const char* dir = programDir.path.c_str();
  box.SetSize(graphics, place.width, place.height);
  box.SetFont(font);
  box.SetPosition(place.x, place.y);
  PathBuffer normal;
  PathBuffer highlight;
  box.LoadUpArrow(graphics, highlight.Format("%s/gfx/gui/gui_textbox_arrowup_hover.dds", dir),
                  normal.Format("%s/gfx/gui/gui_textbox_arrowup.dds", dir));
  box.LoadDownArrow(graphics, highlight.Format("%s/gfx/gui/gui_textbox_arrowdown_hover.dds", dir),
                    normal.Format("%s/gfx/gui/gui_textbox_arrowdown.dds", dir));
  box.LoadTrack(graphics, normal.Format("%s\\gfx\\gui\\gui_textbox_mid.dds", dir));
  box.SetText(graphics, text);
}

bool InitInfoScreen(InfoScreen& screen, GraphicsDevice& graphics, const ProgramDir& programDir) {
  Device* device = graphics.GetDevice();
  if (device == nullptr) return false;
  screen.infoFont =
      CreateTextFont(*device, kInfoFontHeight, kInfoFontWeight, nullptr, kInfoFontFace);

  SetUpTextBox(screen.infoBox, graphics, programDir, screen.infoFont.get(),
               layout::kSellerDescription, kSellerIntroText);

  ReleaseTexture(screen.spareTexture);
  screen.spareTexture = CreateRenderTexture(graphics, kSpareTextureWidth, kSpareTextureHeight);
  // Without the font the panel could show no text at all: stop as start-up
  // stops for the program's other fonts.
  return screen.infoFont != nullptr && screen.spareTexture != nullptr;
}

void ReleaseInfoScreen(InfoScreen& screen, GraphicsDevice& graphics) {
  screen.infoBox.Release();
  screen.infoBox.font = nullptr;
  if (Device* device = graphics.GetDevice(); device != nullptr) {
    ReleaseTextFont(*device, screen.infoFont);
  }
  ReleaseTexture(screen.spareTexture);
}

void SelectSeller(InfoScreen& screen, GraphicsDevice& graphics, const PartModel* part,
                  const CatalogueNode* item) {
  screen.info = item != nullptr ? item->record.get() : nullptr;
  if (screen.info != nullptr) screen.infoBox.SetText(graphics, screen.info->text4.c_str());
  screen.part = part;
}

void UpdateInfoBox(InfoScreen& screen, WidgetContext& context, GraphicsDevice& graphics) {
  screen.infoBox.Update(context, graphics);
}

layout::Rect FitLogo(int width, int height) {
  const int64_t fitWidth = layout::kSellerLogoFitWidth;
  const int64_t fitHeight = layout::kSellerLogoFitHeight;
  int64_t w = width;
  int64_t h = height;
  if (w > fitWidth) {
    h = h * fitWidth / w;
    w = fitWidth;
  }
  if (h > fitHeight) {
    w = w * fitHeight / h;
    h = fitHeight;
  }
  const layout::Rect box = layout::kSellerLogoBox;
  // Centred in the box, which is two pixels taller than the fitting height.
  return {box.x + static_cast<int>((box.width - w) / 2),
          box.y + static_cast<int>((box.height - h) / 2), static_cast<int>(w), static_cast<int>(h)};
}

void DrawSellerPanel(const InfoScreen& screen, GraphicsDevice& graphics, const LogoList& logos) {
  const PartRecord* info = screen.info;
  Device* device = graphics.GetDevice();
  if (info == nullptr || device == nullptr) return;
  FontRecord* font = screen.infoFont.get();
  if (!info->text1.empty()) {
    DrawTextAt(*device, font, layout::kSellerTitle.x, layout::kSellerTitle.y, info->text1,
               kInfoTextColour);
  }
  // The picture goes under the description box: the box's up arrow lies on
  // the picture's corner and must stay visible, or a description scrolled
  // down (the offset outlives a change of part) could not be taken back.
  if (screen.part != nullptr && screen.part->image != nullptr) {
    const layout::Rect at = layout::kSellerPartPicture;
    DrawTextureScaled(graphics, screen.part->image.get(), at.x, at.y, at.width, at.height);
  }
  if (!info->text4.empty()) screen.infoBox.Draw(graphics);
  if (!info->text2.empty()) {
    DrawTextAt(*device, font, layout::kSellerSecondLine.x, layout::kSellerSecondLine.y, info->text2,
               kInfoTextColour);
  }
  if (!info->text5.empty()) {
    if (const TextureRecord* logo = FindLogo(logos, info->text5); logo != nullptr) {
      const layout::Rect at = FitLogo(logo->width, logo->height);
      DrawTextureScaled(graphics, logo, at.x, at.y, at.width, at.height);
    }
  }
}

}  // namespace kbh
