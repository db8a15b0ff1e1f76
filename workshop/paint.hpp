// The paint rule: how a colour and a paint finish turn into the material and
// the factor pair a subset is drawn with. Catalogue paint actions (finishes
// 0 to 6), the Spray screen's paint button and the colour selector's ball
// (finishes 0 to 3) all paint through it.
#pragma once

#include <cstdint>

#include "platform/gpu/d3d_types.hpp"

namespace kbh {

// Per subset: how strongly the environment map shows over the lit colour,
// and how opaque the subset is drawn (it multiplies the diffuse alpha).
struct FactorPair {
  uint8_t reflection = 0;
  uint8_t opacity = 255;
};

enum PaintFinish : uint8_t {
  kFinishMatt = 0,
  kFinishGloss = 1,
  kFinishChrome = 2,
  kFinishTintedChrome = 3,
  // 4 to 6 have no name; only catalogue paint actions use them.
};

// The names the colour selector shows for finishes 0 to 3 ("" otherwise),
// Windows-1252 like every text of the program.
const char* PaintFinishName(uint8_t finish);

// Sets what the finish prescribes on whichever of material and factors is
// given (either may be null). colour is 0xAARRGGBB; its alpha byte becomes
// the diffuse alpha for the finishes that take the colour.
void ApplyPaint(uint32_t colour, uint8_t finish, Material* material, FactorPair* factors);

}  // namespace kbh
