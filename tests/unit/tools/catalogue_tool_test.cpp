#include "tools/catalogue/catalogue_tool.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/data_store_loader.hpp"
#include "tests/support/temp_dir.hpp"
#include "tools/common/json.hpp"

namespace kbh {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;
using namespace std::literals;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

ToolRun RunTool(std::vector<std::string> arguments) {
  std::ostringstream out;
  std::ostringstream err;
  ToolRun run;
  run.status = RunCatalogueTool(arguments, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

// Everything the format can hold, at its limits: names and texts of the
// longest length that fits (with and without a closing line feed), every
// action type, records on every level, and items placed directly below a
// category.
std::string RichCatalogue() {
  const auto text = [](char c, int count, const std::string& tail = "") {
    return "\"" + std::string(count, c) + tail + "\"";
  };
  return R"({"categories": [
    {"id": "01030000", "type": 1, "name": "R\u00e4der", "children": [
      {"type": 3, "name": )" +
         text('a', 198) + R"(},
      {"id": "01030102", "type": 3, "name": )" +
         text('b', 198, "\\n") + R"(},
      {"type": 2, "name": "Vorne \u201egut\u201c\r", "children": [{"type": 3, "name": ""}],
       "record": {"text1": )" +
         text('T', 498) + ", \"text2\": " + text('S', 498, "\\n") +
         ", \"text3\": " + text('3', 197) + ", \"text4\": " + text('d', 990, "\\n\\ttab") +
         ", \"text5\": " + text('L', 48, "\\n") + R"(, "actions": [
         {"type": 1, "target": "0105FFFF"}, {"type": 2, "target": "00FFFFFF"},
         {"type": 4, "target": "01030201", "x": 0.1, "y": -1e-40, "z": 3.4e38},
         {"type": 8, "target": "01030201", "colour": "02ABCDEF", "finish": 6},
         {"type": 77, "target": "00000000"}]}}]},
    {"id": "07FF0000", "type": 1, "name": "", "record": {"text1": ""}}]})";
}

TEST(CatalogueTool, CompileDumpCompileGivesTheSameBytes) {
  TempDir dir;
  WriteFileBytes(dir / "source.json", RichCatalogue());
  ASSERT_EQ(RunTool({"compile", dir / "source.json", dir / "first.khb"}).status, kToolSuccess);

  const ToolRun dump = RunTool({"dump", "--json", dir / "first.khb"});
  ASSERT_EQ(dump.status, kToolSuccess) << dump.err;
  WriteFileBytes(dir / "dump.json", dump.out);
  const ToolRun again = RunTool({"compile", dir / "dump.json", dir / "second.khb"});
  ASSERT_EQ(again.status, kToolSuccess) << again.err;
  EXPECT_EQ(ReadFileBytes(dir.Path() / "first.khb"), ReadFileBytes(dir.Path() / "second.khb"));

  // What compile writes, the loader reads without a finding, but for the
  // action type it was asked to write and nothing will act on.
  const ToolRun check = RunTool({"check", dir / "first.khb"});
  EXPECT_EQ(check.status, kToolFindings);
  EXPECT_EQ(std::count(check.out.begin(), check.out.end(), '\n'), 1) << check.out;
  EXPECT_NE(check.out.find("unknown type 77"), std::string::npos) << check.out;

  // And the dump says what the source said, ids filled in.
  JsonValue dumped;
  JsonError error;
  ASSERT_TRUE(ParseJson(dump.out, &dumped, &error));
  const JsonValue& wheels = dumped.Find("categories")->items.at(0);
  const JsonValue& front = wheels.Find("children")->items.at(2);
  EXPECT_EQ(front.Find("id")->text, "01030200");  // the direct items are subcategory 1
  EXPECT_EQ(front.Find("name")->text,
            "Vorne \xE2\x80\x9E"
            "gut\xE2\x80\x9C\r");
  EXPECT_EQ(front.Find("children")->items.at(0).Find("id")->text, "01030201");
  const JsonValue& record = *front.Find("record");
  EXPECT_EQ(record.Find("text4")->text, std::string(990, 'd') + "\n\ttab");
  EXPECT_EQ(record.Find("actions")->items.at(3).Find("colour")->text, "02ABCDEF");
  EXPECT_EQ(wheels.Find("children")->items.at(1).Find("name")->text, std::string(198, 'b') + "\n");
}

