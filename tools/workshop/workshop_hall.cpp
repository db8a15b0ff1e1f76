#include "tools/workshop/workshop_hall.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kbh {

namespace {

// The hall's walls, floor and ceiling (world units, the floor at kFloorY).
constexpr float kWallLeft = -1200.0f;
constexpr float kWallRight = 1200.0f;
constexpr float kWallBack = 520.0f;     // behind the moped, seen in the backdrop
constexpr float kWallFront = -1400.0f;  // behind the viewer, with the open door
constexpr float kCeiling = 560.0f;

// Where the environment map is seen from: the middle of the moped.
constexpr Vec3 kReflectionOrigin{0.0f, 50.0f, 0.0f};
constexpr float kTurntableRadius = 165.0f;

// --- Noise: deterministic, no library randomness ---------------------------------

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^
               seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  h ^= h >> 15;
  return h;
}

float Hash01(int32_t x, int32_t y, uint32_t seed) {
  return static_cast<float>(Hash(x, y, seed) & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float SmoothNoise(float x, float y, uint32_t seed) {
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const int32_t ix = static_cast<int32_t>(fx);
  const int32_t iy = static_cast<int32_t>(fy);
  float tx = x - fx;
  float ty = y - fy;
  tx = tx * tx * (3.0f - 2.0f * tx);
  ty = ty * ty * (3.0f - 2.0f * ty);
  const float a = Hash01(ix, iy, seed);
  const float b = Hash01(ix + 1, iy, seed);
  const float c = Hash01(ix, iy + 1, seed);
  const float d = Hash01(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) * (1.0f - ty) + (c + (d - c) * tx) * ty;
}

float Fractal(float x, float y, uint32_t seed) {
  return 0.5f * SmoothNoise(x, y, seed) + 0.3f * SmoothNoise(x * 2.03f, y * 2.03f, seed + 1) +
         0.2f * SmoothNoise(x * 4.1f, y * 4.1f, seed + 2);
}

Rgba Rgb(float r, float g, float b) {
  return {r, g, b, 1.0f};
}

Rgba Add(Rgba a, Rgba b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b, 1.0f};
}

bool Inside(float v, float from, float to) {
  return v >= from && v <= to;
}

// --- Surfaces ------------------------------------------------------------------------

Rgba Sky(Vec3 direction) {
  const float up = std::clamp(direction.y, -0.2f, 1.0f);
  if (up < 0.02f) {
    // The yard outside the door: pale paving and a strip of green.
    const float t = std::clamp(-up * 8.0f, 0.0f, 1.0f);
    return Mix(Rgb(0.62f, 0.66f, 0.55f), Rgb(0.55f, 0.55f, 0.52f), t);
  }
  const float t = std::pow(std::clamp(up, 0.0f, 1.0f), 0.45f);
  return Mix(Rgb(1.45f, 1.45f, 1.40f), Rgb(0.55f, 0.75f, 1.15f), t);
}

// Steel-framed factory window: a grid of panes with dark glazing bars.
// u, v are local coordinates inside the window (0..width, 0..height).
Rgba Window(float u, float v, float width, float height, Vec3 direction, int panesX, int panesY) {
  const float frame = 9.0f;
  if (u < frame || v < frame || u > width - frame || v > height - frame) {
    return Rgb(0.17f, 0.19f, 0.21f);
  }
  const float paneW = (width - 2.0f * frame) / static_cast<float>(panesX);
  const float paneH = (height - 2.0f * frame) / static_cast<float>(panesY);
  const float pu = std::fmod(u - frame, paneW);
  const float pv = std::fmod(v - frame, paneH);
  const float bar = 2.5f;
  if (pu < bar || pu > paneW - bar || pv < bar || pv > paneH - bar) return Rgb(0.22f, 0.24f, 0.26f);
  Rgba light = Sky(direction);
  // Old glass is never perfectly clear.
  return Scaled(light, 0.92f + 0.08f * SmoothNoise(u * 0.05f, v * 0.05f, 7));
}

Rgba WallPaint(float along, float y, uint32_t seed) {
  if (y < 70.0f) {
    // Dark dado with a lighter rail on top: it hides the scuffs.
    if (y > 62.0f) return Rgb(0.30f, 0.36f, 0.38f);
    const float grain = 0.94f + 0.06f * Fractal(along * 0.02f, y * 0.02f, seed);
    return Scaled(Rgb(0.15f, 0.24f, 0.27f), grain);
  }
  const float grain = 0.95f + 0.05f * Fractal(along * 0.01f, y * 0.01f, seed + 3);
  // The walls are lit from the ceiling: brighter near the top.
  const float light = 0.82f + 0.18f * std::clamp((y - 70.0f) / 450.0f, 0.0f, 1.0f);
  return Scaled(Rgb(0.80f, 0.76f, 0.68f), grain * light);
}

// The closed roller shutter in the middle of the back wall: horizontal slats.
Rgba Shutter(float u, float v) {
  const float slat = std::fmod(v, 14.0f) / 14.0f;
  const float relief = 0.80f + 0.2f * std::sin(slat * 3.14159f);
  const float groove = slat < 0.08f ? 0.55f : 1.0f;
  const float dirt = 0.9f + 0.1f * Fractal(u * 0.01f, v * 0.03f, 11);
  return Scaled(Rgb(0.48f, 0.53f, 0.57f), relief * groove * dirt);
}

// Shelves with coloured boxes and tins: colour for the reflections.
Rgba Shelves(float u, float v, uint32_t seed) {
  const float boardGap = 95.0f;
  const float level = std::fmod(v, boardGap);
  if (level < 6.0f) return Rgb(0.35f, 0.24f, 0.14f);  // the board
  const int slot = static_cast<int>(std::floor(u / 46.0f));
  const int shelf = static_cast<int>(std::floor(v / boardGap));
  const float fill = Hash01(slot, shelf, seed);
  const float boxHeight = 40.0f + 40.0f * Hash01(slot, shelf, seed + 5);
  const float inSlot = std::fmod(u, 46.0f);
  if (fill < 0.18f || level - 6.0f > boxHeight || inSlot < 3.0f || inSlot > 43.0f) {
    return Rgb(0.12f, 0.11f, 0.10f);  // the dark back of the shelf
  }
  static const Rgba kBoxes[] = {Rgb(0.70f, 0.16f, 0.12f), Rgb(0.85f, 0.62f, 0.10f),
                                Rgb(0.16f, 0.32f, 0.62f), Rgb(0.55f, 0.55f, 0.52f),
                                Rgb(0.20f, 0.45f, 0.25f), Rgb(0.72f, 0.68f, 0.60f)};
  const Rgba box = kBoxes[Hash(slot, shelf, seed + 9) % 6];
  const float label =
      Inside(level - 6.0f, boxHeight * 0.45f, boxHeight * 0.7f) && Inside(inSlot, 12.0f, 34.0f)
          ? 1.35f
          : 1.0f;
  return Scaled(box, label);
}

// A pegboard with tools: dark outlines on a light board.
Rgba Pegboard(float u, float v) {
  const float hole = std::hypot(std::fmod(u, 12.0f) - 6.0f, std::fmod(v, 12.0f) - 6.0f);
  Rgba board = hole < 1.6f ? Rgb(0.30f, 0.26f, 0.20f) : Rgb(0.66f, 0.58f, 0.44f);
  // Spanners hanging in a row, each a bar with a ring on top.
  const int slot = static_cast<int>(std::floor(u / 36.0f));
  const float x = std::fmod(u, 36.0f) - 18.0f;
  const float length = 70.0f + 12.0f * static_cast<float>(slot % 4);
  const float top = 210.0f;
  if (std::fabs(x) < 3.5f && Inside(v, top - length, top)) return Rgb(0.55f, 0.57f, 0.60f);
  if (std::fabs(std::hypot(x, v - top) - 8.0f) < 3.0f) return Rgb(0.60f, 0.62f, 0.65f);
  return board;
}

Rgba BackWall(Vec3 p, Vec3 direction) {
  const float x = p.x;
  const float y = p.y;
  // Windows high up, the shutter in the middle, pegboard left, shelves right.
  const float windowCentres[] = {-900.0f, -470.0f, 470.0f, 900.0f};
  for (float centre : windowCentres) {
    if (Inside(x, centre - 170.0f, centre + 170.0f) && Inside(y, 260.0f, 500.0f)) {
      return Window(x - (centre - 170.0f), y - 260.0f, 340.0f, 240.0f, direction, 4, 3);
    }
  }
  if (Inside(x, -230.0f, 230.0f) && Inside(y, kFloorY, 330.0f)) {
    if (y > 310.0f) return Rgb(0.22f, 0.25f, 0.28f);             // the shutter box
    if (std::fabs(x) > 222.0f) return Rgb(0.25f, 0.28f, 0.30f);  // the guide rails
    return Shutter(x, y);
  }
  if (Inside(x, -820.0f, -330.0f) && Inside(y, 40.0f, 230.0f))
    return Pegboard(x + 820.0f, y - 40.0f);
  if (Inside(x, 340.0f, 860.0f) && Inside(y, kFloorY, 240.0f))
    return Shelves(x - 340.0f, y - kFloorY, 21);
  return WallPaint(x, y, 1);
}

Rgba SideWall(Vec3 p, Vec3 direction, bool left) {
  const float along = p.z;
  const float y = p.y;
  for (int w = 0; w < 4; ++w) {
    const float centre = -1100.0f + 420.0f * static_cast<float>(w);
    if (Inside(along, centre - 150.0f, centre + 150.0f) && Inside(y, 250.0f, 490.0f)) {
      return Window(along - (centre - 150.0f), y - 250.0f, 300.0f, 240.0f, direction, 3, 3);
    }
  }
  if (left && Inside(along, -700.0f, 200.0f) && Inside(y, kFloorY, 220.0f)) {
    return Shelves(along + 700.0f, y - kFloorY, 33);
  }
  if (!left && Inside(along, -900.0f, -300.0f) && Inside(y, 40.0f, 230.0f)) {
    return Pegboard(along + 900.0f, y - 40.0f);
  }
  return WallPaint(along, y, left ? 5 : 9);
}

Rgba FrontWall(Vec3 p, Vec3 direction) {
  // The roller door behind the viewer stands open to a bright yard: the big
  // light that every chrome part shows.
  if (Inside(p.x, -650.0f, 450.0f) && p.y < 420.0f) {
    if (p.y > 395.0f || p.x < -630.0f || p.x > 430.0f) return Rgb(0.20f, 0.22f, 0.24f);
    return Sky(direction);
  }
  for (float centre : {-950.0f, 820.0f}) {
    if (Inside(p.x, centre - 140.0f, centre + 140.0f) && Inside(p.y, 250.0f, 490.0f)) {
      return Window(p.x - (centre - 140.0f), p.y - 250.0f, 280.0f, 240.0f, direction, 3, 3);
    }
  }
  return WallPaint(p.x, p.y, 13);
}

// Rows of twin-tube fluorescent fittings along x.
float LampGlow(float x, float z, float* halo) {
  const float rows[] = {-1150.0f, -750.0f, -350.0f, 50.0f, 400.0f};
  const float columns[] = {-750.0f, 0.0f, 750.0f};
  float best = 0.0f;
  float glow = 0.0f;
  for (float rz : rows) {
    for (float cx : columns) {
      const float dx = std::max(0.0f, std::fabs(x - cx) - 260.0f);
      const float dz = std::max(0.0f, std::fabs(z - rz) - 22.0f);
      if (dx == 0.0f && dz == 0.0f) best = 1.0f;
      const float d = std::hypot(dx, dz);
      glow = std::max(glow, std::exp(-d / 70.0f));
    }
  }
  *halo = glow;
  return best;
}

Rgba Ceiling(Vec3 p) {
  float halo = 0.0f;
  if (LampGlow(p.x, p.z, &halo) > 0.0f) {
    // The fitting's two tubes and the white reflector between them.
    const float frac = std::fmod(std::fabs(p.z) + 1000.0f, 44.0f);
    return frac < 6.0f || frac > 38.0f ? Rgb(0.8f, 0.8f, 0.8f) : Rgb(3.2f, 3.2f, 3.0f);
  }
  // Steel beams across the hall.
  const float beam = std::fmod(p.z + 2000.0f, 400.0f);
  Rgba base = beam < 30.0f ? Rgb(0.16f, 0.17f, 0.19f) : Rgb(0.30f, 0.31f, 0.33f);
  return Add(base, Scaled(Rgb(0.5f, 0.5f, 0.48f), halo * 0.6f));
}

Rgba FloorBase(Vec3 p) {
  // Large sealed concrete tiles, each a slightly different tone.
  const float tile = 160.0f;
  const float tx = std::fmod(p.x + 4800.0f, tile);
  const float tz = std::fmod(p.z + 4800.0f, tile);
  const int ix = static_cast<int>(std::floor(p.x / tile));
  const int iz = static_cast<int>(std::floor(p.z / tile));
  const float tone = 0.92f + 0.08f * Hash01(ix, iz, 41);
  const float grain = 0.9f + 0.1f * Fractal(p.x * 0.02f, p.z * 0.02f, 43);
  Rgba c = Scaled(Rgb(0.46f, 0.46f, 0.44f), tone * grain);
  if (tx < 2.0f || tz < 2.0f) c = Scaled(c, 0.6f);
  // A yellow safety line marks the edge of the work bay.
  if (Inside(p.z, 300.0f, 312.0f) && std::fabs(p.x) < 900.0f) c = Rgb(0.78f, 0.62f, 0.12f);
  // Pools of light under the fittings.
  float halo = 0.0f;
  LampGlow(p.x, p.z, &halo);
  return Scaled(c, 0.85f + 0.25f * halo);
}

struct Hit {
  float t = 1e30f;
  int surface = -1;  // 0 floor, 1 ceiling, 2 left, 3 right, 4 back, 5 front
};

Hit Trace(Vec3 origin, Vec3 d) {
  Hit hit;
  const auto consider = [&](float t, int surface) {
    if (t > 1e-3f && t < hit.t) {
      hit.t = t;
      hit.surface = surface;
    }
  };
  if (d.y < 0.0f) consider((kFloorY - origin.y) / d.y, 0);
  if (d.y > 0.0f) consider((kCeiling - origin.y) / d.y, 1);
  if (d.x < 0.0f) consider((kWallLeft - origin.x) / d.x, 2);
  if (d.x > 0.0f) consider((kWallRight - origin.x) / d.x, 3);
  if (d.z > 0.0f) consider((kWallBack - origin.z) / d.z, 4);
  if (d.z < 0.0f) consider((kWallFront - origin.z) / d.z, 5);
  return hit;
}

// Corners and the floor's edges get darker: light reaches them less. The
// surface the point lies on does not count, only its neighbours.
float Occlusion(Vec3 p, int surface) {
  const float distances[6] = {p.y - kFloorY,    kCeiling - p.y,  p.x - kWallLeft,
                              kWallRight - p.x, kWallBack - p.z, p.z - kWallFront};
  float shade = 1.0f;
  for (int s = 0; s < 6; ++s) {
    if (s == surface) continue;
    shade *= 1.0f - 0.28f * std::exp(-std::max(distances[s], 0.0f) / 90.0f);
  }
  return shade;
}

Rgba Surface(Vec3 origin, Vec3 d, int bounce);

Rgba FloorColour(Vec3 p, Vec3 d, int bounce) {
  Rgba c = FloorBase(p);
  if (bounce == 0) {
    // The sealed floor is slightly glossy: a blurred, weak mirror image.
    const Vec3 mirrored{d.x, -d.y, d.z};
    Rgba reflection{0, 0, 0, 1};
    const Vec3 offsets[4] = {
        {0.02f, 0, 0.01f}, {-0.02f, 0, -0.01f}, {0.01f, 0, -0.02f}, {-0.01f, 0, 0.02f}};
    for (const Vec3& o : offsets) {
      const Rgba r = Surface(p, Normalize(mirrored + o), bounce + 1);
      reflection = Add(reflection, Scaled(r, 0.25f));
    }
    const float fresnel = 0.06f + 0.16f * std::pow(1.0f - std::fabs(d.y), 4.0f);
    c = Add(Scaled(c, 1.0f - fresnel), Scaled(reflection, fresnel));
  }
  return c;
}

Rgba Surface(Vec3 origin, Vec3 d, int bounce) {
  const Hit hit = Trace(origin, d);
  const Vec3 p = origin + d * hit.t;
  Rgba c;
  switch (hit.surface) {
    case 0:
      c = FloorColour(p, d, bounce);
      break;
    case 1:
      return Ceiling(p);
    case 2:
      c = SideWall(p, d, true);
      break;
    case 3:
      c = SideWall(p, d, false);
      break;
    case 4:
      c = BackWall(p, d);
      break;
    case 5:
      c = FrontWall(p, d);
      break;
    default:
      return Sky(d);
  }
  // Openings show daylight at full strength; painted surfaces sit in the
  // hall's shade.
  const float luminance = (c.r + c.g + c.b) / 3.0f;
  if (luminance > 1.0f) return c;
  return Scaled(c, Occlusion(p, hit.surface));
}

}  // namespace

