// The batch command as scripts use it: exit status, messages, JSON summary,
// filter options, reprocessing and the sample capacity.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/test_support.h"

namespace tz::test {
namespace {

using Json = std::vector<std::pair<std::string, std::string>>;  // key, raw value text

const std::vector<std::string> kKeys = {
    "RawCount",    "FilteredCount", "ProgrCount",  "FilteredPercent", "RPMfiltMax", "RPMfiltMin",
    "RPMinstMax",  "RPMinstMin",    "TRQfiltMax",  "TRQfiltMin",      "POTfiltMax", "POTfiltMin",
    "RPMfiltMean", "RPMinstMean",   "Fc",          "FFT_N",           "FundLine",   "FundMag",
    "DCEndLine",   "FloorLevel",    "TotalEnergy", "EvenSymErrRe",    "OddSymErrIm", "PeakLines"};
const std::vector<std::string> kStatistics(kKeys.begin() + 4, kKeys.begin() + 15);
const std::vector<std::string> kSpectrum(kKeys.begin() + 15, kKeys.end());

// Splits the one-line object into its members; fails the test on anything else.
Json ParseJson(const std::string& out) {
  Json members;
  EXPECT_EQ(out.find('\n'), out.size() - 1) << "not one line: " << out;
  size_t i = 0;
  if (out.empty() || out[i++] != '{') {
    ADD_FAILURE() << "not an object: " << out;
    return members;
  }
  while (i < out.size() && out[i] == '"') {
    const size_t keyEnd = out.find('"', i + 1);
    std::string key = out.substr(i + 1, keyEnd - i - 1);
    if (out.compare(keyEnd + 1, 2, ": ") != 0) break;
    i = keyEnd + 3;
    size_t end;
    if (out[i] == '[') end = out.find(']', i) + 1;
    else if (out[i] == '"') end = out.find('"', i + 1) + 1;
    else end = out.find_first_of(",}", i);
    members.emplace_back(std::move(key), out.substr(i, end - i));
    i = end;
    if (out.compare(i, 2, ", ") == 0) i += 2;
  }
  EXPECT_EQ(out.substr(i), "}\n") << out;
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
    EXPECT_EQ(ReadFile(dir.Path("a.TDM")), "");  // nothing was run
  }
}

TEST(CliUsage, NameEqualsValueAndDoubleDash) {
  TempDir dir;
  const CommandResult res = RunCli("-q --movavg=30 --window=blackman --source=rpmfilt --kind=vbt " +
                                   kDemo + " " + dir.Path("a.TDM") + " " + dir.Path("a.FDM"));
  EXPECT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(Line(dir.Path("a.TDM"), 16), "Moving average filtering length=30");
  EXPECT_TRUE(Has(ReadFile(dir.Path("a.FDM")), "\r\nFiltering window: Blackman \r\nInput data: "
                                               "RPM filtered \r\n"));

  WriteFile(dir.Path("-x"), ReadFile(kDemo));
  const std::string cd = "cd " + dir.Dir() + " && " + TZ_CLI;
  EXPECT_EQ(RunCommand(cd + " -q -- -x b.TDM b.FDM").status, 0);
  EXPECT_EQ(Line(dir.Path("b.TDM"), 0), "Vibrotorsional Time Domain Analysis");
  EXPECT_EQ(RunCommand(cd + " -q -x c.TDM c.FDM").status, 2);
}

TEST(CliJson, OneObjectWithTheKeysInOrder) {
  TempDir dir;
  const CommandResult res =
      RunCli("-q --json " + kDemo + " " + dir.Path("a.TDM") + " " + dir.Path("a.FDM"));
  ASSERT_EQ(res.status, 0);
  const Json j = ParseJson(res.out);
  std::vector<std::string> keys;
  for (const auto& m : j) keys.push_back(m.first);
  EXPECT_EQ(keys, kKeys);
  EXPECT_EQ(Value(j, "RawCount"), "40000");
  const std::string percent = Value(j, "FilteredPercent");
  EXPECT_TRUE(percent.size() > 2 && percent.front() == '"' && percent.back() == '"') << percent;
  for (const auto& k : kSpectrum) EXPECT_NE(Value(j, k), "null") << k;

  // Peak lines: ascending, inside the half spectrum.
  const std::string list = Value(j, "PeakLines");
  const long half = std::stol(Value(j, "FFT_N")) / 2;
  std::vector<long> peaks;
  for (size_t p = 1; p < list.size(); p = list.find_first_of("0123456789", list.find(',', p)))
    peaks.push_back(std::stol(list.substr(p)));
  ASSERT_FALSE(peaks.empty());
  for (size_t k = 0; k < peaks.size(); ++k) {
    EXPECT_LT(peaks[k], half);
    if (k > 0) {
      EXPECT_LT(peaks[k - 1], peaks[k]);
    }
  }
}

TEST(CliJson, FailuresAndNullsFollowHowFarTheRunGot) {
  TempDir dir;
  const std::string outs = " " + dir.Path("a.TDM") + " " + dir.Path("a.FDM");
  CommandResult res = RunCli("--json " + dir.Path("missing.VBT") + outs);
  EXPECT_EQ(res.status, 1);
  EXPECT_TRUE(Has(res.err, "Error 2: VBT File opening failure.\n\r")) << res.err;
  Json j = ParseJson(res.out);
  ASSERT_EQ(j.size(), kKeys.size());
  for (const auto& [k, v] : j) EXPECT_EQ(v, "null") << k;

  WriteFile(dir.Path("bare.VBT"), "6611,1873\r\n6605,1886\r\n6605,1899\r\n");
  res = RunCli("--json " + dir.Path("bare.VBT") + outs);
  EXPECT_EQ(res.status, 1);
  EXPECT_TRUE(Has(res.err, "VBT preprocessor: Header invalid or not found!\n")) << res.err;

  WriteFile(dir.Path("empty.VBT"), VbtFile(""));
  res = RunCli("--json " + dir.Path("empty.VBT") + outs);
  EXPECT_EQ(res.status, 1);
  EXPECT_TRUE(Has(res.err, "VBT preprocessor: No sample found!\n")) << res.err;
  j = ParseJson(res.out);
  for (const char* k : {"RawCount", "FilteredCount", "ProgrCount"}) EXPECT_EQ(Value(j, k), "0");
  for (const auto& k : kStatistics) EXPECT_EQ(Value(j, k), "null") << k;
  for (const auto& k : kSpectrum) EXPECT_EQ(Value(j, k), "null") << k;

  // The TDM file of that run has no end marker; its figures are filled anyway.
  const CommandResult tdm = RunCli("-q --json " + dir.Path("a.TDM") + " " + dir.Path("b.TDM") +
                                   " " + dir.Path("b.FDM"));
  EXPECT_EQ(tdm.status, 1);
  EXPECT_TRUE(Has(tdm.err, "TDM preprocessor: Header invalid or not found!")) << tdm.err;
  j = ParseJson(tdm.out);
  EXPECT_EQ(Value(j, "RawCount"), "0");
  EXPECT_EQ(Value(j, "FilteredPercent"), "\"0.000\"");
  for (const auto& k : kStatistics) EXPECT_EQ(Value(j, k), "null") << k;

  // A handful of samples: statistics over an empty range, FFT refused.
  WriteFile(dir.Path("few.VBT"), VbtFile("6611,1873\r\n6605,1886\r\n6605,1899\r\n6609,1907\r\n"));
  const CommandResult few = RunCli("-q --json " + dir.Path("few.VBT") + outs);
  EXPECT_EQ(few.status, 0);
  EXPECT_TRUE(Has(few.err, "FFT processor: Too few samples for the FFT")) << few.err;
  j = ParseJson(few.out);
  EXPECT_EQ(Value(j, "RawCount"), "4");
  EXPECT_EQ(Value(j, "FilteredPercent"), "\"0.\"");
  for (const auto& k : kStatistics) EXPECT_EQ(Value(j, k), "0") << k;
  for (const auto& k : kSpectrum) EXPECT_EQ(Value(j, k), "null") << k;
}

TEST(CliFilters, GivenOptionsAreFixedOthersComeFromTheHeader) {
  TempDir dir;
  auto settings = [&](const std::string& args, const std::string& input) {
    const std::string out = dir.Path("o.TDM");
    EXPECT_EQ(RunCli("-q " + args + " " + input + " " + out + " " + dir.Path("o.FDM")).status, 0);
    std::string s;
    for (size_t i = 15; i < 19; ++i) s += Line(out, i) + "|";
    return s;
  };
  EXPECT_EQ(settings("--movavg 250 --zerocross 2 --overshoot 0.2 --threshold 123", kDemo),
            "Allowed overshot(%)=0.2|Moving average filtering length=200|RPM threshold=123.0|"
            "Zero crossing filter length=4|");

  // A TDM source with its own settings.
  const std::string src = dir.Path("src.TDM");
  ASSERT_EQ(RunCli("-q --movavg 12 --overshoot 0.15 --zerocross 6 --threshold 1000.5 " + kDemo +
                   " " + src + " " + dir.Path("src.FDM"))
                .status,
            0);
  EXPECT_EQ(settings("--movavg 250", src),
            "Allowed overshot(%)=0.15|Moving average filtering length=200|RPM threshold=1000.5|"
            "Zero crossing filter length=6|");
  EXPECT_EQ(settings("--threshold 123 --zerocross 2 --kind fdm", dir.Path("src.FDM")),
            "Allowed overshot(%)=0.15|Moving average filtering length=12|RPM threshold=123.0|"
            "Zero crossing filter length=4|");
}

TEST(CliReprocess, KindByExtensionOrOptionReproducesTheFiles) {
  TempDir dir;
  const std::string tdm = dir.Path("a.TDM"), fdm = dir.Path("a.FDM");
  ASSERT_EQ(RunCli("-q --window blackman --source torque " + kDemo + " " + tdm + " " + fdm).status,
            0);
  const std::string firstTdm = ReadFile(tdm), firstFdm = ReadFile(fdm);
  WriteFile(dir.Path("copy.dat"), firstTdm);
  WriteFile(dir.Path("copy.fdm"), firstFdm);
  WriteFile(dir.Path("copy.txt"), firstFdm);
  for (const std::string& source :
       {tdm, fdm, "--kind tdm " + dir.Path("copy.dat"), dir.Path("copy.fdm"),
        "--kind=fdm " + dir.Path("copy.txt")}) {
    SCOPED_TRACE(source);
    const CommandResult res = RunCli("-q --json --window blackman " + source + " " +
                                     dir.Path("b.TDM") + " " + dir.Path("b.FDM"));
    EXPECT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(Value(ParseJson(res.out), "RawCount"), "40000");
    EXPECT_TRUE(ReadFile(dir.Path("b.TDM")) == firstTdm);
    EXPECT_TRUE(ReadFile(dir.Path("b.FDM")) == firstFdm);
  }

  // The FFT of a reprocessed FDM file follows the current choice, not the file's.
  ASSERT_EQ(RunCli("-q --source rpmfilt " + fdm + " " + dir.Path("c.TDM") + " " +
                   dir.Path("c.FDM")).status, 0);
  ASSERT_EQ(RunCli("-q --source rpmfilt " + kDemo + " " + dir.Path("d.TDM") + " " +
                   dir.Path("d.FDM")).status, 0);
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
    EXPECT_TRUE(Has(res.err, "VBT preprocessor: Output file write failure: the output files are "
                             "incomplete.\n")) << res.err;
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
  const std::string outs = " " + dir.Path("a.TDM") + " " + dir.Path("a.FDM");

  CommandResult res = RunCli("-q --json " + full + outs);
  EXPECT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(Value(ParseJson(res.out), "RawCount"), "524288");
  EXPECT_FALSE(Has(res.err, "Too many samples"));

  res = RunCli("-q --json " + over + outs);
  EXPECT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(Value(ParseJson(res.out), "RawCount"), "524288");
  EXPECT_EQ(res.err.rfind("VBT preprocessor: Too many samples: only the first 524288 are "
                          "processed.\n", 0), 0u) << res.err;
}

}  // namespace
}  // namespace tz::test
