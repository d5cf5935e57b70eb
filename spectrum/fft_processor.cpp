#include "spectrum/fft_processor.h"

#include "processing/analysis_record.h"
#include "processing/files.h"
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

// The forward transform of the weighted input and its four analyses.
void TransformAndAnalyse(SpectrumResults& sp, double Fc, Progress& progress) {
  FftProgress observer(progress);
  fft_float(static_cast<uint32_t>(sp.FFT_N), FftDirection::Forward, sp.FFTinRe, sp.FFTinIm,
            sp.FFTre, sp.FFTim, &observer);
  FillFrequencyAxis(sp, Fc);
  FindFundamental(sp);
  AnalyseSpectrum(sp, Fc, progress);
  ParsevalEnergy(sp);
  SymmetryErrors(sp);
}

void WriteSpectrumRows(const AnalysisRecord& r, Progress& progress, OutputFile& f) {
  const SpectrumResults& sp = r.spectrum;
  const int N = sp.FFT_N;
  const int H = N / 2;
  const double step = r.stats.Fc / N;
  LineBuffer b;
  for (int k = 0; k < H; ++k) {
    progress.Report(k, H, "Generating FDM output file  ....");
    b.Int(k).Sep().Plain(k * step).Sep().Plain(LineMagnitude(sp, k)).Sep();
    if (k == sp.FundLine)
      b.Text("Fundamental");
    else if (sp.FundLine != 0 && k != 0 && k % sp.FundLine == 0)
      b.Text("Armonic n ").Int(k / sp.FundLine);  // the file's own spelling
    b.End().WriteTo(f);
  }
}

void ClearSpectrumResults(SpectrumResults& sp) {
  // No line is picked: clear the records an earlier run left, with the few
  // past the last line that the peak cleaning reads.
  const int used = sp.FFT_N / 2 + kLinesReadPastTheLast;
  for (int i = 0; i < used && i < kSampleCapacity; ++i) sp.SpecLines[i] = SpecLine{0, 0, 0};
  sp.FFT_N = 0;
  sp.FundLine = 0;
  sp.FundMag = 0;
  sp.DCEndLine = 0;
  sp.FloorLevel = 0;
  sp.TotalEnergy = 0;
  sp.EvenSymErrRe = 0;
  sp.OddSymErrIm = 0;
}

}  // namespace

void RunFftProcessor(AnalysisRecord& r, RunContext& run) {
  OutputFile& f = *run.fdm;
  const int count = LoadFftInput(r, run.progress);
  bool refused = false;
  if (count <= 2) {
    // No transform of at least two points exists for so short an input.
    refused = true;
    ClearSpectrumResults(r.spectrum);
    run.ops.ShowMessage("FFT processor", "Too few samples for the FFT");
  } else {
    ChooseFftSize(r.spectrum, count);
    WeightFftInput(r.spectrum, r.settings.FFTwindow, run.progress);
    TransformAndAnalyse(r.spectrum, r.stats.Fc, run.progress);
    run.marks.fftDone = true;
  }

  // FFT section.
  LineBuffer b;
  b.Text(kFftSectionTitle).End().WriteTo(f);
  b.Text(kFftSamplingFreq).Text(" ").Plain(r.stats.Fc).End().WriteTo(f);
  b.Text(kFftSamplesNumber).Text(" ").Int(r.spectrum.FFT_N).End().WriteTo(f);
  b.Text(InfoOf(r.settings.FFTwindow).fdmLine).Text(" ").End().WriteTo(f);
  b.Text(InfoOf(r.settings.FFTsource).fdmLine).Text(" ").End().WriteTo(f);
  b.End().WriteTo(f);
  b.Text(kFftColumnLine).End().WriteTo(f);
  if (!refused) WriteSpectrumRows(r, run.progress, f);
  b.Text(kFftEndMarker).End().WriteTo(f);
  b.End().WriteTo(f);

  // Input data section: every raw sample, rejected ones included.
  b.Text(kRawSectionTitle).End().WriteTo(f);
  WriteRawLines(r, run, f, "Appending input file to FDM output file  ....");

  if (!refused && r.spectrum.FundLine == 0)
    run.ops.ShowMessage("FFT processor", "Can't determine fundamental frequency");
}

}  // namespace tz
