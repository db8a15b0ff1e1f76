// Shutdown: one sequence of release steps, T1 to T21, entered at the top after
// a normal end and part-way down when start-up fails, so that a failure
// releases exactly what had been made before it.
#pragma once

#include "app/app.hpp"

namespace kbh {

// The steps that a start-up failure or the normal end enters at. The numbers
// are the steps' places in the sequence.
enum class ShutdownStep {
  kT2AfterMainLoop = 2,
  kT3SceneBackground = 3,
  kT5EnvironmentMap = 5,
  kT6Logos = 6,
  kT7InfoScreen = 7,
  kT8ColourSelector = 8,
  kT9ModelFrame = 9,
  kT11Cursor = 11,
  kT12MenuBar = 12,
  kT14DataStore = 14,
  kT15Fonts = 15,
  kT17Input = 17,
  kT20Window = 20,
  kT21Return = 21,
};

// Runs the sequence from `from` to its end; the caller then returns 0.
void ShutDown(App& app, ShutdownStep from);

}  // namespace kbh
