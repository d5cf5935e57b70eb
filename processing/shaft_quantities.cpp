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
  const int p = r.ProgrCount;
  const int z = std::clamp(r.ZeroCrossLen, kZeroCrossMin, kZeroCrossMax);
  if (p <= z) {
    // Fill: store and pass on undelayed.
    r.ZcRPM[p] = r.RPMinst;
    r.ZcTRQ[p] = r.TRQinst;
    r.ZcPOT[p] = r.POTinst;
    return;
  }
  for (int i = 0; i < z; ++i) {
    r.ZcRPM[i] = r.ZcRPM[i + 1];
    r.ZcTRQ[i] = r.ZcTRQ[i + 1];
    r.ZcPOT[i] = r.ZcPOT[i + 1];
  }
  r.ZcRPM[z] = r.RPMinst;
  r.ZcTRQ[z] = r.TRQinst;
  r.ZcPOT[z] = r.POTinst;
  for (int i = 0; i <= z; ++i) r.ZcSign[i] = r.ZcRPM[i] < 0 ? -1.0 : 1.0;
  if (r.ZcSign[2] != r.ZcSign[1]) {
    for (int i = 3; i <= z; ++i) {
      if (r.ZcSign[i] == r.ZcSign[1]) {
        r.ZcSign[2] = r.ZcSign[1];
        r.ZcRPM[2] = r.ZcRPM[2] * -1.0;
        r.ZcTRQ[2] = r.ZcTRQ[2] * -1.0;
        r.ZcPOT[2] = r.ZcPOT[2] * -1.0;
        break;
      }
    }
  }
  r.RPMinst = r.ZcRPM[0];
  r.TRQinst = r.ZcTRQ[0];
  r.POTinst = r.ZcPOT[0];
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
  const double C = r.CislotWin[1];
  const double S = r.CslotWin[1];

  r.Tprogr = (r.Fmux * C) * kMicro + r.Tprogr;
  r.Dt = r.Tprogr - r.TprogrPrev;
  r.TprogrPrev = r.Tprogr;

  r.RPM = ((21600 / r.N_SLOT) / ((r.Fmux * C) * 360)) * 1000000;
  r.TRQ0cnt = ((r.Perc_Slot * r.A_SLOT * r.N_SLOT * kOneOver360) / (r.N_SLOT * r.RPM)) *
              60 / r.Fmux * 1000000;
  r.dTRQinst = S - r.TRQ0cnt;

  r.RotSignPrev = r.RotSign;
  r.RotSign = 1.0;
  if (r.dTRQinst <= 0) r.RotSign = -1.0;
  // The sense of rotation may change only at or below the threshold speed.
  if (r.RotSign != r.RotSignPrev && r.RPM > r.RPMthreshold) r.RotSign = r.RotSignPrev;

  const double rext4 = r.Rext * r.Rext * r.Rext * r.Rext;
  const double rint4 = r.Rint * r.Rint * r.Rint * r.Rint;
  const double pi2 = PI_APPROX * PI_APPROX;
  const double K = ((rext4 - rint4) * pi2 * r.G) / (r.L * r.N_SLOT * 1000);
  r.TRQinst = std::fabs(r.dTRQinst * r.N_SLOT * r.RPM * r.Fmux * kOneOver60e6 * K) *
              r.RotSign;
  r.POTinst = PI_APPROX * r.TRQinst * r.RPM * kOneOver30000;
  r.RPMinst = r.RotSign * r.RPM;

  ZeroCrossingFilter(r);
  ++r.ProgrCount;

  const int m = std::clamp(r.MovAvgLen, kMovAvgMin, kMovAvgMax);
  r.RPMfilt = MovingAverage(r.MaRPM, m, r.RPMinst);
  r.TRQfilt = MovingAverage(r.MaTRQ, m, r.TRQinst);
  r.POTfilt = MovingAverage(r.MaPOT, m, r.POTinst);

  const int p = r.ProgrCount;
  r.TprogrArr[p] = r.Tprogr;
  r.RPMinstArr[p] = r.RPMinst;
  r.RPMfiltArr[p] = r.RPMfilt;
  r.TRQfiltArr[p] = r.TRQfilt;
  r.POTfiltArr[p] = r.POTfilt;
  WriteDataLine(r, run);
}

}  // namespace tz
