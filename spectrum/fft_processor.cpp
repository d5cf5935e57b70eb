#include "spectrum/fft_processor.h"

#include <optional>
#include <vector>

#include "processing/analysis_record.h"
#include "processing/files.h"
#include "processing/format_pipeline.h"
#include "processing/format_sig10.h"
#include "processing/line_buffer.h"
#include "processing/run_context.h"
#include "processing/tdm_writer.h"
#include "spectrum/fft.h"
#include "spectrum/fft_input.h"
#include "spectrum/spectrum_analysis.h"

namespace tz {

namespace {

// The transform's steps as the run's progress, under the texts of each step.
class FftProgress : public FftObserver {
 public:
  explicit FftProgress(Progress& progress) : progress_(progress) {}
  void Step(FftStep step, int done, int total) override {
    const char* text = step == FftStep::BitReversal ? "Bit reversing of FFT array ...."
                       : step == FftStep::Stage     ? "Calculating FFT ...."
                                                    : "Calculating FFT coefficients ....";
    progress_.Report(done, total, text);
  }

 private:
  Progress& progress_;
};

// Line k of the spectrum lies at k x (Fc / N) Hz.
void FillFrequencyAxis(SpectrumResults& sp, double Fc) {
  const int n = sp.FFT_N;
  const int nf = n < kSampleCapacity ? n : kSampleCapacity;
  for (int k = 0; k < nf; ++k) sp.FFTfreq[k] = k * (Fc / n);
}

// The forward transform of the weighted input and the fundamental: all the
// spectrum rows of the FDM file need.
void Transform(SpectrumResults& sp, double Fc, Progress& progress) {
  FftProgress observer(progress);
  fft_float(static_cast<uint32_t>(sp.FFT_N), FftDirection::Forward, sp.FFTinRe, sp.FFTinIm,
            sp.FFTre, sp.FFTim, &observer);
  FillFrequencyAxis(sp, Fc);
  FindFundamental(sp);
}

// The other three analyses, which read the transform and write results the
// rows do not use.
void Analyse(SpectrumResults& sp, double Fc, Progress& progress) {
  AnalyseSpectrum(sp, Fc, progress);
  ParsevalEnergy(sp);
  SymmetryErrors(sp);
}

// What the spectrum rows read: the transform (which stays as it is until
// the rows are written), the line spacing and the fundamental.
struct SpectrumRows {
  const SpectrumResults* sp;
  double step;  // Fc / N
  int32_t fundLine;
};

// Rows per job, and the longest: line, frequency, magnitude and a note.
constexpr int32_t kRowsPerJob = 8192;
constexpr size_t kMaxNote = sizeof "Armonic n " - 1 + kSig10MaxLength;
constexpr size_t kMaxRow = 3 * kSig10MaxLength + 3 * 2 + kMaxNote + 2;
static_assert(kRowsPerJob * kMaxRow + kSig10Size <= FormatPipeline::kChunkBytes);

size_t FormatSpectrumRows(const FormatJob& job, char* out, char* end) {
  const SpectrumRows& rows = *static_cast<const SpectrumRows*>(job.data);
  TextWriter b(out, end);
  for (int32_t k = job.from; k < job.to; ++k) {
    b.Int(k).Sep().Plain(k * rows.step).Sep().Plain(LineMagnitude(*rows.sp, k)).Sep();
    if (k == rows.fundLine)
      b.Text("Fundamental");
    else if (rows.fundLine != 0 && k != 0 && k % rows.fundLine == 0)
      b.Text("Armonic n ").Int(k / rows.fundLine);  // the file's own spelling
    b.End();
  }
  return b.Length();
}

// The rows of lines k = 0 .. N/2 - 1, queued to the FDM output.
std::vector<QueuedLines> QueueSpectrumRows(const SpectrumRows& rows, FormatPipeline& out,
                                           OutputFile& f) {
  std::vector<QueuedLines> jobs;
  const int32_t H = rows.sp->FFT_N / 2;
  for (int32_t from = 0; from < H; from += kRowsPerJob) {
    const int32_t to = H - from > kRowsPerJob ? from + kRowsPerJob : H;
    jobs.push_back({out.Queue(f, FormatJob{FormatSpectrumRows, &rows, from, to}), from, to});
  }
  return jobs;
}

// The FFT section's lines before the rows.
void QueueFftSectionHead(const AnalysisRecord& r, FormatPipeline& out, OutputFile& f) {
  char head[1024];
  TextWriter b(head, head + sizeof head);
  b.Text(kFftSectionTitle).End();
  b.Text(kFftSamplingFreq).Text(" ").Plain(r.stats.Fc).End();
  b.Text(kFftSamplesNumber).Text(" ").Int(r.spectrum.FFT_N).End();
  b.Text(InfoOf(r.settings.FFTwindow).fdmLine).Text(" ").End();
  b.Text(InfoOf(r.settings.FFTsource).fdmLine).Text(" ").End();
  b.End();
  b.Text(kFftColumnLine).End();
  out.QueueText(f, head, b.Length());
}

void ClearSpectrumResults(SpectrumResults& sp) {
  // No line is picked: clear the records an earlier run left, with the few
  // past the last line that the peak cleaning reads.
  const int used = sp.FFT_N / 2 + kLinesReadPastTheLast;
  for (int i = 0; i < used && i < kSampleCapacity; ++i) sp.SpecLines[i] = SpecLine{0, 0, 0};
  ClearSpectrumFigures(sp);
}

}  // namespace

// The rows of the FFT section and the raw lines of the input data section
// are formatted beside the spectrum analysis: they need only the transform
// and the fundamental. Their progress follows the analysis's, as the rows
// reach the file.
void RunFftProcessor(AnalysisRecord& r, RunContext& run) {
  std::optional<FormatPipeline> own;
  FormatPipeline& out = PipelineOf(run, own);
  OutputFile& f = *run.fdm;
  SpectrumResults& sp = r.spectrum;
  const int count = LoadFftInput(r, run.progress);
  // No transform of at least two points exists for so short an input.
  const bool refused = count <= 2;
  if (refused) {
    ClearSpectrumResults(sp);
    run.ops.ShowMessage("FFT processor", "Too few samples for the FFT");
  } else {
    ChooseFftSize(sp, count);
    WeightFftInput(sp, r.settings.FFTwindow, run.progress);
  }
  QueueFftSectionHead(r, out, f);
  // The rows read `rows` until they are written: on a way out by an
  // exception the jobs not begun are dropped and the others waited for.
  SpectrumRows rows{&sp, 0, 0};
  struct DropOnThrow {
    FormatPipeline& out;
    bool done = false;
    ~DropOnThrow() {
      if (!done) out.Cancel();
    }
  } guard{out};
  std::vector<QueuedLines> rowJobs;
  if (!refused) {
    Transform(sp, r.stats.Fc, run.progress);
    rows.step = r.stats.Fc / sp.FFT_N;
    rows.fundLine = sp.FundLine;
    rowJobs = QueueSpectrumRows(rows, out, f);
  }
  char marks[128];
  TextWriter b(marks, marks + sizeof marks);
  // FFT end marker, then the input data section: every raw sample, rejected
  // ones included.
  b.Text(kFftEndMarker).End().End().Text(kRawSectionTitle).End();
  out.QueueText(f, marks, b.Length());
  const std::vector<QueuedLines> rawJobs = QueueRawLines(r, out, f);

  if (!refused) {
    Analyse(sp, r.stats.Fc, run.progress);
    run.marks.fftDone = true;
    ReportWhenWritten(out, run.progress, rowJobs, sp.FFT_N / 2, "Generating FDM output file  ....");
  }
  ReportWhenWritten(out, run.progress, rawJobs, r.counters.RawCount,
                    "Appending input file to FDM output file  ....");
  out.Drain();
  guard.done = true;

  if (!refused && sp.FundLine == 0)
    run.ops.ShowMessage("FFT processor", "Can't determine fundamental frequency");
}

}  // namespace tz
