// The desktop program's command line, run as a process: the usage and the
// wrong arguments are answered before any window, with or without a display.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/start_args.h"
#include "app_test_support.h"
#include "tests/test_support.h"

namespace tz::test {
namespace {

struct ProgramRun {
  int status = -1;  // exit status; -1 when it did not exit (a signal ended it)
  std::string out, err;
};


// The program with args, its environment without a display (or with the
// offscreen platform). A program that opened its window instead of ending is
// stopped after a while.
ProgramRun RunProgram(const std::vector<std::string>& args, bool display) {
  std::string cmd = "timeout 30 env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY ";
  if (display) cmd += "QT_QPA_PLATFORM=offscreen ";
  cmd += Quote(TZ_APP);
  for (const std::string& a : args) {
    cmd += ' ';
    cmd += Quote(a);
  }
  const CommandResult r = RunCommand(cmd);
  return {r.status, r.out, r.err};
}

TEST(CommandLine, HelpAndWrongArgumentsWithOrWithoutADisplay) {
  const std::string usage = kStartUsage;
  const struct {
    std::vector<std::string> args;
    int status;
    const char* err;  // the first line on stderr ("" none)
    bool usage = false;  // the usage follows it
  } cases[] = {
      {{"--help"}, 0, ""},
      {{"-h"}, 0, ""},
      {{"missing.VBT", "--help"}, 0, ""},
      {{"--bogus"}, 2, "torzalen: unknown option --bogus\n", true},
      {{"-platform", "offscreen"}, 2, "torzalen: unknown option -platform\n", true},
      {{"a.VBT", "b.TDM"}, 2, "torzalen: expected INPUT or INPUT TDM_OUT FDM_OUT, got 2 file", true},
      {{"a", "b", "c", "d"}, 2, "torzalen: expected INPUT or INPUT TDM_OUT FDM_OUT, got 4 file",
       true},
      // An input that is no file says why, in the system's words.
      {{"/nonexistent/x.VBT"}, 2, "torzalen: /nonexistent/x.VBT: No such file or directory\n"},
      {{"--", "--help"}, 2, "torzalen: --help: No such file or directory\n"},
      {{"/"}, 2, "torzalen: /: not a regular file\n"},
      {{"/dev/null", "a.TDM", "a.FDM"}, 2, "torzalen: /dev/null: not a regular file\n"},
      {{"--export", "fft=a.png", "", "a.TDM", "a.FDM"}, 2,
       "torzalen: : No such file or directory\n"},
  };
  for (bool display : {false, true}) {
    for (const auto& c : cases) {
      std::string line;
      for (const std::string& a : c.args) line += a + " ";
      SCOPED_TRACE(line + (display ? "(offscreen)" : "(no display)"));
      const ProgramRun run = RunProgram(c.args, display);
      EXPECT_EQ(run.status, c.status) << run.err;
      if (c.status == 0) {
        EXPECT_EQ(run.out, usage);
        EXPECT_EQ(run.err, "");
      } else {
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
        EXPECT_EQ(run.err.find(usage) != std::string::npos, c.usage) << run.err;
      }
    }
  }
}

}  // namespace
}  // namespace tz::test
