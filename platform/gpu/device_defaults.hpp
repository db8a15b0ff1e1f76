// The state a new Direct3D 9 device starts with. Both backends begin from
// these tables, so a state the program never sets behaves as it would on
// Direct3D, and the graphics module's cache reads the same values from either.
#pragma once

#include <array>
#include <cstdint>

#include "platform/gpu/d3d_types.hpp"

namespace kbh {

using RenderStateTable = std::array<uint32_t, kRenderStateCount>;
using TextureStageTable = std::array<uint32_t, kTextureStageStateCount>;

// Indexed by RenderState; states Direct3D does not define hold 0. A new device
// has an automatic depth buffer, so ZENABLE starts as ZB_TRUE.
RenderStateTable DefaultRenderStates();

// Stage 0 modulates the texture with the diffuse colour and takes the texture's
// alpha; every later stage starts disabled. Each stage reads the texture
// coordinate set of its own number.
TextureStageTable DefaultTextureStageStates(uint32_t stage);

}  // namespace kbh
