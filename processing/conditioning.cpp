#include "processing/conditioning.h"

#include <cmath>

#include "processing/analysis_record.h"

namespace tz {

namespace {

// One third as the nearest double: the mean of three counts is a product.
constexpr double kOneThird = 0.3333333333333333;
constexpr uint32_t kCounterOverflow = 4294967295u;  // a counter that ran out

// The decision on the middle sample from the relative changes into it (d1)
// and out of it (d2), with t the allowed overshoot; the first case that
// matches wins. A change exactly equal to t counts as large.
SampleVerdict Decide(double d1, double d2, double t) {
  const bool up = d1 > 0 && d2 < 0, down = d1 < 0 && d2 > 0;
  if (std::fabs(d1) < t) return SampleVerdict::Emit;                         // a small change
  if ((d1 > 0 && d2 > 0) || (d1 < 0 && d2 < 0)) return SampleVerdict::Emit;  // a steady trend
  if ((up || down) && std::fabs(d2) < t) return SampleVerdict::Emit;         // a step that stays
  if ((up || down) && std::fabs(d2) >= t) return SampleVerdict::Replaced;    // a spike
  // A large change followed by none (or an undefined one): neither handed on nor counted.
  return SampleVerdict::Held;
}

}  // namespace

bool InvalidPair(uint32_t c, uint32_t s) {
  return s <= 1u || s == kCounterOverflow || c <= 1u || c == kCounterOverflow || c <= s + 1u;
}

ConditionedSample ConditionSample(const ProcessingSettings& settings, WorkingState& work,
                                  uint32_t c, uint32_t s, int32_t n) {
  if (InvalidPair(c, s)) return {SampleVerdict::Invalid};
  double* ci = work.CislotWin;
  double* cs = work.CslotWin;
  // Priming is keyed to the line's position among all raw sample lines.
  if (n == 1 || n == 2) {
    ci[n] = c;
    cs[n] = s;
    return {SampleVerdict::Priming};
  }
  ci[0] = ci[1];
  ci[1] = ci[2];
  ci[2] = static_cast<double>(c);
  cs[0] = cs[1];
  cs[1] = cs[2];
  cs[2] = static_cast<double>(s);

  work.RelDev1 = (ci[1] - ci[0]) / ci[0];
  work.RelDev2 = (ci[2] - ci[1]) / ci[1];
  const SampleVerdict verdict = Decide(work.RelDev1, work.RelDev2, settings.AllowedOvershoot);
  if (verdict == SampleVerdict::Emit) {
    cs[1] = (cs[2] + cs[1] + cs[0]) * kOneThird;
    return {verdict, ci[1], cs[1]};
  }
  if (verdict == SampleVerdict::Replaced) {
    ci[1] = (ci[2] + ci[0]) * 0.5;
    cs[1] = (cs[2] + cs[0]) * 0.5;
  }
  return {verdict};
}

}  // namespace tz
