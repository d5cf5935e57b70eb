// Time, speed, torque and power of one accepted sample, the sense of
// rotation, the zero-crossing filter and the moving average.
#pragma once

namespace tz {

struct AnalysisRecord;

// One emitted sample: the columns of its TDM data line, in file order.
struct EmittedSample {
  double Progr;    // ProgrCount after this sample
  double Tprogr, Dt;
  double RPMfilt, TRQfilt, POTfilt;
  double Cislot, Cslot;  // the conditioned counts (Cslot after the three-sample mean)
  double TRQ0cnt, dTRQinst;
  double RPMinst, TRQinst, POTinst;  // after the zero-crossing filter
};

// Computes the quantities of the sample (C, S) that the conditioning handed
// on, stores them in the emitted arrays at the new ProgrCount and returns
// them; the caller writes the data line.
EmittedSample EmitSample(AnalysisRecord& r, double C, double S);

}  // namespace tz
