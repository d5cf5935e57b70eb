// Broken inputs opened through the menu: their messages, no file touched,
// and the program ready for the next file.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/qt_platform.h"
#include "app/statistics_dialog.h"
#include "app_test_support.h"
#include "display/display.h"

namespace tz::test {
namespace {

TEST(BrokenInputs, ShowTheirMessagesTouchNoFileAndLeaveTheProgramUsable) {
  TempDir dir;
  Answers answers;
  auto w = MakeWindow(answers);
  WriteFile(dir.Path("a.TDM"), "earlier TDM");
  WriteFile(dir.Path("a.FDM"), "earlier FDM");
  const struct {
    std::string content, message;
  } cases[] = {
      {"", "Header invalid or not found!"},
      {VbtFile(""), "No sample found!"},
      {std::string("\0\0\0garbage\r\n\r\n", 14), "Header invalid or not found!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    WriteFile(dir.Path("bad.VBT"), c.content);
    answers.messages.clear();
    OpenVbt(*w, answers, dir.Path("bad.VBT"), dir, "a");
    ASSERT_FALSE(answers.messages.empty());
    EXPECT_EQ(answers.messages.back().text, c.message);
    EXPECT_EQ(ReadFile(dir.Path("a.TDM")), "earlier TDM");
    EXPECT_EQ(ReadFile(dir.Path("a.FDM")), "earlier FDM");
    EXPECT_EQ(ReadFile(dir.Path("bad.VBT")), c.content);
  }
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path(""))) files += !e.is_directory();
  EXPECT_EQ(files, 3);  // no temporary file left

  // The next file goes through.
  answers.messages.clear();
  OpenDemo(*w, answers, dir);
  EXPECT_TRUE(answers.messages.empty());
  ASSERT_NE(w->Platform().Statistics(), nullptr);
  EXPECT_TRUE(ReadFile(dir.Path("a.TDM")).starts_with("Vibrotorsional Time Domain Analysis"));
}

}  // namespace
}  // namespace tz::test
