// The workshop rules behind the Spray screen: what the subset list offers
// for the chosen part, when the spray button may be used, and what a click
// on it paints. The camera flight to the chosen part and the preview of the
// whole moped are started and rendered from here too.
//
// The category list's change flag stays set while the pointer is away from
// the list; the rules act on a change once and then clear it, so the flight
// is not started over and the subset choice not reset each time a flight
// ends. A part chosen during a flight waits until the flight has ended.
#pragma once

#include <cstdint>

#include "screens/screen.hpp"
#include "ui/widgets/scroll_box.hpp"
#include "workshop/part_mesh.hpp"

namespace kbh {

// The subset list's texts, Windows-1252.
inline constexpr const char* kWholePart = "<komplettes Bauteil>";
inline constexpr const char* kSubsetRowFormat = "Subset %i";
inline constexpr const char* kModelMissing = "<Datei nicht gefunden>";

// Subset rows are offered for meshes of 2 to 9 subsets; one subset is the
// whole part anyway, and ten or more are painted whole only.
inline constexpr uint32_t kFewestListedSubsets = 2;
inline constexpr uint32_t kMostListedSubsets = 9;

// Fills the emptied list for model: "<komplettes Bauteil>" and the subset
// rows, usable; or, for a missing part or mesh, the one greyed row
// "<Datei nicht gefunden>". Every row's value is 0. True when the part has
// a mesh to paint.
bool FillSubsetList(ScrollBox& list, const PartModel* model);

// Paints model with colour and finish. When the list has more than one row
// and its selected row r is not row 0, only subset r - 1 (so nothing while
// no row is selected); otherwise every subset. Nothing for a missing model
// or mesh.
void PaintSelection(PartModel* model, const ScrollBox& subsets, uint32_t colour, uint8_t finish);

// One frame of the Spray screen: the two lists, the colour selector with the
// pointer over its palette, the preview, the flight to a newly chosen part
// and the spray button. Runs before the frame's scene begins.
void UpdateSpray(ScreenContext& context);

}  // namespace kbh
