// The 3D scene: one white point light, per-subset materials and a cube
// environment map blended over the lit colour in each subset's proportion,
// and the TuneUp pass that draws the installed parts as the turning moped.
//
// Every 3D pass of the program (the TuneUp scene here, the Spray views, the
// colour selector's ball) brackets its drawing with BeginReflection and
// EndReflection and draws each subset with DrawReflectingSubset.
//
// Alpha: the passes draw faded parts and transparent paints blended with
// SRCBLEND = SRCALPHA, DESTBLEND = INVSRCALPHA and stage 0's ALPHAOP =
// MODULATE (texture alpha x diffuse alpha). Nothing here sets those: the
// cursor's drawing sets them in every frame and nothing sets them back, so
// from the second frame on every pass finds them in place.
#pragma once

#include <cstdint>

#include "gfx/graphics_device.hpp"
#include "gfx/texture.hpp"
#include "platform/math/math.hpp"
#include "scene/stage.hpp"
#include "workshop/installed_parts.hpp"
#include "workshop/part_mesh.hpp"

namespace kbh {

// The environment map's cube slot and the scene's two pictures, below the
// program directory.
constexpr uint32_t kEnvironmentMapSlot = 0;
constexpr const char* kEnvironmentMapPattern = "%s\\gfx\\env\\envmap.dds";
constexpr const char* kSceneBackgroundPattern = "%s\\gfx\\env\\mainBG.dds";

// Puts the stage's light into light 0 and turns it on.
void SetupLights(GraphicsDevice& graphics);

// The states every pass that draws models starts from: lighting, the depth
// test, counter-clockwise culling, the fill mode, multisampling and the
// specular highlight. Blending is each pass's own choice.
void SetModelPassStates(GraphicsDevice& graphics, uint32_t fillMode);

// Binds the environment map to stage 0 and makes the stage blend it over the
// lit colour by the texture factor's alpha: environment x a + lit x (1 - a),
// looked up with the camera-space reflection vector. An empty slot binds
// nothing and the passes draw the lit colour alone.
void BeginReflection(GraphicsDevice& graphics, const CubeTextureSlots& cubes);
// Back to stage 0's plain texturing, nothing bound.
void EndReflection(GraphicsDevice& graphics);

// Draws subset i of mesh with its reflection byte as the texture factor's
// alpha (through the cache, so equal neighbours cost nothing) and the given
// material.
void DrawReflectingSubset(GraphicsDevice& graphics, const MeshRecord& mesh, uint32_t subset,
                          const Material& material);

// The TuneUp pass: lighting, depth test, back-face culling, the fill mode
// (FILL_SOLID or FILL_WIREFRAME), multisampling, blending and specular on;
// the TuneUp camera; then every installed part with a mesh in list order,
// at T(position) x translation x rotation, each subset with its opacity
// byte scaling the material's diffuse alpha (the stored material is not
// changed). A part whose alpha is exactly 0 is skipped. Walks with the
// list's scan cursor. Returns 1.
int RenderScene(GraphicsDevice& graphics, const CubeTextureSlots& cubes, InstalledPartList& parts,
                uint32_t fillMode);

// The world matrix RenderScene gives a part.
Matrix SceneWorldMatrix(const PartModel& model);
// Draws one part as RenderScene does, with world as its transform; false
// (nothing drawn) for a part without mesh or whose alpha is exactly 0.
bool DrawScenePart(GraphicsDevice& graphics, const PartModel& model, const Matrix& world);

}  // namespace kbh
