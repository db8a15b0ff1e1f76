// kbh-mesh: checks .x / .mxa mesh files the way the program will load them.
//   kbh-mesh info FILE...   one JSON line per file; exit status 1 if any failed
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mesh/xfile.hpp"
#include "platform/os/os.hpp"
#include "tools/mesh/mesh_info.hpp"

int main(int argc, char** argv) {
  if (argc < 3 || std::string_view(argv[1]) != "info") {
    std::fprintf(stderr, "usage: kbh-mesh info FILE...\n");
    return 2;
  }
  bool allLoaded = true;
  for (int i = 2; i < argc; ++i) {
    const std::string file = argv[i];
    std::vector<uint8_t> bytes;
    kbh::MeshData mesh;
    std::string error;
    if (!kbh::ReadWholeFile(file, &bytes)) {
      error = "cannot read the file";
    } else if (kbh::ReadXFile(bytes, &mesh, &error)) {
      std::printf("%s\n", kbh::MeshInfoJson(file, mesh).c_str());
      continue;
    }
    allLoaded = false;
    std::printf("%s\n", kbh::MeshErrorJson(file, error).c_str());
  }
  return allLoaded ? 0 : 1;
}
