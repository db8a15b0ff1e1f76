// The graphics device as the program uses it: created once at start-up after
// a fixed list of checks, each logged in fixed words; the render-state and
// texture caches that keep redundant changes away from the driver; the view
// and projection; the frame bracket. Everything that draws goes through here.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "core/error_log.hpp"
#include "platform/gpu/device.hpp"
#include "platform/gpu/graphics_system.hpp"
#include "platform/math/math.hpp"

namespace kbh {

// Entries of the render-state cache: Direct3D's render states 0 to 254.
constexpr uint32_t kRenderStateCacheSize = 255;
// The bit of InitGraphicsDevice's flags that asks for a windowed device.
constexpr uint32_t kGraphicsFlagWindowed = 16;

// Makes the graphics system, or returns null when none can be made.
using GraphicsSystemFactory = std::function<std::unique_ptr<GraphicsSystem>()>;

class GraphicsDevice {
 public:
  explicit GraphicsDevice(ErrorLog& log);
  ~GraphicsDevice();
  GraphicsDevice(const GraphicsDevice&) = delete;
  GraphicsDevice& operator=(const GraphicsDevice&) = delete;

  // --- Start-up and shutdown -------------------------------------------------
  // The device on the graphics system that createSystem makes: the shell's
  // window, a headless context (tests, tools, benchmarks) or a fake. Logs
  // every step; false after logging why it failed.
  bool InitGraphicsDevice(const GraphicsSystemFactory& createSystem, int width, int height,
                          uint32_t flags);
  // Releases the device, then the system. Returns 1.
  int ReleaseGraphicsDevice();

  // Null before a successful start-up and after the release.
  Device* GetDevice() const { return device_.get(); }
  ErrorLog& Log() const { return log_; }

  // --- Frames ----------------------------------------------------------------
  // Clears target and depth (opaque black, 1.0) and begins the scene. Returns 1.
  int BeginFrame();
  // Ends the scene and presents; Present's result.
  bool EndFrame();

  // --- Caches ----------------------------------------------------------------
  // Sends the state to the device only when it differs from the cached value.
  // A state past the cache goes to the device uncached.
  void SetRenderStateCached(uint32_t state, uint32_t value);
  // The same for the texture of a stage.
  void SetTextureCached(uint32_t stage, TextureHandle texture);
  // What the cache holds (0 for a state past it).
  uint32_t CachedRenderState(uint32_t state) const;
  TextureHandle CachedTexture(uint32_t stage) const;

  // --- Camera ----------------------------------------------------------------
  // Looks from eye at at, y up, and gives the view to the device.
  void SetViewLookAt(Vec3 eye, Vec3 at);
  void SetViewMatrix(const Matrix& matrix);
  const Matrix& ViewMatrix() const { return viewMatrix_; }

  // --- What start-up settled -------------------------------------------------
  int BackBufferWidth() const { return backBufferWidth_; }
  int BackBufferHeight() const { return backBufferHeight_; }
  bool Windowed() const { return windowed_; }
  // 2 when multisampling was asked for, 0 when it was not available. The
  // driver may give more samples: GetDevice()->BackBufferSamples() says.
  int MultiSampleType() const { return multiSampleType_; }

 private:
  ErrorLog& log_;
  std::unique_ptr<GraphicsSystem> system_;
  std::unique_ptr<Device> device_;
  int backBufferWidth_ = 0;
  int backBufferHeight_ = 0;
  bool windowed_ = false;
  int multiSampleType_ = 0;
  std::array<uint32_t, kRenderStateCacheSize> renderStateCache_{};
  std::array<TextureHandle, kTextureStageCount> textureStageCache_{};
  Matrix viewMatrix_ = MatrixIdentity();
};

// A packed 0xAARRGGBB colour as four floats, each byte times 1/255.
ColorValue MakeColorValue(uint32_t argb);
// A material from four packed colours and the specular power.
Material MakeMaterial(uint32_t diffuse, uint32_t ambient, uint32_t specular, uint32_t emissive,
                      float power);

}  // namespace kbh
