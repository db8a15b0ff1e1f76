// What taking one file or folder away from the workshop should do to the
// program, and how an observed run compares with that.
//
// Most of the workshop is optional: a missing interface picture leaves an
// empty slot, a part without its mesh is installed as nothing, and the
// program starts and runs as usual. A few files are required; without one
// of them start-up writes its failure line, tears down what it built and
// ends with status 0 on its own. Every run, either way, must end with
// status 0 and without a word from the sanitizers.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kbh::testing {

struct MissingFileCase {
  std::string path;  // below the workshop, '/'-separated
  bool folder = false;
  // The family of files it belongs to: files of one kind behave alike, so a
  // quick run takes one of each.
  std::string kind;
  // Required files: the log's last start-up lines, failure included, before
  // the performance block of a run whose main loop never ran. Empty for a
  // file the program can do without.
  std::string logEnd;
  // What the user sees when the program starts without it.
  std::string fallback;
};

// Every file and every folder of the workshop, each one case, folders first,
// then files in path order. quick keeps every folder, every required file
// and the first file of each other kind.
std::vector<MissingFileCase> ListMissingFileCases(const std::filesystem::path& workshop,
                                                  bool quick);

// What one run of the program did.
struct RunRecord {
  int exitStatus = -1;   // -1: it did not end in time and was killed
  bool started = false;  // its main loop drew a frame (the screenshot came)
  bool frameShowsBackground = false;
  std::string sanitizerReport;  // the first line of any report on standard error
  std::string log;              // error.log, CR LF read as LF
  std::string failure;          // what went wrong driving it, if anything
};

struct Verdict {
  bool expected = false;
  std::string outcome;  // one table cell
};

Verdict Judge(const MissingFileCase& missing, const RunRecord& run);

struct TableRow {
  MissingFileCase missing;
  RunRecord run;
  Verdict verdict;
};

// A Markdown table: removed | outcome | exit | sanitizers | log ends with.
std::string FormatTable(const std::vector<TableRow>& rows);

}  // namespace kbh::testing
