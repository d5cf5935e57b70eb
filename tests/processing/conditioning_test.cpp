// Conditioning of the raw pairs and the quantities of each emitted sample.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "processing/analysis_record.h"
#include "processing/conditioning.h"
#include "processing/files.h"
#include "processing/format_sig10.h"
#include "processing/sample_step.h"
#include "processing/shaft_quantities.h"
#include "tests/processing/shaft_test.h"
#include "tests/test_support.h"

namespace tz {
namespace {

class SampleTest : public test::ShaftTest {
 protected:
  // Each pair as a sample line of the input; emitted samples write their data lines.
  void Feed(const std::vector<std::pair<uint32_t, uint32_t>>& pairs) {
    for (auto [c, s] : pairs)
      if (const auto sample = TakeSample(r(), c, s)) WriteDataLine(fx.run, *sample);
  }
  std::vector<std::string> DataLines() {
    tdm.Close();
    return test::SplitLines(test::ReadFile(dir.Path("t")));
  }
};

TEST_F(SampleTest, ValidityOfPairs) {
  EXPECT_TRUE(InvalidPair(500, 499));
  EXPECT_FALSE(InvalidPair(500, 498));
  EXPECT_TRUE(InvalidPair(500, 1));
  EXPECT_TRUE(InvalidPair(1, 0));
  EXPECT_TRUE(InvalidPair(4294967295u, 10));
  EXPECT_TRUE(InvalidPair(100, 4294967295u));
  EXPECT_FALSE(InvalidPair(4294967294u, 4294967292u));
  EXPECT_TRUE(InvalidPair(4294967294u, 4294967293u));
}

TEST_F(SampleTest, SmallChangesAreEmittedOneLineLateWithSmoothedCslot) {
  Feed({{1000, 400}, {1005, 402}, {1010, 404}, {1008, 401}});
  EXPECT_EQ(r().counters.ProgrCount, 2);
  EXPECT_EQ(r().counters.FilteredCount, 0);
  const auto lines = DataLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 3), "1, ");
  EXPECT_NE(lines[0].find(", 1005., 402., "), std::string::npos) << lines[0];
  // Third sample: (401 + 404 + 402) / 3, the middle already smoothed value entering as slot 0.
  const double s3 = (401.0 + 404.0 + 402.0) * 0.3333333333333333;
  EXPECT_EQ(r().work.CslotWin[1], s3);
  EXPECT_NE(lines[1].find(", 1010., " + Sig10(s3) + ", "), std::string::npos) << lines[1];
}

TEST_F(SampleTest, IsolatedSpikeIsReplacedAndCounted) {
  Feed({{1000, 400}, {1500, 420}, {1000, 404}});
  EXPECT_EQ(r().counters.ProgrCount, 0);
  EXPECT_EQ(r().counters.FilteredCount, 1);
  EXPECT_EQ(r().work.CislotWin[1], 1000.0);
  EXPECT_EQ(r().work.CslotWin[1], 402.0);
  EXPECT_EQ(r().work.RelDev1, 0.5);
}

TEST_F(SampleTest, TrendsAndStepsThatStayAreAccepted) {
  for (auto seq : std::vector<std::vector<std::pair<uint32_t, uint32_t>>>{
           {{1000, 400}, {1200, 400}, {1210, 400}},    // steady rise
           {{1000, 400}, {800, 400}, {700, 400}},      // steady fall
           {{1000, 400}, {1200, 400}, {1190, 400}},    // step up that stays
           {{1000, 400}, {800, 400}, {810, 400}}}) {   // step down that stays
    ResetRunState(r());
    r().counters.RawCount = 0;
    Feed(seq);
    EXPECT_EQ(r().counters.ProgrCount, 1) << seq[1].first << "," << seq[2].first;
    EXPECT_EQ(r().counters.FilteredCount, 0);
  }
}

TEST_F(SampleTest, SpikeDownIsReplaced) {
  Feed({{1000, 400}, {700, 380}, {1000, 404}});
  EXPECT_EQ(r().counters.FilteredCount, 1);
  EXPECT_EQ(r().counters.ProgrCount, 0);
  EXPECT_EQ(r().work.CislotWin[1], 1000.0);
}

TEST_F(SampleTest, ExactZeroDeviationDropsTheSampleSilently) {
  Feed({{1000, 400}, {1200, 400}, {1200, 400}});
  EXPECT_EQ(r().counters.ProgrCount, 0);
  EXPECT_EQ(r().counters.FilteredCount, 0);
}

TEST_F(SampleTest, DeviationEqualToTheOvershootIsLarge) {
  // RelDev1 = 0.25 exactly with t = 0.25, then a large drop: a spike, not case a.
  r().settings.AllowedOvershoot = 0.25;
  Feed({{1000, 400}, {1250, 400}, {900, 400}});
  EXPECT_EQ(r().counters.FilteredCount, 1);
  EXPECT_EQ(r().counters.ProgrCount, 0);
}

