// What the scene pass sends to the device, on the recording fake.
#include "scene/scene_pass.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "tests/unit/gfx/recording_graphics.hpp"
#include "tests/unit/workshop/workshop_files.hpp"

namespace kbh {
namespace {

using testing::BoxMesh;

class ScenePassTest : public testing::RecordingGraphicsTest {
 protected:
  PartModel* Install(ItemId id, uint32_t subsets) {
    testing::WriteModel(dir, id, BoxMesh({0, 0, 0}, {1, 1, 1}, subsets));
    return parts.InstallPart(id);
  }
  std::vector<DeviceCall> Draws() {
    std::vector<DeviceCall> draws;
    for (const DeviceCall& call : device().Calls()) {
      if (call.kind == DeviceCallKind::kDrawSubset) draws.push_back(call);
    }
    return draws;
  }
  void Render(uint32_t fillMode = FILL_SOLID) {
    device().ClearCalls();
    RenderScene(graphics, cubes, parts, fillMode);
  }

  testing::TempDir dir;
  CubeTextureSlots cubes{graphics};
  InstalledPartList parts{graphics, ProgramDir{dir.Path().string()}};
};

TEST_F(ScenePassTest, TextureFactorIsSentOnlyWhenItChanges) {
  PartModel* first = Install(0x010101, 2);
  PartModel* second = Install(0x020101, 3);
  second->mesh->factors[1].reflection = 96;
  second->mesh->factors[2].reflection = 96;
  // 13 for the first three subsets, then 96 for the last two: two changes,
  // in this frame and again in the next (which starts from 96).
  for (int frame = 0; frame < 2; ++frame) {
    Render();
    EXPECT_EQ(device().RenderStateValuesSent(RS_TEXTUREFACTOR),
              (std::vector<uint32_t>{13u << 24, 96u << 24}));
  }
  for (PartModel* model : {first, second}) {
    for (FactorPair& factors : model->mesh->factors)
      factors.reflection = 96;
  }
  Render();
  EXPECT_TRUE(device().RenderStateValuesSent(RS_TEXTUREFACTOR).empty());
  EXPECT_EQ(Draws().size(), 5u);
}

TEST_F(ScenePassTest, OpacityScalesTheAlphaSentAndOnlyAFullyFadedPartIsSkipped) {
  PartModel* model = Install(0x010101, 3);
  PartModel* faded = Install(0x020101, 2);
  Install(0x030101, 0);         // no material list: one subset
  parts.InstallPart(0x040101);  // no model file
  SetPartAlpha(model, 0.5f);
  SetPartAlpha(faded, 0.0f);
  model->mesh->factors[0].opacity = 0;  // still drawn: only the alpha skips
  model->mesh->factors[1].opacity = 128;
  Render();
  EXPECT_EQ(Draws().size(), 4u);
  const std::vector<Material>& sent = device().MaterialsSent();
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_EQ(sent[0].diffuse.a, 0.0f);
  EXPECT_EQ(sent[1].diffuse.a, 128.0f * 0.003921569f * 0.5f);
  EXPECT_EQ(sent[2].diffuse.a, 255.0f * 0.003921569f * 0.5f);
  EXPECT_EQ(sent[1].diffuse.r, model->mesh->materials[1].diffuse.r);
  for (const Material& stored : model->mesh->materials)
    EXPECT_EQ(stored.diffuse.a, 0.5f);
}

TEST_F(ScenePassTest, WorldIsPositionThenTranslationThenRotation) {
  PartModel* model = Install(0x010101, 1);
  model->position = {10, 0, 0};
  SetPartTranslation(model, 0, 0, 5);
  SetPartRotation(model, 0, 1.5707964f, 0);
  Render();
  // (10, 0, 5) turned a quarter about y, about the world origin (D3DX's
  // RotationY takes +z to +x).
  const Vec3 p = TransformCoord({0, 0, 0}, device().Transform(TS_WORLD));
  EXPECT_NEAR(p.x, 5.0f, 1e-4f);
  EXPECT_NEAR(p.z, -10.0f, 1e-4f);
  // 45 degrees, the back buffer's 4:3, near 200, far 1700.
  const Matrix projection = MatrixPerspectiveFovLH(0.7853982f, 1024.0f / 768.0f, 200.0f, 1700.0f);
  EXPECT_EQ(std::memcmp(&device().Transform(TS_PROJECTION), &projection, sizeof projection), 0);
  const Vec3 eye = TransformCoord({-40, 250, -600}, device().Transform(TS_VIEW));
  EXPECT_NEAR(Length(eye), 0.0f, 1e-3f);
}

TEST_F(ScenePassTest, StatesOfThePassAndTheReflectionBracket) {
  testing::WriteCubeMap(dir, "env.dds",
                        {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF});
  cubes.LoadCubeTexture(kEnvironmentMapSlot, (dir / "env.dds").c_str());
  Install(0x010101, 1);
  Render(FILL_WIREFRAME);
  for (auto [state, value] : {std::pair{RS_LIGHTING, 1u},
                              {RS_ZENABLE, 1u},
                              {RS_CULLMODE, 3u},
                              {RS_FILLMODE, 2u},
                              {RS_MULTISAMPLEANTIALIAS, 1u},
                              {RS_ALPHABLENDENABLE, 1u},
                              {RS_SPECULARENABLE, 1u}}) {
    EXPECT_EQ(device().GetRenderState(state), value) << state;
  }
  // At the draw: the cube map bound, looked up by the reflection vector and
  // blended by the factor; afterwards plain texturing and nothing bound.
  // The alpha operation is the cursor's business, not the bracket's.
  const std::vector<DeviceCall>& calls = device().Calls();
  const auto draw = std::find_if(calls.begin(), calls.end(), [](const DeviceCall& call) {
    return call.kind == DeviceCallKind::kDrawSubset;
  });
  std::map<uint32_t, uint32_t> stage;
  TextureHandle bound = TextureHandle::kNone;
  for (auto call = calls.begin(); call != draw; ++call) {
    if (call->kind == DeviceCallKind::kSetTextureStageState) stage[call->b] = call->c;
    if (call->kind == DeviceCallKind::kSetTexture) bound = TextureHandle{call->b};
  }
  EXPECT_TRUE(bound != TextureHandle::kNone && bound == cubes.GetCubeTexture(0));
  EXPECT_EQ(stage[TSS_TEXCOORDINDEX], kTciCameraSpaceReflectionVector);
  EXPECT_EQ(stage[TSS_TEXTURETRANSFORMFLAGS], kTtffCount3);
  EXPECT_EQ(stage[TSS_COLOROP], TOP_BLENDFACTORALPHA);
  EXPECT_EQ(stage.count(TSS_ALPHAOP), 0u);
  EXPECT_EQ(graphics.CachedTexture(0), TextureHandle::kNone);
  EXPECT_EQ(device().GetTextureStageState(0, TSS_COLOROP), TOP_MODULATE);
  EXPECT_EQ(device().GetTextureStageState(0, TSS_TEXCOORDINDEX), 0u);

  // A second frame sends no render state at all.
  Render(FILL_WIREFRAME);
  EXPECT_EQ(device().Count(DeviceCallKind::kSetRenderState), 0u);
}

}  // namespace
}  // namespace kbh
