// The one record that every stage of a processing run reads and writes:
// measurement parameters, processing settings, run counters, raw and emitted
// sample arrays, display statistics and the frequency-analysis results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "processing/codes.h"

namespace tz {

constexpr int kSampleCapacity = 524288;     // raw and emitted sample arrays
constexpr int kMovAvgSlots = kMovAvgMax;    // moving-average buffers
constexpr int kZeroCrossSlots = 33;         // zero-crossing delay lines (kZeroCrossMax + 1 used)
constexpr int kDateTextSize = 32;           // 31 characters + terminating zero
constexpr int kTimeTextSize = 24;           // 23 characters + terminating zero
constexpr int kMaxSpectrumLines = kSampleCapacity / 2;

// Value of pi used by the torque and power formulas (deliberately not full precision).
constexpr double PI_APPROX = 3.1415;

// Filter settings the user fixed for a run: a header (default or file value)
// never overwrites a setting whose bit is set, even while UseFilterDefaults is 1.
enum FilterSettingBit : unsigned {
  kFixOvershoot = 1u << 0,
  kFixMovAvg = 1u << 1,
  kFixThreshold = 1u << 2,
  kFixZeroCross = 1u << 3,
};

// One spectral line: cleared lines have freq = mag = 0 and keep their line.
struct SpecLine {
  int32_t line;
  double freq;
  double mag;
};

struct AnalysisRecord {
  // 1. Measurement parameters
  double Fmux = 0, G = 0, Rext = 0, Rint = 0, L = 0, N_SLOT = 0, A_SLOT = 0;
  double Perc_Slot = 0, RPMmax = 0, PCoeff = 0, PDist = 0;
  char DateText[kDateTextSize] = {0};
  int DateLen = 0;  // bytes in DateText (the text may hold any byte)
  char TimeText[kTimeTextSize] = {0};
  int TimeLen = 0;

  // 2. Processing settings
  double AllowedOvershoot = kDefaultOvershoot;
  int MovAvgLen = kDefaultMovAvgLen;
  int ZeroCrossLen = kDefaultZeroCrossLen;
  double RPMthreshold = 0;
  int UseFilterDefaults = 1;
  unsigned FixedFilterSettings = 0;  // FilterSettingBit mask

  // 4. Run counters
  int32_t RawCount = 0;
  int32_t FilteredCount = 0;
  int32_t ProgrCount = 0;
  uint64_t BytesRead = 0;
  int32_t DroppedSampleLines = 0;  // sample lines beyond the array capacity

  // 5. Raw sample arrays
  double CislotRaw[kSampleCapacity];
  double CslotRaw[kSampleCapacity];

  // 6. Emitted sample arrays, indexed by Progr 1..ProgrCount
  double TprogrArr[kSampleCapacity];
  double RPMinstArr[kSampleCapacity];
  double RPMfiltArr[kSampleCapacity];
  double TRQfiltArr[kSampleCapacity];
  double POTfiltArr[kSampleCapacity];

  // 7. Working values of the current sample
  double CislotWin[3] = {0, 0, 0};
  double CslotWin[3] = {0, 0, 0};
  double RelDev1 = 0, RelDev2 = 0;
  double Tprogr = 0, TprogrPrev = 0, Dt = 0;
  double RPM = 0, TRQ0cnt = 0, dTRQinst = 0;
  double RotSign = 1.0, RotSignPrev = 1.0;
  double RPMinst = 0, TRQinst = 0, POTinst = 0;
  double RPMfilt = 0, TRQfilt = 0, POTfilt = 0;
  double ZcRPM[kZeroCrossSlots] = {0};
  double ZcTRQ[kZeroCrossSlots] = {0};
  double ZcPOT[kZeroCrossSlots] = {0};
  double ZcSign[kZeroCrossSlots] = {0};
  double MaRPM[kMovAvgSlots] = {0};
  double MaTRQ[kMovAvgSlots] = {0};
  double MaPOT[kMovAvgSlots] = {0};

  // 8. Display statistics
  double RPMfiltMax = 0, RPMfiltMin = 0, RPMinstMax = 0, RPMinstMin = 0;
  double TRQfiltMax = 0, TRQfiltMin = 0, POTfiltMax = 0, POTfiltMin = 0;
  double RPMfiltMean = 0, RPMinstMean = 0;
  double Fc = 0;

  // 10. Frequency analysis
  FftSource FFTsource = FftSource::Torque;
  FftWindow FFTwindow = FftWindow::Hamming;
  int32_t FFT_N = 0;
  double FFTinRe[kSampleCapacity];
  double FFTinIm[kSampleCapacity];
  double SincKernel[kSampleCapacity];
  double FFTre[kSampleCapacity];
  double FFTim[kSampleCapacity];
  double FFTfreq[kSampleCapacity];
  int32_t FundLine = 0;
  double FundMag = 0;
  int32_t DCEndLine = 0;
  double FloorLevel = 0;
  SpecLine SpecLines[kSampleCapacity];
  SpecLine SpecLinesTmp[kSampleCapacity];
  int32_t PickOrder[kMaxSpectrumLines];  // scratch: candidate lines by falling magnitude
  double TotalEnergy = 0;
  double EvenSymErrRe = 0;
  double OddSymErrIm = 0;

  // Current source and output names, as the commands set them; every run and
  // every settings dialog that reprocesses reads them here.
  InputKind SourceKind = InputKind::Vbt;
  std::string InputPath;
  std::string TdmPath;
  std::string FdmPath;
};

struct AnalysisRecordDeleter {
  void operator()(AnalysisRecord* r) const;
};
using RecordPtr = std::unique_ptr<AnalysisRecord, AnalysisRecordDeleter>;

// Creates a record with its program-start values (all arrays zero).
RecordPtr NewAnalysisRecord();

// Resets the run state at the start of a run: counters, time, sense of
// rotation, moving-average buffers and the conditioning windows.
void ResetRunState(AnalysisRecord& r);

// Bounds the two filter lengths to the ranges their buffers allow; a caller
// that stored an out-of-range length never makes a run overrun them.
void BoundFilterLengths(AnalysisRecord& r);

// True when a header may set the given filter setting in this run.
inline bool HeaderSetsFilter(const AnalysisRecord& r, unsigned bit) {
  return r.UseFilterDefaults == 1 && (r.FixedFilterSettings & bit) == 0;
}

}  // namespace tz
