#include "tools/workshop/skin_kit.hpp"

#include <algorithm>
#include <cmath>

namespace kbh {

Rgba Rgb(float r, float g, float b) {
  return {r, g, b, 1.0f};
}

float Clamp01(float v) {
  return std::clamp(v, 0.0f, 1.0f);
}

float Grain(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x27D4EB2Du ^ static_cast<uint32_t>(y) * 0x165667B1u ^
               seed * 0x9E3779B9u;
  h ^= h >> 15;
  h *= 0x85EBCA6Bu;
  h ^= h >> 13;
  return static_cast<float>(h & 0xFFFF) / 65535.0f;
}

PaintFunction BrushedMetal(Rgba top, Rgba bottom, float y0, float y1, uint32_t seed) {
  return [=](float x, float y) {
    const float t = Clamp01((y - y0) / (y1 - y0));
    const float streak =
        0.94f + 0.06f * Grain(static_cast<int>(x / 7.0f), static_cast<int>(y), seed);
    return Scaled(Mix(top, bottom, t), streak);
  };
}

void AddScrew(Canvas& canvas, float cx, float cy, float r) {
  canvas.Fill({EllipseContour(cx, cy + 0.6f, r + 0.6f, r + 0.6f, 32)}, Rgba{0, 0, 0, 0.5f});
  canvas.Fill({EllipseContour(cx, cy, r, r, 32)}, [=](float x, float y) {
    const float t = Clamp01((y - (cy - r)) / (2.0f * r));
    const float side = Clamp01((x - (cx - r)) / (2.0f * r));
    return Mix(Rgb(0.78f, 0.79f, 0.80f), Rgb(0.32f, 0.33f, 0.35f), 0.6f * t + 0.4f * side);
  });
  // A slotted head, turned a little.
  const float a = 0.5f;
  const Vec2 d{std::cos(a) * r * 0.75f, std::sin(a) * r * 0.75f};
  canvas.Fill(StrokePolyline({{cx - d.x, cy - d.y}, {cx + d.x, cy + d.y}}, r * 0.35f),
              Rgb(0.15f, 0.15f, 0.16f));
}

namespace skin {

namespace {

constexpr float kPanelTopRow = 515.0f;

Rgba WithAlpha(Rgba c, float a) {
  c.a = a;
  return c;
}

}  // namespace

Rgba PanelSurface(float x, float y) {
  const float t = Clamp01((y - kPanelTopRow) / (kScreenHeight - kPanelTopRow));
  const float streak = 0.95f + 0.05f * Grain(static_cast<int>(x / 7.0f), static_cast<int>(y), 11);
  return Scaled(Mix(kPanelTop, kPanelBottom, t), streak);
}

TextStyle CaptionFont() {
  return {"DejaVu Sans", 10, 700};
}
TextStyle SmallCaptionFont() {
  return {"DejaVu Sans", 9, 700};
}
TextStyle TabFont() {
  return {"DejaVu Sans", 14, 700};
}
TextStyle SmallTabFont() {
  return {"DejaVu Sans", 11, 700};
}
TextStyle HeadingFont() {
  return {"DejaVu Sans", 15, 700};
}
TextStyle WordmarkFont() {
  return {"DejaVu Serif", 17, 700};
}
TextStyle HintFont() {
  return {"DejaVu Sans", 11, 400};
}
TextStyle EmblemFont() {
  return {"DejaVu Serif", 30, 700};
}
std::vector<TextStyle> SkinFonts() {
  return {CaptionFont(), SmallCaptionFont(), TabFont(),  SmallTabFont(),
          HeadingFont(), WordmarkFont(),     HintFont(), EmblemFont()};
}

void AddWell(Canvas& canvas, float x0, float y0, float x1, float y1, float radius) {
  // Shadow falls into the recess from the top left; its lower lip catches
  // the hall's light.
  canvas.Fill({RoundedRectContour(x0 - 1.0f, y0 - 1.0f, x1 + 1.0f, y1 + 1.0f, radius + 1.0f)},
              Rgba{1.0f, 1.0f, 1.0f, 0.16f});
  canvas.Fill({RoundedRectContour(x0 - 1.0f, y0 - 1.0f, x1, y1, radius + 1.0f)},
              Rgba{0.0f, 0.0f, 0.0f, 0.85f});
  const Contour glass = RoundedRectContour(x0, y0, x1, y1, radius);
  canvas.Fill({glass}, [=](float, float y) {
    return Mix(kGlassTop, kGlassBottom, Clamp01((y - y0) / (y1 - y0)));
  });
  // The inner shadow under the upper edge and a faint reflection below it.
  canvas.Fill({RectContour(x0 + radius, y0, x1 - radius, y0 + 2.0f)}, Rgba{0, 0, 0, 0.5f});
  canvas.Fill({RectContour(x0 + radius, y0 + 2.0f, x1 - radius, y0 + 3.0f)},
              Rgba{1.0f, 1.0f, 1.0f, 0.035f});
}

void AddCaption(Canvas& canvas, const Lettering& lettering, const TextStyle& style,
                std::string_view text, int x, int y, Rgba colour) {
  lettering.Draw(canvas, style, text, x, y + 1, Rgba{0.0f, 0.0f, 0.0f, 0.75f});
  lettering.Draw(canvas, style, text, x, y, colour);
}

void AddCaptionCentred(Canvas& canvas, const Lettering& lettering, const TextStyle& style,
                       std::string_view text, int centreX, int y, Rgba colour) {
  AddCaption(canvas, lettering, style, text, centreX - lettering.Width(style, text) / 2, y, colour);
}

void AddStepBadge(Canvas& canvas, const Lettering& lettering, int step, int x, int y) {
  const float cx = static_cast<float>(x) + 5.5f;
  const float cy = static_cast<float>(y) + 5.5f;
  canvas.Fill({EllipseContour(cx, cy + 0.7f, 5.8f, 5.8f, 32)}, Rgba{0, 0, 0, 0.6f});
  canvas.Fill({EllipseContour(cx, cy, 5.5f, 5.5f, 32)}, [=](float, float py) {
    return Mix(Rgb(0.86f, 0.20f, 0.16f), kAccent, Clamp01((py - (cy - 5.5f)) / 11.0f));
  });
  const std::string digit = std::to_string(step);
  const TextStyle font = SmallCaptionFont();
  lettering.Draw(canvas, font, digit, x + 6 - (lettering.Width(font, digit) + 1) / 2, y + 1,
                 kWhite);
}

void AddGroove(Canvas& canvas, float x0, float y0, float x1, float y1) {
  canvas.Fill({RoundedRectContour(x0, y0, x1, y1 + 1.0f, 1.5f)}, Rgba{1, 1, 1, 0.14f});
  canvas.Fill({RoundedRectContour(x0, y0, x1, y1, 1.5f)}, Rgb(0.03f, 0.03f, 0.035f));
}

// --- Push buttons ------------------------------------------------------------------------------

void AddPushButton(Canvas& canvas, const PushButton& b, ButtonLight light, bool withShadow) {
  const float cx = b.cx, cy = b.cy, rb = b.bezelRadius, rc = b.capRadius;
  if (light == ButtonLight::kHover) {
    // The halo of a lit lamp round the bezel.
    const float reach = rb + 3.0f;
    canvas.Fill({EllipseContour(cx, cy, reach, reach, 64)}, [=](float x, float y) {
      const float d = std::hypot(x - cx, y - cy);
      return WithAlpha(b.colour, 0.55f * Clamp01((reach - d) / (reach - rb + 0.5f)));
    });
  }
  if (withShadow) {
    canvas.Fill({EllipseContour(cx, cy + 1.5f, rb + 0.5f, rb + 0.5f, 64)}, Rgba{0, 0, 0, 0.55f});
  }
  // Turned steel: light from the top left.
  canvas.Fill({EllipseContour(cx, cy, rb, rb, 64)}, [=](float x, float y) {
    const float t = Clamp01(((x - cx) * 0.4f + (y - cy)) / (2.0f * rb) + 0.5f);
    const float ring = 0.96f + 0.04f * std::sin(std::hypot(x - cx, y - cy) * 2.2f);
    return Scaled(Mix(Rgb(0.80f, 0.81f, 0.82f), Rgb(0.26f, 0.27f, 0.29f), t), ring);
  });
  canvas.Fill({EllipseContour(cx, cy, rc + 1.5f, rc + 1.5f, 64)}, Rgb(0.05f, 0.05f, 0.06f));
  // The cap: a dome, its colour deepest at the bottom.
  Rgba top, bottom;
  switch (light) {
    case ButtonLight::kOff:
      top = Mix(Rgb(0.30f, 0.31f, 0.33f), Scaled(b.colour, 0.5f), b.darkTint);
      bottom = Mix(Rgb(0.15f, 0.155f, 0.165f), Scaled(b.colour, 0.22f), b.darkTint);
      break;
    case ButtonLight::kOn:
      top = Scaled(b.colour, 1.0f);
      bottom = Scaled(b.colour, 0.42f);
      break;
    case ButtonLight::kHover:
      top = Mix(b.colour, Rgb(1, 1, 1), 0.35f);
      bottom = Scaled(b.colour, 0.6f);
      break;
  }
  canvas.Fill({EllipseContour(cx, cy, rc, rc, 64)}, [=](float x, float y) {
    const float t = Clamp01((y - (cy - rc)) / (2.0f * rc));
    const float rim = Clamp01(std::hypot(x - cx, y - cy) / rc);
    return Scaled(Mix(top, bottom, t), 1.0f - 0.25f * rim * rim);
  });
  // The symbol: pressed into a dark cap, glowing white on a lit one.
  if (light == ButtonLight::kOff) {
    Path2 shadow;
    for (const Contour& c : b.symbol)
      shadow.push_back(Translated(c, 0.0f, -0.8f));
    canvas.Fill(shadow, Rgba{0, 0, 0, 0.55f});
    canvas.Fill(b.symbol, Rgb(0.45f, 0.46f, 0.47f));
  } else {
    Path2 shadow;
    for (const Contour& c : b.symbol)
      shadow.push_back(Translated(c, 0.0f, 1.0f));
    canvas.Fill(shadow, Rgba{0, 0, 0, 0.45f});
    canvas.Fill(b.symbol, light == ButtonLight::kHover ? Rgb(1, 1, 1) : kWhite);
  }
  // A soft reflection on the dome's upper half.
  const float gloss = light == ButtonLight::kOff ? 0.10f : 0.28f;
  canvas.Fill({EllipseContour(cx, cy - rc * 0.45f, rc * 0.72f, rc * 0.42f, 48)},
              [=](float, float y) {
                const float t = Clamp01((y - (cy - rc * 0.87f)) / (rc * 0.84f));
                return Rgba{1.0f, 1.0f, 1.0f, gloss * (1.0f - t)};
              });
}

// --- Pictures from canvases ----------------------------------------------------------------

Image CutPicture(const Canvas& canvas, int x, int y, int width, int height) {
  Image image;
  image.width = width;
  image.height = height;
  image.texels.reserve(static_cast<size_t>(width) * height);
  bool opaque = true;
  for (int row = y; row < y + height; ++row) {
    for (int column = x; column < x + width; ++column) {
      const uint32_t texel = ArgbFromRgba(canvas.At(column, row));
      opaque = opaque && (texel >> 24) == 255;
      image.texels.push_back(texel);
    }
  }
  image.sourceFormat = opaque ? FMT_X8R8G8B8 : FMT_A8R8G8B8;
  return image;
}

Image WholePicture(const Canvas& canvas) {
  return CutPicture(canvas, 0, 0, canvas.Width(), canvas.Height());
}

void HardenAlpha(Canvas& canvas) {
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      Rgba c = canvas.At(x, y);
      c.a = c.a >= 0.5f ? 1.0f : 0.0f;
      canvas.Set(x, y, c);
    }
  }
}

