// Which mesh belongs to which catalogue item. The catalogue (assets/
// catalogue.json) gives every item its id; this table gives every id its
// builder and the .x encoding its file is written in, so that the program
// meets text, binary and compressed files among the standard parts.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/mesh/xfile.hpp"
#include "tools/workshop/moped_parts.hpp"

namespace kbh {

struct PartSource {
  uint32_t id;  // the catalogue item; its low 24 bits name the files
  PartMesh (*build)();
  XEncoding encoding;
};

// Every part of the demo catalogue, in catalogue order.
const std::vector<PartSource>& DemoParts();

}  // namespace kbh
