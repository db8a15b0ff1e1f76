#include "tools/workshop/interface_pictures.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tools/workshop/skin_kit.hpp"

namespace kbh {

namespace {

Rgba HslToRgb(float hue, float saturation, float lightness) {
  const float c = (1.0f - std::fabs(2.0f * lightness - 1.0f)) * saturation;
  const float h = hue / 60.0f;
  const float x = c * (1.0f - std::fabs(std::fmod(h, 2.0f) - 1.0f));
  float r = 0.0f, g = 0.0f, b = 0.0f;
  if (h < 1.0f)
    r = c, g = x;
  else if (h < 2.0f)
    r = x, g = c;
  else if (h < 3.0f)
    g = c, b = x;
  else if (h < 4.0f)
    g = x, b = c;
  else if (h < 5.0f)
    r = x, b = c;
  else
    r = c, b = x;
  const float m = lightness - c * 0.5f;
  return Rgb(r + m, g + m, b + m);
}

}  // namespace

Image MakePalette() {
  constexpr int kWidth = 100;
  constexpr int kHeight = 60;
  constexpr int kHues = 84;
  Canvas canvas(kWidth, kHeight);
  canvas.Paint([&](float fx, float fy) {
    const int x = static_cast<int>(fx);
    const float row = (fy - 0.5f) / static_cast<float>(kHeight - 1);
    if (x < kHues) {
      const float hue = 360.0f * (fx - 0.5f) / kHues;
      return HslToRgb(hue, 0.92f, 0.95f - 0.89f * row);
    }
    if (x < kHues + 2) return Rgb(0.19f, 0.19f, 0.19f);
    const float v = 1.0f - row;
    return Rgb(v, v, v);
  });
  return canvas.ToImage();
}

Image MakeModelFrame(const Lettering& lettering) {
  constexpr int kWidth = 480;
  constexpr int kHeight = 310;
  constexpr int kWindowW = 450;
  constexpr int kWindowH = 260;
  const float wx0 = kModelFrameWindowX;
  const float wy0 = kModelFrameWindowY;
  const float wx1 = wx0 + kWindowW;
  const float wy1 = wy0 + kWindowH;
  Canvas canvas(kWidth, kHeight);
  const Contour outer = RoundedRectContour(0.0f, 0.0f, kWidth, kHeight, 12.0f);
  canvas.Fill({outer},
              BrushedMetal(Rgb(0.33f, 0.34f, 0.36f), Rgb(0.15f, 0.16f, 0.17f), 0.0f, kHeight, 3));
  // A lighter title band and a red pin line under it.
  canvas.Fill({RoundedRectContour(2.0f, 2.0f, kWidth - 2.0f, wy0 - 4.0f, 10.0f)},
              BrushedMetal(Rgb(0.40f, 0.41f, 0.43f), Rgb(0.27f, 0.28f, 0.30f), 0.0f, wy0, 5));
  canvas.Fill({RectContour(14.0f, wy0 - 4.0f, kWidth - 14.0f, wy0 - 2.5f)},
              Rgb(0.66f, 0.10f, 0.10f));
  // Edge light on top, shadow at the bottom.
  canvas.Fill({RectContour(10.0f, 0.5f, kWidth - 10.0f, 1.5f)}, Rgba{1, 1, 1, 0.35f});
  canvas.Fill({RectContour(10.0f, kHeight - 1.5f, kWidth - 10.0f, kHeight - 0.5f)},
              Rgba{0, 0, 0, 0.5f});
  // The window's bevel: shadow above and left, light below and right.
  canvas.Fill({RectContour(wx0 - 3.0f, wy0 - 3.0f, wx1 + 3.0f, wy1 + 3.0f)}, [=](float x, float y) {
    const bool lit = x > wx1 || y > wy1;
    return lit ? Rgba{0.55f, 0.56f, 0.58f, 1.0f} : Rgba{0.06f, 0.06f, 0.07f, 1.0f};
  });
  canvas.Erase({RectContour(wx0, wy0, wx1, wy1)});
  for (const Vec2 p : {Vec2{8.0f, 8.0f}, Vec2{kWidth - 8.0f, 8.0f}, Vec2{8.0f, kHeight - 8.0f},
                       Vec2{kWidth - 8.0f, kHeight - 8.0f}}) {
    AddScrew(canvas, p.x, p.y, 4.0f);
  }
  // Title, and a small lamp that says the preview is live.
  const TextStyle title{"DejaVu Sans", 17, 700};
  lettering.Draw(canvas, title, "VORSCHAU", 24, 8, Rgba{0, 0, 0, 0.6f});
  lettering.Draw(canvas, title, "VORSCHAU", 23, 7, Rgb(0.86f, 0.86f, 0.84f));
  const float lampX = kWidth - 28.0f;
  const float lampY = 16.0f;
  canvas.Fill({EllipseContour(lampX, lampY, 9.0f, 9.0f)}, [=](float x, float y) {
    const float d = std::hypot(x - lampX, y - lampY) / 9.0f;
    return Rgba{1.0f, 0.25f, 0.15f, 0.35f * (1.0f - d)};
  });
  canvas.Fill({EllipseContour(lampX, lampY, 4.5f, 4.5f)}, [=](float x, float y) {
    const float d = std::hypot(x - lampX + 1.2f, y - lampY + 1.2f) / 4.5f;
    return Mix(Rgb(1.0f, 0.75f, 0.6f), Rgb(0.75f, 0.08f, 0.05f), Clamp01(d));
  });
  // Vent slots in the bottom band.
  for (int s = 0; s < 5; ++s) {
    const float x = kWidth * 0.5f - 40.0f + 18.0f * static_cast<float>(s);
    canvas.Fill({RoundedRectContour(x, wy1 + 6.0f, x + 10.0f, wy1 + 10.0f, 2.0f)},
                Rgb(0.07f, 0.07f, 0.08f));
  }
  return canvas.ToImage();
}

Image MakeLoadingImage(const Lettering& lettering) {
  constexpr int kWidth = 260;
  constexpr int kHeight = 124;
  Canvas canvas(kWidth, kHeight);
  canvas.Fill({RoundedRectContour(0.0f, 0.0f, kWidth, kHeight, 10.0f)}, [](float, float y) {
    return Mix(Rgb(0.14f, 0.15f, 0.17f), Rgb(0.06f, 0.07f, 0.08f), Clamp01(y / kHeight));
  });
  // A fine light border.
  canvas.Fill({RoundedRectContour(0.0f, 0.0f, kWidth, kHeight, 10.0f),
               Reversed(RoundedRectContour(1.0f, 1.0f, kWidth - 1.0f, kHeight - 1.0f, 9.0f))},
              Rgba{0.55f, 0.57f, 0.6f, 0.8f});
  const TextStyle title{"DejaVu Serif", 28, 700};
  const std::string name = "3D-Kolbenhof";
  const int titleX = (kWidth - lettering.Width(title, name)) / 2;
  lettering.Draw(canvas, title, name, titleX + 1, 11, Rgba{0, 0, 0, 0.7f});
  lettering.Draw(canvas, title, name, titleX, 10, [](float, float y) {
    return Mix(Rgb(1.0f, 0.96f, 0.86f), Rgb(0.86f, 0.66f, 0.38f), Clamp01((y - 14.0f) / 22.0f));
  });
  const TextStyle subtitle{"DejaVu Sans", 12, 400};
  lettering.DrawCentred(canvas, subtitle, "Die Werkstatt f\xFCr Mopeds", kWidth / 2, 46,
                        Rgb(0.72f, 0.74f, 0.76f));
  canvas.Fill({RectContour(40.0f, 68.0f, kWidth - 40.0f, 69.5f)}, Rgb(0.70f, 0.12f, 0.10f));
  // The groove the progress bar runs in.
  const float row = kLoadingBarRow;
  canvas.Fill({RectContour(0.0f, row - 7.0f, 216.0f, row + 7.0f)}, Rgb(0.03f, 0.03f, 0.04f));
  canvas.Fill({RectContour(0.0f, row + 6.0f, 216.0f, row + 7.0f)}, Rgba{1, 1, 1, 0.15f});
  const TextStyle caption{"DejaVu Sans", 11, 400};
  lettering.DrawCentred(canvas, caption, "Werkstatt wird eingerichtet \x85", 108,
                        static_cast<int>(row) + 11, Rgb(0.62f, 0.64f, 0.66f));
  return canvas.ToImage();
}

// --- Seller logos ------------------------------------------------------------------------------

namespace {

constexpr int kLogoWidth = 190;
constexpr int kLogoHeight = 66;

Canvas LogoPlate(Rgba top, Rgba bottom, float radius) {
  Canvas canvas(kLogoWidth, kLogoHeight);
  const Contour plate =
      RoundedRectContour(0.5f, 0.5f, kLogoWidth - 0.5f, kLogoHeight - 0.5f, radius);
  canvas.Fill({plate}, [=](float, float y) { return Mix(top, bottom, Clamp01(y / kLogoHeight)); });
  canvas.Fill({plate, Reversed(RoundedRectContour(2.0f, 2.0f, kLogoWidth - 2.0f, kLogoHeight - 2.0f,
                                                  std::max(radius - 1.5f, 0.0f)))},
              Rgba{1, 1, 1, 0.35f});
  return canvas;
}

// A spoked wheel emblem: rim, hub and spokes.
void SpokedWheel(Canvas& canvas, float cx, float cy, float r, Rgba colour) {
  canvas.Fill({EllipseContour(cx, cy, r, r), Reversed(EllipseContour(cx, cy, r * 0.8f, r * 0.8f))},
              colour);
  canvas.Fill({EllipseContour(cx, cy, r * 0.18f, r * 0.18f)}, colour);
  for (int k = 0; k < 12; ++k) {
    const float a = 2.0f * 3.14159265f * static_cast<float>(k) / 12.0f;
    canvas.Fill(
        StrokePolyline({{cx + std::cos(a + 0.3f) * r * 0.15f, cy + std::sin(a + 0.3f) * r * 0.15f},
                        {cx + std::cos(a) * r * 0.82f, cy + std::sin(a) * r * 0.82f}},
                       1.2f),
        colour);
  }
}

}  // namespace

std::vector<SellerLogo> MakeSellerLogos(const Lettering& lettering) {
  std::vector<SellerLogo> logos;
  const Rgba white = Rgb(0.97f, 0.96f, 0.93f);
  {
    // Frames and steering parts: steel blue plate, a gear-like emblem.
    Canvas c = LogoPlate(Rgb(0.17f, 0.29f, 0.47f), Rgb(0.08f, 0.14f, 0.25f), 8.0f);
    const float cx = 33.0f, cy = 33.0f;
    Path2 gear;
    Contour teeth;
    for (int k = 0; k < 32; ++k) {
      const float a = 2.0f * 3.14159265f * static_cast<float>(k) / 32.0f;
      const float r = (k % 4 < 2) ? 22.0f : 18.5f;
      teeth.push_back({cx + std::cos(a) * r, cy + std::sin(a) * r});
    }
    gear.push_back(teeth);
    gear.push_back(Reversed(EllipseContour(cx, cy, 11.0f, 11.0f)));
    c.Fill(gear, Rgb(0.86f, 0.78f, 0.45f));
    lettering.DrawCentred(c, {"DejaVu Sans", 15, 700}, "B", static_cast<int>(cx), 24,
                          Rgb(0.86f, 0.78f, 0.45f));
    lettering.Draw(c, {"DejaVu Sans", 19, 700}, "BRENNINGER", 62, 12, white);
    lettering.Draw(c, {"DejaVu Sans", 12, 400}, "Zweiradteile seit 1952", 63, 38,
                   Rgb(0.75f, 0.82f, 0.92f));
    logos.push_back({"brenninger", c.ToImage()});
  }
  {
    // Wheels and mudguards: silver plate, a spoked wheel.
    Canvas c = LogoPlate(Rgb(0.86f, 0.87f, 0.88f), Rgb(0.62f, 0.64f, 0.66f), 33.0f);
    SpokedWheel(c, 34.0f, 33.0f, 24.0f, Rgb(0.15f, 0.17f, 0.2f));
    lettering.Draw(c, {"DejaVu Serif", 21, 700}, "Ostermeier", 66, 9, Rgb(0.12f, 0.14f, 0.18f));
    lettering.Draw(c, {"DejaVu Sans", 12, 700}, "SPEICHENWERK", 68, 38, Rgb(0.62f, 0.10f, 0.10f));
    logos.push_back({"ostermeier", c.ToImage()});
  }
  {
    // Exhausts and engines: black plate with a flame-coloured stripe.
    Canvas c = LogoPlate(Rgb(0.10f, 0.10f, 0.11f), Rgb(0.03f, 0.03f, 0.03f), 4.0f);
    for (int k = 0; k < 3; ++k) {
      const float y = 44.0f + 5.0f * static_cast<float>(k);
      c.Fill(
          {{{8.0f, y}, {182.0f - 14.0f * k, y}, {176.0f - 14.0f * k, y + 3.0f}, {8.0f, y + 3.0f}}},
          Mix(Rgb(1.0f, 0.78f, 0.15f), Rgb(0.85f, 0.18f, 0.08f), static_cast<float>(k) / 2.0f));
    }
    lettering.Draw(c, {"DejaVu Sans", 22, 700}, "WENDLINGER", 12, 6, [](float, float y) {
      return Mix(Rgb(1.0f, 0.92f, 0.55f), Rgb(0.95f, 0.45f, 0.12f), Clamp01((y - 8.0f) / 22.0f));
    });
    lettering.Draw(c, {"DejaVu Sans", 11, 400}, "Auspuff- und Motorentechnik", 13, 30,
                   Rgb(0.75f, 0.75f, 0.75f));
    logos.push_back({"wendlinger", c.ToImage()});
  }
  {
    // Saddlery: leather brown with stitching.
    Canvas c(kLogoWidth, kLogoHeight);
    const Contour plate =
        RoundedRectContour(0.5f, 0.5f, kLogoWidth - 0.5f, kLogoHeight - 0.5f, 14.0f);
    c.Fill({plate}, [](float x, float y) {
      const float grain =
          0.9f + 0.1f * Grain(static_cast<int>(x / 2.0f), static_cast<int>(y / 2.0f), 17);
      return Scaled(
          Mix(Rgb(0.55f, 0.32f, 0.16f), Rgb(0.36f, 0.19f, 0.09f), Clamp01(y / kLogoHeight)), grain);
    });
    // Stitches along the edge.
    // Evenly spaced stitches all round, 3 pixels on, 2 off.
    const Contour seam =
        RoundedRectContour(6.0f, 6.0f, kLogoWidth - 6.0f, kLogoHeight - 6.0f, 9.0f);
    float walked = 0.0f;
    for (size_t i = 0; i < seam.size(); ++i) {
      const Vec2 a = seam[i];
      const Vec2 b = seam[(i + 1) % seam.size()];
      const float length = std::hypot(b.x - a.x, b.y - a.y);
      for (float t = 0.0f; t < length; t += 0.5f) {
        if (std::fmod(walked + t, 5.0f) < 3.0f) {
          const float u = t / length;
          const float v = std::min(t + 0.5f, length) / length;
          c.Fill(StrokePolyline({{a.x + (b.x - a.x) * u, a.y + (b.y - a.y) * u},
                                 {a.x + (b.x - a.x) * v, a.y + (b.y - a.y) * v}},
                                1.2f),
                 Rgba{0.95f, 0.85f, 0.6f, 0.5f});
        }
      }
      walked += length;
    }
    lettering.DrawCentred(c, {"DejaVu Serif", 13, 400}, "Sattlerei", kLogoWidth / 2, 10,
                          Rgb(0.96f, 0.88f, 0.7f));
    lettering.DrawCentred(c, {"DejaVu Serif", 24, 700}, "HOLLWEG", kLogoWidth / 2, 26,
                          Rgb(0.99f, 0.93f, 0.78f));
    logos.push_back({"hollweg", c.ToImage()});
  }
  {
    // Lights: dark plate with a rising sun of rays.
    Canvas c = LogoPlate(Rgb(0.20f, 0.22f, 0.25f), Rgb(0.09f, 0.10f, 0.12f), 8.0f);
    const float cx = 30.0f, cy = 40.0f;
    for (int k = 0; k < 9; ++k) {
      const float a = -3.14159265f + 3.14159265f * (static_cast<float>(k) + 0.5f) / 9.0f;
      c.Fill({{{cx, cy},
               {cx + std::cos(a - 0.09f) * 26.0f, cy + std::sin(a - 0.09f) * 26.0f},
               {cx + std::cos(a + 0.09f) * 26.0f, cy + std::sin(a + 0.09f) * 26.0f}}},
             Rgba{1.0f, 0.86f, 0.35f, 0.85f});
    }
    c.Fill({EllipseContour(cx, cy, 10.0f, 10.0f)}, Rgb(1.0f, 0.95f, 0.7f));
    lettering.Draw(c, {"DejaVu Sans", 17, 700}, "KRANZB\xDCHLER", 60, 14, white);
    lettering.Draw(c, {"DejaVu Sans", 12, 400}, "Lichtwerk", 61, 37, Rgb(1.0f, 0.86f, 0.35f));
    logos.push_back({"kranzbuehler", c.ToImage()});
  }
  {
    // Tanks and accessories: deep red plate with a wing.
    Canvas c = LogoPlate(Rgb(0.62f, 0.08f, 0.09f), Rgb(0.36f, 0.03f, 0.04f), 8.0f);
    // A falcon's wing: five feathers fanned out from the shoulder, each a
    // slim leaf that ends in a point.
    const Vec2 shoulder{16.0f, 52.0f};
    for (int k = 0; k < 5; ++k) {
      const float a = -1.25f + 0.2f * static_cast<float>(k);
      const float length = 44.0f - 5.0f * static_cast<float>(k);
      const Vec2 along{std::cos(a), std::sin(a)};
      const Vec2 across{-along.y, along.x};
      Contour feather;
      for (int s = 0; s <= 16; ++s) {
        const float t = static_cast<float>(s) / 16.0f;
        const float w = 4.2f * std::sin(3.14159265f * std::pow(t, 0.7f));
        feather.push_back({shoulder.x + along.x * length * t + across.x * w,
                           shoulder.y + along.y * length * t + across.y * w});
      }
      for (int s = 15; s >= 1; --s) {
        const float t = static_cast<float>(s) / 16.0f;
        const float w = 4.2f * std::sin(3.14159265f * std::pow(t, 0.7f));
        feather.push_back({shoulder.x + along.x * length * t - across.x * w,
                           shoulder.y + along.y * length * t - across.y * w});
      }
      const float shade = 1.0f - 0.07f * static_cast<float>(k);
      c.Fill({feather}, Rgb(0.99f * shade, 0.91f * shade, 0.76f * shade));
    }
    lettering.Draw(c, {"DejaVu Serif", 24, 700}, "Falkner", 66, 8, white);
    lettering.Draw(c, {"DejaVu Sans", 11, 400}, "Tank & Zubeh\xF6r", 68, 40,
                   Rgb(1.0f, 0.85f, 0.8f));
    logos.push_back({"falkner", c.ToImage()});
  }
  {
    // Carriers and stands: a long steel banner, twice the box's width, so
    // the seller screen shows it at half size.
    constexpr int kWidth = 2 * kLogoWidth;
    Canvas c(kWidth, kLogoHeight);
    const Contour plate = RoundedRectContour(0.5f, 0.5f, kWidth - 0.5f, kLogoHeight - 0.5f, 6.0f);
    c.Fill({plate},
           BrushedMetal(Rgb(0.78f, 0.80f, 0.82f), Rgb(0.50f, 0.53f, 0.56f), 0.0f, kLogoHeight, 71));
    c.Fill(
        {plate, Reversed(RoundedRectContour(4.0f, 4.0f, kWidth - 4.0f, kLogoHeight - 4.0f, 3.0f))},
        Rgb(0.14f, 0.20f, 0.30f));
    // Three chain links on the left.
    for (int k = 0; k < 3; ++k) {
      const float cx = 30.0f + 20.0f * static_cast<float>(k);
      const float cy = k % 2 == 0 ? 28.0f : 38.0f;
      c.Fill({RoundedRectContour(cx - 13.0f, cy - 7.0f, cx + 13.0f, cy + 7.0f, 7.0f),
              Reversed(RoundedRectContour(cx - 8.0f, cy - 3.0f, cx + 8.0f, cy + 3.0f, 3.0f))},
             Rgb(0.14f, 0.20f, 0.30f));
    }
    lettering.Draw(c, {"DejaVu Sans", 30, 700}, "LINDEMANN", 96, 7, Rgb(0.12f, 0.18f, 0.28f));
    lettering.Draw(c, {"DejaVu Sans", 15, 700}, "STAHLBAU  \xB7  TR\xC4GER  \xB7  ST\xC4NDER", 98,
                   40, Rgb(0.62f, 0.10f, 0.10f));
    logos.push_back({"lindemann", c.ToImage()});
  }
  {
    // Windscreens: an upright enamel badge, twice as high as the box, so
    // the seller screen shows it at half size in the middle.
    constexpr int kWidth = 100;
    constexpr int kHeight = 2 * kLogoHeight;
    Canvas c(kWidth, kHeight);
    Contour shield;
    for (int i = 0; i <= 32; ++i) {
      // Straight sides, a pointed bottom.
      const float t = static_cast<float>(i) / 32.0f;
      const float y = 40.0f + t * 90.0f;
      const float half = t < 0.55f ? 48.0f : 48.0f * std::cos((t - 0.55f) / 0.45f * 1.5707964f);
      shield.push_back({50.0f + half, y});
    }
    for (int i = 32; i >= 0; --i) {
      const float t = static_cast<float>(i) / 32.0f;
      const float y = 40.0f + t * 90.0f;
      const float half = t < 0.55f ? 48.0f : 48.0f * std::cos((t - 0.55f) / 0.45f * 1.5707964f);
      shield.push_back({50.0f - half, y});
    }
    const Contour top = RoundedRectContour(2.0f, 2.0f, 98.0f, 48.0f, 10.0f);
    c.Fill({top, shield}, Rgb(0.93f, 0.91f, 0.84f));
    c.Fill({RoundedRectContour(6.0f, 6.0f, 94.0f, 44.0f, 7.0f)}, Rgb(0.10f, 0.30f, 0.45f));
    // A windscreen over a headlamp.
    c.Fill({EllipseContour(50.0f, 74.0f, 30.0f, 24.0f, 64),
            Reversed(EllipseContour(50.0f, 78.0f, 26.0f, 20.0f, 64))},
           Rgb(0.10f, 0.30f, 0.45f));
    c.Fill({RectContour(18.0f, 74.0f, 82.0f, 96.0f)}, Rgb(0.93f, 0.91f, 0.84f));
    c.Fill({EllipseContour(50.0f, 84.0f, 8.0f, 8.0f, 48)}, Rgb(0.10f, 0.30f, 0.45f));
    c.Fill({EllipseContour(50.0f, 84.0f, 4.5f, 4.5f, 48)}, Rgb(1.0f, 0.86f, 0.35f));
    lettering.DrawCentred(c, {"DejaVu Sans", 22, 700}, "MAHLER", 50, 12, white);
    lettering.DrawCentred(c, {"DejaVu Sans", 11, 700}, "KLARSICHT", 50, 98,
                          Rgb(0.10f, 0.30f, 0.45f));
    logos.push_back({"mahler", c.ToImage()});
  }
  return logos;
}

// --- Part textures ------------------------------------------------------------------------------

std::vector<PartTexture> MakePartTextures() {
  std::vector<PartTexture> textures;
  {
    // The standard tank's paint: metallic red with cream pinstripes.
    Canvas c(256, 128);
    c.Paint([](float x, float y) {
      const float flake = 0.92f + 0.08f * Grain(static_cast<int>(x), static_cast<int>(y), 23);
      const float sheen = 0.8f + 0.2f * std::sin(y / 128.0f * 3.14159265f);
      return Scaled(Rgb(0.70f, 0.09f, 0.11f), flake * sheen);
    });
    for (float y : {40.0f, 46.0f}) {
      c.Fill({RectContour(0.0f, y, 256.0f, y + (y < 42.0f ? 2.0f : 1.0f))},
             Rgb(0.95f, 0.90f, 0.77f));
    }
    c.Fill({EllipseContour(200.0f, 84.0f, 30.0f, 14.0f)}, Rgb(0.91f, 0.78f, 0.38f));
    textures.push_back({0x040101, TextureFormat::kDds, c.ToImage()});
  }
  {
    // Seat vinyl: fine grain with the seams of the pleats.
    Canvas c(128, 128);
    c.Paint([](float x, float y) {
      const float grain = 0.8f + 0.2f * Grain(static_cast<int>(x), static_cast<int>(y), 29);
      const float seam = std::fmod(x, 32.0f) < 2.0f ? 0.55f : 1.0f;
      return Scaled(Rgb(0.11f, 0.11f, 0.11f), grain * seam);
    });
    textures.push_back({0x050101, TextureFormat::kPng, c.ToImage()});
  }
  for (uint32_t id : {0x080101u, 0x080201u}) {
    // Tyre tread: staggered blocks.
    Canvas c(256, 32);
    c.Paint([](float x, float y) {
      const int block = static_cast<int>(x / 16.0f);
      const float offset = (block % 2 == 0) ? 0.0f : 8.0f;
      const float u = std::fmod(x, 16.0f);
      const float v = std::fmod(y + offset, 16.0f);
      const bool groove = u < 2.5f || v < 2.0f;
      return groove ? Rgb(0.04f, 0.04f, 0.04f) : Rgb(0.13f, 0.13f, 0.13f);
    });
    textures.push_back({id, TextureFormat::kBmp, c.ToImage()});
  }
  {
    // The number plate: white with a black border.
    Canvas c(128, 64, Rgb(0.95f, 0.95f, 0.93f));
    c.Fill({RoundedRectContour(2.0f, 2.0f, 126.0f, 62.0f, 4.0f),
            Reversed(RoundedRectContour(5.0f, 5.0f, 123.0f, 59.0f, 2.0f))},
           Rgb(0.05f, 0.05f, 0.05f));
    Image image = c.ToImage();
    image.sourceFormat = FMT_X8R8G8B8;
    textures.push_back({0x0A0201, TextureFormat::kDds, image});
  }
  return textures;
}

}  // namespace kbh
