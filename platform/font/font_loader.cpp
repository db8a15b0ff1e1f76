// OpenFont: fontconfig finds the face, FreeType rasterises its 256
// Windows-1252 glyphs once into an atlas. Nothing else in the program includes
// either library.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/font/font.hpp"
#include "platform/font/font_rules.hpp"
#include "platform/font/windows1252.hpp"
#include "platform/os/windows1252.hpp"

namespace kbh {

namespace {

// --- Finding the face ----------------------------------------------------------

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct ObjectSetDeleter {
  void operator()(FcObjectSet* objects) const { FcObjectSetDestroy(objects); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* fonts) const { FcFontSetDestroy(fonts); }
};
struct ConfigDeleter {
  void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

struct FaceFile {
  std::string family;
  std::string path;
  int index = 0;
  int weight = kRegularWeight;
};

std::string StringOf(const FcPattern* pattern, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

// Weight and width come as integers or doubles depending on the cache; a range
// (a variable font's default instance) has no single value.
bool NumberOf(const FcPattern* pattern, const char* object, double* number) {
  FcValue value;
  if (FcPatternGet(pattern, object, 0, &value) != FcResultMatch) return false;
  if (value.type == FcTypeInteger) {
    *number = value.u.i;
    return true;
  }
  if (value.type == FcTypeDouble) {
    *number = value.u.d;
    return true;
  }
  return false;
}

int WindowsWeightOf(const FcPattern* pattern) {
  double fcWeight = 0.0;
  if (!NumberOf(pattern, FC_WEIGHT, &fcWeight)) return kRegularWeight;
  return static_cast<int>(std::lround(FcWeightToOpenTypeDouble(fcWeight)));
}

FaceFile FaceFileOf(const FcPattern* pattern) {
  FaceFile face;
  face.family = StringOf(pattern, FC_FAMILY);
  face.path = StringOf(pattern, FC_FILE);
  int index = 0;
  if (FcPatternGetInteger(pattern, FC_INDEX, 0, &index) == FcResultMatch) face.index = index;
  face.weight = WindowsWeightOf(pattern);
  return face;
}

// The upright faces of family at normal width (or the width nearest to it).
std::vector<FaceFile> UprightFacesOf(FcConfig* config, const std::string& family) {
  PatternPtr query(FcPatternCreate());
  if (!query) return {};
  FcPatternAddString(query.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(query.get(), FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(query.get(), FC_SCALABLE, FcTrue);
  std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
      FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_WEIGHT, FC_WIDTH, FC_VARIABLE, nullptr));
  if (!objects) return {};
  std::unique_ptr<FcFontSet, FontSetDeleter> fonts(FcFontList(config, query.get(), objects.get()));
  if (!fonts) return {};

  std::vector<FaceFile> faces;
  std::vector<double> widths;
  for (int i = 0; i < fonts->nfont; ++i) {
    const FcPattern* font = fonts->fonts[i];
    FcBool variable = FcFalse;
    if (FcPatternGetBool(font, FC_VARIABLE, 0, &variable) == FcResultMatch && variable) continue;
    double width = FC_WIDTH_NORMAL;
    NumberOf(font, FC_WIDTH, &width);
    FaceFile face = FaceFileOf(font);
    if (face.path.empty()) continue;
    face.family = family;
    faces.push_back(std::move(face));
    widths.push_back(std::abs(width - FC_WIDTH_NORMAL));
  }
  if (faces.empty()) return faces;
  const double nearestWidth = *std::min_element(widths.begin(), widths.end());
  std::vector<FaceFile> upright;
  for (size_t i = 0; i < faces.size(); ++i) {
    if (widths[i] == nearestWidth) upright.push_back(std::move(faces[i]));
  }
  return upright;
}

// fontconfig decides which family stands in for the name (its aliases map
// Windows names onto installed look-alikes); the weight is then chosen among
// that family's faces by the Windows rule rather than by fontconfig's own
// scoring, so that 520 stays regular and 600 turns bold.
//
// Each lookup loads a configuration of its own and frees it again rather than
// using the library's process-wide default: it costs a few milliseconds per
// font, and leaves no state behind in the library.
bool FindFace(std::string_view faceName, int weight, FaceFile* found) {
  std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
  if (!config) return false;
  PatternPtr request(FcPatternCreate());
  if (!request) return false;
  const std::string name(faceName);
  FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(request.get(), FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddInteger(request.get(), FC_WIDTH, FC_WIDTH_NORMAL);
  FcPatternAddDouble(request.get(), FC_WEIGHT, FcWeightFromOpenTypeDouble(weight));
  FcPatternAddBool(request.get(), FC_SCALABLE, FcTrue);
  if (!FcConfigSubstitute(config.get(), request.get(), FcMatchPattern)) return false;
  FcDefaultSubstitute(request.get());
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(config.get(), request.get(), &result));
  if (!match) return false;

  *found = FaceFileOf(match.get());
  const std::vector<FaceFile> faces = UprightFacesOf(config.get(), found->family);
  std::vector<int> weights;
  for (const FaceFile& face : faces)
    weights.push_back(face.weight);
  const int chosen = ChooseNearestWeight(weights, weight);
  if (chosen >= 0) *found = faces[chosen];
  return !found->path.empty();
}

// --- Rasterising ---------------------------------------------------------------

struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};

// A glyph's coverage before it has a place in the atlas.
struct GlyphPicture {
  int width = 0;
  int height = 0;
  size_t offset = 0;  // into the shared coverage buffer
};

// A face with broken outlines could ask for pictures of any size; no sane
// glyph is more than a few cells wide or high.
int MaxGlyphExtent(int cellHeight) {
  return 4 * cellHeight + 16;
}

// Copies the rendered bitmap's coverage rows, top first.
void CopyCoverage(const FT_Bitmap& bitmap, std::vector<uint8_t>* coverage) {
  const int rows = static_cast<int>(bitmap.rows);
  const int width = static_cast<int>(bitmap.width);
  for (int row = 0; row < rows; ++row) {
    // A negative pitch means the rows are stored bottom first.
    const int source = bitmap.pitch >= 0 ? row : rows - 1 - row;
    const uint8_t* line = bitmap.buffer + static_cast<ptrdiff_t>(source) * std::abs(bitmap.pitch);
    coverage->insert(coverage->end(), line, line + width);
  }
}

void RasteriseGlyphs(FT_Face face, bool emboldened, int cellHeight, Font* font,
                     std::array<GlyphPicture, 256>* pictures, std::vector<uint8_t>* coverage) {
  const int maxExtent = MaxGlyphExtent(cellHeight);
  for (int byte = 0; byte < 256; ++byte) {
    if (!IsPrintableWindows1252(static_cast<uint8_t>(byte))) continue;
    // A code point the face lacks gets the face's missing-glyph shape, so the
    // gap in the text is visible rather than silent.
    const FT_UInt index =
        FT_Get_Char_Index(face, Windows1252ToCodePoint(static_cast<unsigned char>(byte)));
    // Light hinting keeps the designed widths and only snaps horizontal
    // stems, the closest match to natural-width antialiased Windows text.
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP)) continue;
    if (emboldened) FT_GlyphSlot_Embolden(face->glyph);
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL)) continue;
    const FT_GlyphSlot slot = face->glyph;
    GlyphMetrics& glyph = font->glyphs[byte];
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.bearingX = slot->bitmap_left;
    glyph.bearingY = slot->bitmap_top;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int width = static_cast<int>(bitmap.width);
    const int height = static_cast<int>(bitmap.rows);
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || width <= 0 || height <= 0) continue;
    if (width > maxExtent || height > maxExtent) continue;
    (*pictures)[byte] = {width, height, coverage->size()};
    CopyCoverage(bitmap, coverage);
  }
}

