#include "ui/colour_selector.hpp"

#include <cmath>
#include <cstdio>

#include "scene/scene_pass.hpp"
#include "scene/stage.hpp"
#include "ui/screen_positions.hpp"

namespace kbh {

namespace {

constexpr uint32_t kTextColour = 0xFFFFFFFF;
constexpr uint8_t kLastFinish = kFinishTintedChrome;

// Single-precision constants, multiplied in double precision: the x87 code
// the numbers were tuned on kept the product unrounded, which is why a full
// slider gives 254 (2.55f lies just below 2.55) and a full byte shows 99 %.
constexpr float kPercentToByte = 2.55f;
constexpr float kByteToPercent = 0.39215687f;
constexpr float kFullByte = 255.0f;

uint32_t SliderByte(uint16_t percent) {
  const double byte = std::trunc(static_cast<double>(percent) * double{kPercentToByte});
  return static_cast<uint32_t>(byte) & 0xFF;
}

class GuiPaths {
 public:
  explicit GuiPaths(const ProgramDir& programDir) : dir_(programDir.path.c_str()) {}
  const char* operator()(const char* file) { return buffer_.Format("%s/gfx/gui/%s", dir_, file); }

 private:
  const char* dir_;
  PathBuffer buffer_;
};

void PlaceSlider(Slider& slider, GraphicsDevice& graphics, GuiPaths& path, layout::Point at) {
  slider.x = at.x;
  slider.y = at.y;
  slider.width = layout::kColourSliderLength;
  slider.height = layout::kColourSliderGrabHeight;
  slider.SetValue(1.0f);
  slider.LoadKnobImage(graphics, path("gui_Spray_Slider.dds"));
}

void FollowColour(Slider& slider, uint32_t colour, int shift) {
  slider.SetValue(static_cast<float>((colour >> shift) & 0xFF) / kFullByte);
}

}  // namespace

uint32_t SliderColour(uint16_t redPercent, uint16_t greenPercent, uint16_t bluePercent) {
  return kOpaqueBlack | SliderByte(redPercent) << 16 | SliderByte(greenPercent) << 8 |
         SliderByte(bluePercent);
}

int ChannelPercent(uint32_t colour, int shift) {
  const double byte = static_cast<double>((colour >> shift) & 0xFF);
  return static_cast<int>(std::trunc(byte * double{kByteToPercent}));
}

bool ColorSelector::Load(GraphicsDevice& graphics, const ProgramDir& programDir) {
  GuiPaths path(programDir);
  palette = LoadBmp(graphics, path("gui_colsel_palette.dds"));
  if (palette == nullptr) return false;
  ball = LoadMeshFile(graphics, path("gui_colsel_ball.mxa"));
  // A mesh without a single subset has nothing to paint or show.
  if (ball == nullptr || ball->subsetCount == 0) return false;
  ApplyPaint(chosen, finish, &ball->materials[0], &ball->factors[0]);

  finishUp.LoadImage(graphics, path("gui_colsel_arrow_up.dds"));
  finishUp.Place(layout::kFinishUpArrow.x, layout::kFinishUpArrow.y);
  finishUp.Enable();
  finishDown.LoadImage(graphics, path("gui_colsel_arrow_down.dds"));
  finishDown.Place(layout::kFinishDownArrow.x, layout::kFinishDownArrow.y);
  finishDown.Enable();

  PlaceSlider(red, graphics, path, layout::kColourSliders[0]);
  PlaceSlider(green, graphics, path, layout::kColourSliders[1]);
  PlaceSlider(blue, graphics, path, layout::kColourSliders[2]);
  return true;
}

bool ColorSelector::IsOverPalette(int32_t x, int32_t y) const {
  if (palette == nullptr) return false;
  const int64_t left = layout::kPaletteOrigin.x;
  const int64_t top = layout::kPaletteOrigin.y;
  return left < x && x < left + palette->width && top < y && y < top + palette->height;
}

int ColorSelector::Update(const WidgetContext& context) {
  finishDown.Update(context);
  finishUp.Update(context);
  if (finishUp.IsClicked() && finish > 0) --finish;
  if (finishDown.IsClicked() && finish < kLastFinish) ++finish;

  Material* material = nullptr;
  FactorPair* factors = nullptr;
  if (ball != nullptr && ball->subsetCount > 0) {
    material = &ball->materials[0];
    factors = &ball->factors[0];
  }

  const MouseState mouse = PointerOf(context);
  if (IsOverPalette(mouse.x, mouse.y)) {
    preview = ReadTexel(palette.get(), mouse.x - layout::kPaletteOrigin.x,
                        mouse.y - layout::kPaletteOrigin.y);
    if (LeftWentDown(mouse)) {
      chosen = preview;
      FollowColour(red, chosen, 16);
      FollowColour(green, chosen, 8);
      FollowColour(blue, chosen, 0);
    }
    ApplyPaint(preview, finish, material, factors);
    return kPointerOverPalette;
  }

  preview = chosen;
  // One slider at a time: a drag that sweeps across the other tracks must
  // not pick them up as well.
  red.Update(context);
  bool moved = red.moved != 0;
  if (!moved) {
    green.Update(context);
    moved = green.moved != 0;
  }
  if (!moved) {
    blue.Update(context);
    moved = blue.moved != 0;
  }
  if (moved) {
    chosen = SliderColour(red.value, green.value, blue.value);
    preview = chosen;
  }
  ApplyPaint(chosen, finish, material, factors);
  return kPointerElsewhere;
}

void ColorSelector::Draw(GraphicsDevice& graphics) const {
  Device* device = graphics.GetDevice();
  if (device != nullptr) {
    const int shifts[3] = {16, 8, 0};
    for (int channel = 0; channel < 3; ++channel) {
      char number[16];
      std::snprintf(number, sizeof number, "%i", ChannelPercent(chosen, shifts[channel]));
      const layout::Point at = layout::kColourPercents[channel];
      DrawTextAt(*device, font, at.x, at.y, number, kTextColour);
    }
    const char* name = PaintFinishName(finish);
    if (name[0] != '\0') {
      DrawTextAt(*device, font, layout::kFinishName.x, layout::kFinishName.y, name, kTextColour);
    }
  }
  finishUp.Draw(graphics);
  finishDown.Draw(graphics);
  red.Draw(graphics);
  green.Draw(graphics);
  blue.Draw(graphics);
}

void ColorSelector::DrawBall(GraphicsDevice& graphics, const CubeTextureSlots& cubes) {
  Device* device = graphics.GetDevice();
  if (device == nullptr || ball == nullptr || ball->subsetCount == 0) return;
  // The ball sits in a flat picture of the panel: nothing to hide it from,
  // so no depth test, and nothing to show through it.
  graphics.SetRenderStateCached(RS_LIGHTING, 1);
  graphics.SetRenderStateCached(RS_ZENABLE, ZB_FALSE);
  graphics.SetRenderStateCached(RS_CULLMODE, CULL_CCW);
  graphics.SetRenderStateCached(RS_MULTISAMPLEANTIALIAS, 1);
  graphics.SetRenderStateCached(RS_ALPHABLENDENABLE, 0);
  graphics.SetRenderStateCached(RS_SPECULARENABLE, 1);
  graphics.SetRenderStateCached(RS_SHADEMODE, SHADE_GOURAUD);
  graphics.SetRenderStateCached(RS_FILLMODE, FILL_SOLID);
  device->SetTransform(TS_PROJECTION, StageProjection(kColourBallCamera));
  graphics.SetViewLookAt(kColourBallCamera.eye, kColourBallCamera.at);

  MeshRecord& mesh = *ball;
  SetMeshTranslation(mesh, 0.0f, 0.0f, 0.0f);
  SetMeshRotation(mesh, 0.0f, 0.0f, 0.0f);
  const Matrix world =
      MatrixMultiply(MatrixMultiply(MatrixMultiply(mesh.baseMatrix, mesh.scaling), mesh.rotation),
                     mesh.translation);
  device->SetTransform(TS_WORLD, world);

  BeginReflection(graphics, cubes);
  // The whole ball wears subset 0's paint, whatever subsets its file has.
  graphics.SetRenderStateCached(RS_TEXTUREFACTOR, uint32_t{mesh.factors[0].reflection} << 24);
  device->SetMaterial(mesh.materials[0]);
  for (uint32_t subset = 0; subset < mesh.subsetCount; ++subset)
    device->DrawSubset(mesh.mesh.get(), subset);
  EndReflection(graphics);
}

void ColorSelector::Release() {
  ReleaseTexture(palette);
  ReleaseMesh(ball);
  finishUp.Release();
  finishDown.Release();
  red.Release();
  green.Release();
  blue.Release();
}

}  // namespace kbh
