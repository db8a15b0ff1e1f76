// kbh-render: pictures of a workshop folder, rendered headless as the
// program would show them.
//
//   kbh-render tuneup WORKSHOP OUT.png [--angle RADIANS] [--wireframe]
//   kbh-render spray  WORKSHOP OUT.png
//   kbh-render selected WORKSHOP ID OUT.png [--row N] [--spin MS]
//   kbh-render part   WORKSHOP ID OUT.png [--size WxH] [--background AARRGGBB]
//
// selected is the Spray screen with an installed part chosen: the preview,
// and the part as its large view shows it MS milliseconds after the camera
// arrived; row 1 (the default) is the whole part, row N >= 2 subset N - 2
// solid in a ghost of the rest.
//
// Every command also takes
//   --parts ID,ID,...              that moped instead of the standard parts
//   --paint ID:AARRGGBB:FINISH     paint an installed part (repeatable); the
//                                  colour's top byte picks the subset as in
//                                  the catalogue: 00 all, n the n-th
// IDs are the catalogue's 32-bit ids in hexadecimal (01030101).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/data_store.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/os/os.hpp"
#include "scene/scene_renderer.hpp"
#include "workshop/installed_parts.hpp"

namespace {

constexpr const char* kUsage =
    "usage: kbh-render tuneup WORKSHOP OUT.png [--angle RADIANS] [--wireframe]\n"
    "       kbh-render spray  WORKSHOP OUT.png\n"
    "       kbh-render selected WORKSHOP ID OUT.png [--row N] [--spin MS]\n"
    "       kbh-render part   WORKSHOP ID OUT.png [--size WxH] [--background AARRGGBB]\n"
    "  any: [--parts ID,ID,...] [--paint ID:AARRGGBB:FINISH]...\n";

bool ParseHex(std::string_view text, uint32_t* out) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  if (text.empty() || text.size() > 8) return false;
  uint32_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  *out = value;
  return true;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    pieces.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return pieces;
    start = end + 1;
  }
}

struct Options {
  std::string command;
  std::vector<std::string> positional;
  float angle = 0.0f;
  bool wireframe = false;
  int width = 256;
  int height = 256;
  uint32_t background = 0;
  uint16_t row = 1;
  uint32_t spin = 0;
  std::vector<kbh::ItemId> parts;
  struct Paint {
    kbh::ItemId target = 0;
    kbh::PaintPayload payload;
  };
  std::vector<Paint> paints;
};

bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
  if (argc < 2) return false;
  options->command = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--wireframe") {
      options->wireframe = true;
    } else if (arg == "--angle" && hasValue) {
      char* end = nullptr;
      options->angle = std::strtof(argv[++i], &end);
      if (end == argv[i] || *end != '\0') return *error = "bad angle", false;
    } else if (arg == "--size" && hasValue) {
      if (std::sscanf(argv[++i], "%dx%d", &options->width, &options->height) != 2) {
        return *error = "bad size (WxH)", false;
      }
    } else if (arg == "--row" && hasValue) {
      unsigned row = 0;
      if (std::sscanf(argv[++i], "%u", &row) != 1 || row > 0xFFFF) return *error = "bad row", false;
      options->row = static_cast<uint16_t>(row);
    } else if (arg == "--spin" && hasValue) {
      if (std::sscanf(argv[++i], "%u", &options->spin) != 1) return *error = "bad spin", false;
    } else if (arg == "--background" && hasValue) {
      if (!ParseHex(argv[++i], &options->background)) return *error = "bad background", false;
    } else if (arg == "--parts" && hasValue) {
      for (std::string_view piece : Split(argv[++i], ',')) {
        kbh::ItemId id = 0;
        if (!ParseHex(piece, &id)) return *error = "bad part id " + std::string(piece), false;
        options->parts.push_back(id);
      }
    } else if (arg == "--paint" && hasValue) {
      const std::vector<std::string_view> pieces = Split(argv[++i], ':');
      Options::Paint paint;
      uint32_t finish = 0;
      if (pieces.size() != 3 || !ParseHex(pieces[0], &paint.target) ||
          !ParseHex(pieces[1], &paint.payload.colour) || !ParseHex(pieces[2], &finish) ||
          finish > 255) {
        return *error = "bad paint (ID:AARRGGBB:FINISH)", false;
      }
      paint.payload.finish = static_cast<uint8_t>(finish);
      options->paints.push_back(paint);
    } else if (arg.starts_with("--")) {
      return *error = "unknown option " + std::string(arg), false;
    } else {
      options->positional.emplace_back(arg);
    }
  }
  return true;
}

