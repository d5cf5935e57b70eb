// Boundaries of the time-domain filters: the step rule of the conditioning at
// a deviation equal to the overshoot, the sense of rotation at the threshold
// speed, and the look-ahead of the zero-crossing filter.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "processing/analysis_record.h"
#include "processing/conditioning.h"
#include "processing/files.h"
#include "processing/sample_step.h"
#include "processing/shaft_quantities.h"
#include "tests/processing/shaft_test.h"
#include "tests/test_support.h"

namespace tz {
namespace {

class FilterEdgeTest : public test::ShaftTest {
 protected:
  // A new run fed with the given Cislot values (Cslot 400 throughout).
  void FeedRun(const std::vector<uint32_t>& cislots) {
    ResetRunState(r());
    for (uint32_t c : cislots)
      if (const auto sample = TakeSample(r(), c, 400)) WriteDataLine(fx.run, *sample);
  }
};

// Shaft at 1000 rpm (C = 10000): torque of a pulse of d counts from the
// twist of the shaft, T = pi^2 G Rext^4 x / (1000 L) with x = d Fmux 1e-6 rpm / 60,
// and the power P = pi T rpm / 30000.
double TorqueAt1000(double d) {
  const double x = d * 0.1e-6 * 1000.0 / 60.0;
  return 3.1415 * 3.1415 * 80000.0 * std::pow(25.0, 4) * x / (1000.0 * 100.0);
}
double PowerAt1000(double torque) { return 3.1415 * torque * 1000.0 / 30000.0; }

TEST_F(FilterEdgeTest, StepBackEqualToTheOvershootIsASpike) {
  // t = 0.1: a jump of +100 % (or -50 %) and a step back of exactly 10 % is a
  // spike and replaced; a step back just under 10 % is a step that stays.
  ASSERT_EQ(r().settings.AllowedOvershoot, 0.1);

  FeedRun({1000, 2000, 1800});  // step back -200 / 2000 = -0.1
  EXPECT_EQ(r().work.RelDev2, -0.1);
  EXPECT_EQ(r().counters.FilteredCount, 1);
  EXPECT_EQ(r().counters.ProgrCount, 0);
  EXPECT_EQ(r().work.CislotWin[1], 1400.0) << "replaced by the mean of its neighbours";

  FeedRun({1000, 2000, 1801});
  EXPECT_LT(std::fabs(r().work.RelDev2), 0.1);
  EXPECT_EQ(r().counters.FilteredCount, 0);
  EXPECT_EQ(r().counters.ProgrCount, 1);
  EXPECT_EQ(r().work.CislotWin[1], 2000.0);

  FeedRun({2000, 1000, 1100});  // step back +100 / 1000 = 0.1
  EXPECT_EQ(r().work.RelDev2, 0.1);
  EXPECT_EQ(r().counters.FilteredCount, 1);
  EXPECT_EQ(r().counters.ProgrCount, 0);
  EXPECT_EQ(r().work.CislotWin[1], 1550.0);

  FeedRun({2000, 1000, 1099});
  EXPECT_LT(r().work.RelDev2, 0.1);
  EXPECT_EQ(r().counters.FilteredCount, 0);
  EXPECT_EQ(r().counters.ProgrCount, 1);
  EXPECT_EQ(r().work.CislotWin[1], 1000.0);
}

TEST_F(FilterEdgeTest, SenseOfRotationMayChangeAtExactlyTheThreshold) {
  // Fmux 0.125 us and C = 8192: 60e6 / (60 x 0.125 x 8192) = 976.5625 rpm,
  // exact in binary; the zero-torque count is then 2048.
  r().params.Fmux = 0.125;
  const double rpm = 976.5625;

  r().settings.RPMthreshold = rpm;
  Emit(8192, 2148);  // positive pulse
  ASSERT_EQ(r().work.RPM, rpm);
  EXPECT_EQ(r().work.RotSign, 1.0);
  Emit(8192, 1948);  // negative pulse at the threshold speed: the sense follows
  EXPECT_EQ(r().work.RPM, rpm);
  EXPECT_EQ(r().work.RotSign, -1.0);
  EXPECT_EQ(r().work.RPMinst, -rpm);
  EXPECT_LT(r().work.TRQinst, 0.0);
  EXPECT_LT(r().work.POTinst, 0.0);

  // A threshold one step below that speed keeps the sense.
  ResetRunState(r());
  r().settings.RPMthreshold = std::nextafter(rpm, 0.0);
  Emit(8192, 2148);
  Emit(8192, 1948);
  EXPECT_EQ(r().work.RotSign, 1.0);
  EXPECT_EQ(r().work.RPMinst, rpm);
  EXPECT_GT(r().work.TRQinst, 0.0);
  EXPECT_GT(r().work.POTinst, 0.0);
}

struct Passed {
  double rpm, trq, pot;
};

TEST_F(FilterEdgeTest, ZeroCrossingLookAheadReachesTheLastSlot) {
  r().settings.RPMthreshold = 5000;  // the sense follows every pulse
  // Emits pulses of d counts at 1000 rpm and returns what each Progr passed on.
  auto run = [this](int z, const std::vector<double>& pulses) {
    ResetRunState(r());
    r().settings.ZeroCrossLen = z;
    std::vector<Passed> out{{0, 0, 0}};  // indexed by Progr
    for (double d : pulses) {
      Emit(10000, 2500 + d);
      out.push_back({r().work.RPMinst, r().work.TRQinst, r().work.POTinst});
    }
    return out;
  };
  auto expectPassed = [](const Passed& got, double sign, double d, int progr) {
    const double trq = TorqueAt1000(d);
    EXPECT_NEAR(got.rpm, sign * 1000.0, 1e-9) << "Progr " << progr;
    EXPECT_NEAR(got.trq, sign * trq, 1e-6) << "Progr " << progr;
    EXPECT_NEAR(got.pot, sign * PowerAt1000(trq), 1e-7) << "Progr " << progr;
  };

  // An earlier run with a longer line leaves positive signs beyond slot 4.
  run(6, std::vector<double>(10, 100.0));

  // Z = 4: samples 7 and 8 reversed. When sample 7 is in slot 2, slot 3 still
  // holds the reversal and only slot 4 shows the earlier sign again: the
  // reversal is false. Speed, torque and power come out positive, 4 samples late.
  const auto a = run(4, {100, 100, 100, 100, 100, 100, -200, -150, 100, 100, 100, 100});
  ASSERT_EQ(a.size(), 13u);
  for (int q = 1; q <= 12; ++q) EXPECT_GT(a[q].rpm, 0.0) << "Progr " << q;
  expectPassed(a[11], +1.0, 200, 11);
  expectPassed(a[12], +1.0, 150, 12);

  // Z = 4: samples 7, 8 and 9 reversed; the earlier sign never reappears within
  // slots 3 and 4, so the reversal stays, whatever lies beyond the line.
  const auto b = run(4, {100, 100, 100, 100, 100, 100, -200, -150, -120, 100, 100, 100, 100, 100});
  ASSERT_EQ(b.size(), 15u);
  expectPassed(b[10], +1.0, 100, 10);
  expectPassed(b[11], -1.0, 200, 11);
  expectPassed(b[12], -1.0, 150, 12);
  expectPassed(b[13], -1.0, 120, 13);
  expectPassed(b[14], +1.0, 100, 14);
}

}  // namespace
}  // namespace tz
