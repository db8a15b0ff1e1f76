#include "app/error_log.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "tests/support/temp_dir.hpp"

namespace kbh {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

TEST(ErrorLog, WritesEveryLineFeedAsCarriageReturnLineFeed) {
  TempDir dir;
  ErrorLog log(ProgramDir{dir.Path().string()});
  ASSERT_TRUE(log.CreateLogFile());
  log.WriteLog("\n.loading fonts");
  log.WriteLog(" failed");
  log.WriteLog("Message: Window Minimized \n");
  log.WriteLog("a\rb");  // a lone CR is written as it is
  EXPECT_EQ(ReadFileBytes(dir / "error.log"),
            "\r\n.loading fonts failedMessage: Window Minimized \r\na\rb");
}

TEST(ErrorLog, NumbersAreSignedDecimalsWithoutPadding) {
  TempDir dir;
  ErrorLog log(ProgramDir{dir.Path().string()});
  ASSERT_TRUE(log.CreateLogFile());
  log.WriteLogNumber(0);
  log.WriteLog("|");
  log.WriteLogNumber(-2005529767);
  log.WriteLog("|");
  log.WriteLogNumber(INT_MIN);
  log.WriteLog("|");
  log.WriteLogNumber(1234567);
  EXPECT_EQ(ReadFileBytes(dir / "error.log"), "0|-2005529767|-2147483648|1234567");
}

TEST(ErrorLog, BannerAndPerformanceBlockFrameTheLog) {
  TempDir dir;
  ErrorLog log(ProgramDir{dir.Path().string()});
  ASSERT_TRUE(log.CreateLogFile());
  log.WriteBanner();
  log.WritePerformanceBlock(500, 0);
  const std::string bytes = ReadFileBytes(dir / "error.log");
  EXPECT_EQ(bytes.rfind("\r\n3D-Kolbenhof", 0), 0u);
  const std::string tail =
      "\r\n\r\nError-Logfile\r\n\r\n\t[Performance Info]\r\n\r\nmin-framerate: 500\r\n"
      "max-framerate: 0";
  ASSERT_GE(bytes.size(), tail.size());
  EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
}

TEST(ErrorLog, CreatingEmptiesThePreviousRunsLog) {
  TempDir dir;
  ErrorLog log(ProgramDir{dir.Path().string()});
  ASSERT_TRUE(log.CreateLogFile());
  log.WriteLog("first run");
  ASSERT_TRUE(log.CreateLogFile());
  EXPECT_EQ(ReadFileBytes(dir / "error.log"), "");
}

TEST(ErrorLog, AnUnwritableFolderFailsEveryOperation) {
  TempDir dir;
  ErrorLog log(ProgramDir{(dir.Path() / "missing").string()});
  EXPECT_FALSE(log.CreateLogFile());
  EXPECT_FALSE(log.WriteLog("lost"));
  EXPECT_FALSE(log.WriteLogNumber(1));
}

TEST(PathBuffer, FormatsPatternsOfAnyLength) {
  PathBuffer buffer;
  EXPECT_STREQ(buffer.Format("%s\\data\\objects\\%06X.mxa", "/x", 0x01030101u & 0xFFFFFFu),
               "/x\\data\\objects\\030101.mxa");
  const std::string longDir(3000, 'd');
  EXPECT_EQ(std::strlen(buffer.Format("%s/gfx/env/envmap.dds", longDir.c_str())),
            3000u + std::strlen("/gfx/env/envmap.dds"));
}

TEST(OsDescription, WindowsTableLooksOnlyAtTheMinorNumberBeyondZero) {
  EXPECT_STREQ(WindowsVersionName(4, 0), "Windows 95 / NT 4.0");
  EXPECT_STREQ(WindowsVersionName(3, 0), "Windows NT 3.51");
  EXPECT_STREQ(WindowsVersionName(5, 0), "");
  EXPECT_STREQ(WindowsVersionName(6, 1), "Windows XP");
  EXPECT_STREQ(WindowsVersionName(6, 2), "Windows Server 2003");
  EXPECT_STREQ(WindowsVersionName(4, 10), "Windows 98");
  EXPECT_STREQ(WindowsVersionName(4, 90), "Windows ME");
  EXPECT_STREQ(WindowsVersionName(10, 3), "");
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
