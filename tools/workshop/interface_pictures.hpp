// Pictures the interface shows or reads besides the scene: the colour
// palette the paint screen picks from, the frame round its preview, the
// loading screen, the seller logos and the textures of a few parts. Sizes
// follow the fixed places the interface draws them at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/image/image.hpp"
#include "tools/workshop/lettering.hpp"
#include "ui/screen_positions.hpp"

namespace kbh {

// 100 x 60: hues across, from light at the top to dark at the bottom, and a
// grey ramp on the right. Opaque: a picked texel's alpha becomes the paint's.
Image MakePalette();

// 480 x 310, drawn at (510, 12) round the 450 x 260 preview at (525, 46):
// a metal bezel whose window at (15, 34) is fully transparent.
constexpr int kModelFrameWindowX = 15;
constexpr int kModelFrameWindowY = 34;
Image MakeModelFrame(const Lettering& lettering);

// 260 x 124, drawn at (382, 300); the progress bar runs across it at row 90
// from column -21 to 215, so the picture leaves a groove there.
constexpr int kLoadingBarRow = static_cast<int>(layout::kProgressBarY) - layout::kLoadingPicture.y;
Image MakeLoadingImage(const Lettering& lettering);

struct SellerLogo {
  std::string name;  // the file name without ".dds"; the catalogue's logo name
  // Mostly 190 x 66, the box the seller screen fits logos into; one twice
  // as wide and one twice as high show the fitting at work.
  Image image;
};
std::vector<SellerLogo> MakeSellerLogos(const Lettering& lettering);

// Small textures some parts carry (.khx): any picture format will do, so
// they come as DDS, PNG and BMP.
enum class TextureFormat { kDds, kPng, kBmp };
struct PartTexture {
  uint32_t fileNumber;  // the low 24 bits of the part's id, which name its files
  TextureFormat format;
  Image image;
};
std::vector<PartTexture> MakePartTextures();

}  // namespace kbh
