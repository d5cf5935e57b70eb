// The one record that every stage of a processing run reads and writes,
// grouped by stage: what the header said, what the user chose, what the run
// counted, the samples, the working state of the current sample, the display
// statistics, the spectrum, and the current source.
//
// The names are the measurement's own (the instrument's header keywords and
// the file columns). Glossary:
//   Cislot     counts of the counter clock between two slot passages of a disc
//   Cslot      counts across the torque pulse, between the passages of the two discs
//   Fmux       counter period: microseconds per count ("Counter period" in our files)
//   N_SLOT     slots per revolution;  A_SLOT slot angle in degrees
//   Perc_Slot  slot fraction (multiplies A_SLOT in the zero-torque count)
//   G          shear modulus (N/mm^2);  Rext, Rint shaft radii;  L shaft length (mm)
//   RPM        speed (rpm);  TRQ torque (N.m);  POT power (kW)
//   inst/filt  instantaneous value / its moving average (RPMinst, TRQfilt, ...)
//   TRQ0cnt    Cslot expected at zero torque;  dTRQinst Cslot minus TRQ0cnt
//   Progr      number of an emitted sample (1, 2, ...);  Tprogr its progressive time (s)
//   Dt         time since the previous emitted sample (s)
//   MovAvg, Ma moving average;  ZeroCross, Zc zero-crossing filter of the sense of rotation
//   Win        three-sample conditioning window;  RelDev relative change of Cislot
//   Raw / Arr  per raw sample line / per emitted sample arrays
//   Fc         sampling frequency of the emitted samples (Hz);  FFT_N points of the FFT
//   Fund       fundamental line of the spectrum;  DC the slope of the zero-frequency line
//   VBT        the instrument's file;  TDM time-domain and FDM frequency-domain analysis files
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
static_assert(kZeroCrossSlots >= kZeroCrossMax + 1 && kMovAvgSlots >= kMovAvgMax);
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

// The peak cleaning of the spectrum analysis reads and clears records up to
// this many places past the last line H - 1 (the three lines beside a peak,
// then one more); they are kept cleared.
constexpr int kLinesReadPastTheLast = 4;

// One spectral line: cleared lines have freq = mag = 0 and keep their line.
struct SpecLine {
  int32_t line;
  double freq;
  double mag;
};

// The measurement set-up from the input's header. Not cleared by a run: a
// run that stops inside the header leaves the later fields as they were.
struct HeaderParameters {
  double Fmux = 0, G = 0, Rext = 0, Rint = 0, L = 0, N_SLOT = 0, A_SLOT = 0;
  double Perc_Slot = 0, RPMmax = 0, PCoeff = 0, PDist = 0;
  char DateText[kDateTextSize] = {0};
  int DateLen = 0;  // bytes in DateText (the text may hold any byte)
  char TimeText[kTimeTextSize] = {0};
  int TimeLen = 0;
};

// What the user chose: the filter settings (header defaults until the user
// overrides them) and the FFT's window and source.
struct ProcessingSettings {
  double AllowedOvershoot = kDefaultOvershoot;
  int MovAvgLen = kDefaultMovAvgLen;
  int ZeroCrossLen = kDefaultZeroCrossLen;
  double RPMthreshold = 0;
  int UseFilterDefaults = 1;
  unsigned FixedFilterSettings = 0;  // FilterSettingBit mask
  FftSource FFTsource = FftSource::Torque;
  FftWindow FFTwindow = FftWindow::Hamming;
};

// What a run counted; reset at its start.
struct RunCounters {
  int32_t RawCount = 0;       // sample lines read (each with a comma, valid or not)
  int32_t FilteredCount = 0;  // samples rejected or replaced by the conditioning
  int32_t ProgrCount = 0;     // samples emitted
  uint64_t BytesRead = 0;
  int32_t DroppedSampleLines = 0;  // sample lines beyond the array capacity
};

// The samples of the last run: raw by line 0..RawCount-1, emitted by
// Progr 1..ProgrCount (element 0 is never written).
struct SampleArrays {
  double CislotRaw[kSampleCapacity];
  double CslotRaw[kSampleCapacity];
  double TprogrArr[kSampleCapacity];
  double RPMinstArr[kSampleCapacity];
  double RPMfiltArr[kSampleCapacity];
  double TRQfiltArr[kSampleCapacity];
  double POTfiltArr[kSampleCapacity];
};

// Working state carried from sample to sample: the conditioning window, the
// quantities of the current sample, the zero-crossing delay lines and the
// moving-average buffers. The last values remain after a run.
struct WorkingState {
  double CislotWin[3] = {0, 0, 0};  // [0] previous, [1] middle (emitted), [2] newest
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
};

// Extremes and means over the statistics range Progr = 2 x MovAvgLen ..
// ProgrCount-1, and the sampling frequency; read by the display and the FFT.
struct DisplayStatistics {
  double RPMfiltMax = 0, RPMfiltMin = 0, RPMinstMax = 0, RPMinstMin = 0;
  double TRQfiltMax = 0, TRQfiltMin = 0, POTfiltMax = 0, POTfiltMin = 0;
  double RPMfiltMean = 0, RPMinstMean = 0;
  double Fc = 0;
};

// The FFT of the last run: its input, output and frequency axis, and the
// results of the spectrum analysis.
struct SpectrumResults {
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
};

// The current source and output names, as the commands set them; every run
// and every settings dialog that reprocesses reads them here.
struct SourceFiles {
  InputKind SourceKind = InputKind::Vbt;
  std::string InputPath;
  std::string TdmPath;
  std::string FdmPath;
};

struct AnalysisRecord {
  HeaderParameters params;
  ProcessingSettings settings;
  RunCounters counters;
  SampleArrays samples;
  WorkingState work;
  DisplayStatistics stats;
  SpectrumResults spectrum;
  SourceFiles source;
};

struct AnalysisRecordDeleter {
  void operator()(AnalysisRecord* r) const;
};
using RecordPtr = std::unique_ptr<AnalysisRecord, AnalysisRecordDeleter>;

// Creates a record with its program-start values (all arrays zero).
RecordPtr NewAnalysisRecord();

// Brings the record back to its program-start values, the source names
// kept, clearing of each array only the part the last run can have written
// (its counts and FFT size say which): one record then serves many runs,
// each as if it were the first. Call it between runs, not after several.
void ClearLastRun(AnalysisRecord& r);

// Sets the spectrum's figures (its size, fundamental, DC end, floor, energy
// and symmetry errors) back to none; the arrays are left as they are.
void ClearSpectrumFigures(SpectrumResults& sp);

// Resets the run state at the start of a run: counters, time, sense of
// rotation, moving-average buffers and the conditioning windows.
void ResetRunState(AnalysisRecord& r);

// Bounds the two filter lengths to the ranges their buffers allow; a caller
// that stored an out-of-range length never makes a run overrun them.
void BoundFilterLengths(ProcessingSettings& settings);

// First Progr of the statistics range (and of the FFT input): the moving
// averages before it are still filling.
inline int StatisticsStart(const ProcessingSettings& settings) { return 2 * settings.MovAvgLen; }

// True when a header may set the given filter setting in this run.
inline bool HeaderSetsFilter(const ProcessingSettings& settings, unsigned bit) {
  return settings.UseFilterDefaults == 1 && (settings.FixedFilterSettings & bit) == 0;
}

}  // namespace tz