bool WritePng(const std::string& path, const kbh::Image& picture) {
  const std::vector<uint8_t> bytes = kbh::EncodePng(picture);
  return !bytes.empty() && kbh::WriteWholeFile(path, bytes);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!ParseOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "kbh-render: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  const bool namesPart = options.command == "part" || options.command == "selected";
  const size_t wanted = namesPart ? 3 : 2;
  if ((options.command != "tuneup" && options.command != "spray" && !namesPart) ||
      options.positional.size() != wanted) {
    std::fprintf(stderr, "%s", kUsage);
    return 2;
  }
  kbh::ItemId partId = 0;
  if (namesPart && !ParseHex(options.positional[1], &partId)) {
    std::fprintf(stderr, "kbh-render: bad part id %s\n", options.positional[1].c_str());
    return 2;
  }

  std::unique_ptr<kbh::SceneRenderer> renderer =
      kbh::SceneRenderer::Open(options.positional[0], &error);
  if (renderer == nullptr) {
    std::fprintf(stderr, "kbh-render: %s\n", error.c_str());
    return 1;
  }
  if (!options.parts.empty()) renderer->InstallParts(options.parts);
  if (options.command == "part" && FindById(renderer->Catalogue(), partId) == nullptr) {
    // Most likely a wrong kind byte: the part would show without the paints
    // and position the catalogue gives it.
    std::fprintf(stderr, "kbh-render: warning: %08X is not in the catalogue\n", partId);
  }
  if (options.command == "part" && renderer->Parts().FindInstalled(partId) == nullptr) {
    // Build it in now, so that --paint can reach it.
    renderer->Parts().ExchangePart(partId);
    renderer->Parts().ApplyPartActions(&renderer->Catalogue(), partId);
    renderer->Parts().SetAllPartsAlpha(1.0f);
  }
  for (const Options::Paint& paint : options.paints) {
    kbh::PartModel* model = renderer->Parts().FindInstalled(paint.target);
    if (model == nullptr || model->mesh == nullptr) {
      std::fprintf(stderr, "kbh-render: part %08X to paint is not installed or has no model\n",
                   paint.target);
      return 1;
    }
    kbh::PartAction action;
    action.type = kbh::ActionType::kPaint;
    action.target = paint.target;
    action.paint = paint.payload;
    kbh::ApplyPositionOrPaint(action, model);
    // The colour's top byte picked the subset and also became its alpha;
    // a paint shown here is meant opaque.
    kbh::SetPartAlpha(model, 1.0f);
  }

  kbh::Image picture;
  if (options.command == "tuneup") {
    picture = renderer->RenderTuneUpView(options.angle,
                                         options.wireframe ? kbh::FILL_WIREFRAME : kbh::FILL_SOLID);
  } else if (options.command == "spray") {
    picture = renderer->RenderSprayPreview();
  } else if (options.command == "selected") {
    picture = renderer->RenderSprayView(partId, options.row, options.spin);
  } else {
    picture =
        renderer->RenderPartPicture(partId, options.width, options.height, options.background);
  }
  const std::string& out = options.positional.back();
  if (picture.texels.empty()) {
    std::fprintf(stderr,
                 "kbh-render: nothing to render (a part not installed or without model, or a bad "
                 "size)\n");
    return 1;
  }
  if (!WritePng(out, picture)) {
    std::fprintf(stderr, "kbh-render: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