// The verdict of the third line of a run on its middle sample, and the sample
// handed on: one case of each row of the decision table, t = 0.1.
TEST(ConditionSample, ReturnsItsVerdictAndTheSampleToEmit) {
  struct Case { uint32_t c0, c1, c2; SampleVerdict verdict; };
  const Case cases[] = {
      {1000, 1050, 1200, SampleVerdict::Emit},      // a: a small change into the middle
      {1000, 1200, 1210, SampleVerdict::Emit},      // b: a steady trend
      {1000, 1200, 1190, SampleVerdict::Emit},      // c: a step up that stays
      {1000, 800, 810, SampleVerdict::Emit},        // d: a step down that stays
      {1000, 1500, 1000, SampleVerdict::Replaced},  // e: a spike up
      {1000, 700, 1000, SampleVerdict::Replaced},   // f: a spike down
      {1000, 1200, 1200, SampleVerdict::Held},      // g: a large change, then none
      {1000, 1200, 1200, SampleVerdict::Invalid},   // (the third pair made invalid below)
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.c0 << " " << k.c1 << " " << k.c2);
    ProcessingSettings settings;
    WorkingState work;
    const uint32_t s2 = k.verdict == SampleVerdict::Invalid ? k.c2 : 409;
    EXPECT_EQ(ConditionSample(settings, work, k.c0, 400, 1).verdict, SampleVerdict::Priming);
    EXPECT_EQ(ConditionSample(settings, work, k.c1, 403, 2).verdict, SampleVerdict::Priming);
    const ConditionedSample got = ConditionSample(settings, work, k.c2, s2, 3);
    EXPECT_EQ(got.verdict, k.verdict);
    EXPECT_EQ(CountsAsFiltered(got.verdict),
              k.verdict == SampleVerdict::Replaced || k.verdict == SampleVerdict::Invalid);
    if (k.verdict == SampleVerdict::Emit) {
      EXPECT_EQ(got.cislot, k.c1);
      EXPECT_EQ(got.cslot, (409.0 + 403.0 + 400.0) * 0.3333333333333333);
      EXPECT_EQ(got.cslot, work.CslotWin[1]);
    } else {
      EXPECT_EQ(got.cislot, 0.0);
      EXPECT_EQ(got.cslot, 0.0);
    }
  }
}

TEST_F(SampleTest, PrimingFollowsTheRawLinePosition) {
  // An invalid first line leaves slot 1 at its run-start value 0: the first
  // deviation is infinite and, with a rising second one, counts as a trend.
  Feed({{5, 400}, {1000, 400}, {1001, 400}});
  EXPECT_EQ(r().counters.FilteredCount, 1);
  EXPECT_EQ(r().counters.ProgrCount, 1);
  EXPECT_EQ(r().work.CislotWin[1], 1000.0);
  EXPECT_EQ(r().work.CslotWin[1], (400.0 + 400.0 + 0.0) * 0.3333333333333333);
  // With both slots at zero the deviations are undefined: dropped, not counted.
  ResetRunState(r());
  r().counters.RawCount = 0;
  Feed({{5, 400}, {6, 400}, {1001, 400}});
  EXPECT_EQ(r().counters.FilteredCount, 2);
  EXPECT_EQ(r().counters.ProgrCount, 0);
}

TEST_F(SampleTest, WorkedSample) {
  r().settings.RPMthreshold = 400;
  Emit(10000, 2510);
  EXPECT_DOUBLE_EQ(r().work.RPM, 1000.0);
  EXPECT_NEAR(r().work.TRQ0cnt, 2500.0, 1e-9);
  EXPECT_NEAR(r().work.dTRQinst, 10.0, 1e-9);
  EXPECT_NEAR(r().work.Tprogr, 0.001, 1e-18);
  EXPECT_EQ(r().work.Dt, r().work.Tprogr);
  // Evaluated strictly left to right, as written.
  const double rext4 = ((25.0 * 25.0) * 25.0) * 25.0;
  const double K = (((rext4 - 0.0) * (PI_APPROX * PI_APPROX)) * 80000.0) / ((100.0 * 60.0) * 1000);
  const double trq =
      std::fabs(((((r().work.dTRQinst * 60.0) * r().work.RPM) * 0.1) * 1.6666666666666667e-8) * K);
  EXPECT_EQ(r().work.TRQinst, trq);
  EXPECT_NEAR(r().work.TRQinst, 51.4012, 5e-5);
  EXPECT_NEAR(r().work.POTinst, 5.38256, 5e-6);
  EXPECT_EQ(r().work.RPMinst, 1000.0);
  EXPECT_EQ(r().counters.ProgrCount, 1);
  EXPECT_EQ(r().work.RPMfilt, 1000.0 / 10);  // moving average of 10 starts from zeros
  EXPECT_EQ(r().samples.RPMfiltArr[1], r().work.RPMfilt);
  EXPECT_EQ(r().samples.TprogrArr[1], r().work.Tprogr);
}

TEST_F(SampleTest, EqualRadiiGiveZeroTorque) {
  r().params.Rint = 25;
  Emit(10000, 2600);
  EXPECT_EQ(r().work.TRQinst, 0.0);
  EXPECT_EQ(r().work.POTinst, 0.0);
}

