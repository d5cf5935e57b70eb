#include "processing/run.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "processing/analysis_record.h"
#include "processing/conditioning.h"
#include "processing/files.h"
#include "processing/format_sig10.h"
#include "processing/line_reader.h"
#include "processing/platform.h"
#include "processing/system_error.h"
#include "processing/tdm_writer.h"
#include "processing/vbt_reader.h"
#include "spectrum/fft_processor.h"

namespace tz {

const InputKind kVbtInput = {"VBT file Check", "VBT preprocessor", kVbtSampleState,
                             &ParseHeaderLine, &ParseSampleLine, true};

namespace {

constexpr char kLoadingText[] = "Loading input file ....";
constexpr char kTooManySamples[] = "Too many samples: only the first 524288 are processed.";
constexpr char kWriteFailure[] = "Output file write failure: the output files are incomplete.";

// Everything a run opened, released on every way out of the run.
class RunResources {
 public:
  RunResources(AnalysisRecord& r, PlatformOps& ops, const InputKind& kind)
      : r_(r), ops_(ops), kind_(kind) {}
  ~RunResources() { Finish(); }

  InputFile input;
  OutputFile tdm, fdm;
  bool progressDialog = false;
  bool toolbarShown = false;

  void ShowToolbar() {
    ops_.ShowToolbarProgress(true);
    toolbarShown = true;
  }
  void HideToolbar() {
    if (toolbarShown) ops_.ShowToolbarProgress(false);
    toolbarShown = false;
  }

  // A failed write is never passed over: report it once, with the file's error.
  bool WriteFailed() {
    if (writeFailureReported_) return true;
    OutputFile* failed = tdm.Failed() ? &tdm : fdm.Failed() ? &fdm : nullptr;
    if (failed == nullptr) return false;
    writeFailureReported_ = true;
    ReportSystemError(ops_, failed == &tdm ? "TDM file write failure" : "FDM file write failure",
                      failed->FailErrno());
    ops_.MessageBox(kind_.preprocessorCaption, kWriteFailure);
    return true;
  }

  // Clean-up of a run: progress display, files. False when a write failed.
  bool Finish() {
    if (finished_) return !writeFailureReported_;
    finished_ = true;
    HideToolbar();
    if (progressDialog) ops_.DestroyProgressDialog();
    progressDialog = false;
    r_.progress.SetDialog(false);
    input.Close();
    if (tdm.IsOpen()) tdm.Close();
    if (fdm.IsOpen()) fdm.Close();
    const bool ok = !WriteFailed();
    r_.hTdmFile = nullptr;
    r_.hFdmFile = nullptr;
    r_.progress.Bind(nullptr);
    return ok;
  }

