#include "tests/e2e/missing_files/missing_file_cases.hpp"

#include <algorithm>
#include <set>

#include "tests/e2e/support/driven_program.hpp"
#include "tests/e2e/support/program_session.hpp"
#include "tests/support/program_log.hpp"

namespace kbh::testing {

namespace {

namespace fs = std::filesystem;

constexpr const char* kStatusScreenFailed = "\n input.device\n.loading status-screen failed";
constexpr const char* kDataStoreFailed = "\n.loading fonts\n.creating data-store failed";
constexpr const char* kColourSelectorFailed = "\n.loading gui\n error initializing color-selector";
constexpr const char* kSceneBackgroundFailed = "\n .environment-map\n .scene-bg  failed";

struct Rule {
  const char* path;  // a whole path, or with a trailing '*' its beginning
  const char* kind;
  const char* logEnd;
  const char* fallback;
};

// First match wins, so whole paths stand before the beginnings that cover
// them.
constexpr Rule kRules[] = {
    // Folders: without them, every file inside is missing at once.
    {"data", "folder", kDataStoreFailed, ""},
    {"data/logos", "folder", "\n.loading gui\n error loading seller-logos", ""},
    {"data/objects", "folder", "", "no moped: every part without its mesh"},
    {"data/textures", "folder", "", "every part untextured"},
    {"data/images", "folder", "", "no part pictures on the Seller screen"},
    {"gfx", "folder", kStatusScreenFailed, ""},
    {"gfx/gui", "folder", kStatusScreenFailed, ""},
    {"gfx/env", "folder", kSceneBackgroundFailed, ""},
    // Files start-up cannot do without.
    {"data/firstData.khb", "catalogue", kDataStoreFailed, ""},
    {"gfx/gui/kbh_load.dds", "loading picture", kStatusScreenFailed, ""},
    {"gfx/gui/gui_Spray_modelframe.dds", "model frame",
     "\n.loading gui\n error loading modelscreen", ""},
    {"gfx/gui/gui_colsel_palette.dds", "colour palette", kColourSelectorFailed, ""},
    {"gfx/gui/gui_colsel_ball.mxa", "colour ball", kColourSelectorFailed, ""},
    {"gfx/env/mainBG.dds", "scene background", kSceneBackgroundFailed, ""},
    // Files it can.
    {"gfx/env/envmap.dds", "environment map", "", "the moped without reflections"},
    {"data/objects/*", "part mesh", "",
     "the part has no mesh: installed as nothing, its build-in refused"},
    {"data/textures/*", "part texture", "", "the part untextured"},
    {"data/images/*", "part picture", "", "no picture of the part on the Seller screen"},
    {"data/logos/*", "seller logo", "", "the seller without logo"},
    {"gfx/gui/gui_scrollbox_*", "list picture", "", "empty slot in the lists"},
    {"gfx/gui/gui_textbox_*", "text panel picture", "", "empty slot in the text panels"},
    {"gfx/gui/gui_Cursor_*", "pointer picture", "", "that pointer not drawn"},
    {"gfx/gui/cursor_*", "pointer picture", "", "that pointer not drawn"},
    {"gfx/gui/gui_colsel_*", "colour selector control", "", "that control not drawn"},
    {"gfx/gui/gui_Spray_Slider*", "colour selector control", "", "that control not drawn"},
    {"gfx/gui/*", "menu bar picture", "", "empty slot in the menu bar"},
};

const Rule* RuleFor(const std::string& path) {
  for (const Rule& rule : kRules) {
    const std::string pattern = rule.path;
    const bool prefix = pattern.ends_with('*');
    if (prefix ? path.starts_with(pattern.substr(0, pattern.size() - 1)) : path == pattern) {
      return &rule;
    }
  }
  return nullptr;
}

// A table cell holds no line breaks and no bars.
std::string Cell(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  std::string escaped;
  for (char c : text) {
    if (c == '|') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

}  // namespace

std::vector<MissingFileCase> ListMissingFileCases(const fs::path& workshop, bool quick) {
  std::vector<MissingFileCase> folders;
  std::vector<MissingFileCase> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(workshop)) {
    MissingFileCase missing;
    missing.path = fs::relative(entry.path(), workshop).generic_string();
    missing.folder = entry.is_directory();
    if (const Rule* rule = RuleFor(missing.path)) {
      missing.kind = rule->kind;
      missing.logEnd = rule->logEnd;
      missing.fallback = rule->fallback;
    } else {
      // Nothing the program is known to read: it should not notice.
      missing.kind = missing.folder ? "folder" : "unknown file";
      missing.fallback = "nothing the program reads";
    }
    (missing.folder ? folders : files).push_back(missing);
  }
  auto byPath = [](const MissingFileCase& a, const MissingFileCase& b) { return a.path < b.path; };
  std::sort(folders.begin(), folders.end(), byPath);
  std::sort(files.begin(), files.end(), byPath);

  std::vector<MissingFileCase> cases = folders;
  std::set<std::string> kindsTaken;
  for (const MissingFileCase& file : files) {
    const bool required = !file.logEnd.empty();
    if (quick && !required && !kindsTaken.insert(file.kind).second) continue;
    cases.push_back(file);
  }
  return cases;
}

Verdict Judge(const MissingFileCase& missing, const RunRecord& run) {
  std::vector<std::string> faults;
  if (!run.failure.empty()) faults.push_back(run.failure);
  if (run.exitStatus != 0) faults.push_back("exit status " + std::to_string(run.exitStatus));
  if (!run.sanitizerReport.empty()) faults.push_back("sanitizer: " + run.sanitizerReport);

  std::string outcome;
  if (!missing.logEnd.empty()) {
    if (run.started) faults.push_back("started although required");
    if (!run.log.ends_with(missing.logEnd + kUnrunPerformanceBlock)) {
      faults.push_back("log does not end with \"" + LogTail(missing.logEnd) +
                       "\" and the unrun performance block");
    }
    outcome = "start-up stopped: `" + LogTail(run.log, 1) + "`, torn down";
  } else {
    if (!run.started) faults.push_back("no first frame");
    if (run.started && !run.frameShowsBackground) faults.push_back("first frame without the scene");
    if (!IsWholeRun(AfterDevice(run.log))) faults.push_back("log is not that of a whole run");
    outcome = "started; " + missing.fallback;
  }
  if (faults.empty()) return {true, outcome};
  std::string text = "UNEXPECTED:";
  for (const std::string& fault : faults)
    text += " " + fault + ";";
  return {false, text};
}

std::string FormatTable(const std::vector<TableRow>& rows) {
  std::string table =
      "| removed | outcome | exit | sanitizers | log ends with |\n"
      "|---|---|---|---|---|\n";
  for (const TableRow& row : rows) {
    const std::string removed = row.missing.path + (row.missing.folder ? "/" : "");
    const std::string sanitizers =
        row.run.sanitizerReport.empty() ? "clean" : row.run.sanitizerReport;
    table += "| " + Cell(removed) + " | " + Cell(row.verdict.outcome) + " | " +
             std::to_string(row.run.exitStatus) + " | " + Cell(sanitizers) + " | " +
             Cell(LogTail(row.run.log)) + " |\n";
  }
  return table;
}

}  // namespace kbh::testing
