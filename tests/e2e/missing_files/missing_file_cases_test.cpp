// What the missing-file matrix expects of each file and how it reads a run:
// a wrong expectation here would let a real fault pass as "expected".
#include "tests/e2e/missing_files/missing_file_cases.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/support/driven_program.hpp"
#include "tests/support/temp_dir.hpp"

namespace kbh::testing {
namespace {

const char* const kFiles[] = {
    "data/firstData.khb",
    "data/objects/010101.mxa",
    "data/objects/010102.mxa",
    "data/textures/010101.khx",
    "data/images/010101.khi",
    "data/logos/falkner.dds",
    "data/logos/mahler.dds",
    "gfx/gui/kbh_load.dds",
    "gfx/gui/gui_menu_base.dds",
    "gfx/gui/gui_menu_bHelp.dds",
    "gfx/gui/gui_scrollbox_mid.dds",
    "gfx/gui/gui_Spray_Slider.dds",
    "gfx/gui/gui_colsel_ball.mxa",
    "gfx/gui/gui_colsel_arrow_up.dds",
    "gfx/gui/gui_colsel_palette.dds",
    "gfx/gui/gui_Spray_modelframe.dds",
    "gfx/env/envmap.dds",
    "gfx/env/mainBG.dds",
};

class MissingFileCasesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : kFiles)
      WriteFileBytes(temp.Path() / file, "x");
  }
  std::vector<std::string> Paths(bool quick) {
    std::vector<std::string> paths;
    for (const MissingFileCase& missing : ListMissingFileCases(temp.Path(), quick))
      paths.push_back(missing.path + (missing.folder ? "/" : ""));
    return paths;
  }
  TempDir temp;
};

TEST_F(MissingFileCasesTest, QuickKeepsFoldersRequiredFilesAndOneFileOfEachOtherKind) {
  const std::vector<std::string> quick = {
      "data/",
      "data/images/",
      "data/logos/",
      "data/objects/",
      "data/textures/",
      "gfx/",
      "gfx/env/",
      "gfx/gui/",
      "data/firstData.khb",
      "data/images/010101.khi",
      "data/logos/falkner.dds",
      "data/objects/010101.mxa",
      "data/textures/010101.khx",
      "gfx/env/envmap.dds",
      "gfx/env/mainBG.dds",
      "gfx/gui/gui_Spray_Slider.dds",
      "gfx/gui/gui_Spray_modelframe.dds",
      "gfx/gui/gui_colsel_ball.mxa",
      "gfx/gui/gui_colsel_palette.dds",
      "gfx/gui/gui_menu_bHelp.dds",
      "gfx/gui/gui_scrollbox_mid.dds",
      "gfx/gui/kbh_load.dds",
  };
  EXPECT_EQ(Paths(true), quick);
  EXPECT_EQ(Paths(false).size(), 8u + std::size(kFiles));
}

TEST_F(MissingFileCasesTest, EachFileKnowsWhetherStartUpStopsWithoutIt) {
  struct Expected {
    const char* path;
    const char* kind;
    const char* logEnd;
  };
  const Expected expected[] = {
      {"data", "folder", "\n.loading fonts\n.creating data-store failed"},
      {"data/logos", "folder", "\n.loading gui\n error loading seller-logos"},
      {"data/objects", "folder", ""},
      {"gfx/gui", "folder", "\n input.device\n.loading status-screen failed"},
      {"gfx/env", "folder", "\n .environment-map\n .scene-bg  failed"},
      {"data/firstData.khb", "catalogue", "\n.loading fonts\n.creating data-store failed"},
      {"gfx/gui/kbh_load.dds", "loading picture", "\n input.device\n.loading status-screen failed"},
      {"gfx/gui/gui_Spray_modelframe.dds", "model frame",
       "\n.loading gui\n error loading modelscreen"},
      {"gfx/gui/gui_colsel_ball.mxa", "colour ball",
       "\n.loading gui\n error initializing color-selector"},
      {"gfx/gui/gui_colsel_palette.dds", "colour palette",
       "\n.loading gui\n error initializing color-selector"},
      {"gfx/gui/gui_colsel_arrow_up.dds", "colour selector control", ""},
      {"gfx/gui/gui_Spray_Slider.dds", "colour selector control", ""},
      {"gfx/gui/gui_menu_base.dds", "menu bar picture", ""},
      {"gfx/env/mainBG.dds", "scene background", "\n .environment-map\n .scene-bg  failed"},
      {"gfx/env/envmap.dds", "environment map", ""},
      {"data/logos/mahler.dds", "seller logo", ""},
  };
  const std::vector<MissingFileCase> cases = ListMissingFileCases(temp.Path(), false);
  for (const Expected& want : expected) {
    SCOPED_TRACE(want.path);
    auto found = std::find_if(cases.begin(), cases.end(),
                              [&](const MissingFileCase& c) { return c.path == want.path; });
    ASSERT_NE(found, cases.end());
    EXPECT_EQ(found->kind, want.kind);
    EXPECT_EQ(found->logEnd, want.logEnd);
    EXPECT_EQ(found->fallback.empty(), *want.logEnd != '\0');
  }
}

constexpr const char* kDevice = "Error-Logfile\n gfx.device   CreateDevice success\n";
constexpr const char* kStoppedAtDataStore =
    "\n input.device\n.loading status-screen\n.loading fonts\n.creating data-store failed"
    "\n\n\t[Performance Info]\n\nmin-framerate: 500\nmax-framerate: 0";
