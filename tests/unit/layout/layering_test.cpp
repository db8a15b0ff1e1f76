// The modules form layers: each may include only the modules below it, so
// that the platform layer stays the only code that knows the system
// libraries and the workshop logic runs without any drawing.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

namespace kbh {
namespace {

// Lowest first.
constexpr std::array<const char*, 10> kLayers = {
    "platform", "core", "catalogue", "input", "gfx", "workshop", "scene", "ui", "screens", "app",
};

int LayerOf(const std::string& module) {
  for (size_t i = 0; i < kLayers.size(); ++i) {
    if (module == kLayers[i]) return static_cast<int>(i);
  }
  return -1;
}

TEST(Layering, NoModuleIncludesOneAboveIt) {
  namespace fs = std::filesystem;
  const fs::path root = KBH_SOURCE_DIR;
  int filesRead = 0;
  for (const char* layer : kLayers) {
    const int own = LayerOf(layer);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root / layer)) {
      const std::string extension = entry.path().extension().string();
      if (extension != ".cpp" && extension != ".hpp") continue;
      ++filesRead;
      std::ifstream file(entry.path());
      std::string line;
      while (std::getline(file, line)) {
        const std::string prefix = "#include \"";
        if (line.rfind(prefix, 0) != 0) continue;
        const size_t slash = line.find('/', prefix.size());
        if (slash == std::string::npos) continue;
        const int included = LayerOf(line.substr(prefix.size(), slash - prefix.size()));
        EXPECT_LE(included, own) << fs::relative(entry.path(), root).string() << ": " << line;
      }
    }
  }
  EXPECT_GT(filesRead, 100);
}

}  // namespace
}  // namespace kbh
