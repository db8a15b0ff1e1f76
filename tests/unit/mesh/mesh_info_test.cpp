// The form of `kbh-mesh info` that scripts and content authors rely on.
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/support/temp_dir.hpp"
#include "tests/unit/mesh/mesh_test_support.hpp"
#include "tools/mesh/mesh_info.hpp"

namespace kbh {
namespace {

TEST(MeshInfo, LineHasTheFixedKeysInOrder) {
  MeshData mesh = testing::SampleMesh();
  mesh.vertices.resize(3);
  mesh.vertices[0].position = {-1.5f, 0.0f, 2.0f};
  mesh.vertices[1].position = {0.25f, -3.0f, 1e-7f};
  mesh.vertices[2].position = {1.0f, 4.0f, -0.0f};
  EXPECT_EQ(MeshInfoJson("a.x", mesh),
            "{\"file\":\"a.x\",\"vertices\":3,\"triangles\":5,\"subsets\":3,"
            "\"triangles_per_subset\":[2,0,3],\"min\":[-1.5,-3,-0],\"max\":[1,4,2]}");
  EXPECT_EQ(MeshErrorJson("b.x", "line 3: expected '{'"),
            "{\"file\":\"b.x\",\"error\":\"line 3: expected '{'\"}");
}

TEST(MeshInfo, ValuesThatJsonCannotHoldBecomeNull) {
  MeshData mesh;
  mesh.vertices.push_back({{1.0f, 1.0f / 0.0f, 0.0f}, {}, 0, 0});
  const std::string line = MeshInfoJson("c.x", mesh);
  EXPECT_NE(line.find("\"max\":[1,null,0]"), std::string::npos) << line;
}

TEST(MeshInfo, FileNamesAreEscaped) {
  EXPECT_EQ(JsonString("a\"b\\c\n\t\x01"), "\"a\\\"b\\\\c\\n\\t\\u0001\"");
  // Valid UTF-8 passes; a stray Windows-1252 byte becomes its Latin-1 code.
  EXPECT_EQ(JsonString("M\xC3\xBChle/\xFC.x"), "\"M\xC3\xBChle/\\u00fc.x\"");
  // Overlong forms, surrogates and cut sequences are not UTF-8.
  EXPECT_EQ(JsonString("\xC0\xAF\xED\xA0\x80\xE2\x82"),
            "\"\\u00c0\\u00af\\u00ed\\u00a0\\u0080\\u00e2\\u0082\"");
}

struct ToolRun {
  int status = -1;
  std::vector<std::string> lines;
};

ToolRun RunTool(const std::string& arguments) {
  ToolRun run;
  FILE* pipe = popen((std::string(KBH_MESH_TOOL) + " " + arguments + " 2>/dev/null").c_str(), "r");
  if (!pipe) return run;
  std::string output;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output.append(buffer, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  size_t start = 0;
  for (size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1) {
    run.lines.push_back(output.substr(start, end - start));
  }
  return run;
}

TEST(MeshInfo, ToolPrintsOneLinePerFileAndFailsIfAnyFileFails) {
  testing::TempDir dir;
  const std::vector<uint8_t> good = WriteXFile(testing::SampleMesh(), XEncoding::kCompressedBinary);
  testing::WriteFileBytes(dir.Path() / "good.x", std::string(good.begin(), good.end()));
  testing::WriteFileBytes(dir.Path() / "bad.x", "xof 0303txt 0032\nMesh {");

  const ToolRun mixed =
      RunTool("info " + dir / "good.x" + " " + dir / "bad.x" + " " + dir / "none.x");
  EXPECT_EQ(mixed.status, 1);
  ASSERT_EQ(mixed.lines.size(), 3u);
  EXPECT_EQ(mixed.lines[0], MeshInfoJson(dir / "good.x", testing::SampleMesh()));
  EXPECT_TRUE(
      mixed.lines[1].starts_with("{\"file\":" + JsonString(dir / "bad.x") + ",\"error\":\""));
  EXPECT_EQ(mixed.lines[2], MeshErrorJson(dir / "none.x", "cannot read the file"));

  EXPECT_EQ(RunTool("info " + dir / "good.x").status, 0);
  EXPECT_EQ(RunTool("info").status, 2);
  EXPECT_EQ(RunTool("show " + dir / "good.x").status, 2);
}

}  // namespace
}  // namespace kbh
