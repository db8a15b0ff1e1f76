// The look every interface picture of the demo workshop shares: the
// colours, the brushed steel of the panel, the dark glass of the displays,
// captions, screws and the round push buttons. The hall behind the moped is
// cream walls, grey concrete and dark steel; the interface is the dark steel
// console in front of it, with the red of the moped as its one accent.
//
// Pictures are painted in screen pixels wherever they have a fixed place, so
// that the numbers of ui/screen_positions.hpp are used as they are; a
// picture is cut out of its screen-sized canvas at the end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/image/image.hpp"
#include "tools/workshop/canvas.hpp"
#include "tools/workshop/lettering.hpp"

namespace kbh {

Rgba Rgb(float r, float g, float b);
float Clamp01(float v);

// Deterministic grain in 0..1 for brushed metal, leather and rubber.
float Grain(int x, int y, uint32_t seed);
// Brushed metal: a vertical gradient from top (at row y0) to bottom (at row
// y1) with fine horizontal streaks.
PaintFunction BrushedMetal(Rgba top, Rgba bottom, float y0, float y1, uint32_t seed);
// A slotted screw head of radius r with its shadow.
void AddScrew(Canvas& canvas, float cx, float cy, float r);

namespace skin {

inline constexpr int kScreenWidth = 1024;
inline constexpr int kScreenHeight = 768;

// The steel of the console, lighter at its top edge.
inline constexpr Rgba kPanelTop{0.245f, 0.252f, 0.268f, 1.0f};
inline constexpr Rgba kPanelBottom{0.135f, 0.140f, 0.150f, 1.0f};
// The dark glass behind every list and text (the program writes white on it).
inline constexpr Rgba kGlassTop{0.045f, 0.050f, 0.058f, 1.0f};
inline constexpr Rgba kGlassBottom{0.075f, 0.082f, 0.092f, 1.0f};
// Printed captions on the steel.
inline constexpr Rgba kCaption{0.80f, 0.80f, 0.77f, 1.0f};
inline constexpr Rgba kCaptionDim{0.44f, 0.45f, 0.46f, 1.0f};
inline constexpr Rgba kCaptionIdle{0.68f, 0.68f, 0.66f, 1.0f};
inline constexpr Rgba kWhite{0.98f, 0.97f, 0.94f, 1.0f};
// The accent: the red pin line of the preview frame, and lit as a lamp.
inline constexpr Rgba kAccent{0.66f, 0.10f, 0.10f, 1.0f};
inline constexpr Rgba kAccentLit{1.0f, 0.32f, 0.22f, 1.0f};

struct Circle {
  float cx;
  float cy;
  float r;
};

// The console's surface at a screen pixel. The base panel is painted with
// it, and a label that has to cover a hole of the base paints the same
// texels, so nobody can see the seam.
Rgba PanelSurface(float x, float y);

// Text faces of the skin. Lettering must have prepared each of them.
TextStyle CaptionFont();       // small capitals on the steel
TextStyle SmallCaptionFont();  // the nameplate
TextStyle TabFont();           // the three large tabs
TextStyle SmallTabFont();      // the four small tabs
TextStyle HeadingFont();       // the headings of the text screens
TextStyle WordmarkFont();      // "3D-Kolbenhof", as on the loading picture
TextStyle HintFont();          // plain sentences on the steel and in the wells
TextStyle EmblemFont();        // the letter in the emblem of a text screen
std::vector<TextStyle> SkinFonts();

// A recessed display of dark glass from (x0, y0) to (x1, y1): an outer
// shadow line, a lit lower edge and a faint reflection along the top.
void AddWell(Canvas& canvas, float x0, float y0, float x1, float y1, float radius = 4.0f);
// A caption printed on the steel: light letters with a dark shadow below.
void AddCaption(Canvas& canvas, const Lettering& lettering, const TextStyle& style,
                std::string_view text, int x, int y, Rgba colour = kCaption);
void AddCaptionCentred(Canvas& canvas, const Lettering& lettering, const TextStyle& style,
                       std::string_view text, int centreX, int y, Rgba colour = kCaption);
// A step number in a small red disc whose top-left corner is (x, y); the
// disc is 11 pixels across.
void AddStepBadge(Canvas& canvas, const Lettering& lettering, int step, int x, int y);
// A thin dark groove with a lit lower lip, for the slider tracks.
void AddGroove(Canvas& canvas, float x0, float y0, float x1, float y1);

// --- Push buttons --------------------------------------------------------------------------
// The round buttons of the console (build in, remove, paint, quit): a steel
// bezel round a cap. Dark when unavailable, in their colour when ready, and
// brighter with a halo under the pointer.
enum class ButtonLight { kOff, kOn, kHover };
struct PushButton {
  float cx = 0.0f;
  float cy = 0.0f;
  float bezelRadius = 26.0f;
  float capRadius = 22.0f;
  Rgba colour;  // the lit cap
  // The symbol on the cap, centred on (cx, cy).
  Path2 symbol;
  // How much of its colour the dark cap keeps: none for a button that is
  // unavailable while dark, some for one that is merely not pointed at.
  float darkTint = 0.0f;
};
void AddPushButton(Canvas& canvas, const PushButton& button, ButtonLight light,
                   bool withShadow = true);

// --- Pictures from canvases ----------------------------------------------------------------

// The canvas's pixels from (x, y), width x height (which must lie inside
// the canvas), as a picture. Its format
// is A8R8G8B8 when any texel is not fully opaque, X8R8G8B8 otherwise: only
// pictures with transparent parts need the blended draw.
Image CutPicture(const Canvas& canvas, int x, int y, int width, int height);
Image WholePicture(const Canvas& canvas);
// Alpha above 200 where coverage >= 0.5 and 0 elsewhere: a hit mask whose
// clickable area is exactly the painted shape.
void HardenAlpha(Canvas& canvas);

// Pictures onto canvases: copied texel for texel (no blending), or drawn as
// the program draws them (blended by alpha when the picture is A8R8G8B8,
// opaque otherwise), or stretched with bilinear filtering.
void CopyPicture(Canvas& canvas, const Image& picture, int x, int y);
void DrawPicture(Canvas& canvas, const Image& picture, int x, int y);
void DrawPictureStretched(Canvas& canvas, const Image& picture, int x, int y, int width,
                          int height);

}  // namespace skin
}  // namespace kbh