void CopyPicture(Canvas& canvas, const Image& picture, int x, int y) {
  for (int row = 0; row < picture.height; ++row) {
    for (int column = 0; column < picture.width; ++column) {
      const int px = x + column, py = y + row;
      if (px < 0 || py < 0 || px >= canvas.Width() || py >= canvas.Height()) continue;
      canvas.Set(px, py,
                 RgbaFromArgb(picture.texels[static_cast<size_t>(row) * picture.width + column]));
    }
  }
}

void DrawPicture(Canvas& canvas, const Image& picture, int x, int y) {
  const bool blended = picture.sourceFormat == FMT_A8R8G8B8;
  for (int row = 0; row < picture.height; ++row) {
    for (int column = 0; column < picture.width; ++column) {
      Rgba c = RgbaFromArgb(picture.texels[static_cast<size_t>(row) * picture.width + column]);
      if (!blended) c.a = 1.0f;
      canvas.Blend(x + column, y + row, c, 1.0f);
    }
  }
}

void DrawPictureStretched(Canvas& canvas, const Image& picture, int x, int y, int width,
                          int height) {
  if (picture.width <= 0 || picture.height <= 0 || width <= 0 || height <= 0) return;
  const bool blended = picture.sourceFormat == FMT_A8R8G8B8;
  const auto texel = [&](int tx, int ty) {
    tx = std::clamp(tx, 0, picture.width - 1);
    ty = std::clamp(ty, 0, picture.height - 1);
    return RgbaFromArgb(picture.texels[static_cast<size_t>(ty) * picture.width + tx]);
  };
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      // Texel centres as a linear filter sees them.
      const float u = (static_cast<float>(column) + 0.5f) * picture.width / width - 0.5f;
      const float v = (static_cast<float>(row) + 0.5f) * picture.height / height - 0.5f;
      const int u0 = static_cast<int>(std::floor(u)), v0 = static_cast<int>(std::floor(v));
      const float fu = u - static_cast<float>(u0), fv = v - static_cast<float>(v0);
      Rgba c = Mix(Mix(texel(u0, v0), texel(u0 + 1, v0), fu),
                   Mix(texel(u0, v0 + 1), texel(u0 + 1, v0 + 1), fu), fv);
      if (!blended) c.a = 1.0f;
      canvas.Blend(x + column, y + row, c, 1.0f);
    }
  }
}

}  // namespace skin
}  // namespace kbh