TEST_F(SampleTest, SenseOfRotationChangesOnlyAtLowSpeed) {
  r().settings.RPMthreshold = 400;
  Emit(10000, 2600);              // 1000 rpm, positive pulse
  Emit(10000, 2400);              // negative pulse above the threshold
  EXPECT_EQ(r().work.RotSign, 1.0);
  EXPECT_GT(r().work.TRQinst, 0.0);
  EXPECT_NEAR(r().work.dTRQinst, -100.0, 1e-9);
  // At 300 rpm (C = 33333.33...) the sign follows the pulse; zero counts as negative.
  const double c300 = 60e6 / (60 * 0.1 * 300);
  Emit(c300, 0);
  const double zeroPulse = r().work.TRQ0cnt;
  EXPECT_EQ(r().work.RotSign, -1.0);
  EXPECT_LT(r().work.RPMinst, 0.0);
  Emit(c300, zeroPulse);
  EXPECT_EQ(r().work.dTRQinst, 0.0);
  EXPECT_EQ(r().work.RotSign, -1.0);
}

TEST_F(SampleTest, ZeroCrossingFilterRemovesShortReversals) {
  // Z = 4, low speed so the sign follows every pulse.
  r().settings.RPMthreshold = 5000;
  std::vector<int> signs = {1, 1, 1, 1, 1, 1, -1, 1, 1, 1, 1, 1, 1};
  std::vector<double> out;
  for (int s : signs) {
    Emit(10000, s > 0 ? 2600 : 2400);
    out.push_back(r().work.RPMinst);
  }
  // Fill: samples 1..5 pass undelayed; then slot 0 is passed, Z samples old.
  for (double v : out) EXPECT_GT(v, 0.0) << "a single reversal must be removed";
  // A reversal longer than Z - 2 samples stays.
  std::vector<double> out2;
  for (int s : {-1, -1, -1, -1, 1, 1, 1, 1, 1}) {
    Emit(10000, s > 0 ? 2600 : 2400);
    out2.push_back(r().work.RPMinst);
  }
  int negatives = 0;
  for (double v : out2) negatives += v < 0;
  EXPECT_GT(negatives, 0);
}

TEST_F(SampleTest, ZeroCrossingDelaysByZOnceFull) {
  r().settings.RPMthreshold = 0;
  std::vector<double> rpm;
  for (int i = 0; i < 12; ++i) {
    const double c = 10000 + 100 * i;
    Emit(c, 2600);
    rpm.push_back(60e6 / (60 * 0.1 * c));
  }
  const auto lines = DataLines();
  ASSERT_EQ(lines.size(), 12u);
  // Progr 1..5 (p = 0..4) pass undelayed; Progr 6 passes slot 0 = sample 2.
  EXPECT_NEAR(r().samples.RPMinstArr[5], rpm[4], 1e-9);
  EXPECT_NEAR(r().samples.RPMinstArr[6], rpm[1], 1e-9);
  EXPECT_NEAR(r().samples.RPMinstArr[12], rpm[7], 1e-9);
}

TEST_F(SampleTest, MovingAverageSumsInSlotOrder) {
  r().settings.MovAvgLen = 5;
  r().settings.RPMthreshold = 0;
  for (int i = 0; i < 8; ++i) Emit(10000, 2600);
  EXPECT_NEAR(r().samples.RPMfiltArr[1], 200.0, 1e-9);
  EXPECT_NEAR(r().samples.RPMfiltArr[4], 800.0, 1e-9);
  EXPECT_NEAR(r().samples.RPMfiltArr[5], 1000.0, 1e-9);
  EXPECT_EQ(r().samples.RPMfiltArr[8], r().work.RPMfilt);
}

TEST_F(SampleTest, LengthsOutsideTheirRangesStayInsideTheBuffers) {
  // Emitting with lengths beyond the buffers gives what the nearest lengths in
  // range give; under the sanitizers an overrun would stop the test.
  r().settings.RPMthreshold = 5000;
  auto emitAll = [this](int movAvg, int zeroCross) {
    ResetRunState(r());
    r().settings.MovAvgLen = movAvg, r().settings.ZeroCrossLen = zeroCross;
    std::vector<double> out;
    for (int i = 0; i < 260; ++i) {
      Emit(10000 + (i % 7) * 50, i % 9 == 4 ? 2400 : 2600);
      out.push_back(r().work.RPMfilt);
      out.push_back(r().work.TRQfilt);
    }
    return out;
  };
  EXPECT_EQ(emitAll(300, 0), emitAll(200, 4));
  EXPECT_EQ(emitAll(0, 300), emitAll(5, 30));
  EXPECT_EQ(emitAll(-3, -1), emitAll(5, 4));
}

TEST_F(SampleTest, DataLineColumns) {
  r().settings.RPMthreshold = 5000;
  Emit(10000, 2400);
  const auto lines = DataLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "1, 1.e-003, 1.e-003, -100., " + Sig10(r().work.TRQfilt) + ", " +
                          Sig10(r().work.POTfilt) + ", 10000., 2400., 2500., -100., -1000., " +
                          Sig10(r().work.TRQinst) + ", " + Sig10(r().work.POTinst));
}

}  // namespace
}  // namespace tz
