#include "processing/shaft_quantities.h"

#include <algorithm>
#include <cmath>

#include "processing/analysis_record.h"
#include "processing/run_context.h"
#include "processing/tdm_writer.h"

namespace tz {

namespace {

// Reciprocals the formulas multiply by, written as the nearest doubles so
// that every result is the product the instrument's analysis has always
// computed (a division would round differently in the last bit).
constexpr double kOneOver360 = 0.002777777777777778;       // degrees to turns
constexpr double kOneOver60e6 = 1.6666666666666667e-8;     // us x rpm to turns
constexpr double kOneOver30000 = 3.3333333333333335e-5;    // N.m x rpm to kW, with pi
constexpr double kMicro = 0.000001;                         // us to s

// Passes the new values through the zero-crossing filter, which removes
// short false reversals of the sense of rotation.
void ZeroCrossingFilter(AnalysisRecord& r) {
  const int p = r.counters.ProgrCount;
  const int z = std::clamp(r.settings.ZeroCrossLen, kZeroCrossMin, kZeroCrossMax);
  if (p <= z) {
    // Fill: store and pass on undelayed.
    r.work.ZcRPM[p] = r.work.RPMinst;
    r.work.ZcTRQ[p] = r.work.TRQinst;
    r.work.ZcPOT[p] = r.work.POTinst;
    return;
  }
  for (int i = 0; i < z; ++i) {
    r.work.ZcRPM[i] = r.work.ZcRPM[i + 1];
    r.work.ZcTRQ[i] = r.work.ZcTRQ[i + 1];
    r.work.ZcPOT[i] = r.work.ZcPOT[i + 1];
  }
  r.work.ZcRPM[z] = r.work.RPMinst;
  r.work.ZcTRQ[z] = r.work.TRQinst;
  r.work.ZcPOT[z] = r.work.POTinst;
  for (int i = 0; i <= z; ++i) r.work.ZcSign[i] = r.work.ZcRPM[i] < 0 ? -1.0 : 1.0;
  if (r.work.ZcSign[2] != r.work.ZcSign[1]) {
    for (int i = 3; i <= z; ++i) {
      if (r.work.ZcSign[i] == r.work.ZcSign[1]) {
        r.work.ZcSign[2] = r.work.ZcSign[1];
        r.work.ZcRPM[2] = r.work.ZcRPM[2] * -1.0;
        r.work.ZcTRQ[2] = r.work.ZcTRQ[2] * -1.0;
        r.work.ZcPOT[2] = r.work.ZcPOT[2] * -1.0;
        break;
      }
    }
  }
  r.work.RPMinst = r.work.ZcRPM[0];
  r.work.TRQinst = r.work.ZcTRQ[0];
  r.work.POTinst = r.work.ZcPOT[0];
}

double MovingAverage(double* buf, int m, double value) {
  for (int i = 0; i < m - 1; ++i) buf[i] = buf[i + 1];
  buf[m - 1] = value;
  double sum = 0.0;
  for (int i = 0; i < m; ++i) sum = sum + buf[i];
  return sum / m;
}

}  // namespace

void EmitSample(AnalysisRecord& r, RunContext& run) {
  const double C = r.work.CislotWin[1];
  const double S = r.work.CslotWin[1];

  r.work.Tprogr = (r.params.Fmux * C) * kMicro + r.work.Tprogr;
  r.work.Dt = r.work.Tprogr - r.work.TprogrPrev;
  r.work.TprogrPrev = r.work.Tprogr;

  r.work.RPM = ((21600 / r.params.N_SLOT) / ((r.params.Fmux * C) * 360)) * 1000000;
  r.work.TRQ0cnt = ((r.params.Perc_Slot * r.params.A_SLOT * r.params.N_SLOT * kOneOver360) /
                    (r.params.N_SLOT * r.work.RPM)) *
                   60 / r.params.Fmux * 1000000;
  r.work.dTRQinst = S - r.work.TRQ0cnt;

  r.work.RotSignPrev = r.work.RotSign;
  r.work.RotSign = 1.0;
  if (r.work.dTRQinst <= 0) r.work.RotSign = -1.0;
  // The sense of rotation may change only at or below the threshold speed.
  if (r.work.RotSign != r.work.RotSignPrev && r.work.RPM > r.settings.RPMthreshold)
    r.work.RotSign = r.work.RotSignPrev;

  const double rext4 = r.params.Rext * r.params.Rext * r.params.Rext * r.params.Rext;
  const double rint4 = r.params.Rint * r.params.Rint * r.params.Rint * r.params.Rint;
  const double pi2 = PI_APPROX * PI_APPROX;
  const double K = ((rext4 - rint4) * pi2 * r.params.G) / (r.params.L * r.params.N_SLOT * 1000);
  r.work.TRQinst =
      std::fabs(r.work.dTRQinst * r.params.N_SLOT * r.work.RPM * r.params.Fmux * kOneOver60e6 * K) *
      r.work.RotSign;
  r.work.POTinst = PI_APPROX * r.work.TRQinst * r.work.RPM * kOneOver30000;
  r.work.RPMinst = r.work.RotSign * r.work.RPM;

  ZeroCrossingFilter(r);
  ++r.counters.ProgrCount;

  const int m = std::clamp(r.settings.MovAvgLen, kMovAvgMin, kMovAvgMax);
  r.work.RPMfilt = MovingAverage(r.work.MaRPM, m, r.work.RPMinst);
  r.work.TRQfilt = MovingAverage(r.work.MaTRQ, m, r.work.TRQinst);
  r.work.POTfilt = MovingAverage(r.work.MaPOT, m, r.work.POTinst);

  const int p = r.counters.ProgrCount;
  r.samples.TprogrArr[p] = r.work.Tprogr;
  r.samples.RPMinstArr[p] = r.work.RPMinst;
  r.samples.RPMfiltArr[p] = r.work.RPMfilt;
  r.samples.TRQfiltArr[p] = r.work.TRQfilt;
  r.samples.POTfiltArr[p] = r.work.POTfilt;
  WriteDataLine(r, run);
}

}  // namespace tz
