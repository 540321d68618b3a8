#include "base/scratch_folder.h"

#include <gtest/gtest.h>

#include <string>

#include "base/file_system.h"
#include "base/testing/faulty_file_system.h"
#include "base/memory_file_system.h"

namespace scenario {
namespace {

using Kind = FileSystem::PathKind;

TEST(ScratchFolder, MadeEmptyAndRemovedWithItsContents) {
  RealFileSystem fs;
  std::string cartella;
  {
    ScratchFolder scratch(fs, "scratch_test_");
    cartella = scratch.path();
    ASSERT_FALSE(cartella.empty()) << scratch.error();
    EXPECT_NE(cartella.find("/scratch_test_"), std::string::npos);
    EXPECT_EQ(fs.KindOf(cartella), Kind::kFolder);
    std::string err;
    ASSERT_TRUE(fs.MakeFolders(cartella + "/a/b", &err)) << err;
    ASSERT_TRUE(ReplaceFile(fs, cartella + "/a/b/f", "x", &err)) << err;
    EXPECT_EQ(fs.KindOf(cartella + "/a/b/f"), Kind::kFile);
    EXPECT_EQ(fs.KindOf(cartella + "/a/b/f/g"), Kind::kMissing);
    EXPECT_EQ(fs.KindOf(cartella + "/none"), Kind::kMissing);
    EXPECT_EQ(fs.KindOf("/dev/null"), Kind::kOther);
    // A folder that exists already is no failure; a file in the way is.
    EXPECT_TRUE(fs.MakeFolders(cartella + "/a", &err)) << err;
    EXPECT_FALSE(fs.MakeFolders(cartella + "/a/b/f", &err));
    EXPECT_EQ(err.rfind(cartella + "/a/b/f: ", 0), 0u) << err;
  }
  EXPECT_EQ(fs.KindOf(cartella), Kind::kMissing);
}

TEST(ScratchFolder, AFolderThatCannotBeMadeSaysWhy) {
  RealFileSystem reale;
  FaultyFileSystem fs(reale);
  fs.Fail(Step::kMakeScratchFolder);
  ScratchFolder scratch(fs, "scratch_test_");
  EXPECT_TRUE(scratch.path().empty());
  EXPECT_EQ(scratch.error(), std::string("scratch_test_: ") + FaultyFileSystem::kReason);
}

TEST(MemoryFileSystem, FoldersAreMadeOrHoldFiles) {
  MemoryFileSystem fs;
  std::string err, cartella;
  ASSERT_TRUE(fs.MakeScratchFolder("x_", &cartella, &err));
  EXPECT_EQ(fs.KindOf(cartella), Kind::kFolder);
  fs.files()[cartella + "/a/f"] = "1";
  fs.files()[cartella + "b"] = "2";
  EXPECT_EQ(fs.KindOf(cartella + "/a"), Kind::kFolder);
  EXPECT_EQ(fs.KindOf(cartella + "/a/f"), Kind::kFile);
  EXPECT_EQ(fs.KindOf(cartella + "/c"), Kind::kMissing);
  ASSERT_TRUE(fs.RemoveFolder(cartella, &err));
  EXPECT_EQ(fs.KindOf(cartella), Kind::kMissing);
  EXPECT_EQ(fs.files().size(), 1u);  // the file beside the folder stays
}

}  // namespace
}  // namespace scenario
