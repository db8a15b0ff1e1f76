// The report of `kbh-mesh info`: one JSON object per file on one line.
// Content authors read it and scripts parse it, so its keys and their order
// are fixed: "file", then either "vertices", "triangles", "subsets",
// "triangles_per_subset", "min", "max" or "error".
#pragma once

#include <string>
#include <string_view>

#include "platform/mesh/mesh_data.hpp"

namespace kbh {

std::string MeshInfoJson(std::string_view file, const MeshData& mesh);
std::string MeshErrorJson(std::string_view file, std::string_view error);

// A JSON string literal, quotes included. Bytes that are not UTF-8 are
// taken as Latin-1, so any file name gives valid JSON.
std::string JsonString(std::string_view text);

}  // namespace kbh
