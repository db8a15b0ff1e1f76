// The harness the end-to-end tests stand on: if these fail, every e2e failure
// after them is about the machine, not the program.
#include "tests/e2e/support/process.hpp"

#include <gtest/gtest.h>

namespace kbh::testing {
namespace {

using namespace std::chrono_literals;

TEST(E2eHarness, ProcessesReportTheirExitStatusAndCanBeStopped) {
  int status = -1;
  auto quick = Process::Start({"sh", "-c", "exit 7"});
  ASSERT_NE(quick, nullptr);
  ASSERT_TRUE(quick->WaitForExit(5s, &status));
  EXPECT_EQ(status, 7);

  auto slow = Process::Start({"sleep", "30"});
  ASSERT_NE(slow, nullptr);
  EXPECT_TRUE(slow->IsRunning());
  slow->Stop();
  EXPECT_FALSE(slow->IsRunning());

  std::string output;
  EXPECT_EQ(RunCommand({"sh", "-c", "echo hello"}, &output), 0);
  EXPECT_EQ(output, "hello\n");
}

TEST(E2eHarness, XvfbServesClientsAndXdotoolMovesThePointer) {
  auto x = XvfbSession::Start(800, 600);
  if (x == nullptr) GTEST_SKIP() << "Xvfb is not installed";
  if (!HaveProgram("xdotool")) GTEST_SKIP() << "xdotool is not installed";
  ASSERT_EQ(RunCommand({"xdotool", "mousemove", "40", "30"}, nullptr, x->Environment()), 0);
  std::string location;
  ASSERT_EQ(RunCommand({"xdotool", "getmouselocation"}, &location, x->Environment()), 0);
  EXPECT_EQ(location.rfind("x:40 y:30", 0), 0u) << location;
}

}  // namespace
}  // namespace kbh::testing
