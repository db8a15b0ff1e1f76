// The graphics system on OpenGL: answers device creation's questions from the
// context it was given and creates GlDevices on it.
//
// - The adapter describes itself with GL_RENDERER and GL_VERSION.
// - "No hardware device" means the context lacks what the device needs
//   (see gl_api.hpp).
// - The back buffer is scaled into the window, so the one display mode the
//   program asks for, 1024 x 768 at 60 Hz in X8R8G8B8, exists on any desktop.
// - Multisampling is offered when a multisampled framebuffer can be made.
// - Immediate presentation is always offered: the swap interval 0 is asked
//   for, and a driver that refuses it (as under Xvfb) does not wait for the
//   retrace anyway.
#pragma once

#include <memory>

#include "platform/gpu/gl_context.hpp"
#include "platform/gpu/graphics_system.hpp"

namespace kbh {

// Null for a null context or one that cannot be made current.
std::unique_ptr<GraphicsSystem> CreateGlSystem(std::shared_ptr<GlContext> context);

// The system on a headless context with no window (tests, tools, benchmarks);
// null where no such context can be made.
std::unique_ptr<GraphicsSystem> CreateHeadlessGlSystem();

}  // namespace kbh