constexpr const char* kWholeRun =
    "\n input.device\n.loading status-screen\n.loading fonts\n.creating data-store"
    "\n.loading std-mxafiles\n.loading gui\n.initialising world\n .lights\n .environment-map"
    "\n .scene-bg\n .animations\n\n\t[Performance Info]\n\nmin-framerate: 3\nmax-framerate: 11";

TEST(MissingFileJudgeTest, AcceptsOnlyTheDocumentedEndWithStatusZeroAndNoReport) {
  const MissingFileCase catalogue{"data/firstData.khb", false, "catalogue",
                                  "\n.loading fonts\n.creating data-store failed", ""};
  const MissingFileCase menuPicture{"gfx/gui/gui_menu_base.dds", false, "menu bar picture", "",
                                    "empty slot in the menu bar"};
  RunRecord stopped;
  stopped.exitStatus = 0;
  stopped.log = std::string(kDevice) + kStoppedAtDataStore;
  RunRecord ran;
  ran.exitStatus = 0;
  ran.started = true;
  ran.frameShowsBackground = true;
  ran.log = std::string(kDevice) + kWholeRun;

  struct Case {
    const char* name;
    MissingFileCase missing;
    RunRecord run;
    bool expected;
    const char* outcomeHas;
  };
  std::vector<Case> cases = {
      {"stopped where documented", catalogue, stopped, true,
       "start-up stopped: `.creating data-store failed`, torn down"},
      {"ran as usual", menuPicture, ran, true, "started; empty slot in the menu bar"},
      {"required file, yet it ran", catalogue, ran, false, "started although required"},
      {"optional file, yet it stopped", menuPicture, stopped, false, "no first frame"},
  };
  Case aborted{"stopped where documented, then aborted", catalogue, stopped, false,
               "exit status 134"};
  aborted.run.exitStatus = 134;
  cases.push_back(aborted);
  Case leaked{"ran, then leaked", menuPicture, ran, false,
              "sanitizer: ERROR: LeakSanitizer: detected memory leaks"};
  leaked.run.sanitizerReport = "ERROR: LeakSanitizer: detected memory leaks";
  cases.push_back(leaked);
  Case otherStep{"stopped one step later", catalogue, stopped, false, "log does not end with"};
  otherStep.run.log = std::string(kDevice) + "\n.loading std-mxafiles failed" +
                      "\n\n\t[Performance Info]\n\nmin-framerate: 500\nmax-framerate: 0";
  cases.push_back(otherStep);
  Case blank{"ran without drawing the scene", menuPicture, ran, false,
             "first frame without the scene"};
  blank.run.frameShowsBackground = false;
  cases.push_back(blank);
  Case cut{"ran, log cut short", menuPicture, ran, false, "log is not that of a whole run"};
  cut.run.log = std::string(kDevice) + "\n input.device\n.loading status-screen";
  cases.push_back(cut);
  Case hung{"never ended", menuPicture, ran, false, "still running 90 s after Escape"};
  hung.run.failure = "still running 90 s after Escape";
  hung.run.exitStatus = -1;
  cases.push_back(hung);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Verdict verdict = Judge(c.missing, c.run);
    EXPECT_EQ(verdict.expected, c.expected) << verdict.outcome;
    EXPECT_NE(verdict.outcome.find(c.outcomeHas), std::string::npos) << verdict.outcome;
  }
}

TEST(MissingFileJudgeTest, FindsTheFirstLineOfAnySanitizerReport) {
  const std::pair<const char*, const char*> cases[] = {
      {"MESA: warning: x\n==12==ERROR: LeakSanitizer: detected memory leaks\nmore",
       "==12==ERROR: LeakSanitizer: detected memory leaks"},
      {"==7==ERROR: AddressSanitizer: heap-use-after-free on address 0x1",
       "==7==ERROR: AddressSanitizer: heap-use-after-free on address 0x1"},
      {"ui/widgets/slider.cpp:40:12: runtime error: signed integer overflow\n",
       "ui/widgets/slider.cpp:40:12: runtime error: signed integer overflow"},
      {"MESA: warning: x\nError: something the program says\n", ""},
      {"", ""},
  };
  for (const auto& [text, report] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(FindSanitizerReport(text), report);
  }
}

TEST(MissingFileJudgeTest, TableShowsTheLastStepsAndEscapesBars) {
  EXPECT_EQ(LogTail(std::string(kDevice) + kStoppedAtDataStore),
            ".loading fonts / .creating data-store failed");
  EXPECT_EQ(LogTail("\n .environment-map\n .scene-bg  failed\n\n", 1), ".scene-bg  failed");

  TableRow row;
  row.missing = {"data/logos", true, "folder", "", ""};
  row.run.exitStatus = 0;
  row.run.log = "\n.loading gui\n error | loading seller-logos";
  row.verdict = {true, "start-up stopped"};
  EXPECT_EQ(FormatTable({row}),
            "| removed | outcome | exit | sanitizers | log ends with |\n"
            "|---|---|---|---|---|\n"
            "| data/logos/ | start-up stopped | 0 | clean | .loading gui / error \\| loading "
            "seller-logos |\n");
}

}  // namespace
}  // namespace kbh::testing
