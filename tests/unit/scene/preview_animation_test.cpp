// The Spray preview and the selected-part view on the recording device: the
// camera's flight, what the passes send, and the preview's failure rule.
#include "scene/preview_animation.hpp"
#include "scene/stage.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "tests/unit/gfx/recording_graphics.hpp"
#include "tests/unit/workshop/workshop_files.hpp"

namespace kbh {
namespace {

using testing::BoxMesh;

// Where a view matrix puts its eye, and the direction it looks in (both in
// the world): the view's rotation is orthonormal, so the eye is minus its
// translation turned back.
Vec3 EyeOf(const Matrix& view) {
  const float* t = view.m[3];
  return {-(t[0] * view.m[0][0] + t[1] * view.m[0][1] + t[2] * view.m[0][2]),
          -(t[0] * view.m[1][0] + t[1] * view.m[1][1] + t[2] * view.m[1][2]),
          -(t[0] * view.m[2][0] + t[1] * view.m[2][1] + t[2] * view.m[2][2])};
}
Vec3 LookDirectionOf(const Matrix& view) {
  return {view.m[0][2], view.m[1][2], view.m[2][2]};
}

void ExpectNear(Vec3 actual, Vec3 expected, float tolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

bool SameMatrix(const Matrix& a, const Matrix& b) {
  return std::memcmp(&a, &b, sizeof(Matrix)) == 0;
}

class PreviewAnimationTest : public testing::RecordingGraphicsTest {
 protected:
  PartModel* Install(ItemId id, uint32_t subsets, Vec3 low = {0, 0, 0}, Vec3 high = {1, 1, 1}) {
    testing::WriteModel(dir, id, BoxMesh(low, high, subsets));
    PartModel* model = parts.InstallPart(id);
    EXPECT_NE(model->mesh, nullptr);
    return model;
  }
  std::vector<uint32_t> SubsetsDrawn() const {
    std::vector<uint32_t> drawn;
    for (const DeviceCall& call : made().Calls()) {
      if (call.kind == DeviceCallKind::kDrawSubset) drawn.push_back(call.b);
    }
    return drawn;
  }
  std::vector<float> AlphasSent() const {
    std::vector<float> alphas;
    for (const Material& material : made().MaterialsSent())
      alphas.push_back(material.diffuse.a);
    return alphas;
  }
  // A flight to model started at 1000 and seen through to its end: the
  // camera has arrived and the part spins from clock value 1500 on.
  void FlyTo(PartModel* model) {
    preview.StartCameraMove(model, 1000);
    preview.UpdatePreview(1500);
    preview.UpdatePreview(1516);
    ASSERT_EQ(preview.State(), AnimationState::kIdle);
    ASSERT_EQ(preview.EndTime(), 1500u);
  }
  RecordingDevice& made() const { return const_cast<PreviewAnimationTest*>(this)->device(); }

  testing::TempDir dir;
  CubeTextureSlots cubes{graphics};
  InstalledPartList parts{graphics, ProgramDir{dir.Path().string()}};
  PreviewAnimation preview{graphics, cubes};
};

TEST_F(PreviewAnimationTest, CameraFliesFromTheFixedStartToInFrontOfThePartsCentre) {
  ASSERT_TRUE(preview.InitPreview());
  PartModel* part = Install(0x01030101, 1);
  part->position = {10, 20, 30};
  part->centreOffset = {-5, -15, 40};
  SetMeshBaseMatrix(*part->mesh, MatrixTranslation(1, 2, 3));

  preview.StartCameraMove(part, 1000);
  EXPECT_TRUE(IsIdentity(part->mesh->baseMatrix));
  EXPECT_EQ(preview.PreviewModel(), part);
  EXPECT_EQ(preview.GetModelId(), 0x01030101u);

  // Its first frame: the part invisible, the camera at the start.
  preview.UpdatePreview(1000);
  EXPECT_EQ(GetPartAlpha(part), 0.0f);
  ExpectNear(EyeOf(preview.View()), {-100, -200, -1200}, 1e-2f);

  // Halfway. By hand: atTo = (50 + 5 + 10, 20 + 15, 30 - 40) = (65, 35, -10),
  // eyeTo = (65, 100 + 15 + 20, 30 - (40 + 600)) = (65, 135, -610); the eye
  // halfway from (-100, -200, -1200) is (-17.5, -32.5, -905), the look-at
  // point halfway from (-300, -250, 330) is (-117.5, -107.5, 160).
  preview.UpdatePreview(1250);
  EXPECT_FLOAT_EQ(GetPartAlpha(part), 0.5f);
  ExpectNear(EyeOf(preview.View()), {-17.5f, -32.5f, -905.0f}, 1e-2f);
  ExpectNear(LookDirectionOf(preview.View()), Normalize({-100.0f, -75.0f, 1065.0f}), 1e-5f);

  // The end: the camera at eyeTo, looking straight at atTo.
  preview.UpdatePreview(1500);
  EXPECT_EQ(GetPartAlpha(part), 1.0f);
  ExpectNear(EyeOf(preview.View()), {65, 135, -610}, 1e-2f);
  ExpectNear(LookDirectionOf(preview.View()), Normalize({0.0f, -100.0f, 600.0f}), 1e-5f);
  EXPECT_TRUE(IsIdentity(part->mesh->baseMatrix));

  // One frame later it is over, and the part is centred for its spin.
  preview.UpdatePreview(1516);
  EXPECT_FALSE(preview.IsActive());
  EXPECT_TRUE(SameMatrix(part->mesh->baseMatrix, part->world));

  // The next flight starts where every flight starts.
  PartModel* other = Install(0x02050101, 1);
  preview.StartCameraMove(other, 3000);
  preview.UpdatePreview(3000);
  ExpectNear(EyeOf(preview.View()), {-100, -200, -1200}, 1e-2f);
  ExpectNear(LookDirectionOf(preview.View()), Normalize({-200.0f, -50.0f, 1530.0f}), 1e-5f);
}

TEST_F(PreviewAnimationTest, NoFlightWithoutAModel) {
  ASSERT_TRUE(preview.InitPreview());
  preview.StartCameraMove(nullptr, 1000);
  EXPECT_FALSE(preview.IsActive());
  EXPECT_EQ(preview.PreviewModel(), nullptr);
}

TEST_F(PreviewAnimationTest, PreviewDrawsEveryPartWithAMeshAsBuiltIntoItsOwnTarget) {
  ASSERT_TRUE(preview.InitPreview());
  PartModel* first = Install(0x010101, 2);
  PartModel* faded = Install(0x020101, 1);
  parts.InstallPart(0x030101);  // no model file
  first->mesh->factors[1].opacity = 0;
  first->mesh->factors[1].reflection = 200;
  SetPartAlpha(first, 1.0f);
  SetPartAlpha(faded, 0.0f);
  // position (10, 0, 0), scaling 2, a quarter turn about y, translation
  // (0, 0, 5): by hand, (1, 0, 0) -> (11, 0, 0) -> (22, 0, 0) -> (0, 0, -22)
  // -> (0, 0, -17).
  first->position = {10, 0, 0};
  SetMeshScaling(*first->mesh, 2, 2, 2);
  SetMeshRotation(*first->mesh, 0, 1.5707964f, 0);
  SetMeshTranslation(*first->mesh, 0, 0, 5);
  graphics.SetRenderStateCached(RS_FILLMODE, FILL_WIREFRAME);  // left by the TuneUp screen
  device().ClearCalls();

  preview.RenderPreview(parts);

  EXPECT_EQ(SubsetsDrawn(), (std::vector<uint32_t>{0, 1, 0}));
  EXPECT_EQ(AlphasSent(), (std::vector<float>{1.0f, 1.0f, 0.0f}));
  EXPECT_EQ(device().RenderStateValuesSent(RS_TEXTUREFACTOR),
            (std::vector<uint32_t>{13u << 24, 200u << 24, 13u << 24}));
  const std::vector<DeviceCall>& calls = device().Calls();
  const TextureHandle target = preview.PreviewTexture()->texture.get();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls.front().kind, DeviceCallKind::kSetRenderTarget);
  EXPECT_EQ(TextureHandle{calls.front().a}, target);
  EXPECT_NE(SurfaceHandle{calls.front().b}, SurfaceHandle::kNone);
  EXPECT_EQ(calls[1].kind, DeviceCallKind::kClear);
  EXPECT_EQ(calls[1].a, kClearTarget | kClearZBuffer);
  EXPECT_EQ(calls[1].b, 0xA0000000u);
  EXPECT_EQ(device().GetRenderTarget(), TextureHandle::kNone);
  EXPECT_EQ(device().GetDepthSurface(), SurfaceHandle::kNone);

  // The last part drawn is the faded one, unplaced; the world of the first
  // was sent before it.
  EXPECT_TRUE(IsIdentity(device().Transform(TS_WORLD)));
  const Vec3 placed = TransformCoord({1, 0, 0}, PreviewWorldMatrix(*first));
  ExpectNear(placed, {0, 0, -17}, 1e-4f);
  EXPECT_TRUE(SameMatrix(device().Transform(TS_PROJECTION),
                         MatrixPerspectiveFovLH(0.7853982f, 1.7307693f, 1.0f, 1000.0f)));
  ExpectNear(EyeOf(device().Transform(TS_VIEW)), {40, -45, -400}, 1e-3f);
  ExpectNear(LookDirectionOf(device().Transform(TS_VIEW)), Normalize({0, 70, 400}), 1e-5f);
  for (auto [state, value] : {std::pair{RS_LIGHTING, 1u},
                              {RS_ZENABLE, 1u},
                              {RS_CULLMODE, 3u},
                              {RS_FILLMODE, 3u},
                              {RS_SPECULARENABLE, 1u},
                              {RS_MULTISAMPLEANTIALIAS, 0u}}) {
    EXPECT_EQ(device().GetRenderState(state), value) << state;
  }
  EXPECT_EQ(device().RenderStateValuesSent(RS_MULTISAMPLEANTIALIAS), (std::vector<uint32_t>{0}));

  EXPECT_TRUE(preview.DrawPreview());
  ASSERT_EQ(device().Sprites().size(), 1u);
  EXPECT_EQ(device().Sprites()[0].texture, target);
  EXPECT_EQ(device().Sprites()[0].position.x, 525.0f);
  EXPECT_EQ(device().Sprites()[0].position.y, 46.0f);
  EXPECT_TRUE(device().Sprites()[0].alphaBlend);
}

TEST_F(PreviewAnimationTest, WithoutItsTextureThePreviewRendersAndDrawsNothingAndSaysNothing) {
  const size_t textures = device().LiveTextures();
  const size_t surfaces = device().LiveSurfaces();
  Install(0x010101, 1);
  const std::string logBefore = LogAfterStart();
  device().FailNextCreate();  // the render texture
  EXPECT_FALSE(preview.InitPreview());
  EXPECT_EQ(preview.PreviewTexture(), nullptr);
  // The depth surface was made, and given back with the texture missing.
  EXPECT_EQ(device().LiveTextures(), textures);
  EXPECT_EQ(device().LiveSurfaces(), surfaces);

  device().ClearCalls();
  preview.RenderPreview(parts);
  EXPECT_FALSE(preview.DrawPreview());
  EXPECT_TRUE(device().Calls().empty());
  EXPECT_EQ(LogAfterStart(), logBefore);

  // The flight and the selected part do not need the texture.
  PartModel* part = parts.FindInstalled(0x010101);
  preview.StartCameraMove(part, 1000);
  preview.UpdatePreview(1250);
  EXPECT_FLOAT_EQ(GetPartAlpha(part), 0.5f);
  preview.RenderSelectedPart(1, 1250);
  EXPECT_EQ(SubsetsDrawn(), (std::vector<uint32_t>{0}));
}

TEST_F(PreviewAnimationTest, ReleaseGivesBackTheTextureAndTheDepthSurface) {
  const size_t textures = device().LiveTextures();
  const size_t surfaces = device().LiveSurfaces();
  ASSERT_TRUE(preview.InitPreview());
  EXPECT_EQ(device().LiveTextures(), textures + 1);
  EXPECT_EQ(device().LiveSurfaces(), surfaces + 1);
  int width = 0;
  int height = 0;
  ASSERT_TRUE(device().TextureSize(preview.PreviewTexture()->texture.get(), &width, &height));
  EXPECT_EQ(width, 450);
  EXPECT_EQ(height, 260);
  preview.ReleasePreview();
  EXPECT_EQ(preview.PreviewTexture(), nullptr);
  EXPECT_EQ(device().LiveTextures(), textures);
  EXPECT_EQ(device().LiveSurfaces(), surfaces);
  preview.ReleasePreview();  // twice is harmless
}

TEST_F(PreviewAnimationTest, SelectedRowPicksWhatIsSolidAndWhatIsGhosted) {
  struct Case {
    uint16_t row;
    std::vector<uint32_t> drawn;
    std::vector<float> alphas;
    uint32_t blend;  // ALPHABLENDENABLE afterwards
  };
  const Case cases[] = {
      {0, {0, 1, 2}, {1.0f, 1.0f, 1.0f}, 0},
      {1, {0, 1, 2}, {1.0f, 1.0f, 1.0f}, 0},
      {2, {0, 1, 2}, {1.0f, 0.2f, 0.2f}, 1},
      {3, {1, 0, 2}, {1.0f, 0.2f, 0.2f}, 1},
      {4, {2, 0, 1}, {1.0f, 0.2f, 0.2f}, 1},
      {9, {0, 1, 2}, {0.2f, 0.2f, 0.2f}, 1},  // past the last subset: all ghosted
  };
  ASSERT_TRUE(preview.InitPreview());
  PartModel* part = Install(0x010101, 3);
  FlyTo(part);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    SetPartAlpha(part, 1.0f);  // as the Spray update does every frame
    graphics.SetRenderStateCached(RS_ALPHABLENDENABLE, 1);
    device().ClearCalls();
    preview.RenderSelectedPart(c.row, 2000);
    EXPECT_EQ(SubsetsDrawn(), c.drawn);
    EXPECT_EQ(AlphasSent(), c.alphas);
    EXPECT_EQ(device().GetRenderState(RS_ALPHABLENDENABLE), c.blend);
    if (c.blend == 1) {
      EXPECT_EQ(device().GetRenderState(RS_SRCBLEND), BLEND_SRCALPHA);
      EXPECT_EQ(device().GetRenderState(RS_DESTBLEND), BLEND_INVSRCALPHA);
      EXPECT_EQ(device().GetTextureStageState(0, TSS_ALPHAOP), TOP_MODULATE);
      EXPECT_EQ(device().GetRenderState(RS_SHADEMODE), SHADE_GOURAUD);
      EXPECT_FLOAT_EQ(GetPartAlpha(part), 0.2f);  // until the next Spray update
    }
    EXPECT_EQ(device().GetRenderState(RS_FILLMODE), FILL_SOLID);
    EXPECT_EQ(device().GetRenderState(RS_MULTISAMPLEANTIALIAS), 0u);
    EXPECT_TRUE(SameMatrix(device().Transform(TS_PROJECTION), StageProjection(kTuneUpCamera)));
  }
}

TEST_F(PreviewAnimationTest, ArrivedPartSpinsAboutItsOwnCentreOneRadianASecond) {
  ASSERT_TRUE(preview.InitPreview());
  // Its bounding box is centred on (10, 20, 30).
  PartModel* part = Install(0x010101, 1, {0, 10, 20}, {20, 30, 40});
  FlyTo(part);
  struct Case {
    uint32_t now;
    Vec3 sideGoesTo;  // where (11, 20, 30), one unit right of the centre, is drawn
  };
  // D3DX's RotationY turns +x towards -z.
  const Case cases[] = {
      {1500, {11, 20, 30}},
      {1500 + 1571, {10, 20, 29}},
      {1500 + 3142, {9, 20, 30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.now);
    preview.RenderSelectedPart(1, c.now);
    const Matrix& world = device().Transform(TS_WORLD);
    ExpectNear(TransformCoord({10, 20, 30}, world), {10, 20, 30}, 1e-3f);
    ExpectNear(TransformCoord({11, 20, 30}, world), c.sideGoesTo, 1e-3f);
    // Seen from where the flight ended.
    ExpectNear(EyeOf(device().Transform(TS_VIEW)), {60, 120, -570}, 1e-2f);
  }
}

TEST_F(PreviewAnimationTest, WhileFlyingThePartStandsStillInTheFlightsView) {
  ASSERT_TRUE(preview.InitPreview());
  PartModel* part = Install(0x010101, 1, {0, 10, 20}, {20, 30, 40});
  SetPartRotation(part, 0, 2.0f, 0);  // as the TuneUp screen left it
  preview.StartCameraMove(part, 1000);
  for (uint32_t now : {1250u, 1500u}) {  // flying, then arrived in this frame
    SCOPED_TRACE(now);
    preview.UpdatePreview(now);
    preview.RenderSelectedPart(1, now + 5000);
    EXPECT_TRUE(SameMatrix(device().Transform(TS_VIEW), preview.View()));
    ExpectNear(TransformCoord({11, 20, 30}, device().Transform(TS_WORLD)), {11, 20, 30}, 1e-3f);
  }
}

TEST_F(PreviewAnimationTest, ClearedOrForgottenPartIsNotDrawnOrTouched) {
  ASSERT_TRUE(preview.InitPreview());
  PartModel* part = Install(0x010101, 2);
  for (bool forget : {false, true}) {
    SCOPED_TRACE(forget);
    preview.StartCameraMove(part, 1000);
    preview.UpdatePreview(1250);
    if (forget) {
      preview.ForgetModel(part);
    } else {
      preview.ClearPreview();
    }
    EXPECT_EQ(preview.PreviewModel(), nullptr);
    EXPECT_FALSE(preview.IsActive());
    SetPartAlpha(part, 0.75f);
    device().ClearCalls();
    preview.UpdatePreview(1400);
    preview.RenderSelectedPart(2, 1400);
    EXPECT_TRUE(device().Calls().empty());
    EXPECT_EQ(GetPartAlpha(part), 0.75f);
  }
  EXPECT_EQ(preview.GetModelId(), 0u);
}

}  // namespace
}  // namespace kbh
