#include "gfx/graphics_device.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/recording_device.hpp"
#include "tests/unit/gfx/log_capture.hpp"

namespace kbh {
namespace {

constexpr char kSuccessLog[] =
    "   D3DCreate - success\n   adapter: Recording adapter\n   driver: recording driver 1.0"
    "\n   CreateDevice success\n";

// Start-up against a fake machine that the test shapes first.
class GraphicsDeviceTest : public ::testing::Test {
 protected:
  bool Init(int width = 1024, int height = 768, uint32_t flags = 32) {
    return graphics.InitGraphicsDevice(
        [this]() -> std::unique_ptr<GraphicsSystem> {
          if (noSystem) return nullptr;
          auto made = std::make_unique<RecordingSystem>(system);
          madeSystem = made.get();
          return made;
        },
        width, height, flags);
  }
  RecordingDevice& Recorded() { return *madeSystem->lastDevice; }

  testing::LogCapture log;
  GraphicsDevice graphics{log.Log()};
  RecordingSystem system;  // the answers; copied into the made system
  RecordingSystem* madeSystem = nullptr;
  bool noSystem = false;
};

TEST_F(GraphicsDeviceTest, SuccessfulStartLogsExactlyTheFixedLines) {
  ASSERT_TRUE(Init());
  EXPECT_EQ(log.Text(), kSuccessLog);
  ASSERT_NE(graphics.GetDevice(), nullptr);
  EXPECT_EQ(graphics.BackBufferWidth(), 1024);
  EXPECT_EQ(graphics.BackBufferHeight(), 768);
  EXPECT_EQ(graphics.MultiSampleType(), 2);
}

TEST_F(GraphicsDeviceTest, EachFailedCheckLogsItsTextAndStops) {
  struct Case {
    const char* name;
    void (*shape)(RecordingSystem&);
    const char* expectedTail;
  };
  const Case cases[] = {
      {"no adapter", [](RecordingSystem& s) { s.adapterCount = 0; },
       "   D3DCreate - success error: zero adapter count"},
      {"no HAL", [](RecordingSystem& s) { s.capsResult = kD3dErrInvalidDevice; },
       " error: no HAL-Device available"},
      {"no 32-bit modes",
       [](RecordingSystem& s) {
         s.modes = {{1024, 768, 60, FMT_R5G6B5}};
       },
       " error: adapter doesn't support 32Bit videomode"},
      {"no 1024x768 at 60 Hz",
       [](RecordingSystem& s) {
         s.modes = {{1024, 768, 75, FMT_X8R8G8B8}, {1280, 1024, 60, FMT_X8R8G8B8}};
       },
       " error: adapter doesn't support 1024x768:60Hz videomode"},
      {"no back buffer", [](RecordingSystem& s) { s.deviceTypeSupported = false; },
       " error: X8R8G8B8-mode and X8R8G8B8-backbufer not supported on HAL-device"},
      {"no depth", [](RecordingSystem& s) { s.depthStencilSupported = false; },
       " error: D24S8-depthstencil not supported on HAL-device"},
      {"no interval", [](RecordingSystem& s) { s.presentationIntervals = 0; },
       " error: requested presentation interval not available"},
      {"device lost", [](RecordingSystem& s) { s.createResult = kD3dErrDeviceLost; },
       "\n   CreateDevice error: device lost"},
      {"invalid call", [](RecordingSystem& s) { s.createResult = kD3dErrInvalidCall; },
       "\n   CreateDevice error: invalid method param"},
      {"not available", [](RecordingSystem& s) { s.createResult = kD3dErrNotAvailable; },
       "\n   CreateDevice error: technique not available"},
      {"no memory", [](RecordingSystem& s) { s.createResult = kD3dErrOutOfVideoMemory; },
       "\n   CreateDevice error: not enough display memory"},
      {"unlisted code", [](RecordingSystem& s) { s.createResult = -2147467259; },
       "\n   CreateDevice error: HRESULT:-2147467259"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::LogCapture caseLog;
    GraphicsDevice device(caseLog.Log());
    RecordingSystem shaped;
    c.shape(shaped);
    EXPECT_FALSE(device.InitGraphicsDevice(
        [&shaped] { return std::make_unique<RecordingSystem>(shaped); }, 1024, 768, 32));
    const std::string text = caseLog.Text();
    ASSERT_GE(text.size(), std::string(c.expectedTail).size());
    EXPECT_EQ(text.substr(text.size() - std::string(c.expectedTail).size()), c.expectedTail);
    EXPECT_EQ(device.GetDevice(), nullptr);
  }
}

TEST_F(GraphicsDeviceTest, NoSystemIsTheCreateFailure) {
  noSystem = true;
  EXPECT_FALSE(Init());
  EXPECT_EQ(log.Text(), "   D3DCreate - failed");
}

TEST_F(GraphicsDeviceTest, ModeCheckIgnoresTheRequestedSizeAndWindowedFlag) {
  system.modes = {{800, 600, 60, FMT_X8R8G8B8}};
  EXPECT_FALSE(Init(800, 600, kGraphicsFlagWindowed));
  EXPECT_NE(log.Text().find("1024x768:60Hz"), std::string::npos);
}

TEST_F(GraphicsDeviceTest, MissingAdapterInfoAndMultisamplingDegradeGracefully) {
  system.identifierAvailable = false;
  system.multisampleSupported = false;
  system.presentationIntervals = kPresentIntervalOne;
  ASSERT_TRUE(Init());
  EXPECT_EQ(log.Text(),
            "   D3DCreate - success info: couldn't retrieve default-adapter info"
            " info: 2-sample antialiasing not supported on HAL-device"
            " info: only D3DPRESENT_INTERVAL_ONE is supported\n   CreateDevice success\n");
  EXPECT_EQ(graphics.MultiSampleType(), 0);
  EXPECT_EQ(madeSystem->lastParameters.multiSampleType, 0);
  EXPECT_EQ(madeSystem->lastParameters.presentationInterval, kPresentIntervalOne);
}

TEST_F(GraphicsDeviceTest, PresentParametersFollowTheFlags) {
  ASSERT_TRUE(Init(1024, 768, 32));
  PresentParameters p = madeSystem->lastParameters;
  EXPECT_FALSE(p.windowed);
  EXPECT_EQ(p.fullScreenRefreshRateInHz, 60);
  EXPECT_EQ(p.presentationInterval, kPresentIntervalImmediate);
  EXPECT_EQ(p.backBufferFormat, FMT_X8R8G8B8);
  EXPECT_EQ(p.autoDepthStencilFormat, FMT_D24S8);
  EXPECT_EQ(p.multiSampleType, 2);

  GraphicsDevice windowed(log.Log());
  RecordingSystem* made = nullptr;
  ASSERT_TRUE(windowed.InitGraphicsDevice(
      [&made] {
        auto s = std::make_unique<RecordingSystem>();
        made = s.get();
        return s;
      },
      1024, 768, kGraphicsFlagWindowed));
  EXPECT_TRUE(made->lastParameters.windowed);
  EXPECT_EQ(made->lastParameters.fullScreenRefreshRateInHz, 0);
  EXPECT_TRUE(windowed.Windowed());
}

TEST_F(GraphicsDeviceTest, LongAdapterNamesAreCutToFitTheirLine) {
  system.identifier.description = std::string(300, 'D');
  system.identifier.driver = "short driver";
  ASSERT_TRUE(Init());
  std::string text = log.Text();
  const size_t start = text.find("\n   adapter: ");
  const size_t end = text.find("\n   CreateDevice");
  const std::string lines = text.substr(start, end - start);
  EXPECT_EQ(lines.size(), 199u);
  EXPECT_NE(lines.find("\n   driver: short driver"), std::string::npos);

  testing::LogCapture bothLong;
  GraphicsDevice other(bothLong.Log());
  RecordingSystem shaped;
  shaped.identifier = {std::string(300, 'D'), std::string(300, 'V')};
  ASSERT_TRUE(other.InitGraphicsDevice([&] { return std::make_unique<RecordingSystem>(shaped); },
                                       1024, 768, 32));
  text = bothLong.Text();
  EXPECT_NE(text.find(std::string(87, 'D') + "\n   driver: " + std::string(87, 'V') +
                      "\n   CreateDevice"),
            std::string::npos);
}

TEST_F(GraphicsDeviceTest, CacheStartsFromTheDeviceDefaultsAndSetsMaterialSources) {
  ASSERT_TRUE(Init());
  RecordingDevice& device = Recorded();
  EXPECT_EQ(graphics.CachedRenderState(RS_ZENABLE), 1u);
  EXPECT_EQ(graphics.CachedRenderState(RS_CULLMODE), CULL_CCW);
  EXPECT_EQ(graphics.CachedRenderState(RS_TEXTUREFACTOR), 0xFFFFFFFFu);
  EXPECT_EQ(graphics.CachedRenderState(RS_COLORWRITEENABLE), 0xFu);
  EXPECT_EQ(graphics.CachedRenderState(RS_LIGHTING), 1u);
  // Not among the states read at start, though the device's default is 4.
  EXPECT_EQ(graphics.CachedRenderState(RS_ZFUNC), 0u);
  // Diffuse (default 1) and specular (default 2) had to be sent; ambient and
  // emissive already were 0.
  ASSERT_EQ(device.Count(DeviceCallKind::kSetRenderState), 2u);
  EXPECT_EQ(device.RenderStateValuesSent(RS_SPECULARMATERIALSOURCE),
            std::vector<uint32_t>{MCS_MATERIAL});
  EXPECT_EQ(device.RenderStateValuesSent(RS_DIFFUSEMATERIALSOURCE),
            std::vector<uint32_t>{MCS_MATERIAL});
  EXPECT_EQ(device.Calls()[0].a, RS_SPECULARMATERIALSOURCE);
  EXPECT_TRUE(IsIdentity(graphics.ViewMatrix()));
}

TEST_F(GraphicsDeviceTest, CacheSendsOnlyChanges) {
  ASSERT_TRUE(Init());
  RecordingDevice& device = Recorded();
  device.ClearCalls();
  graphics.SetRenderStateCached(RS_CULLMODE, CULL_CCW);  // already held
  graphics.SetRenderStateCached(RS_ZFUNC, 0);            // cache holds 0
  EXPECT_EQ(device.Count(DeviceCallKind::kSetRenderState), 0u);
  graphics.SetRenderStateCached(RS_ZFUNC, CMP_LESSEQUAL);  // the device has it, the cache not
  graphics.SetRenderStateCached(RS_TEXTUREFACTOR, 0x80000000);
  graphics.SetRenderStateCached(RS_TEXTUREFACTOR, 0x80000000);
  EXPECT_EQ(device.RenderStateValuesSent(RS_ZFUNC), std::vector<uint32_t>{CMP_LESSEQUAL});
  EXPECT_EQ(device.RenderStateValuesSent(RS_TEXTUREFACTOR), std::vector<uint32_t>{0x80000000});
  EXPECT_EQ(device.GetRenderState(RS_TEXTUREFACTOR), 0x80000000u);
}

TEST_F(GraphicsDeviceTest, StatesAndStagesPastTheCachesDoNotOverrunThem) {
  ASSERT_TRUE(Init());
  RecordingDevice& device = Recorded();
  device.ClearCalls();
  const uint32_t lastEntry = graphics.CachedRenderState(254);
  graphics.SetRenderStateCached(255, 7);
  graphics.SetRenderStateCached(255, 7);
  graphics.SetRenderStateCached(100000, 7);
  EXPECT_EQ(device.Count(DeviceCallKind::kSetRenderState), 3u);  // uncached, so always sent
  EXPECT_EQ(graphics.CachedRenderState(255), 0u);
  EXPECT_EQ(graphics.CachedRenderState(254), lastEntry);

  graphics.SetTextureCached(0, static_cast<TextureHandle>(5));
  graphics.SetTextureCached(0, static_cast<TextureHandle>(5));
  graphics.SetTextureCached(0, TextureHandle::kNone);
  graphics.SetTextureCached(kTextureStageCount, static_cast<TextureHandle>(5));
  EXPECT_EQ(device.Count(DeviceCallKind::kSetTexture), 3u);
  EXPECT_EQ(graphics.CachedTexture(0), TextureHandle::kNone);
  EXPECT_EQ(graphics.CachedTexture(kTextureStageCount), TextureHandle::kNone);
}

TEST_F(GraphicsDeviceTest, FramesCameraAndRelease) {
  ASSERT_TRUE(Init());
  RecordingDevice& device = Recorded();
  device.ClearCalls();
  EXPECT_EQ(graphics.BeginFrame(), 1);
  EXPECT_TRUE(graphics.EndFrame());
  ASSERT_EQ(device.Calls().size(), 4u);
  EXPECT_EQ(device.Calls()[0].kind, DeviceCallKind::kClear);
  EXPECT_EQ(device.Calls()[0].a, kClearTarget | kClearZBuffer);
  EXPECT_EQ(device.Calls()[0].b, 0xFF000000u);
  EXPECT_EQ(device.Calls()[1].kind, DeviceCallKind::kBeginScene);
  EXPECT_EQ(device.Calls()[2].kind, DeviceCallKind::kEndScene);
  EXPECT_EQ(device.Calls()[3].kind, DeviceCallKind::kPresent);

  const Vec3 eye{-40, 250, -600};
  graphics.SetViewLookAt(eye, Vec3{});
  const Matrix expected = MatrixLookAtLH(eye, Vec3{}, Vec3{0, 1, 0});
  EXPECT_EQ(std::memcmp(&device.Transform(TS_VIEW), &expected, sizeof expected), 0);

  EXPECT_EQ(graphics.ReleaseGraphicsDevice(), 1);
  EXPECT_EQ(graphics.GetDevice(), nullptr);
  EXPECT_EQ(graphics.ReleaseGraphicsDevice(), 1);
}

TEST(MakeColorValueTest, ScalesEachByteByTheFixedFactor) {
  const ColorValue c = MakeColorValue(0x80FF4001);
  EXPECT_EQ(c.r, 255 * 0.003921569f);
  EXPECT_EQ(c.g, 64 * 0.003921569f);
  EXPECT_EQ(c.b, 1 * 0.003921569f);
  EXPECT_EQ(c.a, 128 * 0.003921569f);
  const Material m = MakeMaterial(0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF, 12.5f);
  EXPECT_EQ(m.diffuse.a, 255 * 0.003921569f);
  EXPECT_EQ(m.ambient.r, 255 * 0.003921569f);
  EXPECT_EQ(m.specular.g, 255 * 0.003921569f);
  EXPECT_EQ(m.emissive.b, 255 * 0.003921569f);
  EXPECT_EQ(m.power, 12.5f);
}

}  // namespace
}  // namespace kbh