Rgba HallRadiance(Vec3 origin, Vec3 direction) {
  return Surface(origin, Normalize(direction), 0);
}

CubeImage RenderEnvironmentMap(int size) {
  CubeImage cube;
  cube.size = size;
  cube.sourceFormat = FMT_X8R8G8B8;
  const Matrix view = StageView(kTuneUpCamera);
  const auto toWorld = [&](Vec3 c) {
    return Normalize({c.x * view.m[0][0] + c.y * view.m[0][1] + c.z * view.m[0][2],
                      c.x * view.m[1][0] + c.y * view.m[1][1] + c.z * view.m[1][2],
                      c.x * view.m[2][0] + c.y * view.m[2][1] + c.z * view.m[2][2]});
  };
  for (int face = 0; face < 6; ++face) {
    cube.faces[face].resize(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        Rgba sum{0, 0, 0, 1};
        // 2 x 2 samples per texel keep window bars from flickering.
        for (int sy = 0; sy < 2; ++sy) {
          for (int sx = 0; sx < 2; ++sx) {
            const float u = 2.0f * (static_cast<float>(x) + 0.25f + 0.5f * sx) / size - 1.0f;
            const float v = 2.0f * (static_cast<float>(y) + 0.25f + 0.5f * sy) / size - 1.0f;
            // Cube-map face directions (+X, -X, +Y, -Y, +Z, -Z), rows top first.
            Vec3 c;
            switch (face) {
              case 0:
                c = {1.0f, -v, -u};
                break;
              case 1:
                c = {-1.0f, -v, u};
                break;
              case 2:
                c = {u, 1.0f, v};
                break;
              case 3:
                c = {u, -1.0f, -v};
                break;
              case 4:
                c = {u, -v, 1.0f};
                break;
              default:
                c = {-u, -v, -1.0f};
                break;
            }
            sum = Add(sum, Scaled(HallRadiance(kReflectionOrigin, toWorld(c)), 0.25f));
          }
        }
        sum.a = 1.0f;
        cube.faces[face][static_cast<size_t>(y) * size + x] = ArgbFromRgba(sum);
      }
    }
  }
  return cube;
}

