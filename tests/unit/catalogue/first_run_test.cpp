// The real program's first steps, run as a process in a chosen folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/support/temp_dir.hpp"
#include "tests/unit/catalogue/khb_builder.hpp"

namespace kbh {
namespace {

struct ProgramRun {
  int exitStatus = -1;
  std::string output;  // standard output and standard error
};

// Without a display no message box can appear and wait for a click.
ProgramRun RunProgramIn(const std::string& folder) {
  const std::string command = "cd '" + folder + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" +
                              KBH_KOLBENHOF_BINARY + "' 2>&1";
  ProgramRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[256];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    run.output.append(buffer, got);
  const int status = pclose(pipe);
  if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
  return run;
}

TEST(FirstRun, AFolderWhereNoLogCanBeCreatedStopsWithTheErrorBox) {
  // Not even root can create a file in /proc.
  const ProgramRun run = RunProgramIn("/proc");
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.output, "Error: Couldn't create logfile. Please check for write-protection!\n");
}

TEST(FirstRun, AMissingCatalogueFailsItsStepInTheLog) {
  testing::TempDir dir;
  const ProgramRun run = RunProgramIn(dir.Path().string());
  EXPECT_EQ(run.exitStatus, 0);
  const std::string log = testing::ReadFileBytes(dir.Path() / "error.log");
  EXPECT_NE(log.find("Error-Logfile\r\n\r\n.OS-Info: Linux "), std::string::npos) << log;
  EXPECT_NE(log.find("\r\n.creating data-store failed\r\n\r\n\t[Performance Info]\r\n"),
            std::string::npos)
      << log;
  EXPECT_TRUE(log.ends_with("\r\nmin-framerate: 500\r\nmax-framerate: 0")) << log;
}

TEST(FirstRun, AReadOnlyCatalogueLoads) {
  testing::TempDir dir;
  const std::string catalogue = dir / "data/firstData.khb";
  testing::WriteFileBytes(catalogue,
                          testing::KhbBuilder().Start().Category(1, 0, "c\n").EndTree().String());
  ASSERT_EQ(chmod(catalogue.c_str(), 0444), 0);
  const ProgramRun run = RunProgramIn(dir.Path().string());
  EXPECT_EQ(run.exitStatus, 0);
  const std::string log = testing::ReadFileBytes(dir.Path() / "error.log");
  EXPECT_NE(log.find("\r\n.creating data-store\r\n\r\n\t[Performance Info]"), std::string::npos)
      << log;
}

}  // namespace
}  // namespace kbh
