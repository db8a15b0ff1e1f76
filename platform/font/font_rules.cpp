#include "platform/font/font_rules.hpp"

#include <cmath>
#include <cstdlib>

namespace kbh {

int ChooseNearestWeight(std::span<const int> faceWeights, int requestedWeight) {
  if (requestedWeight <= 0) requestedWeight = kRegularWeight;
  const bool preferHeavier = requestedWeight > 500;
  int best = -1;
  for (int i = 0; i < static_cast<int>(faceWeights.size()); ++i) {
    if (best < 0) {
      best = i;
      continue;
    }
    const int distance = std::abs(faceWeights[i] - requestedWeight);
    const int bestDistance = std::abs(faceWeights[best] - requestedWeight);
    const bool tieWins =
        distance == bestDistance &&
        (preferHeavier ? faceWeights[i] > faceWeights[best] : faceWeights[i] < faceWeights[best]);
    if (distance < bestDistance || tieWins) best = i;
  }
  return best;
}

bool NeedsSyntheticBold(int requestedWeight, int faceWeight) {
  return requestedWeight >= 600 && faceWeight < 600;
}

CellScale ScaleToCellHeight(int unitsPerEm, int faceAscent, int faceDescent, int cellHeight) {
  if (unitsPerEm <= 0) unitsPerEm = 2048;
  if (faceAscent < 0) faceAscent = 0;
  if (faceDescent < 0) faceDescent = 0;
  if (faceAscent + faceDescent == 0) {
    // No usable vertical metrics: treat the em square as the cell, with the
    // customary four fifths above the baseline.
    faceAscent = unitsPerEm * 4 / 5;
    faceDescent = unitsPerEm - faceAscent;
  }
  const double cell = faceAscent + faceDescent;
  CellScale scale;
  scale.pixelsPerEm = static_cast<double>(unitsPerEm) * cellHeight / cell;
  scale.ascent = static_cast<int>(std::lround(faceAscent * cellHeight / cell));
  scale.descent = static_cast<int>(std::lround(faceDescent * cellHeight / cell));
  return scale;
}

}  // namespace kbh
