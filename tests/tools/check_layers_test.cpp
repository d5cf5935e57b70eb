// tools/check-layers.sh on a copy of the tree: the tree as it is passes, and
// each include that points up or across the layers, or brings Qt into a
// folder without it, is named and fails the check.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/test_support.h"

namespace tz::test {
namespace {

namespace fs = std::filesystem;

const char* const kFolders[] = {"processing", "spectrum", "reprocess", "run", "cli",
                                "ui",         "display",  "settings",  "app"};

// The source folders of the tree, copied into dir.
void CopyTree(const TempDir& dir) {
  for (const char* f : kFolders)
    fs::copy(SourcePath(f), dir.Path(f), fs::copy_options::recursive);
}

CommandResult CheckLayers(const TempDir& dir) {
  return RunCommand("bash " + SourcePath("tools/check-layers.sh") + " " + dir.Dir());
}

TEST(CheckLayers, TheTreePasses) {
  TempDir dir;
  CopyTree(dir);
  const CommandResult res = CheckLayers(dir);
  EXPECT_EQ(res.status, 0) << res.out;
  EXPECT_EQ(res.out, "layering: ok\n");
}

TEST(CheckLayers, EachPlantedViolationFails) {
  struct Case {
    const char* file;     // planted into the copy
    const char* include;  // its one line
    const char* report;   // what the check says
  };
  const Case cases[] = {
      {"display/planted.h", "#include \"app/main_window.h\"", "includes \"app/main_window.h\""},
      {"display/planted.cpp", "#include \"settings/filter_rules.h\"", "includes \"settings/"},
      {"settings/planted.h", "#include \"display/layout.h\"", "includes \"display/layout.h\""},
      {"settings/planted.h", "  #  include \"app/commands.h\"", "includes \"app/commands.h\""},
      {"ui/planted.h", "#include \"display/layout.h\"", "ui/planted.h includes"},
      {"cli/planted.h", "#include \"ui/resource.h\"", "cli/planted.h includes"},
      {"cli/planted.cpp", "#include <QString>", "Qt in cli/"},
      {"run/planted.h", "#include \"cli/options.h\"", "run/planted.h includes"},
      {"spectrum/planted.h", "#include \"reprocess/planted.h\"", "spectrum/planted.h includes"},
      {"processing/planted.h", "#include <QObject>", "Qt in processing/"},
      {"processing/planted.h", "#include \"spectrum/fft.h\"", "processing/planted.h includes"},
  };
  TempDir dir;
  CopyTree(dir);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + ": " + c.include);
    WriteFile(dir.Path(c.file), std::string(c.include) + "\n");
    const CommandResult res = CheckLayers(dir);
    fs::remove(dir.Path(c.file));
    EXPECT_EQ(res.status, 1);
    EXPECT_NE(res.out.find("layer violation"), std::string::npos) << res.out;
    EXPECT_NE(res.out.find(c.report), std::string::npos) << res.out;
    EXPECT_EQ(res.out.find("layering: ok"), std::string::npos);
  }
}

TEST(CheckLayers, AMissingFolderFails) {
  TempDir dir;
  CopyTree(dir);
  fs::remove_all(dir.Path("ui"));
  const CommandResult res = CheckLayers(dir);
  EXPECT_EQ(res.status, 1);
  EXPECT_NE(res.out.find("no folder ui/"), std::string::npos) << res.out;
}

}  // namespace
}  // namespace tz::test
