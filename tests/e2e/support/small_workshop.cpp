#include "tests/e2e/support/small_workshop.hpp"

#include <cstdint>
#include <fstream>

#include "platform/image/image_codec.hpp"
#include "platform/mesh/xfile.hpp"
#include "tests/support/box_mesh.hpp"
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
  const MeshData frame = BoxMesh({-160, -40, -30}, {160, 40, 30}, 3);
  const MeshData tank = BoxMesh({-90, 40, -40}, {30, 100, 40}, 3);

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

  // The colour selector's palette (hues across, light to dark downwards), its
  // ball, and one seller's logo.
  const Image palette = Picture(100, 60, [](int x, int y) {
    const auto fade = static_cast<uint32_t>(255 - 3 * y);
    return 0xFF000000u | (x < 50 ? fade << 16 : fade << 8) | static_cast<uint32_t>(2 * x);
  });
  const MeshData ball = BoxMesh({-20, -20, -20}, {20, 20, 20}, 1);
  const Image logo =
      Picture(190, 66, [](int x, int) { return x < 95 ? 0xFFB02020u : 0xFFF0F0F0u; });

  return WriteBytes(root / "data/firstData.khb", khb, error) &&
         WriteBytes(root / "gfx/gui/gui_colsel_palette.dds", EncodeDds(palette, FMT_X8R8G8B8),
                    error) &&
         WriteBytes(root / "gfx/gui/gui_colsel_ball.mxa", WriteXFile(ball, XEncoding::kText),
                    error) &&
         WriteBytes(root / "data/logos/werkstatt.dds", EncodeDds(logo, FMT_X8R8G8B8), error) &&
         WriteBytes(root / "data/objects/010101.mxa", WriteXFile(frame, XEncoding::kText), error) &&
         WriteBytes(root / "data/objects/020101.mxa", WriteXFile(tank, XEncoding::kBinary),
                    error) &&
         WriteBytes(root / "gfx/gui/kbh_load.dds", EncodeDds(loading, FMT_X8R8G8B8), error) &&
         WriteBytes(root / "gfx/gui/gui_Spray_modelframe.dds", EncodeDds(modelFrame, FMT_A8R8G8B8),
                    error) &&
         WriteBytes(root / "gfx/env/mainBG.dds", EncodeDds(background, FMT_X8R8G8B8), error) &&
         WriteBytes(root / "gfx/env/envmap.dds", EncodeCubeDds(environment, FMT_X8R8G8B8), error);
}

}  // namespace kbh::testing
