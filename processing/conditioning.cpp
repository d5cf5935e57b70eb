#include "processing/conditioning.h"

#include <cmath>

#include "processing/analysis_record.h"
#include "processing/run_context.h"
#include "processing/shaft_quantities.h"

namespace tz {

namespace {
// One third as the nearest double: the mean of three counts is a product.
constexpr double kOneThird = 0.3333333333333333;
}  // namespace

bool InvalidPair(uint32_t c, uint32_t s) {
  return s <= 1u || s == 4294967295u || c <= 1u || c == 4294967295u || c <= s + 1u;
}

void ConditionSample(AnalysisRecord& r, RunContext& run, uint32_t c, uint32_t s, int32_t n) {
  if (InvalidPair(c, s)) {
    ++r.counters.FilteredCount;
    return;
  }
  // Priming is keyed to the line's position among all raw sample lines.
  if (n == 1) {
    r.work.CislotWin[1] = c;
    r.work.CslotWin[1] = s;
    return;
  }
  if (n == 2) {
    r.work.CislotWin[2] = c;
    r.work.CslotWin[2] = s;
    return;
  }
  double* ci = r.work.CislotWin;
  double* cs = r.work.CslotWin;
  ci[0] = ci[1];
  ci[1] = ci[2];
  ci[2] = static_cast<double>(c);
  cs[0] = cs[1];
  cs[1] = cs[2];
  cs[2] = static_cast<double>(s);

  r.work.RelDev1 = (ci[1] - ci[0]) / ci[0];
  r.work.RelDev2 = (ci[2] - ci[1]) / ci[1];
  const double d1 = r.work.RelDev1, d2 = r.work.RelDev2, t = r.settings.AllowedOvershoot;

  bool accept = false, replace = false;
  if (std::fabs(d1) < t) {
    accept = true;                                   // a: small change
  } else if ((d1 > 0 && d2 > 0) || (d1 < 0 && d2 < 0)) {
    accept = true;                                   // b: a steady trend
  } else if (d1 > 0 && d2 < 0 && std::fabs(d2) < t) {
    accept = true;                                   // c: a step up that stays
  } else if (d1 < 0 && d2 > 0 && std::fabs(d2) < t) {
    accept = true;                                   // d: a step down that stays
  } else if (d1 > 0 && d2 < 0 && std::fabs(d2) >= t) {
    replace = true;                                  // e: a spike up
  } else if (d1 < 0 && d2 > 0 && std::fabs(d2) >= t) {
    replace = true;                                  // f: a spike down
  }                                                  // g: neither emitted nor counted

  if (accept) {
    cs[1] = (cs[2] + cs[1] + cs[0]) * kOneThird;
    EmitSample(r, run);
  } else if (replace) {
    ci[1] = (ci[2] + ci[0]) * 0.5;
    cs[1] = (cs[2] + cs[0]) * 0.5;
    ++r.counters.FilteredCount;
  }
}

}  // namespace tz
