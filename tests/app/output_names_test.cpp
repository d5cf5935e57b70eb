// Names of the desktop program's files mean what the system makes of them:
// two names of one output are refused whether the file exists or not, and a
// name from the command line keeps its "..", which the system resolves after
// the links before it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/dispatcher.h"
#include "app/qt_platform.h"
#include "ui/resource.h"
#include "app/start_args.h"
#include "app/statistics_dialog.h"
#include "app_test_support.h"

namespace tz::test {
namespace {

namespace fs = std::filesystem;

// Runs in another current folder, and comes back.
class InFolder {
 public:
  explicit InFolder(const std::string& dir) : back_(fs::current_path()) { fs::current_path(dir); }
  ~InFolder() { fs::current_path(back_); }

 private:
  fs::path back_;
};

TEST(OutputNames, TwoNamesOfOneNewFileAreRefused) {
  TempDir dir;
  const std::string d = dir.Path("d");
  fs::create_directory(d);
  fs::create_directory_symlink("d", dir.Path("dl"));
  fs::create_symlink("d/new.FDM", dir.Path("dangling.TDM"));
  Answers answers;
  auto w = MakeWindow(answers);
  const struct {
    std::string tdm, fdm;
  } cases[] = {
      {d + "/new.TDM", dir.Path("dl/new.TDM")},
      {d + "/new.TDM", dir.Path("d/../d/new.TDM")},
      {dir.Path("dangling.TDM"), d + "/new.FDM"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tdm + " " + c.fdm);
    answers.files = {SourcePath("samples/demo.VBT"), c.tdm, c.fdm};
    w->Dispatcher().Dispatch(res::kCmdOpenVbt);
    EXPECT_TRUE(answers.files.empty());
    EXPECT_EQ(w->Platform().Statistics(), nullptr);  // the run was refused
    EXPECT_TRUE(Names(d).empty());
  }
  // The program goes on with names of two files.
  answers.files = {SourcePath("samples/demo.VBT"), d + "/new.TDM", dir.Path("dl/new.FDM")};
  w->Dispatcher().Dispatch(res::kCmdOpenVbt);
  ASSERT_NE(w->Platform().Statistics(), nullptr);
  EXPECT_EQ(Names(d), (std::vector<std::string>{"new.FDM", "new.TDM"}));
}

TEST(StartNames, KeepTheirDotDotForTheSystem) {
  // lnk/.. is the folder above the one lnk names: deep, not the current one.
  TempDir dir;
  fs::create_directories(dir.Path("deep/sub"));
  fs::create_directory_symlink("deep/sub", dir.Path("lnk"));
  // The same input in both folders: only the output names tell them apart.
  WriteFile(dir.Path("deep/in.VBT"), ReadFile(SourcePath("samples/demo.VBT")));
  WriteFile(dir.Path("in.VBT"), ReadFile(SourcePath("samples/demo.VBT")));
  WriteFile(dir.Path("x.TDM"), "a file nobody named");
  StartArgs args;
  std::string error;
  {
    InFolder in(dir.Dir());
    ASSERT_EQ(ParseStartArgs({"lnk/../in.VBT", "lnk/../x.TDM", "lnk/../x.FDM"}, args, error),
              StartParse::kRun);
    MakeNamesAbsolute(args);
  }
  EXPECT_EQ(args.input, dir.Path("lnk/../in.VBT"));
  EXPECT_EQ(args.tdm, dir.Path("lnk/../x.TDM"));
  EXPECT_EQ(args.fdm, dir.Path("lnk/../x.FDM"));

  Answers answers;
  auto w = MakeWindow(answers);
  w->Start(args);
  Settle();
  ASSERT_NE(w->Platform().Statistics(), nullptr);
  EXPECT_TRUE(ReadFile(dir.Path("deep/x.TDM")).starts_with("Vibrotorsional Time Domain Analysis"));
  EXPECT_TRUE(Exists(dir.Path("deep/x.FDM")));
  EXPECT_TRUE(ReadFile(dir.Path("x.TDM")) == "a file nobody named");
  EXPECT_EQ(Names(dir.Dir()), (std::vector<std::string>{"deep", "in.VBT", "lnk", "x.TDM"}));

  // Names already absolute keep theirs too; empty ones stay empty.
  StartArgs given{"/a/b/../c.VBT", "", ""};
  MakeNamesAbsolute(given);
  EXPECT_EQ(given.input, "/a/b/../c.VBT");
  EXPECT_EQ(given.tdm, "");
}

}  // namespace
}  // namespace tz::test
