#include "tools/workshop/canvas.hpp"

#include <algorithm>
#include <cmath>

namespace kbh {

namespace {

constexpr float kTau = 6.28318530718f;
constexpr int kSubsamples = 4;  // per pixel along each axis

float Clamp01(float v) {
  return std::clamp(v, 0.0f, 1.0f);
}

uint32_t Channel(float v) {
  return static_cast<uint32_t>(std::lround(Clamp01(v) * 255.0f));
}

}  // namespace

Rgba Mix(Rgba a, Rgba b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

Rgba RgbaFromArgb(uint32_t argb) {
  return {static_cast<float>((argb >> 16) & 255) / 255.0f,
          static_cast<float>((argb >> 8) & 255) / 255.0f, static_cast<float>(argb & 255) / 255.0f,
          static_cast<float>(argb >> 24) / 255.0f};
}

Rgba Scaled(Rgba c, float brightness) {
  return {c.r * brightness, c.g * brightness, c.b * brightness, c.a};
}

uint32_t ArgbFromRgba(Rgba c) {
  return Channel(c.a) << 24 | Channel(c.r) << 16 | Channel(c.g) << 8 | Channel(c.b);
}

Contour RectContour(float x0, float y0, float x1, float y1) {
  return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

Contour RoundedRectContour(float x0, float y0, float x1, float y1, float radius) {
  const float r = std::min({radius, (x1 - x0) * 0.5f, (y1 - y0) * 0.5f});
  if (r <= 0.0f) return RectContour(x0, y0, x1, y1);
  Contour contour;
  const int steps = std::max(4, static_cast<int>(r));
  const Vec2 centres[4] = {{x1 - r, y0 + r}, {x1 - r, y1 - r}, {x0 + r, y1 - r}, {x0 + r, y0 + r}};
  for (int corner = 0; corner < 4; ++corner) {
    const float start = -0.25f * kTau + 0.25f * kTau * static_cast<float>(corner);
    for (int s = 0; s <= steps; ++s) {
      const float a = start + 0.25f * kTau * static_cast<float>(s) / steps;
      contour.push_back({centres[corner].x + r * std::cos(a), centres[corner].y + r * std::sin(a)});
    }
  }
  return contour;
}

Contour EllipseContour(float cx, float cy, float rx, float ry, int segments) {
  Contour contour;
  for (int i = 0; i < segments; ++i) {
    const float a = kTau * static_cast<float>(i) / segments;
    contour.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  return contour;
}

Path2 StrokePolyline(const std::vector<Vec2>& points, float width) {
  Path2 path;
  const float h = width * 0.5f;
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    const Vec2 a = points[i];
    const Vec2 b = points[i + 1];
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0.0f) continue;
    const float nx = -dy / length * h;
    const float ny = dx / length * h;
    path.push_back(
        {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
  }
  for (const Vec2 p : points)
    path.push_back(EllipseContour(p.x, p.y, h, h, 24));
  return path;
}

Contour Reversed(Contour contour) {
  std::reverse(contour.begin(), contour.end());
  return contour;
}

Contour Translated(Contour contour, float dx, float dy) {
  for (Vec2& p : contour)
    p = {p.x + dx, p.y + dy};
  return contour;
}

// --- Canvas ------------------------------------------------------------------------

Canvas::Canvas(int width, int height, Rgba clear)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, clear) {}

void Canvas::Paint(const PaintFunction& f) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      Set(x, y, f(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f));
    }
  }
}

