// The seller logos: which files of the folder become entries, under which
// names, in which order, and how a name finds its logo.
#include "ui/logo_list.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/os/os.hpp"
#include "tests/unit/ui/widget_test.hpp"

namespace kbh {
namespace {

namespace fs = std::filesystem;

class LogoListTest : public testing::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    startDirectory_ = CurrentDirectory();
    folder = (dir.Path() / "data" / "logos").string();
    fs::create_directories(folder);
  }
  // Loading moves the process into the logo folder; the other tests expect
  // to stay where they started.
  void TearDown() override {
    ReleaseLogos(logos);
    ChangeDirectory(startDirectory_);
  }
  void Logo(const std::string& fileName, int width, int height) {
    WritePicture("data/logos/" + fileName, width, height);
  }
  // The entries' names in the order the folder itself lists the files
  // (without their last four bytes).
  std::vector<std::string> FolderOrder(const std::vector<std::string>& listed) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      for (const std::string& wanted : listed) {
        if (name == wanted) names.push_back(name.substr(0, name.size() - 4));
      }
    }
    return names;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const LogoEntry& entry : logos.entries)
      names.push_back(entry.name);
    return names;
  }

  std::string folder;
  LogoList logos;

 private:
  std::string startDirectory_;
};

TEST_F(LogoListTest, EveryDdsFileBecomesAnEntryInFolderOrderNamedWithoutItsExtension) {
  Logo("falkner.dds", 190, 66);
  Logo("Sattlerei Hollweg.dds", 120, 40);
  Logo("WENDLINGER.DDS", 30, 20);
  Logo("brenninger", 40, 20);   // no extension: not a logo
  Logo("notes.txt", 40, 20);    // another kind of file
  Logo("old.dds.bak", 40, 20);  // ends otherwise
  fs::create_directories(fs::path(folder) / "archive.dds");

  ASSERT_TRUE(LoadLogos(logos, graphics, folder));
  EXPECT_EQ(Names(), FolderOrder({"falkner.dds", "Sattlerei Hollweg.dds", "WENDLINGER.DDS"}));
  EXPECT_EQ(fs::path(CurrentDirectory()), fs::path(folder)) << "the folder stays current";

  const TextureRecord* falkner = FindLogo(logos, "falkner");
  ASSERT_NE(falkner, nullptr);
  EXPECT_EQ(falkner->width, 190);
  ASSERT_NE(FindLogo(logos, "Sattlerei Hollweg"), nullptr);
  EXPECT_EQ(FindLogo(logos, "Sattlerei Hollweg")->width, 120);
  ASSERT_NE(FindLogo(logos, "WENDLINGER"), nullptr);
  // Names compare byte for byte.
  EXPECT_EQ(FindLogo(logos, "Falkner"), nullptr);
  EXPECT_EQ(FindLogo(logos, "wendlinger"), nullptr);
  EXPECT_EQ(FindLogo(logos, "falkner.dds"), nullptr);
  EXPECT_EQ(FindLogo(logos, "brenninger"), nullptr);
  EXPECT_EQ(FindLogo(logos, ""), nullptr);
}

TEST_F(LogoListTest, NamesThatDifferOnlyInTheExtensionGiveTheLogoListedFirst) {
  Logo("abc.dds", 10, 10);
  Logo("abc.DDS", 20, 20);
  Logo("abc.Dds", 30, 30);
  ASSERT_TRUE(LoadLogos(logos, graphics, folder));
  ASSERT_EQ(logos.entries.size(), 3u);
  for (const LogoEntry& entry : logos.entries)
    EXPECT_EQ(entry.name, "abc");
  ASSERT_NE(FindLogo(logos, "abc"), nullptr);
  EXPECT_EQ(FindLogo(logos, "abc"), logos.entries[0].image.get());
  EXPECT_EQ(FindLogo(logos, "ABC"), nullptr);
}

