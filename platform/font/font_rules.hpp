// How a font request turns into a face and a size, following the Windows font
// mapper so that texts take the room they were designed for. Pure functions:
// the loader feeds them what fontconfig and FreeType report.
#pragma once

#include <span>

namespace kbh {

// --- Weight ------------------------------------------------------------------

// The weight used when a request says 0 ("don't care").
constexpr int kRegularWeight = 400;

// Index of the candidate weight (100..900 scale) nearest to the requested one;
// on a tie the heavier face wins for requests above 500 and the lighter one
// otherwise. -1 for an empty list.
int ChooseNearestWeight(std::span<const int> faceWeights, int requestedWeight);

// Whether strokes must be thickened: a bold request (600 and up) that only a
// lighter face could answer, as Windows simulates bold.
bool NeedsSyntheticBold(int requestedWeight, int faceWeight);

// --- Size --------------------------------------------------------------------

// A positive font height is the cell height: ascent + descent of the face's
// Windows metrics (winAscent, winDescent) scaled to that many pixels.
struct CellScale {
  // Pixels per em, fractional: what the rasteriser is asked for.
  double pixelsPerEm = 0.0;
  // Rounded separately, as the text metrics of a Windows font are.
  int ascent = 0;
  int descent = 0;
};

// faceAscent and faceDescent are in font units, the descent positive. Zero
// values (a face without Windows metrics) fall back to the em square.
CellScale ScaleToCellHeight(int unitsPerEm, int faceAscent, int faceDescent, int cellHeight);

}  // namespace kbh