TEST(CatalogueTool, EveryStoredByteStringHasOneJsonFormThatCompilesBack) {
  TempDir dir;
  std::string name;
  for (int byte = 1; byte < 256; ++byte) {
    if (byte != '\n') name += static_cast<char>(byte);
  }
  // A file with that name, written by hand (bytes, NUL, line feed).
  std::string file(1, '\1');
  file += std::string(7, '\0') + '\0' + '\2' + std::string(7, '\0');
  file += "#\x01\x00"s;
  file += name.substr(0, 197) + '\0' + '\n';
  file += "+" + name.substr(197) + '\0' + '\n';
  file += "\xA7\x03" + std::string(7, '\0');
  WriteFileBytes(dir / "hand.khb", file);
  const ToolRun dump = RunTool({"dump", "--json", dir / "hand.khb"});
  ASSERT_EQ(dump.status, kToolSuccess);
  // 0x80 is the euro sign; the undefined 0x81 stands for U+0081, escaped
  // like DEL because an editor would not show it; 0xE4 is a-umlaut.
  EXPECT_NE(dump.out.find("~\\u007F\xE2\x82\xAC\\u0081\xE2\x80\x9A"), std::string::npos);
  EXPECT_NE(dump.out.find("\xC3\xA4"), std::string::npos);
  WriteFileBytes(dir / "hand.json", dump.out);
  ASSERT_EQ(RunTool({"compile", dir / "hand.json", dir / "back.khb"}).status, kToolSuccess);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "back.khb"), file);
  EXPECT_EQ(RunTool({"check", dir / "back.khb"}).status, kToolSuccess);
}

// --- Errors ------------------------------------------------------------------------

struct BadSource {
  std::string json;
  std::string place;  // "line:column: path: message" as it must appear
};

// One category 00010000 named name (JSON text) with further fields.
std::string OneCategory(const std::string& name, const std::string& fields = "") {
  return "{\"categories\": [{\"id\": \"00010000\", \"type\": 1, \"name\": " + name + fields + "}]}";
}
std::string OneAction(const std::string& action) {
  return OneCategory("\"c\"", ", \"record\": {\"actions\": [" + action + "]}");
}

