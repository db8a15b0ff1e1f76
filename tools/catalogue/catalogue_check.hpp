// What the loader silently skips, cuts or drops in a catalogue file, in words.
#pragma once

#include <string>

#include "catalogue/data_store_loader.hpp"

namespace kbh {

std::string DescribeFinding(const LoadFinding& finding);

}  // namespace kbh
