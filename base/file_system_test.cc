#include "base/file_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <utility>
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

INSTANTIATE_TEST_SUITE_P(
    EveryStep, ReplaceFileFailure,
    testing::Values(FailureCase{Step::kInspect, "replace"}, FailureCase{Step::kCreate, "create"},
                    FailureCase{Step::kWrite, "write"}, FailureCase{Step::kFlush, "flush"},
                    FailureCase{Step::kClose, "close"}, FailureCase{Step::kRename, "rename"}),
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

TEST(ReplaceFile, WritesATemporaryOfItsOwnThenRenamesIt) {
  CartellaTemporanea folder;
  const std::string path = folder.file("a.txt");
  RealFileSystem real;
  FaultyFileSystem fs(real);
  std::string err;
  ASSERT_TRUE(ReplaceFile(fs, path, "x", &err)) << err;
  ASSERT_EQ(fs.log().size(), 6u);
  const std::string temporary = fs.log()[1].path;
  EXPECT_TRUE(IsTemporaryFor(temporary, path)) << temporary;
  EXPECT_EQ(fs.LogLines(), (std::vector<std::string>{
                               "inspect " + path,
                               "create " + temporary,
                               "write " + temporary,
                               "flush " + temporary,
                               "close " + temporary,
                               "rename " + temporary + " -> " + path,
                           }));
  // A second replacement draws another name.
  fs.ClearLog();
  ASSERT_TRUE(ReplaceFile(fs, path, "y", &err)) << err;
  EXPECT_NE(fs.log()[1].path, temporary);
}

TEST(ReplaceFile, ARenameFailureNamesBothFiles) {
  CartellaTemporanea folder;
  const std::string path = folder.file("a.sim");
  RealFileSystem real;
  FaultyFileSystem fs(real);
  fs.Fail(Step::kRename);
  std::string err;
  EXPECT_FALSE(ReplaceFile(fs, path, "new", &err));
  const std::string temporary = fs.log()[1].path;
  EXPECT_EQ(err, "cannot rename " + temporary + " to " + path + ": " + FaultyFileSystem::kReason);
}

/// What is planted in the replacement's way.
enum class Plant { kSymlink, kFifo, kFolder };
/// Where it is planted.
enum class Where {
  kOldTemporaryName,     ///< "NAME.tmp", the fixed name an older version used
  kChosenTemporaryName,  ///< the name drawn for the temporary, just before it is created
  kTarget,               ///< the name of the file to replace
};

/// Puts `what` at `path`; a link points at `victim`.
void PlantAt(Plant what, const std::string& path, const std::string& victim) {
  switch (what) {
    case Plant::kSymlink:
      ASSERT_EQ(::symlink(victim.c_str(), path.c_str()), 0);
      break;
    case Plant::kFifo:
      ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
      break;
    case Plant::kFolder:
      ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
      break;
  }
}

/// The real file system, with (when `guesses`) someone who guesses the name
/// of the first temporary file and plants something there just before it is
/// created.
class GuessingFileSystem : public RealFileSystem {
 public:
  GuessingFileSystem(Plant what, std::string victim, bool guesses)
      : what_(what), victim_(std::move(victim)), guesses_(guesses) {}
  int CreateFile(const std::string& path, std::optional<std::uint32_t> permissions,
                 std::string* err) override {
    if (guesses_ && planted_.empty()) {
      planted_ = path;
      PlantAt(what_, path, victim_);
    }
    return RealFileSystem::CreateFile(path, permissions, err);
  }
  /// Where the plant went ("" before the first create).
  const std::string& planted() const { return planted_; }

 private:
  Plant what_;
  std::string victim_;
  bool guesses_;
  std::string planted_;
};

TEST(ReplaceFile, NeverWritesThroughNorWaitsOnAPlantedFile) {
  const struct {
    Plant what;
    FileKind kind;
  } plants[] = {{Plant::kSymlink, FileKind::kSymlink},
                {Plant::kFifo, FileKind::kFifo},
                {Plant::kFolder, FileKind::kDirectory}};
  for (const Where where :
       {Where::kOldTemporaryName, Where::kChosenTemporaryName, Where::kTarget}) {
    for (const auto& plant : plants) {
      SCOPED_TRACE(std::string(FileKindName(plant.kind)) + " at place " +
                   std::to_string(static_cast<int>(where)));
      CartellaTemporanea folder;
      CartellaTemporanea elsewhere;
      const std::string victim = elsewhere.file("victim");
      WriteBytes(victim, "not to be touched");
      const std::string path = folder.file("a.dat");
      std::string planted = path;
      if (where == Where::kOldTemporaryName) planted = path + ".tmp";
      if (where != Where::kTarget) WriteBytes(path, kOldBytes);
      if (where != Where::kChosenTemporaryName) PlantAt(plant.what, planted, victim);

      GuessingFileSystem fs(plant.what, victim, where == Where::kChosenTemporaryName);
      std::string err;
      ::alarm(20);  // a FIFO opened for writing would wait for a reader forever
      const bool replaced = ReplaceFile(fs, path, "new", &err);
      ::alarm(0);
      if (where == Where::kChosenTemporaryName) planted = fs.planted();

      if (where == Where::kTarget) {
        EXPECT_FALSE(replaced);
        EXPECT_EQ(err, "cannot replace " + path + ": it is " + FileKindName(plant.kind) +
                           ", not a regular file");
      } else {
        EXPECT_TRUE(replaced) << err;
        EXPECT_EQ(ReadBytes(path), "new");
      }
      FileStatus status;
      ASSERT_TRUE(fs.Inspect(planted, &status, &err)) << err;
      EXPECT_EQ(status.kind, plant.kind);
      EXPECT_EQ(ReadBytes(victim), "not to be touched");
      std::set<std::string> expected = {planted.substr(planted.rfind('/') + 1)};
      expected.insert("a.dat");
      EXPECT_EQ(folder.voci(), expected);
    }
  }
}

TEST(ReplaceFile, KeepsThePermissionsOfTheFileItReplaces) {
  const struct {
    const char* name;
    bool old_file;
    mode_t old_mode;
    mode_t umask;
    mode_t expected;
  } cases[] = {
      {"read-only", true, 0444, 022, 0444},
      {"private", true, 0600, 022, 0600},
      {"group-readable", true, 0640, 022, 0640},
      {"executable", true, 0755, 022, 0755},
      {"wider than the umask", true, 0666, 022, 0666},
      {"set-user-ID dropped", true, 04755, 022, 0755},
      {"new file, umask 022", false, 0, 022, 0644},
      {"new file, umask 027", false, 0, 027, 0640},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CartellaTemporanea folder;
    const std::string path = folder.file("a.sim");
    if (c.old_file) {
      WriteBytes(path, kOldBytes);
      ASSERT_EQ(::chmod(path.c_str(), c.old_mode), 0);
    }
    const mode_t previous = ::umask(c.umask);
    RealFileSystem fs;
    std::string err;
    const bool replaced = ReplaceFile(fs, path, "new", &err);
    ::umask(previous);
    ASSERT_TRUE(replaced) << err;
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.expected);
    EXPECT_EQ(ReadBytes(path), "new");
  }
}

