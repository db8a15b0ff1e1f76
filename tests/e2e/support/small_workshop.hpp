// A small but complete workshop for tests that must not depend on the demo
// workshop: a catalogue of two standard parts with their box meshes, and
// every picture start-up loads. The parts are plain boxes in contrasting
// sizes, placed where the TuneUp camera looks.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kbh::testing {

// The files start-up needs, relative to the workshop's root. Tests remove
// them one at a time.
inline const std::vector<std::string> kRequiredWorkshopFiles = {
    "gfx/gui/kbh_load.dds",
    "data/firstData.khb",
    "gfx/env/mainBG.dds",
    "gfx/gui/gui_Spray_modelframe.dds",
};

// Writes the workshop below root (created when missing). False, with what
// failed in *error, when a file cannot be made or written.
bool WriteSmallWorkshop(const std::filesystem::path& root, std::string* error);

// The number of vertices of its standard parts, as the statistics show it.
constexpr unsigned kSmallWorkshopVertices = 48;

}  // namespace kbh::testing
