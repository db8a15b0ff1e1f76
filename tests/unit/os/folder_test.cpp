#include "platform/os/folder.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/temp_dir.hpp"

namespace kbh {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

TEST(MatchesPattern, IgnoresCaseAndHonoursWildcards) {
  EXPECT_TRUE(MatchesPattern("seller.dds", "*.dds"));
  EXPECT_TRUE(MatchesPattern("SELLER.DDS", "*.dds"));
  EXPECT_TRUE(MatchesPattern("Seller.Dds", "*.DDS"));
  EXPECT_TRUE(MatchesPattern(".dds", "*.dds"));
  EXPECT_TRUE(MatchesPattern("a.b.dds", "*.dds"));
  EXPECT_FALSE(MatchesPattern("seller.ddsx", "*.dds"));
  EXPECT_FALSE(MatchesPattern("seller.dd", "*.dds"));
  EXPECT_FALSE(MatchesPattern("sellerdds", "*.dds"));
  EXPECT_TRUE(MatchesPattern("logo1.dds", "logo?.dds"));
  EXPECT_FALSE(MatchesPattern("logo12.dds", "logo?.dds"));
  EXPECT_TRUE(MatchesPattern("abcabd", "*ab*d"));
  EXPECT_TRUE(MatchesPattern("noextension", "*.*"));
  EXPECT_TRUE(MatchesPattern("", "*"));
  EXPECT_FALSE(MatchesPattern("", "?"));
}

std::vector<std::string> Names(const std::vector<FolderEntry>& entries) {
  std::vector<std::string> names;
  for (const FolderEntry& entry : entries)
    names.push_back(entry.name);
  return names;
}

TEST(ListFolder, ListsMatchingEntriesInDirectoryOrderWithTheirFlags) {
  TempDir dir;
  WriteFileBytes(dir.Path() / "logos" / "alpha.dds", "a");
  WriteFileBytes(dir.Path() / "logos" / "BETA.DDS", "b");
  WriteFileBytes(dir.Path() / "logos" / "notes.txt", "n");
  std::filesystem::create_directories(dir.Path() / "logos" / "sub.dds");
  chmod((dir.Path() / "logos" / "BETA.DDS").c_str(), 0444);

  std::vector<FolderEntry> entries;
  ASSERT_TRUE(ListFolder(dir.Path().string() + "\\Logos", "*.dds", &entries));

  // Directory order is whatever readdir gives; compare against it directly.
  std::vector<std::string> expected;
  for (const auto& item : std::filesystem::directory_iterator(dir.Path() / "logos")) {
    const std::string name = item.path().filename().string();
    if (name != "notes.txt") expected.push_back(name);
  }
  EXPECT_EQ(Names(entries), expected);

  for (const FolderEntry& entry : entries) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(entry.isDirectory, entry.name == "sub.dds");
    EXPECT_EQ(entry.isReadOnly, entry.name == "BETA.DDS");
  }
}

TEST(ListFolder, NeverListsTheDotEntries) {
  TempDir dir;
  WriteFileBytes(dir.Path() / "file", "x");
  std::vector<FolderEntry> entries;
  ASSERT_TRUE(ListFolder(dir.Path().string(), "*", &entries));
  EXPECT_EQ(Names(entries), std::vector<std::string>{"file"});
}

TEST(ListFolder, FailsForAMissingFolderAndLeavesNothingBehind) {
  TempDir dir;
  std::vector<FolderEntry> entries(3);
  EXPECT_FALSE(ListFolder(dir / "missing", "*.dds", &entries));
  EXPECT_TRUE(entries.empty());
}

}  // namespace
}  // namespace kbh