TEST_F(LogoListTest, UmlautsInUtf8NamesAreFoundByTheirWindows1252Spelling) {
  Logo("kranzb\xC3\xBChler.dds", 10, 10);  // as a Linux file name: UTF-8
  Logo("m\xFCller.dds", 20, 10);           // bytes from elsewhere, kept as they are
  ASSERT_TRUE(LoadLogos(logos, graphics, folder));
  ASSERT_NE(FindLogo(logos, "kranzb\xFChler"), nullptr);
  EXPECT_EQ(FindLogo(logos, "kranzb\xFChler")->width, 10);
  ASSERT_NE(FindLogo(logos, "m\xFCller"), nullptr);
  EXPECT_EQ(FindLogo(logos, "m\xFCller")->width, 20);
  EXPECT_EQ(FindLogo(logos, "kranzb\xC3\xBChler"), nullptr);
}

TEST_F(LogoListTest, AFileThatDoesNotDecodeKeepsItsEntryWithoutAPictureAndHidesLaterNamesakes) {
  testing::WriteFileBytes(fs::path(folder) / "broken.dds", "DDS but nothing more");
  Logo("zzz.dds", 10, 10);
  ASSERT_TRUE(LoadLogos(logos, graphics, folder));
  ASSERT_EQ(logos.entries.size(), 2u);
  EXPECT_EQ(FindLogo(logos, "broken"), nullptr);
  EXPECT_NE(FindLogo(logos, "zzz"), nullptr);
  EXPECT_NE(log.Text().find("LoadBmp"), std::string::npos) << "the bad file is logged";

  // Found first, so a good file of the same name behind it is not found.
  logos.entries.push_back(LogoEntry{Picture(4, 4), "broken"});
  EXPECT_EQ(FindLogo(logos, "broken"), nullptr);
}

TEST_F(LogoListTest, ANameLongerThanAnyBufferIsKeptWholeAndFound) {
  // 200 bytes of name: twice what a fixed name buffer of 100 bytes holds.
  const std::string stem(200, 'x');
  Logo(stem + ".dds", 12, 12);
  Logo("short.dds", 10, 10);
  ASSERT_TRUE(LoadLogos(logos, graphics, folder));
  ASSERT_EQ(logos.entries.size(), 2u);
  ASSERT_NE(FindLogo(logos, stem), nullptr);
  EXPECT_EQ(FindLogo(logos, stem)->width, 12);
  EXPECT_EQ(FindLogo(logos, stem.substr(0, 99)), nullptr);
  EXPECT_NE(FindLogo(logos, "short"), nullptr);
}

TEST_F(LogoListTest, AThousandLogosLoadInFolderOrder) {
  std::vector<std::string> files;
  for (int i = 0; i < 1000; ++i) {
    files.push_back("logo " + std::to_string(i) + ".dds");
    Logo(files.back(), 2, 2);
  }
  ASSERT_TRUE(LoadLogos(logos, graphics, folder));
  EXPECT_EQ(Names(), FolderOrder(files));
  for (int i : {0, 1, 500, 999}) {
    SCOPED_TRACE(i);
    EXPECT_NE(FindLogo(logos, "logo " + std::to_string(i)), nullptr);
  }
}

TEST_F(LogoListTest, OnlyAFolderThatCannotBeEnteredFails) {
  EXPECT_FALSE(LoadLogos(logos, graphics, (dir.Path() / "data" / "missing").string()));
  EXPECT_TRUE(logos.entries.empty());
  // Empty, or without any logo in it: an empty list.
  EXPECT_TRUE(LoadLogos(logos, graphics, folder));
  EXPECT_TRUE(logos.entries.empty());
  Logo("readme.txt", 2, 2);
  EXPECT_TRUE(LoadLogos(logos, graphics, folder));
  EXPECT_TRUE(logos.entries.empty());
}

TEST_F(LogoListTest, ReleasingFreesThePicturesAndKeepsTheNames) {
  Logo("a.dds", 4, 4);
  Logo("b.dds", 4, 4);
  const size_t before = device().LiveTextures();
  ASSERT_TRUE(LoadLogos(logos, graphics, folder));
  EXPECT_EQ(device().LiveTextures(), before + 2);
  ReleaseLogos(logos);
  EXPECT_EQ(device().LiveTextures(), before);
  EXPECT_EQ(logos.entries.size(), 2u);
  EXPECT_EQ(FindLogo(logos, "a"), nullptr);
  ReleaseLogos(logos);  // again: nothing left to free
}

}  // namespace
}  // namespace kbh