TEST(ReplaceFile, TwoProcessesReplacingTheSameFilesShowOnlyWholeFiles) {
  CartellaTemporanea folder;
  const std::vector<std::string> paths = {folder.file("a.dat"), folder.file("b.sim"),
                                          folder.file("c.txt")};
  // Every version a file can have: each writer's two, of different lengths,
  // and the one before them.
  const std::vector<std::vector<std::string>> versions = {
      {std::string(3000, '1'), std::string(90000, '2')},
      {std::string(40000, '3'), std::string(7, '4')},
  };
  const std::string before(500, '0');
  for (const std::string& path : paths) WriteBytes(path, before);

  std::vector<pid_t> writers;
  for (const auto& own : versions) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      RealFileSystem fs;
      std::string err;
      for (int round = 0; round < 200; ++round) {
        for (const std::string& path : paths) {
          if (!ReplaceFile(fs, path, own[round % 2], &err)) ::_exit(1);
        }
      }
      ::_exit(0);
    }
    writers.push_back(pid);
  }

  // Read while they write, until both are done.
  int reads = 0;
  int bad = 0;
  std::size_t running = writers.size();
  while (running > 0) {
    for (const std::string& path : paths) {
      const std::string seen = ReadBytes(path);
      ++reads;
      const bool whole = seen == before || seen == versions[0][0] || seen == versions[0][1] ||
                         seen == versions[1][0] || seen == versions[1][1];
      if (!whole && ++bad <= 3) ADD_FAILURE() << path << ": " << seen.size() << " bytes";
    }
    running = 0;
    for (pid_t& pid : writers) {
      int status = 0;
      if (pid > 0 && ::waitpid(pid, &status, WNOHANG) == pid) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer " << pid;
        pid = 0;
      }
      running += pid > 0;
    }
  }
  EXPECT_EQ(bad, 0) << "of " << reads << " reads";
  EXPECT_EQ(folder.voci(), (std::set<std::string>{"a.dat", "b.sim", "c.txt"}));
}

