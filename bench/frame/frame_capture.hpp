// What a frame of the program draws in 2D, caught on its way to the device,
// so that a bare OpenGL program can draw exactly the same pictures, text and
// lines in the same order and with the same blending: the program's device
// goes on doing all the work, the capture only keeps a copy. The 3D draws on
// the back buffer are kept as one marker per run, to say where the bare
// program draws its own meshes between the 2D ones.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/gpu/device.hpp"
#include "platform/gpu/graphics_system.hpp"

namespace kbh {

struct CapturedDraw {
  enum class Kind { kSprite, kGlyphs, kLine, kMeshes };
  Kind kind = Kind::kSprite;
  SpriteDraw sprite;  // kSprite
  TextureHandle atlas = TextureHandle::kNone;
  std::vector<GlyphQuad> quads;  // kGlyphs
  uint32_t color = 0;            // kGlyphs, kLine
  bool clipped = false;
  PixelRect clip{};
  Vec2 from, to;  // kLine
  float width = 0.0f;
};

struct FrameCapture {
  // The pictures the program made, by handle, for the bare program to upload.
  std::unordered_map<uint32_t, Image> images;
  // Handles of render textures: the bare program draws its own in their place.
  std::vector<uint32_t> renderTextures;
  bool capturing = false;
  std::vector<CapturedDraw> draws;
};

// A graphics system whose devices hand everything to the real ones and note
// into capture what FrameCapture describes.
std::unique_ptr<GraphicsSystem> CaptureGraphicsSystem(std::unique_ptr<GraphicsSystem> real,
                                                      FrameCapture& capture);

}  // namespace kbh
