#include "tests/e2e/support/small_workshop.hpp"

#include <cstdint>
#include <fstream>

#include "platform/image/image_codec.hpp"
#include "platform/mesh/xfile.hpp"
#include "tools/catalogue/catalogue_compile.hpp"
#include "tools/common/json.hpp"

namespace kbh::testing {

namespace {

// Kind 0: the first item of each category is installed at start. The tank
// paints the frame's second subset, which leaves that subset's diffuse alpha
// at 2/255 until the TuneUp screen makes every part opaque.
constexpr const char* kCatalogue = R"({"categories": [
  {"id": "00010000", "type": 1, "name": "Rahmen", "children": [
    {"type": 2, "name": "Rahmen", "children": [{"type": 3, "name": "Stahlrahmen"}]}]},
  {"id": "00020000", "type": 1, "name": "Tank", "children": [
    {"type": 2, "name": "Tank", "children": [{"type": 3, "name": "Rundtank", "record": {
      "text1": "Rundtank", "actions": [
        {"type": 8, "target": "00010101", "colour": "02C03030", "finish": 1}]}}]}]}]})";

bool WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
                std::string* error) {
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (bytes.empty() || !out) {
    *error = "cannot write " + path.string();
    return false;
  }
  return true;
}

// An axis-aligned box around centre with half extents, one subset per pair
// of opposite faces, so that the mesh has several material slots.
MeshData Box(Vec3 centre, Vec3 half) {
  MeshData mesh;
  const Vec3 normals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  for (int face = 0; face < 6; ++face) {
    const Vec3 n = normals[face];
    // Two axes across the face, chosen so the corners run clockwise seen
    // from outside: Direct3D's front faces.
    const Vec3 u = n.x != 0 ? Vec3{0, 0, n.x} : n.y != 0 ? Vec3{n.y, 0, 0} : Vec3{-n.z, 0, 0};
    const Vec3 v = n.y != 0 ? Vec3{0, 0, 1} : Vec3{0, 1, 0};
    const auto base = static_cast<uint32_t>(mesh.vertices.size());
    const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
    for (const auto& c : corners) {
      MeshVertex vertex;
      vertex.position = {centre.x + half.x * (n.x + c[0] * u.x + c[1] * v.x),
                         centre.y + half.y * (n.y + c[0] * u.y + c[1] * v.y),
                         centre.z + half.z * (n.z + c[0] * u.z + c[1] * v.z)};
      vertex.normal = n;
      vertex.u = (c[0] + 1) / 2;
      vertex.v = (c[1] + 1) / 2;
      mesh.vertices.push_back(vertex);
    }
    for (uint32_t index : {0u, 1u, 2u, 0u, 2u, 3u})
      mesh.indices.push_back(base + index);
  }
  for (uint32_t pair = 0; pair < 3; ++pair)
    mesh.subsets.push_back(MeshSubset{pair * 4, 4});
  return mesh;
}

template <typename Rule>
Image Picture(int width, int height, Rule texel) {
  Image image{width, height, FMT_UNKNOWN, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      image.texels.push_back(texel(x, y));
  }
  return image;
}

}  // namespace

bool WriteSmallWorkshop(const std::filesystem::path& root, std::string* error) {
  JsonValue catalogue;
  JsonError jsonError;
  if (!ParseJson(kCatalogue, &catalogue, &jsonError)) {
    *error = "catalogue source: " + jsonError.message;
    return false;
  }
  std::vector<uint8_t> khb;
  CompileError compileError;
  if (!CompileCatalogue(catalogue, &khb, &compileError)) {
    *error = "catalogue: " + compileError.path + ": " + compileError.message;
    return false;
  }
  // A frame as wide as the moped and a tank on top of it.
  const MeshData frame = Box({0, 0, 0}, {160, 40, 30});
  const MeshData tank = Box({-30, 70, 0}, {60, 30, 40});

  CubeImage environment;
  environment.size = 32;
  environment.sourceFormat = FMT_X8R8G8B8;
  const uint32_t faceColors[6] = {0xFFC04040, 0xFF40C040, 0xFFE0E0F0,
                                  0xFF303030, 0xFF4040C0, 0xFFC0C040};
  for (int face = 0; face < 6; ++face)
    environment.faces[face].assign(32 * 32, faceColors[face]);

  // A dark blue wall over a grey floor, a white loading panel with a blue
  // border, and a frame for the model with a see-through middle.
  const Image background = Picture(1024, 768, [](int, int y) {
    const auto shade = static_cast<uint32_t>(40 + 80 * y / 768);
    return 0xFF000000u | (y < 384 ? (shade / 2) * 0x10100 + shade : shade * 0x10101);
  });
  const Image loading = Picture(260, 80, [](int x, int y) {
    return x < 4 || y < 4 || x >= 256 || y >= 76 ? 0xFF1B5184u : 0xFFF0F0F0u;
  });
  const Image modelFrame = Picture(500, 300, [](int x, int y) {
    return x < 6 || y < 6 || x >= 494 || y >= 294 ? 0xFFC8C8C8u : 0u;
  });

  return WriteBytes(root / "data/firstData.khb", khb, error) &&
         WriteBytes(root / "data/objects/010101.mxa", WriteXFile(frame, XEncoding::Text), error) &&
         WriteBytes(root / "data/objects/020101.mxa", WriteXFile(tank, XEncoding::Binary), error) &&
         WriteBytes(root / "gfx/gui/kbh_load.dds", EncodeDds(loading, FMT_X8R8G8B8), error) &&
         WriteBytes(root / "gfx/gui/gui_Spray_modelframe.dds", EncodeDds(modelFrame, FMT_A8R8G8B8),
                    error) &&
         WriteBytes(root / "gfx/env/mainBG.dds", EncodeDds(background, FMT_X8R8G8B8), error) &&
         WriteBytes(root / "gfx/env/envmap.dds", EncodeCubeDds(environment, FMT_X8R8G8B8), error);
}

}  // namespace kbh::testing
