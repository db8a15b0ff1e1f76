// kbh-catalogue: writes, reads and checks catalogue files.
//
//   kbh-catalogue dump --json FILE         the tree the program loads, as JSON
//   kbh-catalogue compile SOURCE.json OUT  a catalogue file from that JSON
//   kbh-catalogue check FILE               what the program would skip or cut
//
// Exit status: 0 success (check: nothing found), 1 check found something,
// 2 bad usage or bad input, with one line on the error stream naming the file
// and the place. compile writes its output whole or not at all.
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace kbh {

inline constexpr int kToolSuccess = 0;
inline constexpr int kToolFindings = 1;
inline constexpr int kToolBadInput = 2;

// arguments excludes the program's name.
int RunCatalogueTool(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace kbh
