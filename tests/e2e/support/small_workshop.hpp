// A small but complete workshop for tests that must not depend on the demo
// workshop: a catalogue of two standard parts with their box meshes, and
// every file start-up needs (the interface's skin is optional and left
// out). The parts are plain boxes in contrasting sizes, placed where the
// TuneUp camera looks.
#pragma once

#include <filesystem>
#include <string>

namespace kbh::testing {

// Writes the workshop below root (created when missing). False, with what
// failed in *error, when a file cannot be made or written.
bool WriteSmallWorkshop(const std::filesystem::path& root, std::string* error);

}  // namespace kbh::testing