std::vector<float> Canvas::Coverage(const Path2& path, int* x0, int* y0, int* x1, int* y1) const {
  float minX = 1e30f, minY = 1e30f, maxX = -1e30f, maxY = -1e30f;
  for (const Contour& contour : path) {
    for (const Vec2 p : contour) {
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
  }
  *x0 = std::max(0, static_cast<int>(std::floor(minX)));
  *y0 = std::max(0, static_cast<int>(std::floor(minY)));
  *x1 = std::min(width_, static_cast<int>(std::ceil(maxX)) + 1);
  *y1 = std::min(height_, static_cast<int>(std::ceil(maxY)) + 1);
  const int w = std::max(0, *x1 - *x0);
  const int h = std::max(0, *y1 - *y0);
  std::vector<float> coverage(static_cast<size_t>(w) * h, 0.0f);
  if (w == 0 || h == 0) return coverage;

  struct Crossing {
    float x;
    int winding;
  };
  std::vector<Crossing> crossings;
  const float weight = 1.0f / (kSubsamples * kSubsamples);
  for (int row = 0; row < h; ++row) {
    for (int sub = 0; sub < kSubsamples; ++sub) {
      const float sy =
          static_cast<float>(*y0 + row) + (static_cast<float>(sub) + 0.5f) / kSubsamples;
      crossings.clear();
      for (const Contour& contour : path) {
        for (size_t i = 0; i < contour.size(); ++i) {
          const Vec2 a = contour[i];
          const Vec2 b = contour[(i + 1) % contour.size()];
          if ((a.y <= sy) == (b.y <= sy)) continue;
          const float t = (sy - a.y) / (b.y - a.y);
          crossings.push_back({a.x + (b.x - a.x) * t, b.y > a.y ? 1 : -1});
        }
      }
      std::sort(crossings.begin(), crossings.end(),
                [](const Crossing& p, const Crossing& q) { return p.x < q.x; });
      int winding = 0;
      for (size_t i = 0; i + 1 < crossings.size(); ++i) {
        winding += crossings[i].winding;
        if (winding == 0) continue;
        // Horizontal samples of this sub-row between the two crossings.
        const float from = crossings[i].x - static_cast<float>(*x0);
        const float to = crossings[i + 1].x - static_cast<float>(*x0);
        const int first = std::max(0, static_cast<int>(std::ceil(from * kSubsamples - 0.5f)));
        const int last =
            std::min(w * kSubsamples - 1, static_cast<int>(std::ceil(to * kSubsamples - 0.5f)) - 1);
        for (int s = first; s <= last; ++s) {
          coverage[static_cast<size_t>(row) * w + s / kSubsamples] += weight;
        }
      }
    }
  }
  return coverage;
}

void Canvas::Blend(int x, int y, Rgba c, float coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const float sa = Clamp01(c.a * coverage);
  if (sa <= 0.0f) return;
  Rgba& d = pixels_[static_cast<size_t>(y) * width_ + x];
  const float outA = sa + d.a * (1.0f - sa);
  if (outA <= 0.0f) {
    d = {0, 0, 0, 0};
    return;
  }
  const float keep = d.a * (1.0f - sa);
  d = {(c.r * sa + d.r * keep) / outA, (c.g * sa + d.g * keep) / outA,
       (c.b * sa + d.b * keep) / outA, outA};
}

void Canvas::Fill(const Path2& path, Rgba colour) {
  Fill(path, [colour](float, float) { return colour; });
}

void Canvas::Fill(const Path2& path, const PaintFunction& paint) {
  int x0, y0, x1, y1;
  const std::vector<float> coverage = Coverage(path, &x0, &y0, &x1, &y1);
  const int w = x1 - x0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const float c = coverage[static_cast<size_t>(y - y0) * w + (x - x0)];
      if (c <= 0.0f) continue;
      Blend(x, y, paint(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f),
            std::min(c, 1.0f));
    }
  }
}

void Canvas::Erase(const Path2& path) {
  int x0, y0, x1, y1;
  const std::vector<float> coverage = Coverage(path, &x0, &y0, &x1, &y1);
  const int w = x1 - x0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const float c = std::min(coverage[static_cast<size_t>(y - y0) * w + (x - x0)], 1.0f);
      Rgba& d = pixels_[static_cast<size_t>(y) * width_ + x];
      d.a *= 1.0f - c;
    }
  }
}

Image Canvas::ToImage() const {
  Image image;
  image.width = width_;
  image.height = height_;
  image.sourceFormat = FMT_A8R8G8B8;
  image.texels.reserve(pixels_.size());
  for (const Rgba& p : pixels_)
    image.texels.push_back(ArgbFromRgba(p));
  return image;
}

}  // namespace kbh
