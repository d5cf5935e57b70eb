#include "run/process_input.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>

#include "processing/analysis_record.h"
#include "processing/files.h"
#include "processing/format_pipeline.h"
#include "processing/line_reader.h"
#include "processing/sample_step.h"
#include "processing/system_error.h"
#include "processing/tdm_writer.h"
#include "processing/vbt_reader.h"
#include "run/input_format.h"
#include "run/statistics.h"
#include "spectrum/fft_processor.h"
#include "spectrum/spectrum_analysis.h"

namespace tz {

namespace {

constexpr char kLoadingText[] = "Loading input file ....";
constexpr char kTooManySamples[] = "Too many samples: only the first 524288 are processed.";
constexpr char kWriteFailure[] = "Output file write failure: no output file was replaced.";
constexpr char kStrandedWriteFailure[] =
    "Output file write failure: the TDM file was replaced, and the earlier one could not be put "
    "back: it is kept as \"";
constexpr char kReadFailure[] = "Input file read failure: the run is abandoned.";
// A stream (a pipe, a device) is refused once it has given as many bytes as
// the largest file the size check lets through.
constexpr uint64_t kStreamByteLimit = 4294901760ull;
// ReadInput: the run must end at once (an aborting header, a failed read or write).
constexpr int kRunAbandoned = -1;

// Everything a run opened, released on every way out of the run.
class RunResources {
 public:
  RunResources(RunContext& run, const InputFormat& format) : run_(run), format_(format) {}
  ~RunResources() { Finish(); }

  InputFile input;
  OutputFile tdm, fdm;
  FormatPipeline pipeline;  // the outputs' text; gone before they close
  bool progressDialog = false;
  bool toolbarShown = false;

  void ShowToolbar() {
    run_.ops.ShowToolbarProgress(true);
    toolbarShown = true;
  }
  void HideToolbar() {
    if (toolbarShown) run_.ops.ShowToolbarProgress(false);
    toolbarShown = false;
  }

  // A failed write is never passed over: report it once, with the file's error.
  bool WriteFailed() {
    if (writeFailureReported_) return true;
    OutputFile* failed = tdm.Failed() ? &tdm : fdm.Failed() ? &fdm : nullptr;
    if (failed == nullptr) return false;
    writeFailureReported_ = true;
    ReportSystemError(run_.ops,
                      failed == &tdm ? "TDM file write failure" : "FDM file write failure",
                      failed->FailErrno());
    // Only when the earlier TDM could not be put back is one replaced: the
    // message says so, and where the earlier one is.
    const std::string& stranded = tdm.StrandedEarlier();
    const std::string text =
        stranded.empty() ? std::string(kWriteFailure)
                         : kStrandedWriteFailure + stranded + "\".";
    run_.ops.ShowMessage(format_.preprocessorCaption, text.c_str());
    return true;
  }

  // Clean-up of a run: progress display, files. A run that reached its end
  // (keep) replaces the outputs' files, any other leaves them as they were.
  // False when a write or the replacing failed.
  bool Finish(bool keep = false) {
    if (finished_) return !writeFailureReported_;
    finished_ = true;
    // What is not in the files yet is dropped (a run that reached its end
    // has written everything); nothing touches them after this.
    pipeline.Stop();
    run_.pipeline = nullptr;
    HideToolbar();
    if (progressDialog) run_.ops.DestroyProgressDialog();
    progressDialog = false;
    run_.progress.SetDialog(false);
    input.Close();
    // Both written whole before either replaces its file, and both replace
    // theirs or neither does.
    if (keep && !tdm.Failed() && !fdm.Failed()) CommitOutputs(tdm, fdm);
    tdm.Abandon();
    fdm.Abandon();
    const bool ok = !WriteFailed();
    run_.tdm = nullptr;
    run_.fdm = nullptr;
    run_.progress.Bind(nullptr);
    return ok;
  }

