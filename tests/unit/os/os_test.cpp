#include "platform/os/os.hpp"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.hpp"

namespace kbh {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

TEST(ResolvePath, AcceptsBackslashesAndForgivesLetterCase) {
  TempDir dir;
  WriteFileBytes(dir.Path() / "data" / "Objects" / "030101.mxa", "x");
  const std::string base = dir.Path().string();
  EXPECT_EQ(ResolvePath(base + "\\data\\objects\\030101.MXA"), base + "/data/Objects/030101.mxa");
  FILE* file = OpenFile(base + "\\DATA/objects\\030101.mxa", "rb");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
}

TEST(ResolvePath, KeepsTheNaturalNameOfAFileYetToBeCreated) {
  TempDir dir;
  const std::string base = dir.Path().string();
  EXPECT_EQ(ResolvePath(base + "\\error.log"), base + "/error.log");
  EXPECT_EQ(ResolvePath(base + "/no/such\\folder.txt"), base + "/no/such/folder.txt");
}

TEST(ResolvePath, PrefersTheExactNameOverACaseVariant) {
  TempDir dir;
  WriteFileBytes(dir.Path() / "Logo.dds", "upper");
  WriteFileBytes(dir.Path() / "logo.dds", "lower");
  EXPECT_EQ(ResolvePath(dir / "logo.dds"), dir / "logo.dds");
  EXPECT_EQ(ResolvePath(dir / "Logo.dds"), dir / "Logo.dds");
}

TEST(Directories, ChangeDirectoryFailsForMissingFolders) {
  TempDir dir;
  const std::string before = CurrentDirectory();
  EXPECT_FALSE(ChangeDirectory(dir / "missing"));
  EXPECT_EQ(CurrentDirectory(), before);
  ASSERT_TRUE(ChangeDirectory(dir.Path().string()));
  EXPECT_EQ(CurrentDirectory(), dir.Path().string());
  ASSERT_TRUE(ChangeDirectory(before));
}

}  // namespace
}  // namespace kbh

namespace kbh {
namespace {

TEST(WholeFiles, WriteReplacesAtomicallyAndReadRespectsItsLimit) {
  testing::TempDir dir;
  const std::vector<uint8_t> bytes = {1, 2, 3, 0, 255};
  ASSERT_TRUE(WriteWholeFile(dir / "out.bin", bytes));
  std::vector<uint8_t> read;
  ASSERT_TRUE(ReadWholeFile(dir / "out.bin", &read));
  EXPECT_EQ(read, bytes);
  EXPECT_FALSE(ReadWholeFile(dir / "out.bin", &read, 4));
  EXPECT_TRUE(read.empty());
  EXPECT_FALSE(ReadWholeFile(dir / "missing.bin", &read));
  EXPECT_FALSE(WriteWholeFile(dir / "no/such/folder/out.bin", bytes));
  // Only the one file remains: no temporary left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace kbh
