// Pixel tests of GlDevice on headless GL: orientation, 2D drawing, render
// targets and the render states whose GL translation is easy to get wrong.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "tests/gl/gpu/headless.hpp"
#include "tests/support/skip.hpp"

namespace kbh {
namespace {

using testing::ColorDistance;
using testing::PixelAt;
using testing::SolidImage;

constexpr uint32_t kBackground = 0xFF203040;

class GlDeviceTest : public ::testing::Test {
 protected:
  void Start(int samples) {
    made_ = testing::MakeHeadlessDevice(samples);
    if (made_.system == nullptr) KBH_SKIP_OR_FAIL() << "no headless OpenGL (EGL surfaceless)";
    ASSERT_NE(made_.device, nullptr);
    device().Clear(kClearTarget | kClearZBuffer, kBackground, 1.0f, 0);
  }
  void SetUp() override { Start(0); }
  Device& device() { return *made_.device; }

  // One triangle given in clip space (D3D's: y up, depth 0..1), drawn with
  // identity transforms.
  MeshHandle Triangle(Vec3 a, Vec3 b, Vec3 c) {
    MeshData mesh;
    for (Vec3 p : {a, b, c})
      mesh.vertices.push_back({p, Vec3{0, 0, -1}, 0, 0});
    mesh.indices = {0, 1, 2};
    mesh.subsets = {{0, 1}};
    return device().CreateMesh(mesh);
  }
  void DrawUnlit(MeshHandle mesh) {
    device().SetRenderState(RS_LIGHTING, 0);
    device().DrawSubset(mesh, 0);
  }

