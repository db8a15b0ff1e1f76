#include "ui/cursor.hpp"

#include "gfx/draw2d.hpp"

namespace kbh {

bool Cursor::LoadImages(GraphicsDevice& graphics, const ProgramDir& programDir) {
  PathBuffer path;
  const char* dir = programDir.path.c_str();
  ReleaseTexture(images[kNormal]);
  images[kNormal] = LoadBmp(graphics, path.Format("%s/gfx/gui/gui_Cursor_Normal.dds", dir));
  ReleaseTexture(images[kColourPick]);
  images[kColourPick] = LoadBmp(graphics, path.Format("%s/gfx/gui/cursor_colorpick.dds", dir));
  return true;
}

void Cursor::Draw(GraphicsDevice& graphics) const {
  Device* device = graphics.GetDevice();
  if (device == nullptr) return;
  device->SetTextureStageState(0, TSS_ALPHAOP, TOP_MODULATE);
  graphics.SetRenderStateCached(RS_ALPHABLENDENABLE, 1);
  graphics.SetRenderStateCached(RS_SRCBLEND, BLEND_SRCALPHA);
  graphics.SetRenderStateCached(RS_DESTBLEND, BLEND_INVSRCALPHA);
  if (kind >= 0 && kind < kKindCount) {
    DrawTexture(graphics, images[kind].get(), x - hotX, y - hotY);
  }
  graphics.SetRenderStateCached(RS_ALPHABLENDENABLE, 0);
}

void Cursor::ReleaseImages() {
  for (auto& image : images)
    ReleaseTexture(image);
}

}  // namespace kbh