 private:
  RunContext& run_;
  const InputFormat& format_;
  bool finished_ = false;
  bool writeFailureReported_ = false;
};

// Opens the input and creates both outputs; an output that names the input,
// or both outputs naming one file (existing or not), is refused like a
// failed creation.
bool OpenRunFiles(RunContext& run, RunResources& res, const char* inputName,
                  const char* tdmName, const char* fdmName) {
  PlatformOps& ops = run.ops;
  if (!res.input.Open(inputName)) {
    ReportSystemError(ops, "VBT File opening failure");
    return false;
  }
  // The input named as an output is refused before it is opened for writing.
  const FileId input = IdOfFd(res.input.Fd());
  auto namesInput = [&](const char* path) {
    const FileId named = IdOfPath(path);
    return named.regular && input.regular && named == input;
  };
  auto refused = [&] {
    ReportSystemError(ops, "FDM file creation failure", EBUSY);
    return false;
  };
  auto created = [&](OutputFile& file, const char* name) {
    if (file.Create(name, OutputFile::Mode::Replace)) return true;
    ReportSystemError(ops, "FDM file creation failure");
    return false;
  };
  if (namesInput(tdmName)) return refused();
  if (!created(res.tdm, tdmName)) return false;
  if (res.tdm.Names(input) || namesInput(fdmName)) return refused();
  if (!created(res.fdm, fdmName)) return false;
  // The rule is about files: two outputs on one device (/dev/null) are fine.
  if (res.fdm.Names(input) || res.fdm.SameFileAs(res.tdm)) return refused();
  run.tdm = &res.tdm;
  run.fdm = &res.fdm;
  run.pipeline = &res.pipeline;
  return true;
}

// Size check of an input: false (after its report) when the file is refused.
bool CheckInputSize(RunContext& run, InputFile& input, uint64_t* size) {
  if (!input.Size(size)) {
    ReportSystemError(run.ops, "GetFileInformationByHandle");
    return false;
  }
  if (const char* msg = SizeCheckMessage(*size)) {
    run.ops.ShowMessage("VBT File Loading Error", msg);
    return false;
  }
  return true;
}

// Shows the progress display of the input's kind and checks the input's
// size: the instrument's file gets the progress dialog before the check, an
// earlier run's output only the toolbar bar. False when the input is refused.
bool StartProgress(RunContext& run, RunResources& res, const InputFormat& format,
                   uint64_t* size) {
  if (format.fromInstrument) {
    res.progressDialog = run.ops.CreateProgressDialog();
    if (!res.progressDialog) ReportSystemError(run.ops, "CreateDialog (Progress Dialog)");
    run.progress.SetDialog(res.progressDialog);
    if (!CheckInputSize(run, res.input, size)) return false;
    run.progress.Position(0);
    run.progress.Text(kLoadingText);
    if (res.progressDialog) run.ops.ShowProgressDialog();
    res.ShowToolbar();
  } else {
    res.ShowToolbar();
    if (!CheckInputSize(run, res.input, size)) return false;
    run.progress.Position(0);
  }
  return true;
}

bool CreateStatisticsDialog(PlatformOps& ops) {
  if (ops.CreateStatisticsDialog()) return true;
  ReportSystemError(ops, "CreateDialog (Bad Dialog)");
  return false;
}

// Fills the statistics figures; the dialog is shown only when samples were read.
void FillStatisticsFigures(const AnalysisRecord& r, RunContext& run, bool dialogExists) {
  FilteredPercentText(r, run.marks.percentText);
  run.marks.figuresFilled = true;
  if (!dialogExists) return;
  const std::string total = std::to_string(r.counters.RawCount);
  const std::string filtered = std::to_string(r.counters.FilteredCount);
  run.ops.SetStatisticsFields(total.c_str(), filtered.c_str(), run.marks.percentText);
  if (r.counters.RawCount > 0) run.ops.ShowStatisticsDialog();
}

// Progress of the reading, by the bytes read so far.
void ReportReading(RunContext& run, const InputFormat& format, const AnalysisRecord& r,
                   uint64_t size) {
  const double bytes = static_cast<double>(r.counters.BytesRead);
  if (format.fromInstrument) {
    run.progress.Position(Progress::Percent(bytes, static_cast<double>(size)));
    run.progress.Text(kLoadingText);
  } else {
    run.progress.Position(Progress::Truncate(100.0 * bytes / static_cast<double>(size)));
  }
}

// The worker maps the pages of the record the run will write soon, while
// the run's thread reads the input: the sample arrays some lines ahead, and
// the FFT's arrays as far as the samples emitted so far make sure they will
// be written (first touches of fresh memory cost this machine more than
// the writes themselves).
class PagesAhead {
 public:
  explicit PagesAhead(FormatPipeline& out) : out_(out) {}
  // At every kStep raw samples.
  void Update(const AnalysisRecord& r) {
    if (r.counters.RawCount >= next_) Ahead(r);
  }

