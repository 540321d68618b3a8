#include "base/file_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "base/memory_file_system.h"
#include "base/testing/faulty_file_system.h"
#include "base/testing/temporary_folder.h"

namespace scenario {
namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

/// An older file with bytes that a text reader would mangle.
const std::string kOldBytes("old\r\ncontents\0\xff with a zero\n", 29);

struct FailureCase {
  Step step;
  const char* reason_word;  ///< the step as the message names it
};

class ReplaceFileFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(ReplaceFileFailure, KeepsOldFileAndLeavesNoTemporary) {
  CartellaTemporanea folder;
  const std::string path = folder.file("scenario.dat");
  WriteBytes(path, kOldBytes);

  RealFileSystem real;
  FaultyFileSystem fs(real);
  fs.Fail(GetParam().step);
  std::string err;
  EXPECT_FALSE(ReplaceFile(fs, path, std::string(1000, 'n'), &err));

  EXPECT_NE(err.find(path), std::string::npos) << err;
  EXPECT_NE(err.find(GetParam().reason_word), std::string::npos) << err;
  EXPECT_NE(err.find(FaultyFileSystem::kReason), std::string::npos) << err;
  EXPECT_EQ(ReadBytes(path), kOldBytes);
  EXPECT_EQ(folder.voci(), std::set<std::string>{"scenario.dat"});
  EXPECT_EQ(fs.OpenFiles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, ReplaceFileFailure,
                         testing::Values(FailureCase{Step::kCreate, "create"},
                                         FailureCase{Step::kWrite, "write"},
                                         FailureCase{Step::kFlush, "flush"},
                                         FailureCase{Step::kClose, "close"},
                                         FailureCase{Step::kRename, "rename"}),
                         [](const testing::TestParamInfo<FailureCase>& info) {
                           return std::string(StepName(info.param.step));
                         });

TEST(ReplaceFile, FailingCleanupDoesNotHideTheReason) {
  CartellaTemporanea folder;
  const std::string path = folder.file("a.sim");
  WriteBytes(path, kOldBytes);
  RealFileSystem real;
  FaultyFileSystem fs(real);
  fs.Fail(Step::kRename);
  fs.Fail(Step::kRemove);
  std::string err;
  EXPECT_FALSE(ReplaceFile(fs, path, "new", &err));
  EXPECT_NE(err.find("rename"), std::string::npos) << err;
  EXPECT_EQ(ReadBytes(path), kOldBytes);
}

struct SuccessCase {
  const char* name;
  bool old_file;
  std::string data;
};

class ReplaceFileSuccess : public testing::TestWithParam<SuccessCase> {};

TEST_P(ReplaceFileSuccess, LeavesExactlyTheNewBytes) {
  CartellaTemporanea folder;
  const std::string path = folder.file("a.dat");
  if (GetParam().old_file) WriteBytes(path, kOldBytes);
  RealFileSystem fs;
  std::string err;
  ASSERT_TRUE(ReplaceFile(fs, path, GetParam().data, &err)) << err;
  EXPECT_EQ(ReadBytes(path), GetParam().data);
  EXPECT_EQ(folder.voci(), std::set<std::string>{"a.dat"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceFileSuccess,
    testing::Values(SuccessCase{"NewFile", false, std::string("\x01\x00\x02", 3)},
                    SuccessCase{"LongerByShorter", true, "short"},
                    SuccessCase{"ShorterByLonger", true, std::string(70000, '\x80')},
                    SuccessCase{"ByEmpty", true, ""}),
    [](const testing::TestParamInfo<SuccessCase>& info) { return std::string(info.param.name); });

TEST(ReplaceFile, WritesTheTemporaryThenRenamesIt) {
  CartellaTemporanea folder;
  const std::string path = folder.file("a.txt");
  const std::string temporary = TemporaryName(path);
  RealFileSystem real;
  FaultyFileSystem fs(real);
  std::string err;
  ASSERT_TRUE(ReplaceFile(fs, path, "x", &err)) << err;
  EXPECT_EQ(fs.LogLines(), (std::vector<std::string>{
                               "create " + temporary,
                               "write " + temporary,
                               "flush " + temporary,
                               "close " + temporary,
                               "rename " + temporary + " -> " + path,
                           }));
  EXPECT_EQ(temporary.substr(0, temporary.rfind('/')), folder.percorso());
}

TEST(FaultyFileSystem, FailsOnlyTheChosenOccurrenceOnMatchingPaths) {
  CartellaTemporanea folder;
  RealFileSystem real;
  FaultyFileSystem fs(real);
  fs.Fail(Step::kRename, 2, ".dat");
  std::string err;
  EXPECT_TRUE(ReplaceFile(fs, folder.file("a.dat"), "1", &err)) << err;
  EXPECT_TRUE(ReplaceFile(fs, folder.file("b.sim"), "2", &err)) << err;
  EXPECT_FALSE(ReplaceFile(fs, folder.file("c.dat"), "3", &err));
  EXPECT_TRUE(ReplaceFile(fs, folder.file("d.dat"), "4", &err)) << err;
  EXPECT_EQ(folder.voci(), (std::set<std::string>{"a.dat", "b.sim", "d.dat"}));
  int failed = 0;
  for (const Operation& op : fs.log()) failed += op.failed;
  EXPECT_EQ(failed, 1);
}

TEST(RealFileSystemTest, WritePartsWritesEveryPartInOrder) {
  // More parts than one gathering system call accepts.
  std::vector<std::string> storage;
  std::string expected;
  for (int i = 0; i < 3000; ++i) {
    storage.push_back(std::to_string(i) + (i % 7 == 0 ? std::string() : ","));
    expected += storage.back();
  }
  storage.push_back(std::string(1 << 20, 'x'));
  expected += storage.back();
  std::vector<std::string_view> parts(storage.begin(), storage.end());
  char pattern[] = "/tmp/write_parts_XXXXXX";
  const std::string folder = mkdtemp(pattern);
  RealFileSystem fs;
  std::string err;
  ASSERT_TRUE(ReplaceFile(fs, folder + "/f", parts, &err)) << err;
  std::ifstream in(folder + "/f", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), expected);
  std::filesystem::remove_all(folder);
}

TEST(ListFolderTest, ListsTheRegularFilesOfOneFolderSorted) {
  CartellaTemporanea cartella;
  cartella.scrivi("b.txt", "1");
  cartella.scrivi("a.txt", "2");
  std::filesystem::create_directory(cartella.file("sotto"));
  RealFileSystem reale;
  MemoryFileSystem memoria;
  memoria.files() = {{cartella.file("b.txt"), "1"},
                     {cartella.file("a.txt"), "2"},
                     {cartella.file("sotto/c.txt"), "3"},
                     {cartella.percorso() + "x/d.txt", "4"}};
  for (FileSystem* fs : std::vector<FileSystem*>{&reale, &memoria}) {
    std::vector<std::string> nomi;
    std::string err;
    ASSERT_TRUE(fs->ListFolder(cartella.percorso(), &nomi, &err)) << err;
    EXPECT_EQ(nomi, (std::vector<std::string>{"a.txt", "b.txt"}));
  }
  std::vector<std::string> nomi;
  std::string err;
  EXPECT_FALSE(reale.ListFolder(cartella.file("manca"), &nomi, &err));
  EXPECT_EQ(err, cartella.file("manca") + ": No such file or directory");
}

}  // namespace
}  // namespace scenario