Image RenderBackdrop() {
  const StageCamera& camera = kTuneUpCamera;
  Canvas canvas(camera.width, camera.height);
  constexpr int kSamples = 2;
  for (int y = 0; y < camera.height; ++y) {
    for (int x = 0; x < camera.width; ++x) {
      Rgba sum{0, 0, 0, 1};
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const float px = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / kSamples;
          const float py = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / kSamples;
          const Vec3 d = PixelRay(camera, px, py);
          Rgba c = HallRadiance(camera.eye, d);
          // The turntable: a dark disc with a bright steel rim, and the
          // moped's soft shadow on it.
          if (d.y < 0.0f) {
            const float t = (kFloorY - camera.eye.y) / d.y;
            const Vec3 p = camera.eye + d * t;
            const float r = std::hypot(p.x, p.z);
            if (r < kTurntableRadius + 4.0f) {
              Rgba plate =
                  r > kTurntableRadius ? Rgb(0.70f, 0.72f, 0.74f) : Rgb(0.20f, 0.21f, 0.22f);
              if (r <= kTurntableRadius) {
                const float ring = std::fmod(r, 30.0f) < 1.5f ? 0.8f : 1.0f;
                const float shadow = 1.0f - 0.5f * std::exp(-(r * r) / 12000.0f);
                plate = Scaled(
                    plate, ring * shadow * (0.9f + 0.1f * Fractal(p.x * 0.05f, p.z * 0.05f, 51)));
              }
              c = plate;
            }
          }
          sum = Add(sum, Scaled(c, 1.0f / (kSamples * kSamples)));
        }
      }
      // Below the moped the interface panel takes over: the floor fades into
      // a calm dark tone there, so that nothing busy shows round the panel.
      const float calm = std::clamp((static_cast<float>(y) - 490.0f) / 60.0f, 0.0f, 1.0f);
      const float shade =
          0.17f - 0.05f * std::clamp((static_cast<float>(y) - 515.0f) / 253.0f, 0.0f, 1.0f);
      sum = Mix(sum, Rgb(shade, shade, shade * 1.03f), calm * calm * (3.0f - 2.0f * calm));
      // A gentle vignette keeps the eye on the moped.
      const float dx = (static_cast<float>(x) - 512.0f) / 512.0f;
      const float dy = (static_cast<float>(y) - 330.0f) / 420.0f;
      const float vignette = 1.0f - 0.28f * std::clamp(dx * dx + dy * dy - 0.2f, 0.0f, 1.0f);
      sum = Scaled(sum, vignette);
      sum.a = 1.0f;
      canvas.Set(x, y, sum);
    }
  }
  Image image = canvas.ToImage();
  image.sourceFormat = FMT_X8R8G8B8;
  return image;
}

}  // namespace kbh
