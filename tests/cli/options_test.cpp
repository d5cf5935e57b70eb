// The batch command's command line, parsed without running anything.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cli/options.h"

namespace tz {
namespace {

CliParse Parse(const std::vector<std::string>& args, CliOptions& opt) {
  std::string error;
  return ParseCliOptions(args, opt, error);
}

TEST(CliOptions, PlainDecimalNumbersOnly) {
  for (const char* ok : {"5", "+5", "-0.2", "5.", ".5", "0123"}) EXPECT_TRUE(IsPlainDecimal(ok)) << ok;
  for (const char* bad : {"", ".", "-", "1e3", "abc", "0x10", "inf", "nan", " 5", "5 ", "1,5", "1.2.3"})
    EXPECT_FALSE(IsPlainDecimal(bad)) << bad;
}

TEST(CliOptions, KindFromTheExtensionIgnoringCase) {
  const std::pair<const char*, InputKind> cases[] = {
      {"run.TDM", InputKind::Tdm}, {"run.tdm", InputKind::Tdm}, {"/a/b/run.FdM", InputKind::Fdm},
      {"run.VBT", InputKind::Vbt}, {"run.txt", InputKind::Vbt}, {"run", InputKind::Vbt},
      {"old.tdm/run", InputKind::Vbt}, {"run.tdmx", InputKind::Vbt}};
  for (const auto& [path, kind] : cases) EXPECT_EQ(KindFromExtension(path), kind) << path;
}

TEST(CliOptions, LengthsAreClampedOtherSettingsTakenAsGiven) {
  CliOptions opt;
  ASSERT_EQ(Parse({"--movavg", "250", "--zerocross=2", "--overshoot", "0.2", "--threshold=-5",
                   "in.fdm", "a", "b"}, opt),
            CliParse::kRun);
  EXPECT_EQ(opt.movAvg, 200);
  EXPECT_EQ(opt.zeroCross, 4);
  EXPECT_EQ(opt.overshoot, 0.2);
  EXPECT_EQ(opt.threshold, -5.0);
  EXPECT_EQ(opt.kind, InputKind::Fdm);

  CliOptions low;
  ASSERT_EQ(Parse({"--movavg", "4.9", "--zerocross", "31", "x", "a", "b"}, low), CliParse::kRun);
  EXPECT_EQ(low.movAvg, 5);
  EXPECT_EQ(low.zeroCross, 30);
  EXPECT_FALSE(low.overshoot.has_value() || low.threshold.has_value());
  EXPECT_EQ(low.window, FftWindow::Hamming);
  EXPECT_EQ(low.source, FftSource::Torque);
}

TEST(CliOptions, WindowAndSourceNamesInTheirOrder) {
  const std::vector<std::string> windows = {"flattop", "hamming", "blackman"},
                                 sources = {"cslot", "rpmfilt", "rpminst", "torque", "power"};
  for (int i = 0; i < 5; ++i) {
    CliOptions opt;
    ASSERT_EQ(Parse({"--window=" + windows[i % 3], "--source", sources[i], "x", "a", "b"}, opt),
              CliParse::kRun);
    EXPECT_EQ(opt.window, static_cast<FftWindow>(i % 3));
    EXPECT_EQ(opt.source, static_cast<FftSource>(i));
  }
}

TEST(CliOptions, HelpWinsAmongTheOptionsDoubleDashEndsThem) {
  CliOptions opt;
  EXPECT_EQ(Parse({"--bogus", "-h"}, opt), CliParse::kHelp);
  EXPECT_EQ(Parse({"--movavg", "--help"}, opt), CliParse::kHelp);
  EXPECT_EQ(Parse({"--", "-h", "b", "c"}, opt), CliParse::kRun);  // a file named -h
  CliOptions dd;
  ASSERT_EQ(Parse({"--window", "blackman", "--", "-x", "--json", "b"}, dd), CliParse::kRun);
  EXPECT_EQ(dd.input, "-x");
  EXPECT_EQ(dd.tdm, "--json");
  EXPECT_EQ(dd.fdm, "b");
  EXPECT_EQ(dd.window, FftWindow::Blackman);
  EXPECT_FALSE(dd.json);
}

TEST(CliOptions, UsageErrorsSayWhatIsWrong) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--bogus", "x", "a", "b"}, "unknown option --bogus"},
      {{"--json=1", "x", "a", "b"}, "unknown option --json=1"},
      {{"-q=1", "x", "a", "b"}, "unknown option -q=1"},
      {{"x", "a", "b", "--movavg"}, "option --movavg needs a value"},
      {{"--kind", "vbx", "x", "a", "b"}, "unknown input kind vbx"},
      {{"--window=kaiser", "x", "a", "b"}, "unknown window kaiser"},
      {{"--source", "speed", "x", "a", "b"}, "unknown source speed"},
      {{"--overshoot", "1e-3", "x", "a", "b"},
       "option --overshoot needs a plain decimal number, not '1e-3'"},
      {{"--zerocross=", "x", "a", "b"}, "option --zerocross needs a plain decimal number, not ''"},
      {{"x", "a"}, "expected INPUT TDM_OUT FDM_OUT, got 2 file name(s)"},
      {{"x", "a", "b", "-"}, "expected INPUT TDM_OUT FDM_OUT, got 4 file name(s)"},
  };
  for (const auto& [args, message] : cases) {
    CliOptions opt;
    std::string error;
    EXPECT_EQ(ParseCliOptions(args, opt, error), CliParse::kUsageError) << message;
    EXPECT_EQ(error, message);
  }
}

TEST(CliOptions, FlagsKindAndAValueThatLooksLikeAnOption) {
  CliOptions opt;
  ASSERT_EQ(Parse({"-q", "--json", "--kind=tdm", "--threshold", "-7", "-", "a", "b"}, opt),
            CliParse::kRun);
  EXPECT_TRUE(opt.quiet && opt.json);
  EXPECT_EQ(opt.kind, InputKind::Tdm);  // not taken from the name "-"
  EXPECT_EQ(opt.threshold, -7.0);
  EXPECT_EQ(opt.input, "-");
  CliOptions quiet;
  ASSERT_EQ(Parse({"x", "--quiet", "a", "b"}, quiet), CliParse::kRun);
  EXPECT_TRUE(quiet.quiet);
  EXPECT_FALSE(quiet.json);
}

}  // namespace
}  // namespace tz