 private:
  AnalysisRecord& r_;
  PlatformOps& ops_;
  const InputKind& kind_;
  bool finished_ = false;
  bool writeFailureReported_ = false;
};

// Opens the input and creates both outputs; an output that names the input,
// or both outputs naming one file, is refused like a failed creation.
bool OpenRunFiles(PlatformOps& ops, RunResources& res, const char* inputName,
                  const char* tdmName, const char* fdmName) {
  if (!res.input.Open(inputName)) {
    ReportSystemError(ops, "VBT File opening failure");
    return false;
  }
  if (PathIsFile(tdmName, res.input.Fd())) {
    ReportSystemError(ops, "FDM file creation failure", EBUSY);
    return false;
  }
  if (!res.tdm.Create(tdmName)) {
    ReportSystemError(ops, "FDM file creation failure");
    return false;
  }
  if (PathIsFile(fdmName, res.input.Fd()) || PathIsFile(fdmName, res.tdm.Fd())) {
    ReportSystemError(ops, "FDM file creation failure", EBUSY);
    return false;
  }
  if (!res.fdm.Create(fdmName)) {
    ReportSystemError(ops, "FDM file creation failure");
    return false;
  }
  return true;
}

// Fills the statistics figures; the dialog is shown only when samples were read.
void FillStatisticsFigures(AnalysisRecord& r, PlatformOps& ops, bool dialogExists) {
  FilteredPercentText(r, r.marks.percentText);
  r.marks.figuresFilled = true;
  if (!dialogExists) return;
  const std::string total = std::to_string(r.RawCount);
  const std::string filtered = std::to_string(r.FilteredCount);
  ops.SetStatisticsFields(total.c_str(), filtered.c_str(), r.marks.percentText);
  if (r.RawCount > 0) ops.ShowStatisticsDialog();
}

bool CreateStatisticsDialog(PlatformOps& ops) {
  if (ops.CreateStatisticsDialog()) return true;
  ReportSystemError(ops, "CreateDialog (Bad Dialog)");
  return false;
}

}  // namespace

const char* SizeCheckMessage(uint64_t size) {
  if (size >= 4294967296ull) return "File is too large to load.";
  if (size / 65536 > 65534) return "File is too large for buffer size.";
  return nullptr;
}

bool CheckInputSize(AnalysisRecord& r, InputFile& input, uint64_t* size) {
  if (!input.Size(size)) {
    ReportSystemError(*r.platform, "GetFileInformationByHandle");
    return false;
  }
  if (const char* msg = SizeCheckMessage(*size)) {
    r.platform->MessageBox("VBT File Loading Error", msg);
    return false;
  }
  return true;
}

void ComputeDisplayStatistics(AnalysisRecord& r) {
  const int s = 2 * r.MovAvgLen;
  const int count = r.ProgrCount - s;
  r.marks.statisticsDone = true;
  if (count <= 0) {
    // No sample in the statistics range: nothing to measure.
    r.RPMfiltMax = r.RPMfiltMin = r.RPMinstMax = r.RPMinstMin = 0;
    r.TRQfiltMax = r.TRQfiltMin = r.POTfiltMax = r.POTfiltMin = 0;
    r.RPMfiltMean = r.RPMinstMean = 0;
    r.Fc = 0;
    return;
  }
  r.RPMfiltMax = r.RPMfiltMin = r.RPMfiltArr[s];
  r.RPMinstMax = r.RPMinstMin = r.RPMinstArr[s];
  r.TRQfiltMax = r.TRQfiltMin = r.TRQfiltArr[s];
  r.POTfiltMax = r.POTfiltMin = r.POTfiltArr[s];
  double sumFilt = 0.0, sumInst = 0.0;
  for (int i = s; i < r.ProgrCount; ++i) {
    r.progress.Report(i, r.ProgrCount, "Calculating max/min for VDU output ....");
    if (r.RPMfiltArr[i] > r.RPMfiltMax) r.RPMfiltMax = r.RPMfiltArr[i];
    if (r.RPMfiltArr[i] < r.RPMfiltMin) r.RPMfiltMin = r.RPMfiltArr[i];
    if (r.RPMinstArr[i] > r.RPMinstMax) r.RPMinstMax = r.RPMinstArr[i];
    if (r.RPMinstArr[i] < r.RPMinstMin) r.RPMinstMin = r.RPMinstArr[i];
    if (r.TRQfiltArr[i] > r.TRQfiltMax) r.TRQfiltMax = r.TRQfiltArr[i];
    if (r.TRQfiltArr[i] < r.TRQfiltMin) r.TRQfiltMin = r.TRQfiltArr[i];
    if (r.POTfiltArr[i] > r.POTfiltMax) r.POTfiltMax = r.POTfiltArr[i];
    if (r.POTfiltArr[i] < r.POTfiltMin) r.POTfiltMin = r.POTfiltArr[i];
    sumFilt = sumFilt + r.RPMfiltArr[i];
    sumInst = sumInst + r.RPMinstArr[i];
  }
  r.RPMfiltMean = sumFilt / count;
  r.RPMinstMean = sumInst / count;
  r.Fc = r.RPMfiltMean * r.N_SLOT * 0.016666666666666666;
}

void CheckSpeedVariation(AnalysisRecord& r) {
  if (r.ProgrCount - 2 * r.MovAvgLen <= 0) return;
  const double fm = r.RPMfiltMean, im = r.RPMinstMean;
  if (std::fabs((r.RPMfiltMax - fm) / fm) > 0.02 || std::fabs((fm - r.RPMfiltMin) / fm) > 0.02)
    r.platform->MessageBox("VBT preprocessor",
                           "Alarm: Filtered RPM variation too high (>2%). FFT not reliable!");
  if (std::fabs((r.RPMinstMax - im) / im) > 0.06 || std::fabs((im - r.RPMinstMin) / im) > 0.06)
    r.platform->MessageBox("VBT preprocessor",
                           "Warning: Unfiltered RPM variation too high (> 6%). FFT not reliable!");
}

void FilteredPercentText(const AnalysisRecord& r, char* out) {
  if (r.RawCount > 0) {
    FormatSig10(static_cast<double>(r.FilteredCount) / r.RawCount * 100, out, 6);
  } else {
    std::memcpy(out, "0.000", 6);
  }
}

bool ProcessInput(AnalysisRecord& r, PlatformOps& ops, const InputKind& kind,
                  const char* inputName, const char* tdmName, const char* fdmName) {
  r.platform = &ops;
  r.marks = RunMarks();
  r.progress.Bind(&ops);
  RunResources res(r, ops, kind);

  // 1. Input and outputs.
  if (!OpenRunFiles(ops, res, inputName, tdmName, fdmName)) return false;
  r.hTdmFile = &res.tdm;
  r.hFdmFile = &res.fdm;

  // 2-3. Progress display and size check.
  uint64_t size = 0;
  bool statisticsDialog = false;
  if (kind.fromInstrument) {
    res.progressDialog = ops.CreateProgressDialog();
    if (!res.progressDialog) ReportSystemError(ops, "CreateDialog (Progress Dialog)");
    r.progress.SetDialog(res.progressDialog);
    if (!CheckInputSize(r, res.input, &size)) return false;
    r.progress.Position(0);
    r.progress.Text(kLoadingText);
    if (res.progressDialog) ops.ShowProgressDialog();
    res.ShowToolbar();
  } else {
    res.ShowToolbar();
    if (!CheckInputSize(r, res.input, &size)) return false;
    r.progress.Position(0);
  }

  // 4. Run state.
  ResetRunState(r);
  r.marks.resetDone = true;
  if (!kind.fromInstrument) statisticsDialog = CreateStatisticsDialog(ops);

  // 5. Reading.
  LineReader reader(res.input);
  int state = 0;
  while (reader.ReadLine(r.BytesRead)) {
    const char* line = reader.Line();
    const size_t len = reader.Length();
    if (state == kind.sampleState) {
      const double bytes = static_cast<double>(r.BytesRead);
      if (kind.fromInstrument) {
        r.progress.Position(Progress::Percent(bytes, static_cast<double>(size)));
        r.progress.Text(kLoadingText);
      } else {
        r.progress.Position(Progress::Truncate(100.0 * bytes / static_cast<double>(size)));
      }
      uint32_t c, s;
      if (kind.parseSample(line, len, &c, &s)) {
        if (r.RawCount < kSampleCapacity) {
          r.CislotRaw[r.RawCount] = c;
          r.CslotRaw[r.RawCount] = s;
          ++r.RawCount;
          ConditionSample(r, c, s, r.RawCount);
        } else {
          ++r.DroppedSampleLines;  // beyond the arrays: neither stored nor counted
        }
      }
    }
    state = kind.parseHeader(r, line, len, state);
    if (state == kHeaderAbort) return false;
    if (res.WriteFailed()) return false;
  }

  // 6. End of input.
  if (r.DroppedSampleLines > 0) ops.MessageBox(kind.preprocessorCaption, kTooManySamples);
  if (!kind.fromInstrument) {
    FillStatisticsFigures(r, ops, statisticsDialog);
    res.HideToolbar();
  }
  if (state < kind.sampleState) {
    ops.MessageBox(kind.preprocessorCaption, "Header invalid or not found!");
    res.Finish();
    return false;
  }
  if (r.RawCount == 0) {
    ops.MessageBox(kind.preprocessorCaption, "No sample found!");
    res.Finish();
    return false;
  }

  // 7. TDM tail.
  WriteTdmTail(r);
  if (res.WriteFailed()) return false;

  // 8-9. Display statistics and sampling frequency.
  ComputeDisplayStatistics(r);

  // 10-11. Frequency analysis and speed-variation warnings (the readers of
  // output files warn before the FFT).
  if (!kind.fromInstrument) CheckSpeedVariation(r);
  RunFftProcessor(r);
  if (res.WriteFailed()) return false;
  if (kind.fromInstrument) CheckSpeedVariation(r);

  // 12. Statistics figures.
  if (kind.fromInstrument) {
    statisticsDialog = CreateStatisticsDialog(ops);
    FillStatisticsFigures(r, ops, statisticsDialog);
    res.HideToolbar();
  }

  // 13. Clean-up; the outputs are flushed here, so a late write failure still counts.
  if (!res.Finish()) return false;
  r.marks.completed = true;
  return true;
}

bool ProcessVbtFile(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                    const char* tdmName, const char* fdmName) {
  return ProcessInput(r, ops, kVbtInput, inputName, tdmName, fdmName);
}

}  // namespace tz
