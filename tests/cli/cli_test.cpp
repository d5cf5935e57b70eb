// The batch command as scripts use it: exit status, messages, JSON summary,
// filter options, reprocessing and the sample capacity.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/test_support.h"

namespace tz::test {
namespace {

using Json = std::vector<std::pair<std::string, std::string>>;  // key, raw value text

const std::vector<std::string> kKeys = {
    "completed",   "message",
    "RawCount",    "FilteredCount", "ProgrCount",  "FilteredPercent", "RPMfiltMax", "RPMfiltMin",
    "RPMinstMax",  "RPMinstMin",    "TRQfiltMax",  "TRQfiltMin",      "POTfiltMax", "POTfiltMin",
    "RPMfiltMean", "RPMinstMean",   "Fc",          "FFT_N",           "FundLine",   "FundMag",
    "DCEndLine",   "FloorLevel",    "TotalEnergy", "EvenSymErrRe",    "OddSymErrIm", "PeakLines"};
const std::vector<std::string> kFigures(kKeys.begin() + 2, kKeys.end());
const std::vector<std::string> kStatistics(kKeys.begin() + 6, kKeys.begin() + 17);
const std::vector<std::string> kSpectrum(kKeys.begin() + 17, kKeys.end());

// Splits the one-line object into its members; the members put back together
// must give the whole output, so anything else fails the test.
Json ParseJson(const std::string& out) {
  static const std::regex member("\"(\\w+)\": (\\[[^\\]\n]*\\]|\"[^\"\n]*\"|[^,}\n]*)");
  Json members;
  std::string rebuilt = "{";
  for (std::sregex_iterator it(out.begin(), out.end(), member), end; it != end; ++it) {
    rebuilt += (members.empty() ? "" : ", ") + it->str();
    members.emplace_back((*it)[1], (*it)[2]);
  }
  EXPECT_EQ(rebuilt + "}\n", out);
  return members;
}

std::string Value(const Json& j, const std::string& key) {
  for (const auto& [k, v] : j)
    if (k == key) return v;
  return "<absent>";
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string Line(const std::string& file, size_t i) {
  const auto lines = SplitLines(ReadFile(file));
  return i < lines.size() ? lines[i] : "<missing>";
}

const std::string kDemo = SourcePath("samples/demo.VBT");

// Runs the command on the given options and input, into <out>.TDM and <out>.FDM of the folder.
CommandResult RunOn(const std::string& args, const TempDir& dir, const std::string& out = "a") {
  return RunCli(args + " " + dir.Path(out + ".TDM") + " " + dir.Path(out + ".FDM"));
}

TEST(CliUsage, HelpPrintsTheUsage) {
  const CommandResult res = RunCli("-h");
  EXPECT_EQ(res.status, 0);
  EXPECT_TRUE(Has(res.out, "Usage: torzalen-cli [OPTIONS] INPUT TDM_OUT FDM_OUT"));
}

TEST(CliUsage, BadCommandLinesExitWithStatus2) {
  TempDir dir;
  const std::string files = kDemo + " " + dir.Path("a.TDM") + " " + dir.Path("a.FDM");
  for (const std::string& args :
       {"--bogus " + files, "--movavg 1e3 " + files, "--overshoot abc " + files,
        "--threshold 0x10 " + files, "--window kaiser " + files, "--source rpm " + files,
        "--kind csv " + files, "-x " + files, kDemo + " " + dir.Path("a.TDM"),
        files + " " + dir.Path("b.FDM"), files + " --zerocross"}) {
    SCOPED_TRACE(args);
    const CommandResult res = RunCli(args);
    EXPECT_EQ(res.status, 2);
    EXPECT_TRUE(Has(res.err, "Usage: torzalen-cli"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("a.TDM")));  // nothing was run
  }
}

TEST(CliUsage, NameEqualsValueAndDoubleDash) {
  TempDir dir;
  const CommandResult res =
      RunOn("-q --movavg=30 --window=blackman --source=rpmfilt --kind=vbt " + kDemo, dir);
  EXPECT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(Line(dir.Path("a.TDM"), 16), "Moving average filtering length=30");
  EXPECT_TRUE(Has(ReadFile(dir.Path("a.FDM")),
                  "\r\nFiltering window: Blackman \r\nInput data: RPM filtered \r\n"));

  WriteFile(dir.Path("-x"), ReadFile(kDemo));
  const std::string cd = "cd " + dir.Dir() + " && " + TZ_CLI;
  EXPECT_EQ(RunCommand(cd + " -q -- -x b.TDM b.FDM").status, 0);
  EXPECT_EQ(Line(dir.Path("b.TDM"), 0), "Vibrotorsional Time Domain Analysis");
  EXPECT_EQ(RunCommand(cd + " -q -x c.TDM c.FDM").status, 2);
}

TEST(CliJson, OneObjectWithTheKeysInOrder) {
  TempDir dir;
  const CommandResult res = RunOn("-q --json " + kDemo, dir);
  ASSERT_EQ(res.status, 0);
  const Json j = ParseJson(res.out);
  std::vector<std::string> keys;
  for (const auto& m : j) keys.push_back(m.first);
  EXPECT_EQ(keys, kKeys);
  EXPECT_EQ(Value(j, "completed"), "true");
  EXPECT_EQ(Value(j, "message"), "null");
  EXPECT_EQ(Value(j, "RawCount"), "40000");
  const std::string percent = Value(j, "FilteredPercent");
  EXPECT_TRUE(percent.size() > 2 && percent.front() == '"' && percent.back() == '"') << percent;
  for (const auto& k : kSpectrum) EXPECT_NE(Value(j, k), "null") << k;

  // Peak lines: ascending, inside the half spectrum.
  const std::string list = Value(j, "PeakLines");
  ASSERT_TRUE(std::regex_match(list, std::regex("\\[[0-9]+(, [0-9]+)*\\]"))) << list;
  std::istringstream in(list.substr(1));
  long last = -1, line;
  for (char sep; in >> line >> sep; last = line) EXPECT_LT(last, line) << list;
  EXPECT_LT(last, std::stol(Value(j, "FFT_N")) / 2);
}

TEST(CliJson, FailuresAndNullsFollowHowFarTheRunGot) {
  TempDir dir;
  auto run = [&](const std::string& args, int status, const std::string& message,
                 const std::string& out = "a") {
    const CommandResult res = RunOn("--json " + args, dir, out);
    EXPECT_EQ(res.status, status) << args;
    EXPECT_TRUE(Has(res.err, message)) << res.err;
    return ParseJson(res.out);
  };
  Json j = run(dir.Path("missing.VBT"), 1, "Error 2: VBT File opening failure.\n\r");
  ASSERT_EQ(j.size(), kKeys.size());
  EXPECT_EQ(Value(j, "completed"), "false");
  EXPECT_EQ(Value(j, "message"), "\"Error 2: VBT File opening failure.\"");
  for (const auto& k : kFigures) EXPECT_EQ(Value(j, k), "null") << k;

  WriteFile(dir.Path("bare.VBT"), "6611,1873\r\n6605,1886\r\n6605,1899\r\n");
  run(dir.Path("bare.VBT"), 1, "VBT preprocessor: Header invalid or not found!\n");

  WriteFile(dir.Path("empty.VBT"), VbtFile(""));
  j = run(dir.Path("empty.VBT"), 1, "VBT preprocessor: No sample found!\n");
  EXPECT_EQ(Value(j, "completed"), "false");
  EXPECT_EQ(Value(j, "message"), "\"VBT preprocessor: No sample found!\"");
  for (const char* k : {"RawCount", "FilteredCount", "ProgrCount"}) EXPECT_EQ(Value(j, k), "0");
  for (const auto& k : kStatistics) EXPECT_EQ(Value(j, k), "null") << k;
  for (const auto& k : kSpectrum) EXPECT_EQ(Value(j, k), "null") << k;
  EXPECT_FALSE(std::filesystem::exists(dir.Path("a.TDM")));  // a failed run writes nothing

  // A TDM file cut after its header block has no end marker; its figures
  // are filled anyway.
  ASSERT_EQ(RunOn("-q " + kDemo, dir, "whole").status, 0);
  const std::string whole = ReadFile(dir.Path("whole.TDM"));
  size_t cut = 0;
  for (int i = 0; i < 20; ++i) cut = whole.find("\r\n", cut) + 2;
  WriteFile(dir.Path("cut.TDM"), whole.substr(0, cut));
  j = run("-q " + dir.Path("cut.TDM"), 1, "TDM preprocessor: Header invalid or not found!", "b");
  EXPECT_EQ(Value(j, "RawCount"), "0");
  EXPECT_EQ(Value(j, "FilteredPercent"), "\"0.000\"");
  for (const auto& k : kStatistics) EXPECT_EQ(Value(j, k), "null") << k;

  // A handful of samples: statistics over an empty range, FFT refused.
  WriteFile(dir.Path("few.VBT"), VbtFile("6611,1873\r\n6605,1886\r\n6605,1899\r\n6609,1907\r\n"));
  j = run("-q " + dir.Path("few.VBT"), 0, "FFT processor: Too few samples for the FFT");
  EXPECT_EQ(Value(j, "completed"), "true");  // warned, and reached its end
  EXPECT_EQ(Value(j, "message"), "null");
  EXPECT_EQ(Value(j, "RawCount"), "4");
  EXPECT_EQ(Value(j, "FilteredPercent"), "\"0.\"");
  for (const auto& k : kStatistics) EXPECT_EQ(Value(j, k), "0") << k;
  for (const auto& k : kSpectrum) EXPECT_EQ(Value(j, k), "null") << k;
}

TEST(CliJson, ARunThatFailsSaysSoWithItsMessage) {
  TempDir dir;
  const struct {
    std::string outs, message;
  } cases[] = {
      // Every figure computed; only writing the FDM failed.
      {dir.Path("a.TDM") + " /dev/full",
       "VBT preprocessor: Output file write failure: no output file was replaced."},
      {dir.Path("a.TDM") + " " + dir.Path("a.TDM"), "Error 16: FDM file creation failure."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.outs);
    const CommandResult res = RunCli("-q --json " + kDemo + " " + c.outs);
    EXPECT_EQ(res.status, 1);
    const Json j = ParseJson(res.out);
    EXPECT_EQ(Value(j, "completed"), "false");
    EXPECT_EQ(Value(j, "message"), "\"" + c.message + "\"");
  }
}

TEST(CliFilters, GivenOptionsAreFixedOthersComeFromTheHeader) {
  TempDir dir;
  auto settings = [&](const std::string& args) {
    EXPECT_EQ(RunOn("-q " + args, dir, "o").status, 0);
    std::string s;
    for (size_t i = 15; i < 19; ++i) s += Line(dir.Path("o.TDM"), i) + "|";
    return s;
  };
  EXPECT_EQ(settings("--movavg 250 --zerocross 2 --overshoot 0.2 --threshold 123 " + kDemo),
            "Allowed overshot(%)=0.2|Moving average filtering length=200|RPM threshold=123.0|"
            "Zero crossing filter length=4|");

  // A TDM source with its own settings.
  ASSERT_EQ(RunOn("-q --movavg 12 --overshoot 0.15 --zerocross 6 --threshold 1000.5 " + kDemo,
                  dir, "src").status, 0);
  EXPECT_EQ(settings("--movavg 250 " + dir.Path("src.TDM")),
            "Allowed overshot(%)=0.15|Moving average filtering length=200|RPM threshold=1000.5|"
            "Zero crossing filter length=6|");
  EXPECT_EQ(settings("--threshold 123 --zerocross 2 --kind fdm " + dir.Path("src.FDM")),
            "Allowed overshot(%)=0.15|Moving average filtering length=12|RPM threshold=123.0|"
            "Zero crossing filter length=4|");
}

TEST(CliReprocess, KindByExtensionOrOptionReproducesTheFiles) {
  TempDir dir;
  const std::string tdm = dir.Path("a.TDM"), fdm = dir.Path("a.FDM");
  ASSERT_EQ(RunOn("-q --window blackman --source torque " + kDemo, dir).status, 0);
  const std::string firstTdm = ReadFile(tdm), firstFdm = ReadFile(fdm);
  WriteFile(dir.Path("copy.dat"), firstTdm);
  WriteFile(dir.Path("copy.fdm"), firstFdm);
  WriteFile(dir.Path("copy.txt"), firstFdm);
  for (const std::string& source :
       {tdm, fdm, "--kind tdm " + dir.Path("copy.dat"), dir.Path("copy.fdm"),
        "--kind=fdm " + dir.Path("copy.txt")}) {
    SCOPED_TRACE(source);
    const CommandResult res = RunOn("-q --json --window blackman " + source, dir, "b");
    EXPECT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(Value(ParseJson(res.out), "RawCount"), "40000");
    EXPECT_TRUE(ReadFile(dir.Path("b.TDM")) == firstTdm);
    EXPECT_TRUE(ReadFile(dir.Path("b.FDM")) == firstFdm);
  }

  // The FFT of a reprocessed FDM file follows the current choice, not the file's.
  ASSERT_EQ(RunOn("-q --source rpmfilt " + fdm, dir, "c").status, 0);
  ASSERT_EQ(RunOn("-q --source rpmfilt " + kDemo, dir, "d").status, 0);
  const std::string c = ReadFile(dir.Path("c.FDM"));
  EXPECT_TRUE(Has(c, "\r\nFiltering window: Hamming \r\nInput data: RPM filtered \r\n"));
  EXPECT_TRUE(c == ReadFile(dir.Path("d.FDM")));
}

TEST(CliRun, FailedWriteIsReported) {
  TempDir dir;
  const struct { std::string outs, report; } cases[] = {
      {"/dev/full " + dir.Path("a.FDM"), "TDM file write failure"},
      {dir.Path("a.TDM") + " /dev/full", "FDM file write failure"},
  };
  for (const auto& c : cases) {
    const CommandResult res = RunCli("-q " + kDemo + " " + c.outs);
    EXPECT_EQ(res.status, 1);
    EXPECT_TRUE(Has(res.err, c.report)) << res.err;
    EXPECT_TRUE(Has(res.err, "VBT preprocessor: Output file write failure: no output file was "
                             "replaced.\n")) << res.err;
  }
}

// Both files in one test: generating and running them is the slow part of the suite.
TEST(CliCapacity, FullFileAndOneBeyondTheCapacity) {
  TempDir dir;
  const std::string over = dir.Path("over.VBT"), full = dir.Path("full.VBT");
  Generate(over, "--samples 524300 --seed 9");
  const std::string text = ReadFile(over);
  size_t cut = text.size();
  for (int i = 0; i < 13; ++i) cut = text.rfind("\r\n", cut - 1);  // drops the last 12 lines
  WriteFile(full, text.substr(0, cut + 2));

  CommandResult res = RunOn("-q --json " + full, dir);
  EXPECT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(Value(ParseJson(res.out), "RawCount"), "524288");
  EXPECT_FALSE(Has(res.err, "Too many samples"));

  res = RunOn("-q --json " + over, dir);
  EXPECT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(Value(ParseJson(res.out), "RawCount"), "524288");
  EXPECT_EQ(res.err.rfind("VBT preprocessor: Too many samples: only the first 524288 are "
                          "processed.\n", 0), 0u) << res.err;
}

}  // namespace
}  // namespace tz::test
