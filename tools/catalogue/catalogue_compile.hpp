// Writes a catalogue file from the JSON schema of catalogue_dump.hpp.
//
// The output is canonical: headers and bytes the loader does not interpret
// are zero, records follow the tree in pre-order, and a text line is written
// as its bytes + NUL + line feed (a text that ends in its own line feed as
// just its bytes; one that fills its line but for the NUL as bytes + NUL), so
// the loader reads back exactly the text given and compiling a dump of the
// result gives the same bytes again. Anything the loader would cut, drop or
// misread is refused instead.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/common/json.hpp"

namespace kbh {

struct CompileError {
  int line = 0;  // of the offending JSON value
  int column = 0;
  std::string path;  // "categories[0].children[2].name"
  std::string message;
};

bool CompileCatalogue(const JsonValue& root, std::vector<uint8_t>* bytes, CompileError* error);

}  // namespace kbh