TEST(ReplaceFile, TakesAnyNameTheFolderTakes) {
  CartellaTemporanea folder;
  RealFileSystem real;
  const std::size_t limit = real.NameLimit(folder.percorso());
  ASSERT_GT(limit, 14u);
  // The temporary carries the name while ".NAME.XXXXXXXX.tmp" fits.
  for (const std::size_t length : {limit - 14, limit - 13, limit, limit + 1}) {
    SCOPED_TRACE(length);
    const std::string name(length, 'n');
    const std::string path = folder.file(name);
    FaultyFileSystem fs(real);
    std::string err;
    const bool replaced = ReplaceFile(fs, path, "new", &err);
    if (length <= limit) {
      ASSERT_TRUE(replaced) << err;
      EXPECT_EQ(ReadBytes(path), "new");
      EXPECT_EQ(folder.voci(), std::set<std::string>{name});
      const std::string temporary = fs.log()[1].path;
      EXPECT_TRUE(IsTemporaryFor(temporary, path)) << temporary;
      EXPECT_EQ(temporary.find(name) != std::string::npos, length + 14 <= limit) << temporary;
      std::filesystem::remove(path);
    } else {
      EXPECT_FALSE(replaced);
      EXPECT_EQ(err, "cannot create " + path + ": the name is " + std::to_string(length) +
                         " bytes long; " + folder.percorso() + " takes at most " +
                         std::to_string(limit));
      EXPECT_EQ(fs.log().size(), 0u) << "nothing is tried";
      EXPECT_EQ(folder.voci(), std::set<std::string>{});
    }
  }
}

TEST(RealFileSystemTest, ReadFileRefusesWhatIsNotARegularFileWithoutWaiting) {
  CartellaTemporanea folder;
  const struct {
    Plant what;
    const char* said;
  } cases[] = {{Plant::kFifo, "it is a FIFO, not a regular file"},
               {Plant::kFolder, "it is a folder, not a regular file"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    const std::string path = folder.file(std::to_string(static_cast<int>(c.what)));
    PlantAt(c.what, path, "");
    RealFileSystem fs;
    std::string contents;
    std::string err;
    ::alarm(20);
    EXPECT_FALSE(fs.ReadFile(path, &contents, &err));
    ::alarm(0);
    EXPECT_EQ(err, path + ": " + c.said);
  }
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

TEST(RealFileSystemTest, RemovingAMissingFileIsNoError) {
  CartellaTemporanea folder;
  RealFileSystem fs;
  std::string err;
  EXPECT_TRUE(fs.RemoveFile(folder.file("missing"), &err));
  EXPECT_EQ(err, "");
  // A real failure is still one: a folder that holds a file stays.
  std::filesystem::create_directory(folder.file("full"));
  WriteBytes(folder.file("full/f"), "x");
  EXPECT_FALSE(fs.RemoveFile(folder.file("full"), &err));
  EXPECT_NE(err.find(folder.file("full")), std::string::npos) << err;
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
