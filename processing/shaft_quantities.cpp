#include "processing/shaft_quantities.h"

#include <algorithm>
#include <cmath>

#include "processing/analysis_record.h"

namespace tz {

namespace {

// Reciprocals the formulas multiply by, written as the nearest doubles so
// that every result is the product the instrument's analysis has always
// computed (a division would round differently in the last bit).
constexpr double kOneOver360 = 0.002777777777777778;       // degrees to turns
constexpr double kOneOver60e6 = 1.6666666666666667e-8;     // us x rpm to turns
constexpr double kOneOver30000 = 3.3333333333333335e-5;    // N.m x rpm to kW, with pi
constexpr double kMicro = 0.000001;                         // us to s

// Whole factors of the formulas (exact as doubles).
constexpr double kDegreeSecondsPerTurnMinute = 21600;  // 60 s x 360 degrees
constexpr double kDegreesPerTurn = 360;
constexpr double kMicrosPerSecond = 1000000;
constexpr double kSecondsPerMinute = 60;
constexpr double kMillimetresPerMetre = 1000;

// Progressive time of the sample and its distance from the one before.
void AdvanceTime(WorkingState& w, const HeaderParameters& p, double C) {
  w.Tprogr = (p.Fmux * C) * kMicro + w.Tprogr;
  w.Dt = w.Tprogr - w.TprogrPrev;
  w.TprogrPrev = w.Tprogr;
}

// Speed, zero-torque count and torque pulse of the sample, and the sense of
// rotation, which may change only at or below the threshold speed; a pulse
// of exactly 0 counts as negative.
void SpeedAndSense(WorkingState& w, const HeaderParameters& p, double RPMthreshold, double C,
                   double S) {
  w.RPM = ((kDegreeSecondsPerTurnMinute / p.N_SLOT) / ((p.Fmux * C) * kDegreesPerTurn)) *
          kMicrosPerSecond;
  w.TRQ0cnt = ((p.Perc_Slot * p.A_SLOT * p.N_SLOT * kOneOver360) / (p.N_SLOT * w.RPM)) *
              kSecondsPerMinute / p.Fmux * kMicrosPerSecond;
  w.dTRQinst = S - w.TRQ0cnt;

  w.RotSignPrev = w.RotSign;
  w.RotSign = 1.0;
  if (w.dTRQinst <= 0) w.RotSign = -1.0;
  if (w.RotSign != w.RotSignPrev && w.RPM > RPMthreshold) w.RotSign = w.RotSignPrev;
}

// Torque from the twist of the shaft, power, and the signed speed; all three
// carry the sense of rotation. Each fourth power is four factors.
void TorqueAndPower(WorkingState& w, const HeaderParameters& p) {
  const double rext4 = p.Rext * p.Rext * p.Rext * p.Rext;
  const double rint4 = p.Rint * p.Rint * p.Rint * p.Rint;
  const double pi2 = PI_APPROX * PI_APPROX;
  const double K = ((rext4 - rint4) * pi2 * p.G) / (p.L * p.N_SLOT * kMillimetresPerMetre);
  w.TRQinst = std::fabs(w.dTRQinst * p.N_SLOT * w.RPM * p.Fmux * kOneOver60e6 * K) * w.RotSign;
  w.POTinst = PI_APPROX * w.TRQinst * w.RPM * kOneOver30000;
  w.RPMinst = w.RotSign * w.RPM;
}

// Passes the new values through the zero-crossing filter, which removes
// short false reversals of the sense of rotation. p is ProgrCount before
// this sample, z the filter length (slots 0..z of the delay lines are used).
void ZeroCrossingFilter(WorkingState& w, int p, int z) {
  if (p <= z) {
    // Fill: store and pass on undelayed.
    w.ZcRPM[p] = w.RPMinst;
    w.ZcTRQ[p] = w.TRQinst;
    w.ZcPOT[p] = w.POTinst;
    return;
  }
  for (int i = 0; i < z; ++i) {
    w.ZcRPM[i] = w.ZcRPM[i + 1];
    w.ZcTRQ[i] = w.ZcTRQ[i + 1];
    w.ZcPOT[i] = w.ZcPOT[i + 1];
  }
  w.ZcRPM[z] = w.RPMinst;
  w.ZcTRQ[z] = w.TRQinst;
  w.ZcPOT[z] = w.POTinst;
  for (int i = 0; i <= z; ++i) w.ZcSign[i] = w.ZcRPM[i] < 0 ? -1.0 : 1.0;
  // A reversal in the judged slot that the sign of the slot before it undoes
  // in a later slot is false: the judged slot is negated.
  constexpr int kJudged = 2, kBefore = kJudged - 1;
  if (w.ZcSign[kJudged] != w.ZcSign[kBefore]) {
    for (int i = kJudged + 1; i <= z; ++i) {
      if (w.ZcSign[i] == w.ZcSign[kBefore]) {
        w.ZcSign[kJudged] = w.ZcSign[kBefore];
        w.ZcRPM[kJudged] = w.ZcRPM[kJudged] * -1.0;
        w.ZcTRQ[kJudged] = w.ZcTRQ[kJudged] * -1.0;
        w.ZcPOT[kJudged] = w.ZcPOT[kJudged] * -1.0;
        break;
      }
    }
  }
  w.RPMinst = w.ZcRPM[0];
  w.TRQinst = w.ZcTRQ[0];
  w.POTinst = w.ZcPOT[0];
}

// Shifts the value into the last of the m slots and returns their mean,
// summed in slot order as each slot takes its new value.
double MovingAverage(double* buf, int m, double value) {
  double sum = 0.0;
  for (int i = 0; i < m - 1; ++i) {
    buf[i] = buf[i + 1];
    sum = sum + buf[i];
  }
  buf[m - 1] = value;
  sum = sum + value;
  return sum / m;
}

}  // namespace

EmittedSample EmitSample(AnalysisRecord& r, double C, double S) {
  WorkingState& w = r.work;
  const HeaderParameters& p = r.params;
  AdvanceTime(w, p, C);
  SpeedAndSense(w, p, r.settings.RPMthreshold, C, S);
  TorqueAndPower(w, p);

  // Lengths beyond the buffers never reach them.
  const int z = std::clamp(r.settings.ZeroCrossLen, kZeroCrossMin, kZeroCrossMax);
  const int m = std::clamp(r.settings.MovAvgLen, kMovAvgMin, kMovAvgMax);
  ZeroCrossingFilter(w, r.counters.ProgrCount, z);
  const int progr = ++r.counters.ProgrCount;
  w.RPMfilt = MovingAverage(w.MaRPM, m, w.RPMinst);
  w.TRQfilt = MovingAverage(w.MaTRQ, m, w.TRQinst);
  w.POTfilt = MovingAverage(w.MaPOT, m, w.POTinst);

  SampleArrays& a = r.samples;
  a.TprogrArr[progr] = w.Tprogr;
  a.RPMinstArr[progr] = w.RPMinst;
  a.RPMfiltArr[progr] = w.RPMfilt;
  a.TRQfiltArr[progr] = w.TRQfilt;
  a.POTfiltArr[progr] = w.POTfilt;
  return {static_cast<double>(progr), w.Tprogr, w.Dt, w.RPMfilt, w.TRQfilt, w.POTfilt, C, S,
          w.TRQ0cnt, w.dTRQinst, w.RPMinst, w.TRQinst, w.POTinst};
}

}  // namespace tz
