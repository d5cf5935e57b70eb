// A TDM or FDM file written by a run, read back as the source of a new run,
// must give back the samples and, with its own settings, the same two files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "processing/analysis_record.h"
#include "run/run_processing.h"
#include "tests/test_support.h"

namespace tz::test {
namespace {

// "" when both texts are equal, else the first differing line of each.
std::string FirstDifference(const std::string& a, const std::string& b) {
  if (a == b) return "";
  const auto la = SplitLines(a), lb = SplitLines(b);
  for (size_t i = 0; i < std::max(la.size(), lb.size()); ++i) {
    const std::string x = i < la.size() ? la[i] : "<none>", y = i < lb.size() ? lb[i] : "<none>";
    if (x != y) return "line " + std::to_string(i + 1) + ": '" + x + "' vs '" + y + "'";
  }
  return "line ends differ";
}

struct RoundTripCase {
  const char* name;
  const char* generator;  // vbtgen options, or nullptr for the demo file
  int movAvg;             // > 0: the first run uses settings the user fixed
};

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, TdmAndFdmRerunsGiveTheSameSamplesAndFiles) {
  const RoundTripCase& c = GetParam();
  TempDir dir;
  std::string vbt = SourcePath("samples/demo.VBT");
  if (c.generator != nullptr) Generate(vbt = dir.Path("in.VBT"), c.generator);
  const std::string tdm = dir.Path("first.TDM"), fdm = dir.Path("first.FDM");

  // One record for all three runs, as in the desktop program: a run must not
  // depend on the one before it.
  Fixture fx;
  AnalysisRecord& r = fx.r();
  r.source.SourceKind = InputKind::Vbt;
  r.settings.UseFilterDefaults = 1;
  if (c.movAvg > 0) {
    r.settings.FixedFilterSettings = kFixOvershoot | kFixMovAvg | kFixThreshold | kFixZeroCross;
    r.settings.MovAvgLen = c.movAvg, r.settings.AllowedOvershoot = 0.15,
    r.settings.RPMthreshold = 987.5, r.settings.ZeroCrossLen = 7;
  }
  r.source.InputPath = vbt, r.source.TdmPath = tdm, r.source.FdmPath = fdm;
  ASSERT_TRUE(RunProcessing(r, fx.platform).completed);
  ASSERT_GT(r.counters.RawCount, 1000);
  const std::vector<double> cislot(r.samples.CislotRaw, r.samples.CislotRaw + r.counters.RawCount);
  const std::vector<double> cslot(r.samples.CslotRaw, r.samples.CslotRaw + r.counters.RawCount);
  const std::string firstTdm = ReadFile(tdm), firstFdm = ReadFile(fdm);

  // Opening a TDM or FDM file: the settings come from its header.
  r.settings.FixedFilterSettings = 0;
  r.settings.MovAvgLen = 10, r.settings.AllowedOvershoot = 0.1, r.settings.ZeroCrossLen = 4;
  for (const auto& [kind, source] : {std::pair{InputKind::Tdm, tdm}, std::pair{InputKind::Fdm, fdm}}) {
    SCOPED_TRACE(source);
    RecordingPlatform platform;
    r.source.SourceKind = kind;
    r.settings.UseFilterDefaults = 1;
    const std::string tdm2 = dir.Path("again.TDM"), fdm2 = dir.Path("again.FDM");
    r.source.InputPath = source, r.source.TdmPath = tdm2, r.source.FdmPath = fdm2;
    ASSERT_TRUE(RunProcessing(r, platform).completed);
    ASSERT_EQ(r.counters.RawCount, static_cast<int32_t>(cislot.size()));
    EXPECT_TRUE(std::equal(cislot.begin(), cislot.end(), r.samples.CislotRaw));
    EXPECT_TRUE(std::equal(cslot.begin(), cslot.end(), r.samples.CslotRaw));
    EXPECT_EQ(FirstDifference(ReadFile(tdm2), firstTdm), "");
    EXPECT_EQ(FirstDifference(ReadFile(fdm2), firstFdm), "");
    if (c.movAvg > 0) {
      EXPECT_EQ(r.settings.MovAvgLen, c.movAvg);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RoundTrip,
    ::testing::Values(
        RoundTripCase{"Demo", nullptr, 0},
        RoundTripCase{"Slow", "--samples 15000 --seed 3 --rpm 900 --nslot 36", 0},
        RoundTripCase{"FastDrifting",
                      "--samples 20000 --seed 11 --rpm 4200 --drift 0.08 --glitch-rate 0.002", 0},
        RoundTripCase{"UserSettings", "--samples 12000 --seed 5 --fmux 0.1", 20}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tz::test
