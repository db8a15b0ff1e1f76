// The Seller screen's panel (the "info screen"): the chosen part's title, a
// second line, its description in a scrolling box, its seller's logo and a
// picture of the part, all from the part's catalogue record.
//
// Which part is chosen is the screen logic's business; it calls SelectSeller
// when the selection of its list changes, and DrawSellerPanel only while
// that list has a selection. The panel keeps what was chosen across screen
// changes.
//
// The description box keeps its scroll offset when a new description is set
// (as every text box does), so a new text appears where the last one was
// scrolled to until the up arrow takes it back.
#pragma once

#include <memory>

#include "catalogue/data_store.hpp"
#include "core/error_log.hpp"
#include "gfx/graphics_device.hpp"
#include "gfx/text.hpp"
#include "gfx/texture.hpp"
#include "ui/logo_list.hpp"
#include "ui/screen_positions.hpp"
#include "ui/widgets/text_box.hpp"
#include "ui/widgets/widget_context.hpp"
#include "workshop/part_mesh.hpp"

namespace kbh {

struct InfoScreen {
  // The chosen part's record, owned by the catalogue; null: nothing shown.
  const PartRecord* info = nullptr;
  // The chosen part in the installed-part list; its picture is shown.
  const PartModel* part = nullptr;
  std::unique_ptr<FontRecord> infoFont;
  TextBox infoBox;
  // A 235 x 122 render texture that nothing draws into or from. It is kept
  // because whether it can be made is what decides that the panel works.
  std::unique_ptr<TextureRecord> spareTexture;
};

// The font (Verdana 13, weight 600), the description box with its skin from
// "<programDir>/gfx/gui/" and the introductory text, and the spare texture.
// False when the font or the spare texture cannot be made.
bool InitInfoScreen(InfoScreen& screen, GraphicsDevice& graphics, const ProgramDir& programDir);
// The font, the box's texture and skin, and the spare texture.
void ReleaseInfoScreen(InfoScreen& screen, GraphicsDevice& graphics);

// Chooses part (may be null) and the record of item (may be null, or have
// none). A record puts its description into the box.
void SelectSeller(InfoScreen& screen, GraphicsDevice& graphics, const PartModel* part,
                  const CatalogueNode* item);
// The description box's arrows.
void UpdateInfoBox(InfoScreen& screen, WidgetContext& context, GraphicsDevice& graphics);
// Title, the part's picture, the description box (whose up arrow lies on
// the picture's corner, so it comes after it), second line and the seller's
// logo fitted into its box; nothing without a record.
void DrawSellerPanel(const InfoScreen& screen, GraphicsDevice& graphics, const LogoList& logos);

// Sets up a scrolling text panel with the program's text-box skin from
// "<programDir>/gfx/gui/", in the order text boxes need: size, font, place,
// arrows, track, text. The description box, and the Help and Info panels
// (kTextPanel, the text-box font, kHelpText or kAboutText) all use it. text
// must outlive the box.
void SetUpTextBox(TextBox& box, GraphicsDevice& graphics, const ProgramDir& programDir,
                  FontRecord* font, layout::Rect place, const char* text);

// Where a logo of width x height pixels is drawn: shrunk, keeping its
// aspect, to fit 190 x 66 (first by width, then by height), never enlarged,
// and centred in the 190 x 68 logo box.
layout::Rect FitLogo(int width, int height);

}  // namespace kbh
