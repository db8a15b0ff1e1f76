// The catalogue tree as JSON, in the schema the catalogue tool reads and
// writes (README, "Writing a catalogue"):
//
//   {"categories": [NODE, ...]}
//   NODE   = {"id": "01030000", "type": 1|2|3, "name": STRING,
//             "record": RECORD or null, "children": [NODE, ...]}
//   RECORD = {"text1": ..., "text5": STRING, "actions": [ACTION, ...]}
//   ACTION = {"type": N, "target": "0105FFFF"} + "x", "y", "z" for type 4,
//            + "colour": "AARRGGBB", "finish": N for type 8
//
// Texts are stored as Windows-1252 and appear as their Unicode characters.
#pragma once

#include <string>

#include "catalogue/data_store.hpp"
#include "catalogue/item_id.hpp"
#include "tools/common/json.hpp"

namespace kbh {

JsonValue DumpCatalogue(const DataStore& store);

// "01030101": how the schema writes ids and colours.
std::string HexId(uint32_t id);

}  // namespace kbh
