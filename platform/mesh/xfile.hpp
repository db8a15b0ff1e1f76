// DirectX .x mesh files: the format of every part model (.mxa) and of the
// colour selector's ball. The reader handles the text, binary and
// MSZIP-compressed encodings; the writer is what the demo-workshop builder
// uses to produce them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/mesh/mesh_data.hpp"

namespace kbh {

// All meshes of the file merged into one (see mesh_data.hpp). False, with a
// short reason in *error when error is given, for anything that is not a
// well-formed file, and for a file without a single triangle (nothing could
// be drawn of it); *out is then left empty.
bool ReadXFile(std::span<const uint8_t> bytes, MeshData* out, std::string* error = nullptr);

enum class XEncoding {
  kText,             // "txt " with 32-bit floats
  kBinary,           // "bin " with 32-bit floats
  kCompressedText,   // "tzip": MSZIP blocks around the text body
  kCompressedBinary  // "bzip": MSZIP blocks around the binary body
};

// One top-level Mesh with normals, texture coordinates and a material list of
// one neutral material per subset, so that reading it back gives the same
// vertices, triangles and subsets. The bytes depend on the mesh alone. Empty
// for a mesh that could not come back the same: no vertex or no triangle, an
// index out of range, or subsets that do not tile the triangles in order.
std::vector<uint8_t> WriteXFile(const MeshData& mesh, XEncoding encoding);

}  // namespace kbh
