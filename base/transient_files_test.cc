#include "base/transient_files.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/file_system.h"
#include "base/testing/faulty_file_system.h"
#include "base/testing/temporary_folder.h"

namespace scenario {
namespace {

TEST(TransientFiles, RemovesWhatItWasGivenUnlessKept) {
  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "kept" : "not kept");
    CartellaTemporanea folder;
    folder.scrivi("script", "x");
    folder.scrivi("older", "y");
    RealFileSystem real;
    FaultyFileSystem fs(real);
    {
      TransientFiles transient(fs);
      transient.Add(folder.file("script"));
      transient.Add(folder.file("gone already"));
      if (keep) transient.Keep();
    }
    // A file never added (an older file whose replacement failed) stays.
    const std::set<std::string> attese =
        keep ? std::set<std::string>{"older", "script"} : std::set<std::string>{"older"};
    EXPECT_EQ(folder.voci(), attese);
  }
}

TEST(TransientFiles, AFailingRemovalDoesNotStopTheOthers) {
  CartellaTemporanea folder;
  folder.scrivi("a", "x");
  folder.scrivi("b", "x");
  RealFileSystem real;
  FaultyFileSystem fs(real);
  fs.Fail(Step::kRemove, 1);
  {
    TransientFiles transient(fs);
    transient.Add(folder.file("a"));
    transient.Add(folder.file("b"));
  }
  EXPECT_EQ(folder.voci(), std::set<std::string>{"a"});
}

}  // namespace
}  // namespace scenario