TEST(CatalogueTool, BadSourcesGetOneLineNamingFileLineColumnAndField) {
  std::string many;
  for (int index = 0; index < 255; ++index)
    many += ", {\"type\": 2, \"name\": \"s\"}";
  const BadSource cases[] = {
      {"{\"categories\": [\n  {\"id\": 1,}\n]}", "2:12: unexpected character '}'"},
      {"{\"categories\": [], \"extra\": 1}", "1:29: extra: unknown field"},
      {"{\"categories\": [{\"type\": 1, \"name\": \"c\"}]}",
       "1:17: categories[0]: missing field \"id\""},
      {"{\"categories\": [{\"id\": \"00010100\", \"type\": 1, \"name\": \"c\"}]}",
       "1:24: categories[0].id: a category's id is its kind and number followed by 0000"},
      {"{\"categories\": [{\"id\": \"00010000\", \"type\": 2, \"name\": \"c\"}]}",
       "1:44: categories[0].type: expected type 1 (a category)"},
      {OneCategory("\"c\"",
                   ", \"children\": [{\"id\": \"00010200\", \"type\": 2, \"name\": \"s\"}]"),
       "1:80: categories[0].children[0].id: the position in the tree gives 00010100"},
      {OneCategory(
           "\"c\"",
           ", \"children\": [{\"type\": 2, \"name\": \"s\"}, {\"type\": 3, \"name\": \"i\"}]"),
       "categories[0].children[1]: items directly under a category must come before"},
      {OneCategory("\"\\u4e2d\""), "categories[0].name: character U+4E2D has no Windows-1252 byte"},
      {OneCategory("\"a\\u0000b\""), "categories[0].name: a NUL cannot be stored"},
      {OneCategory("\"a\\nb\""), "categories[0].name: a line feed can only end this text"},
      {OneCategory("\"" + std::string(199, 'x') + "\""),
       "categories[0].name: too long: 199 bytes in Windows-1252, at most 198 fit"},
      {OneCategory("\"c\"", ", \"record\": {\"text4\": \"" + std::string(1000, 'x') + "\"}"),
       "categories[0].record.text4: too long: 1000 bytes in Windows-1252, at most 999 fit"},
      {OneAction("{\"type\": 4, \"target\": \"00010000\", \"x\": 1, \"y\": 2}"),
       "categories[0].record.actions[0]: missing field \"z\""},
      {OneAction("{\"type\": 1, \"target\": \"00010000\", \"x\": 1}"),
       "categories[0].record.actions[0].x: unknown field"},
      {OneAction("{\"type\": \"1\", \"target\": \"0001000G\"}"),
       "categories[0].record.actions[0].type: expected a whole number from 0 to 255"},
      {OneAction("{\"type\": 1, \"target\": \"0001000G\"}"),
       "categories[0].record.actions[0].target: expected 8 hexadecimal digits"},
      {"{\"categories\": [{\"id\": \"00010000\", \"type\": 1, \"name\": \"c\"}, {\"id\": "
       "\"00010000\", \"type\": 1, \"name\": \"d\", \"record\": {}}]}",
       "categories[1].record: an earlier node has the id 00010000"},
      {OneCategory("\"c\"", ", \"children\": [" + many.substr(2) + "]"),
       "categories[0].children[254]: more than 254 subcategories"},
  };
  for (const BadSource& bad : cases) {
    TempDir dir;
    WriteFileBytes(dir / "bad.json", bad.json);
    WriteFileBytes(dir / "out.khb", "previous");
    const ToolRun run = RunTool({"compile", dir / "bad.json", dir / "out.khb"});
    EXPECT_EQ(run.status, kToolBadInput) << bad.place;
    const std::string prefix = "kbh-catalogue: " + (dir / "bad.json") + ":";
    EXPECT_EQ(run.err.rfind(prefix, 0), 0u) << run.err;
    EXPECT_NE(run.err.find(bad.place), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    // Nothing was written: the old output is untouched, no temporary is left.
    EXPECT_EQ(ReadFileBytes(dir.Path() / "out.khb"), "previous");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
  }
}

TEST(CatalogueTool, UsageAndUnreadableFilesExitWithTwo) {
  TempDir dir;
  EXPECT_EQ(RunTool({}).status, kToolBadInput);
  EXPECT_EQ(RunTool({"dump", dir / "x.khb"}).status, kToolBadInput);  // --json is required
  EXPECT_EQ(RunTool({"frobnicate"}).status, kToolBadInput);
  const ToolRun dump = RunTool({"dump", "--json", dir / "missing.khb"});
  EXPECT_EQ(dump.status, kToolBadInput);
  EXPECT_EQ(dump.err, "kbh-catalogue: " + (dir / "missing.khb") + ": cannot open the file\n");
  EXPECT_EQ(RunTool({"check", dir / "missing.khb"}).status, kToolBadInput);
  EXPECT_EQ(RunTool({"compile", dir / "missing.json", dir / "out.khb"}).status, kToolBadInput);
  WriteFileBytes(dir / "ok.json", "{\"categories\": []}");
  const ToolRun unwritable = RunTool({"compile", dir / "ok.json", dir / "no/such/dir/out.khb"});
  EXPECT_EQ(unwritable.status, kToolBadInput);
  EXPECT_NE(unwritable.err.find("cannot write the file"), std::string::npos);
}

// --- Check ---------------------------------------------------------------------------

TEST(CatalogueTool, CheckListsFindingsByOffsetAndExitsWithOne) {
  TempDir dir;
  std::string file = "\1" + std::string(7, '\0') + '\0' + '\2' + std::string(7, '\0');
  file += "+orphan\n";  // offset 17
  file +=
      "#\x01\x00"
      "c\n"s;                                 // offset 25
  file += "\xA7\x03" + std::string(7, '\0');  // records from offset 39
  file +=
      "\x05\x00\x01\x00"
      "a\nb\nc\nd\n\x01\x00\x00\x00\x00\x00\x00"s;  // id 00010005
  file += "zz";                                     // offset 58
  WriteFileBytes(dir / "bad.khb", file);
  const ToolRun run = RunTool({"check", dir / "bad.khb"});
  EXPECT_EQ(run.status, kToolFindings);
  const std::string name = dir / "bad.khb";
  EXPECT_EQ(run.out, name + ": offset 17: '+' before the first category: the record is ignored\n" +
                         name +
                         ": offset 39: no node has the id 00010005: the record is dropped\n" +
                         name + ": offset 58: 2 bytes after the end of what is read\n");
}

}  // namespace
}  // namespace kbh