// Shelf packing in byte order with one clear texel around every glyph, so
// that filtered sampling at a glyph's edge never picks up its neighbour.
void PackAtlas(const std::array<GlyphPicture, 256>& pictures, const std::vector<uint8_t>& coverage,
               Font* font) {
  int64_t area = 0;
  int widest = 0;
  for (const GlyphPicture& picture : pictures) {
    area += int64_t{picture.width + 1} * (picture.height + 1);
    widest = std::max(widest, picture.width);
  }
  int atlasWidth = 64;
  while (atlasWidth < widest + 2 || int64_t{atlasWidth} * atlasWidth < area * 5 / 4) {
    atlasWidth *= 2;
  }

  int x = 1;
  int y = 1;
  int shelfHeight = 0;
  for (int byte = 0; byte < 256; ++byte) {
    const GlyphPicture& picture = pictures[byte];
    if (picture.width == 0) continue;
    if (x + picture.width + 1 > atlasWidth) {
      y += shelfHeight + 1;
      x = 1;
      shelfHeight = 0;
    }
    GlyphMetrics& glyph = font->glyphs[byte];
    glyph.atlasX = x;
    glyph.atlasY = y;
    glyph.width = picture.width;
    glyph.height = picture.height;
    x += picture.width + 1;
    shelfHeight = std::max(shelfHeight, picture.height);
  }

  Image& atlas = font->atlas;
  atlas.width = atlasWidth;
  atlas.height = y + shelfHeight + 1;
  atlas.sourceFormat = FMT_A8R8G8B8;
  // Transparent white rather than transparent black, so that filtering at a
  // glyph's edge fades its alpha without darkening its colour.
  atlas.texels.assign(static_cast<size_t>(atlas.width) * atlas.height, 0x00FFFFFFu);
  for (int byte = 0; byte < 256; ++byte) {
    const GlyphPicture& picture = pictures[byte];
    const GlyphMetrics& glyph = font->glyphs[byte];
    for (int row = 0; row < picture.height; ++row) {
      const uint8_t* source =
          coverage.data() + picture.offset + static_cast<size_t>(row) * picture.width;
      uint32_t* target = atlas.texels.data() +
                         static_cast<size_t>(glyph.atlasY + row) * atlas.width + glyph.atlasX;
      for (int column = 0; column < picture.width; ++column) {
        target[column] = (uint32_t{source[column]} << 24) | 0x00FFFFFFu;
      }
    }
  }
}

