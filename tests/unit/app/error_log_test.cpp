#include "core/error_log.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "tests/support/temp_dir.hpp"

namespace kbh {
namespace {

using testing::ReadFileBytes;

TEST(ErrorLog, WritesLineFeedsAsCarriageReturnLineFeedAndNumbersUnpadded) {
  testing::TempDir dir;
  FileLogSink file(LogFilePath(ProgramDir{dir.Path().string()}));
  ErrorLog log(file);
  ASSERT_TRUE(log.CreateLogFile());
  log.WriteLog("\n.loading fonts");
  log.WriteLog(" failed");
  log.WriteLog("Message: Window Minimized \n");
  log.WriteLog("a\rb|");  // a lone CR is written as it is
  for (int number : {0, -2005529767, INT_MIN, 1234567}) {
    log.WriteLogNumber(number);
    log.WriteLog("|");
  }
  EXPECT_EQ(ReadFileBytes(dir / "error.log"),
            "\r\n.loading fonts failedMessage: Window Minimized \r\na\rb|"
            "0|-2005529767|-2147483648|1234567|");
}

TEST(ErrorLog, GivesAMemorySinkTheFileBytesAndStartsItAfreshOnCreate) {
  MemoryLogSink memory;
  ErrorLog log(memory);
  log.WriteLog("left over");
  ASSERT_TRUE(log.CreateLogFile());
  log.WriteLog("\n.loading gui\n error loading menu-gfx");
  EXPECT_EQ(memory.Bytes(), "\r\n.loading gui\r\n error loading menu-gfx");
  EXPECT_EQ(memory.Text(), "\n.loading gui\n error loading menu-gfx");
}

TEST(PathBuffer, FormatsPatternsOfAnyLength) {
  PathBuffer buffer;
  EXPECT_STREQ(buffer.Format("%s\\data\\objects\\%06X.mxa", "/x", 0x01030101u & 0xFFFFFFu),
               "/x\\data\\objects\\030101.mxa");
  const std::string longDir(3000, 'd');
  EXPECT_EQ(std::strlen(buffer.Format("%s/gfx/env/envmap.dds", longDir.c_str())),
            3000u + std::strlen("/gfx/env/envmap.dds"));
}

TEST(OsDescription, OnlyTheMinorNumberDecidesExceptForMinorZero) {
  EXPECT_STREQ(WindowsVersionName(6, 1), "Windows XP");
  EXPECT_STREQ(WindowsVersionName(6, 2), "Windows Server 2003");
  EXPECT_STREQ(WindowsVersionName(4, 0), "Windows 95 / NT 4.0");
  EXPECT_STREQ(WindowsVersionName(5, 0), "");  // not in the table: the label stands alone
}

TEST(OsDescription, CopiesTheKernelNameBoundedAndTerminated) {
  char full[100] = {};
  ASSERT_EQ(GetOSDescription(full, 100), full);
  EXPECT_EQ(std::strncmp(full, "Linux ", 6), 0);
  char small[5];
  std::memset(small, 'x', sizeof small);
  GetOSDescription(small, 5);
  EXPECT_STREQ(small, "Linu");
  EXPECT_EQ(GetOSDescription(nullptr, 100), nullptr);
}

}  // namespace
}  // namespace kbh
