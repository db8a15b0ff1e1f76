// The hall the demo moped stands in, described once as a function of a ray:
// a tiled concrete floor, cream walls over a dark dado, steel windows, an open
// roller door behind the viewer with daylight outside, shelves with coloured
// boxes and rows of fluorescent lights under a dark ceiling. The environment
// map (what chrome reflects) and the backdrop (what the viewer sees behind the
// moped) are both rendered from it, so that they tell the same story.
#pragma once

#include "platform/image/image.hpp"
#include "platform/math/math.hpp"
#include "scene/stage.hpp"
#include "tools/workshop/canvas.hpp"

namespace kbh {

// What a ray from origin (world space) sees; colours may exceed 1 where a
// light or the sky is seen directly.
Rgba HallRadiance(Vec3 origin, Vec3 direction);

// The six faces of the reflection map in cube-map order. The program looks
// the map up with the reflection vector in camera space, and the turntable
// camera never moves, so each texel holds the hall in the world direction
// that the turntable camera's rotation gives it.
CubeImage RenderEnvironmentMap(int size);

// The picture behind the moped: the hall through the turntable camera, with
// the turntable under the moped and a soft shadow on it.
Image RenderBackdrop();

}  // namespace kbh