 private:
  static constexpr int32_t kStep = 16384, kAhead = 65536;
  template <typename T>
  void Map(const T* array, int32_t from, int32_t to) {
    if (to > from) out_.Prefault(array + from, static_cast<size_t>(to - from) * sizeof(T));
  }
  void Ahead(const AnalysisRecord& r);

  FormatPipeline& out_;
  int32_t next_ = kStep, raw_ = 0, emitted_ = 0, loaded_ = 0, points_ = 0;
};

void PagesAhead::Ahead(const AnalysisRecord& r) {
  next_ = r.counters.RawCount + kStep;
  const SampleArrays& a = r.samples;
  const int32_t raw = std::min(r.counters.RawCount + kAhead, kSampleCapacity);
  for (const double* x : {a.CislotRaw, a.CslotRaw}) Map(x, raw_, raw);
  raw_ = raw;
  const int32_t emitted = std::min(r.counters.ProgrCount + 1 + kAhead, kSampleCapacity);
  for (const double* x : {a.TprogrArr, a.RPMinstArr, a.RPMfiltArr, a.TRQfiltArr, a.POTfiltArr})
    Map(x, emitted_, emitted);
  emitted_ = emitted;
  // The FFT loads at least this many points, and transforms at least the
  // largest power of two below it.
  const SpectrumResults& sp = r.spectrum;
  const int32_t count = r.counters.ProgrCount - StatisticsStart(r.settings);
  if (count <= 2) return;
  Map(sp.FFTinRe, loaded_, count);
  Map(sp.FFTinIm, loaded_, count);
  loaded_ = count;
  const int32_t n = static_cast<int32_t>(std::bit_floor(static_cast<uint32_t>(count - 1)));
  if (n <= points_) return;
  if (r.settings.FFTwindow != FftWindow::FlatTop) Map(sp.SincKernel, points_, n - 1);
  for (const double* x : {sp.FFTre, sp.FFTim, sp.FFTfreq}) Map(x, points_, n);
  Map(sp.SpecLines, points_ / 2, n / 2 + kLinesReadPastTheLast);
  Map(sp.SpecLinesTmp, points_ / 2, n / 2);
  points_ = n;
}

// The sample of one sample line that the time domain emits, if any.
std::optional<EmittedSample> TakeSampleLine(AnalysisRecord& r, const InputFormat& format,
                                            const char* line, size_t len) {
  uint32_t c, s;
  if (!format.parseSample(line, len, &c, &s)) return std::nullopt;
  return TakeSample(r, c, s);
}

// Reads the input line by line: each sample line through the time domain
// into a TDM data line, each line through the header state machine, whose
// complete header is written at once. Returns the final header state, or
// kRunAbandoned.
int ReadInput(AnalysisRecord& r, RunContext& run, RunResources& res, const InputFormat& format,
              uint64_t size) {
  LineReader reader(res.input);
  const bool stream = !res.input.Regular();
  if (stream) reader.SetByteLimit(kStreamByteLimit);
  PagesAhead pages(res.pipeline);
  int state = 0;
  while (reader.ReadLine(r.counters.BytesRead)) {
    const char* line = reader.Line();
    const size_t len = reader.Length();
    if (state == format.sampleState) {
      ReportReading(run, format, r, size);
      if (const auto sample = TakeSampleLine(r, format, line, len)) WriteDataLine(run, *sample);
      pages.Update(r);
    }
    const HeaderStep step = format.parseHeader(r.params, r.settings, line, len, state);
    if (step.event == HeaderEvent::CounterPeriodMissing) {
      run.ops.ShowMessage(format.checkCaption, kCounterPeriodMissing);
      return kRunAbandoned;
    }
    if (step.event == HeaderEvent::Complete) WriteHeaderBlocks(r, run);
    state = step.state;
    if (res.WriteFailed()) return kRunAbandoned;
  }
  if (res.input.ReadFailed()) {
    ReportSystemError(run.ops, "Input file read failure", res.input.ReadErrno());
    run.ops.ShowMessage(format.preprocessorCaption, kReadFailure);
    return kRunAbandoned;
  }
  if (reader.LimitReached()) {
    run.ops.ShowMessage("VBT File Loading Error", SizeCheckMessage(kStreamByteLimit));
    return kRunAbandoned;
  }
  return state;
}

// The end of the input: the capacity message, the figures of an earlier
// run's output, and the checks that the input had a header and samples.
bool CheckEndOfInput(AnalysisRecord& r, RunContext& run, RunResources& res,
                     const InputFormat& format, int state, bool statisticsDialog) {
  PlatformOps& ops = run.ops;
  if (r.counters.DroppedSampleLines > 0)
    ops.ShowMessage(format.preprocessorCaption, kTooManySamples);
  if (!format.fromInstrument) {
    FillStatisticsFigures(r, run, statisticsDialog);
    res.HideToolbar();
  }
  if (state < format.sampleState) {
    ops.ShowMessage(format.preprocessorCaption, "Header invalid or not found!");
    res.Finish();
    return false;
  }
  if (r.counters.RawCount == 0) {
    ops.ShowMessage(format.preprocessorCaption, "No sample found!");
    res.Finish();
    return false;
  }
  return true;
}

// The TDM tail, the display statistics and the frequency analysis with the
// speed-variation warnings (an earlier run's output warns before the FFT).
// The tail's text is made while the statistics and the FFT are computed; a
// write that fails is reported at the next check after it.
bool WriteResults(AnalysisRecord& r, RunContext& run, RunResources& res,
                  const InputFormat& format) {
  WriteTdmTail(r, run);
  if (res.WriteFailed()) return false;
  ComputeDisplayStatistics(r, run);
  if (!format.fromInstrument) CheckSpeedVariation(r, run.ops);
  RunFftProcessor(r, run);
  if (res.WriteFailed()) return false;
  if (format.fromInstrument) CheckSpeedVariation(r, run.ops);
  return true;
}

}  // namespace

const char* SizeCheckMessage(uint64_t size) {
  // Sizes the instrument's file format was never meant to reach: 4 GiB, and
  // 65,535 blocks of 64 KiB.
  constexpr uint64_t kLoadLimit = uint64_t{1} << 32;
  constexpr uint64_t kBufferBlock = 65536, kMaxBufferBlocks = 65534;
  static_assert(kStreamByteLimit == (kMaxBufferBlocks + 1) * kBufferBlock);
  if (size >= kLoadLimit) return "File is too large to load.";
  if (size / kBufferBlock > kMaxBufferBlocks) return "File is too large for buffer size.";
  return nullptr;
}

RunMarks ProcessInput(AnalysisRecord& r, PlatformOps& ops, const InputFormat& format,
                      const char* inputName, const char* tdmName, const char* fdmName) {
  RunContext run(ops);
  RunResources res(run, format);
  if (!OpenRunFiles(run, res, inputName, tdmName, fdmName)) return run.marks;

  uint64_t size = 0;
  if (!StartProgress(run, res, format, &size)) return run.marks;

  ResetRunState(r);
  BoundFilterLengths(r.settings);
  run.marks.resetDone = true;
  bool statisticsDialog = false;
  if (!format.fromInstrument) statisticsDialog = CreateStatisticsDialog(ops);

  int state;
  {
    // The data lines are formatted beside the reading; all are in the TDM
    // output before the end of the input is judged.
    DataLines lines(res.pipeline, res.tdm);
    run.tdmLines = &lines;
    state = ReadInput(r, run, res, format, size);
    lines.Hand();
    run.tdmLines = nullptr;
  }
  if (state == kRunAbandoned) return run.marks;
  res.pipeline.Drain();
  if (res.WriteFailed()) return run.marks;
  if (!CheckEndOfInput(r, run, res, format, state, statisticsDialog)) return run.marks;
  if (!WriteResults(r, run, res, format)) return run.marks;

  if (format.fromInstrument) {
    statisticsDialog = CreateStatisticsDialog(ops);
    FillStatisticsFigures(r, run, statisticsDialog);
    res.HideToolbar();
  }

  // The outputs are flushed on closing, so a late write failure still counts.
  if (!res.Finish(true)) return run.marks;
  run.marks.completed = true;
  return run.marks;
}

RunMarks ProcessVbtFile(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                        const char* tdmName, const char* fdmName) {
  return ProcessInput(r, ops, kVbtInput, inputName, tdmName, fdmName);
}

RunMarks ProcessTdmFile(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                        const char* tdmName, const char* fdmName) {
  return ProcessInput(r, ops, kTdmInput, inputName, tdmName, fdmName);
}

RunMarks ProcessFdmFile(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                        const char* tdmName, const char* fdmName) {
  return ProcessInput(r, ops, kFdmInput, inputName, tdmName, fdmName);
}

}  // namespace tz