  testing::HeadlessDevice made_;
};

class GlDeviceMultisampledTest : public GlDeviceTest {
 protected:
  void SetUp() override { Start(2); }
};

TEST_F(GlDeviceMultisampledTest, SpriteLandsTexelForTexelAtIntegerPositions) {
  EXPECT_GE(device().BackBufferSamples(), 2);
  Image picture;
  picture.width = 61;
  picture.height = 47;
  picture.sourceFormat = FMT_X8R8G8B8;
  std::mt19937 random(7);
  for (int i = 0; i < picture.width * picture.height; ++i) {
    picture.texels.push_back(0xFF000000u | (random() & 0xFFFFFFu));
  }
  const TextureHandle texture = device().CreateTexture(picture);
  ASSERT_NE(texture, TextureHandle::kNone);
  SpriteDraw sprite;
  sprite.texture = texture;
  for (uint32_t multisampling : {0u, 1u}) {
    SCOPED_TRACE(multisampling);
    device().SetRenderState(RS_MULTISAMPLEANTIALIAS, multisampling);
    device().Clear(kClearTarget, kBackground, 1.0f, 0);
    sprite.position = Vec3{17, 33, 0};
    device().DrawSprite(sprite);
    const Image frame = device().ReadRenderTarget();
    ASSERT_EQ(frame.width, 1024);
    ASSERT_EQ(frame.height, 768);
    int wrong = 0;
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        wrong += PixelAt(frame, 17 + x, 33 + y) != PixelAt(picture, x, y);
      }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(PixelAt(frame, 16, 33), kBackground);
    EXPECT_EQ(PixelAt(frame, 17, 32), kBackground);
    EXPECT_EQ(PixelAt(frame, 17 + 61, 33 + 46), kBackground);
    EXPECT_EQ(PixelAt(frame, 17 + 60, 33 + 47), kBackground);
  }
}

TEST_F(GlDeviceTest, ScaledSpriteCoversExactlyItsBox) {
  const TextureHandle texture = device().CreateTexture(SolidImage(8, 4, 0xFFFF8000, FMT_X8R8G8B8));
  SpriteDraw sprite;
  sprite.texture = texture;
  sprite.transform = MatrixTransformation2D(Vec2{3.0f, 2.5f}, 0.0f, Vec2{100, 200});
  device().DrawSprite(sprite);
  const Image frame = device().ReadRenderTarget();
  EXPECT_EQ(PixelAt(frame, 100, 200), 0xFFFF8000u);
  EXPECT_EQ(PixelAt(frame, 123, 209), 0xFFFF8000u);
  EXPECT_EQ(PixelAt(frame, 124, 205), kBackground);
  EXPECT_EQ(PixelAt(frame, 110, 210), kBackground);
  EXPECT_EQ(PixelAt(frame, 99, 205), kBackground);
  EXPECT_EQ(PixelAt(frame, 110, 199), kBackground);
}

TEST_F(GlDeviceTest, BlendedSpriteSkipsTransparentTexelsAndTintsByColour) {
  Image picture = SolidImage(2, 1, 0x80FF0000, FMT_A8R8G8B8);
  picture.texels[1] = 0x00FFFFFF;
  SpriteDraw sprite;
  sprite.texture = device().CreateTexture(picture);
  sprite.position = Vec3{10, 10, 0};
  sprite.alphaBlend = true;
  device().DrawSprite(sprite);
  Image frame = device().ReadRenderTarget();
  // 0x80/255 of red over the background.
  EXPECT_LE(ColorDistance(PixelAt(frame, 10, 10), 0xFF8F1820), 1);
  EXPECT_EQ(PixelAt(frame, 11, 10), kBackground);

  sprite.alphaBlend = false;
  sprite.color = 0xFF00FF00;  // tint: keeps only green, which red has none of
  device().DrawSprite(sprite);
  frame = device().ReadRenderTarget();
  EXPECT_EQ(PixelAt(frame, 10, 10), 0xFF000000u);
  EXPECT_EQ(PixelAt(frame, 11, 10), 0xFF00FF00u);
}

TEST_F(GlDeviceTest, RenderTextureIsUprightAndKeepsItsOwnDepth) {
  const TextureHandle target = device().CreateRenderTexture(64, 32);
  const SurfaceHandle depth = device().CreateDepthSurface(64, 32);
  ASSERT_NE(target, TextureHandle::kNone);
  ASSERT_NE(depth, SurfaceHandle::kNone);
  Image twoBands = SolidImage(16, 16, 0xFFFF0000, FMT_X8R8G8B8);
  for (size_t i = 8 * 16; i < twoBands.texels.size(); ++i)
    twoBands.texels[i] = 0xFF0000FF;
  SpriteDraw bands;
  bands.texture = device().CreateTexture(twoBands);

  // On the back buffer, a near square writes depth 0.2 at (300..315, 300..315).
  SpriteDraw nearSquare = bands;
  nearSquare.position = Vec3{300, 300, 0.2f};
  device().DrawSprite(nearSquare);

  // In the render texture, its own depth starts at 1: a square at 0.5 shows.
  device().SetRenderTarget(target, depth);
  EXPECT_EQ(device().GetRenderTarget(), target);
  device().Clear(kClearTarget | kClearZBuffer, 0x00000000, 1.0f, 0);
  SpriteDraw farSquare = bands;
  farSquare.position = Vec3{0, 0, 0.5f};
  device().DrawSprite(farSquare);
  const Image inside = device().ReadRenderTarget();
  ASSERT_EQ(inside.width, 64);
  EXPECT_EQ(PixelAt(inside, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(inside, 0, 15), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(inside, 20, 20), 0x00000000u);

  // Back on the back buffer its depth still holds 0.2: a far square is hidden
  // there, and shows beside it.
  device().SetRenderTarget(TextureHandle::kNone, SurfaceHandle::kNone);
  farSquare.position = Vec3{300, 300, 0.5f};
  farSquare.texture = device().CreateTexture(SolidImage(32, 16, 0xFF00FF00, FMT_X8R8G8B8));
  device().DrawSprite(farSquare);
  // The render texture, drawn as a sprite, shows its top band on top.
  SpriteDraw shown;
  shown.texture = target;
  shown.position = Vec3{500, 100, 0};
  shown.alphaBlend = true;
  device().SetRenderState(RS_ZENABLE, ZB_FALSE);
  device().DrawSprite(shown);
  const Image frame = device().ReadRenderTarget();
  EXPECT_EQ(PixelAt(frame, 305, 305), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(frame, 320, 305), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(frame, 500, 100), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(frame, 500, 115), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(frame, 540, 120), kBackground);  // transparent there
}

TEST_F(GlDeviceTest, ClockwiseIsFrontAndCullModesMeanWhatDirect3DMeans) {
  // On screen: bottom left, top, bottom right is clockwise.
  const MeshHandle clockwise = Triangle({-0.5f, -0.5f, 0.5f}, {0, 0.5f, 0.5f}, {0.5f, -0.5f, 0.5f});
  const MeshHandle counter = Triangle({-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {0, 0.5f, 0.5f});
  struct Case {
    uint32_t cull;
    bool clockwiseShows;
    bool counterShows;
  };
  for (const Case c :
       {Case{CULL_CCW, true, false}, Case{CULL_CW, false, true}, Case{CULL_NONE, true, true}}) {
    SCOPED_TRACE(c.cull);
    device().SetRenderState(RS_CULLMODE, c.cull);
    for (const auto& [mesh, shows] :
         {std::pair{clockwise, c.clockwiseShows}, std::pair{counter, c.counterShows}}) {
      device().Clear(kClearTarget | kClearZBuffer, kBackground, 1.0f, 0);
      DrawUnlit(mesh);
      EXPECT_EQ(PixelAt(device().ReadRenderTarget(), 512, 384), shows ? 0xFFFFFFFFu : kBackground);
    }
  }
  // Clip-space y up is screen up: the apex is near the top.
  device().SetRenderState(RS_CULLMODE, CULL_NONE);
  device().Clear(kClearTarget, kBackground, 1.0f, 0);
  DrawUnlit(clockwise);
  const Image frame = device().ReadRenderTarget();
  EXPECT_EQ(PixelAt(frame, 512, 200), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(frame, 512, 600), kBackground);
}

TEST_F(GlDeviceTest, PixelCentresOf3DDrawsSitOnWholeCoordinatesAsInDirect3D9) {
  // A rectangle from x = 100.5 to 200.5 and y = 50.5 to 60.5 on screen covers
  // the pixels whose centres 101 ... 200 and 51 ... 60 lie inside it.
  auto clipX = [](float x) { return x / 512.0f - 1.0f; };
  auto clipY = [](float y) { return 1.0f - y / 384.0f; };
  MeshData quad;
  quad.vertices = {{{clipX(100.5f), clipY(50.5f), 0.5f}, {}, 0, 0},
                   {{clipX(200.5f), clipY(50.5f), 0.5f}, {}, 0, 0},
                   {{clipX(100.5f), clipY(60.5f), 0.5f}, {}, 0, 0},
                   {{clipX(200.5f), clipY(60.5f), 0.5f}, {}, 0, 0}};
  quad.indices = {0, 1, 2, 1, 3, 2};
  quad.subsets = {{0, 2}};
  DrawUnlit(device().CreateMesh(quad));
  const Image frame = device().ReadRenderTarget();
  EXPECT_EQ(PixelAt(frame, 100, 55), kBackground);
  EXPECT_EQ(PixelAt(frame, 101, 55), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(frame, 200, 55), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(frame, 201, 55), kBackground);
  EXPECT_EQ(PixelAt(frame, 150, 50), kBackground);
  EXPECT_EQ(PixelAt(frame, 150, 51), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(frame, 150, 60), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(frame, 150, 61), kBackground);
}

TEST_F(GlDeviceTest, SpritesIgnoreCullingAndLeaveTheStatesAlone) {
  device().SetRenderState(RS_CULLMODE, CULL_CW);
  device().SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
  SpriteDraw sprite;
  sprite.texture = device().CreateTexture(SolidImage(4, 4, 0xFF00FF00, FMT_X8R8G8B8));
  sprite.position = Vec3{50, 50, 0};
  device().DrawSprite(sprite);
  device().DrawLine(Vec2{40, 10}, Vec2{80, 10}, 4.0f, 0xFF0000FF);
  const MeshHandle clockwise = Triangle({-0.5f, -0.5f, 0.5f}, {0, 0.5f, 0.5f}, {0.5f, -0.5f, 0.5f});
  DrawUnlit(clockwise);  // culled
  device().SetRenderState(RS_CULLMODE, CULL_NONE);
  DrawUnlit(clockwise);  // a wireframe: the centre stays empty
  const Image frame = device().ReadRenderTarget();
  EXPECT_EQ(PixelAt(frame, 52, 52), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(frame, 60, 10), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(frame, 512, 384), kBackground);
  int edgePixels = 0;
  for (int y = 0; y < 768; ++y)
    edgePixels += PixelAt(frame, 512, y) == 0xFFFFFFFFu;
  EXPECT_GE(edgePixels, 1);
  EXPECT_EQ(device().GetRenderState(RS_FILLMODE), FILL_WIREFRAME);
}

TEST_F(GlDeviceTest, DepthBlendingAndColourWrites) {
  const MeshHandle nearTriangle =
      Triangle({-0.5f, -0.5f, 0.3f}, {0, 0.5f, 0.3f}, {0.5f, -0.5f, 0.3f});
  const MeshHandle farTriangle =
      Triangle({-0.9f, -0.9f, 0.6f}, {0, 0.9f, 0.6f}, {0.9f, -0.9f, 0.6f});
  Material material;
  material.emissive = ColorValue{1.0f, 0.0f, 0.0f, 0.0f};
  material.diffuse.a = 0.5f;
  device().SetMaterial(material);
  DrawUnlit(nearTriangle);
  device().SetRenderState(RS_LIGHTING, 1);  // no light: emissive + 0 ambient
  device().SetRenderState(RS_ALPHABLENDENABLE, 1);
  device().SetRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
  device().SetRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
  device().DrawSubset(farTriangle, 0);  // hidden where the near one is
  Image frame = device().ReadRenderTarget();
  EXPECT_EQ(PixelAt(frame, 512, 384), 0xFFFFFFFFu);
  EXPECT_LE(ColorDistance(PixelAt(frame, 512, 700), 0xFF8F1820), 1);  // half red over background

  // Colour writes off: drawing changes nothing, but Clear still clears.
  device().SetRenderState(RS_COLORWRITEENABLE, 0);
  device().SetRenderState(RS_ZENABLE, ZB_FALSE);
  device().DrawSubset(farTriangle, 0);
  EXPECT_EQ(PixelAt(device().ReadRenderTarget(), 512, 384), 0xFFFFFFFFu);
  device().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
  frame = device().ReadRenderTarget();
  EXPECT_EQ(PixelAt(frame, 512, 384), 0xFF000000u);
}

TEST_F(GlDeviceMultisampledTest, MultisampleStateDecidesEdgeSmoothing) {
  const MeshHandle slanted =
      Triangle({-0.9f, -0.9f, 0.5f}, {-0.7f, 0.9f, 0.5f}, {0.9f, -0.8f, 0.5f});
  auto countMixed = [&](uint32_t antialias) {
    device().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    device().SetRenderState(RS_MULTISAMPLEANTIALIAS, antialias);
    device().SetRenderState(RS_CULLMODE, CULL_NONE);
    DrawUnlit(slanted);
    const Image frame = device().ReadRenderTarget();
    int mixed = 0;
    for (uint32_t texel : frame.texels)
      mixed += texel != 0xFF000000u && texel != 0xFFFFFFFFu;
    return mixed;
  };
  EXPECT_EQ(countMixed(0), 0);
  EXPECT_GT(countMixed(1), 100);
}

TEST_F(GlDeviceTest, ThickLineCoversItsRectangleExactly) {
  device().Clear(kClearTarget, 0xFF000000, 1.0f, 0);
  device().DrawLine(Vec2{362, 390}, Vec2{596, 390}, 10.0f, 0xFF1B5184);
  const Image frame = device().ReadRenderTarget();
  EXPECT_EQ(PixelAt(frame, 362, 385), 0xFF1B5184u);
  EXPECT_EQ(PixelAt(frame, 595, 394), 0xFF1B5184u);
  EXPECT_EQ(PixelAt(frame, 450, 384), 0xFF000000u);
  EXPECT_EQ(PixelAt(frame, 450, 395), 0xFF000000u);
  EXPECT_EQ(PixelAt(frame, 361, 390), 0xFF000000u);
  EXPECT_EQ(PixelAt(frame, 596, 390), 0xFF000000u);

  // A slanted line is smoothed: partly covered pixels get part of the colour.
  device().DrawLine(Vec2{100, 100}, Vec2{200, 140}, 3.0f, 0xFFFFFFFF);
  const Image slanted = device().ReadRenderTarget();
  int partial = 0;
  for (int y = 90; y < 150; ++y) {
    for (int x = 95; x < 205; ++x) {
      const uint32_t t = PixelAt(slanted, x, y);
      partial += t != 0xFF000000u && t != 0xFFFFFFFFu;
    }
  }
  EXPECT_GT(partial, 100);
}

TEST_F(GlDeviceTest, GlyphsTakeTheirColourFromTheTintAndStayInTheClip) {
  Image atlas = SolidImage(4, 4, 0xFFFFFFFF, FMT_A8R8G8B8);
  atlas.texels[0] = 0x00123456;  // colour channels of the atlas are not used
  const TextureHandle texture = device().CreateTexture(atlas);
  const GlyphQuad quads[2] = {{10, 10, 14, 14, 0, 0, 4, 4}, {18, 10, 22, 14, 0, 0, 4, 4}};
  const PixelRect clip{0, 0, 20, 100};
  device().DrawGlyphs(texture, quads, 0xFFFF0000, &clip);
  const Image frame = device().ReadRenderTarget();
  EXPECT_EQ(PixelAt(frame, 10, 10), kBackground);  // coverage 0
  EXPECT_EQ(PixelAt(frame, 12, 12), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(frame, 19, 12), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(frame, 20, 12), kBackground);  // clipped
}

TEST_F(GlDeviceTest, TextureStageZeroModulatesPointSampledTexels) {
  MeshData quad;
  quad.vertices = {{{-1, 1, 0.5f}, {0, 0, -1}, 0, 0},
                   {{1, 1, 0.5f}, {0, 0, -1}, 1, 0},
                   {{-1, -1, 0.5f}, {0, 0, -1}, 0, 1},
                   {{1, -1, 0.5f}, {0, 0, -1}, 1, 1}};
  quad.indices = {0, 1, 2, 1, 3, 2};
  quad.subsets = {{0, 2}};
  const MeshHandle mesh = device().CreateMesh(quad);
  Image checker = SolidImage(2, 2, 0xFFFF0000, FMT_X8R8G8B8);
  checker.texels[1] = checker.texels[2] = 0xFF0000FF;
  const TextureHandle texture = device().CreateTexture(checker);
  device().SetRenderState(RS_LIGHTING, 0);

  device().DrawSubset(mesh, 0);  // no texture: the diffuse white passes
  EXPECT_EQ(PixelAt(device().ReadRenderTarget(), 100, 100), 0xFFFFFFFFu);

  device().SetTexture(0, texture);
  device().DrawSubset(mesh, 0);
  const Image frame = device().ReadRenderTarget();
  // v = 0 is the top row of the picture; nearest texel, no blending at the seam.
  EXPECT_EQ(PixelAt(frame, 100, 100), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(frame, 900, 100), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(frame, 100, 700), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(frame, 510, 100), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(frame, 514, 100), 0xFF0000FFu);
  for (int x = 505; x < 520; ++x) {
    const uint32_t texel = PixelAt(frame, x, 100);
    EXPECT_TRUE(texel == 0xFFFF0000u || texel == 0xFF0000FFu) << x;
  }

  device().SetTextureStageState(0, TSS_COLOROP, TOP_DISABLE);
  device().DrawSubset(mesh, 0);
  EXPECT_EQ(PixelAt(device().ReadRenderTarget(), 100, 100), 0xFFFFFFFFu);
}

TEST_F(GlDeviceTest, ResourcesRefuseWhatCannotBeMade) {
  EXPECT_EQ(device().CreateTexture(Image{}), TextureHandle::kNone);
  Image lying = SolidImage(4, 4, 0, FMT_A8R8G8B8);
  lying.texels.resize(3);
  EXPECT_EQ(device().CreateTexture(lying), TextureHandle::kNone);
  EXPECT_EQ(device().CreateRenderTexture(0, 10), TextureHandle::kNone);
  EXPECT_EQ(device().CreateRenderTexture(1 << 20, 10), TextureHandle::kNone);
  EXPECT_EQ(device().CreateDepthSurface(-1, 10), SurfaceHandle::kNone);
  MeshData broken;
  broken.vertices.resize(3);
  broken.indices = {0, 1, 7};
  broken.subsets = {{0, 1}};
  EXPECT_EQ(device().CreateMesh(broken), MeshHandle::kNone);
  broken.indices = {0, 1, 2};
  broken.subsets = {{0, 2}};
  EXPECT_EQ(device().CreateMesh(broken), MeshHandle::kNone);
  CubeImage cube;
  cube.size = 4;
  EXPECT_EQ(device().CreateCubeTexture(cube), TextureHandle::kNone);
}

}  // namespace
}  // namespace kbh