std::unique_ptr<Font> Rasterise(const FaceFile& file, int cellHeight, int weight) {
  FT_Library rawLibrary = nullptr;
  if (FT_Init_FreeType(&rawLibrary)) return nullptr;
  std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library(rawLibrary);
  FT_Face rawFace = nullptr;
  if (FT_New_Face(library.get(), file.path.c_str(), file.index, &rawFace)) return nullptr;
  std::unique_ptr<FT_FaceRec_, FaceDeleter> face(rawFace);
  if (!FT_IS_SCALABLE(face.get()) || face->units_per_EM == 0) return nullptr;
  // Faces without a Unicode map keep their default one (symbol fonts).
  FT_Select_Charmap(face.get(), FT_ENCODING_UNICODE);

  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face.get(), FT_SFNT_OS2));
  const bool hasWindowsMetrics = os2 && os2->version != 0xFFFF;
  const int faceAscent = hasWindowsMetrics ? os2->usWinAscent : face->ascender;
  const int faceDescent = hasWindowsMetrics ? os2->usWinDescent : -face->descender;
  const CellScale scale =
      ScaleToCellHeight(face->units_per_EM, faceAscent, faceDescent, cellHeight);

  FT_Size_RequestRec sizeRequest{};
  sizeRequest.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
  sizeRequest.height = static_cast<FT_Long>(std::lround(scale.pixelsPerEm * 64.0));
  if (FT_Request_Size(face.get(), &sizeRequest)) return nullptr;

  auto font = std::make_unique<Font>();
  font->cellHeight = cellHeight;
  font->ascent = scale.ascent;
  font->descent = scale.descent;
  font->lineStep = scale.ascent + scale.descent;
  font->familyName = file.family;
  font->fileName = file.path;
  font->faceWeight = file.weight;
  font->syntheticBold = NeedsSyntheticBold(weight, file.weight);

  std::array<GlyphPicture, 256> pictures{};
  std::vector<uint8_t> coverage;
  coverage.reserve(static_cast<size_t>(cellHeight) * cellHeight * 128);
  RasteriseGlyphs(face.get(), font->syntheticBold, cellHeight, font.get(), &pictures, &coverage);
  PackAtlas(pictures, coverage, font.get());

  const int designAverage = hasWindowsMetrics ? os2->xAvgCharWidth : 0;
  font->averageCharWidth =
      designAverage > 0
          ? static_cast<int>(std::lround(designAverage * scale.pixelsPerEm / face->units_per_EM))
          : font->glyphs['x'].advance;
  font->averageCharWidth = std::max(1, font->averageCharWidth);
  return font;
}

}  // namespace

std::unique_ptr<Font> OpenFont(std::string_view faceName, int cellHeight, int weight) {
  if (cellHeight < 1 || cellHeight > kMaxFontCellHeight) return nullptr;
  weight = weight <= 0 ? kRegularWeight : std::min(weight, 1000);
  FaceFile file;
  if (!FindFace(faceName, weight, &file)) return nullptr;
  return Rasterise(file, cellHeight, weight);
}

}  // namespace kbh
