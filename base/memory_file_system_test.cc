#include "base/memory_file_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scenario {
namespace {

// The in-memory file system keeps the protocols of the real one: a file
// replaced whole through a temporary, parts gathered in order, a missing
// file named in the error.
TEST(MemoryFileSystem, BehavesAsTheRealOneForReplaceReadAndRemove) {
  MemoryFileSystem fs;
  std::string err, letto;
  ASSERT_TRUE(ReplaceFile(fs, "/m/a", "old", &err)) << err;
  const std::string zero("x\0y", 3);
  ASSERT_TRUE(ReplaceFile(fs, "/m/a", std::vector<std::string_view>{"new ", zero, ""}, &err))
      << err;
  ASSERT_TRUE(fs.ReadFile("/m/a", &letto, &err));
  EXPECT_EQ(letto, "new " + zero);
  EXPECT_EQ(fs.files().size(), 1u) << "no temporary file left";
  EXPECT_EQ(fs.OpenFiles(), 0u);

  EXPECT_TRUE(fs.RemoveFile("/m/a", &err));
  EXPECT_FALSE(fs.IsRegularFile("/m/a"));
  EXPECT_FALSE(fs.ReadFile("/m/a", &letto, &err));
  EXPECT_EQ(err, "/m/a: No such file or directory");
  EXPECT_FALSE(fs.Write(99, "x", &err));
}

}  // namespace
}  // namespace scenario
