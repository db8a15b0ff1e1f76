#include "platform/gpu/recording_device.hpp"

#include <gtest/gtest.h>

#include "platform/gpu/device_resource.hpp"

namespace kbh {
namespace {

TEST(RecordingDeviceTest, StartsWithDirect3DDefaultsAndKeepsWhatIsSet) {
  RecordingDevice device;
  EXPECT_EQ(device.GetRenderState(RS_ZENABLE), ZB_TRUE);
  EXPECT_EQ(device.GetRenderState(RS_ZFUNC), CMP_LESSEQUAL);
  EXPECT_EQ(device.GetRenderState(RS_DIFFUSEMATERIALSOURCE), MCS_COLOR1);
  EXPECT_EQ(device.GetRenderState(RS_SPECULARMATERIALSOURCE), MCS_COLOR2);
  EXPECT_EQ(device.GetRenderState(RS_BLENDFACTOR), 0xFFFFFFFFu);
  EXPECT_EQ(device.GetTextureStageState(0, TSS_COLOROP), TOP_MODULATE);
  EXPECT_EQ(device.GetTextureStageState(0, TSS_ALPHAOP), TOP_SELECTARG1);
  EXPECT_EQ(device.GetTextureStageState(1, TSS_COLOROP), TOP_DISABLE);
  EXPECT_EQ(device.GetTextureStageState(1, TSS_TEXCOORDINDEX), 1u);

  device.SetRenderState(RS_CULLMODE, CULL_NONE);
  device.SetRenderState(static_cast<RenderState>(300), 5);  // past the table
  EXPECT_EQ(device.GetRenderState(RS_CULLMODE), CULL_NONE);
  EXPECT_EQ(device.GetRenderState(static_cast<RenderState>(300)), 0u);
  EXPECT_EQ(device.Count(DeviceCallKind::SetRenderState), 2u);
}

TEST(RecordingDeviceTest, ResourcesTargetsAndOwners) {
  RecordingDevice device;
  {
    UniqueTexture target(&device, device.CreateRenderTexture(450, 260));
    ASSERT_TRUE(target);
    device.SetTexture(0, target.get());
    device.SetRenderTarget(target.get(), SurfaceHandle::None);
    const Image inside = device.ReadRenderTarget();
    EXPECT_EQ(inside.width, 450);
    EXPECT_EQ(inside.height, 260);
    EXPECT_EQ(device.LiveTextures(), 1u);
  }
  // The owner released it, which also unbound it and left the target.
  EXPECT_EQ(device.LiveTextures(), 0u);
  EXPECT_EQ(device.BoundTexture(0), TextureHandle::None);
  EXPECT_EQ(device.GetRenderTarget(), TextureHandle::None);
  EXPECT_EQ(device.ReadRenderTarget().width, 1024);

  device.FailNextCreate();
  EXPECT_EQ(device.CreateDepthSurface(450, 260), SurfaceHandle::None);
  EXPECT_NE(device.CreateDepthSurface(450, 260), SurfaceHandle::None);
}

}  // namespace
}  // namespace kbh
