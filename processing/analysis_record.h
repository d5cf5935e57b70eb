// The one record that every stage of a processing run reads and writes:
// measurement parameters, processing settings, run counters, raw and emitted
// sample arrays, display statistics and the frequency-analysis results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "processing/platform.h"

namespace tz {

class OutputFile;

constexpr int kSampleCapacity = 524288;     // raw and emitted sample arrays
constexpr int kMovAvgSlots = 200;           // moving-average buffers
constexpr int kZeroCrossSlots = 33;         // zero-crossing delay lines
constexpr int kDateTextSize = 32;           // 31 characters + terminating zero
constexpr int kTimeTextSize = 24;           // 23 characters + terminating zero
constexpr int kMaxSpectrumLines = kSampleCapacity / 2;
constexpr int kPathSize = 260;              // file-name buffers

// Value of pi used by the torque and power formulas (deliberately not full precision).
constexpr double PI_APPROX = 3.1415;

// Kind of the current source of a run.
enum SourceKindValue : int { kSourceVbt = 0, kSourceTdm = 1, kSourceFdm = 2 };

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

// Marks of how far the last run got; the batch command's summary uses them to
// tell computed values from values left over by an earlier run.
struct RunMarks {
  bool resetDone = false;         // counters were reset (run passed the size check)
  bool figuresFilled = false;     // statistics figures (the percentage text) were set
  bool statisticsDone = false;    // display statistics and Fc computed
  bool fftDone = false;           // the FFT ran (not refused)
  bool completed = false;         // the run reached its end
  char percentText[40] = {0};     // text of the filtered-percentage field
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
  double AllowedOvershoot = 0.1;
  int MovAvgLen = 10;
  int ZeroCrossLen = 4;
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

  // 9. Run resources (valid only during a run). The input file and the
  // progress and statistics dialogs belong to the run driver and the
  // platform; the record keeps what the stages write through.
  PlatformOps* platform = nullptr;
  OutputFile* hTdmFile = nullptr;
  OutputFile* hFdmFile = nullptr;
  Progress progress;
  RunMarks marks;

  // 10. Frequency analysis
  int32_t FFTsource = 3;
  int32_t FFTwindow = 1;
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

  // Current source and output names
  int SourceKind = kSourceVbt;
  char InputPath[kPathSize] = {0};
  char TdmPath[kPathSize] = {0};
  char FdmPath[kPathSize] = {0};
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

// True when a header may set the given filter setting in this run.
inline bool HeaderSetsFilter(const AnalysisRecord& r, unsigned bit) {
  return r.UseFilterDefaults == 1 && (r.FixedFilterSettings & bit) == 0;
}

}  // namespace tz
