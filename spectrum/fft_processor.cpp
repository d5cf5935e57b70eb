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

void WriteSpectrumRows(const AnalysisRecord& r, Progress& progress, OutputFile& f) {
  const SpectrumResults& sp = r.spectrum;
  const int N = sp.FFT_N;
  const int H = N / 2;
  const double step = r.stats.Fc / N;
  LineBuffer b;
  for (int k = 0; k < H; ++k) {
    progress.Report(k, H, "Generating FDM output file  ....");
    b.Int(k).Sep().Plain(k * step).Sep().Plain(LineMagnitude(r, k)).Sep();
    if (k == sp.FundLine)
      b.Text("Fundamental");
    else if (sp.FundLine != 0 && k != 0 && k % sp.FundLine == 0)
      b.Text("Armonic n ").Int(k / sp.FundLine);
    b.End().WriteTo(f);
  }
}

void ClearSpectrumResults(AnalysisRecord& r) {
  // No line is picked: clear the records an earlier run left.
  const int used = r.spectrum.FFT_N / 2 + 4;
  for (int i = 0; i < used && i < kSampleCapacity; ++i) r.spectrum.SpecLines[i] = SpecLine{0, 0, 0};
  r.spectrum.FFT_N = 0;
  r.spectrum.FundLine = 0;
  r.spectrum.FundMag = 0;
  r.spectrum.DCEndLine = 0;
  r.spectrum.FloorLevel = 0;
  r.spectrum.TotalEnergy = 0;
  r.spectrum.EvenSymErrRe = 0;
  r.spectrum.OddSymErrIm = 0;
}

}  // namespace

void RunFftProcessor(AnalysisRecord& r, RunContext& run) {
  OutputFile& f = *run.fdm;
  const int count = LoadFftInput(r, run.progress);
  bool refused = false;
  if (count <= 2) {
    // No transform of at least two points exists for so short an input.
    refused = true;
    ClearSpectrumResults(r);
    run.ops.ShowMessage("FFT processor", "Too few samples for the FFT");
  } else {
    ChooseFftSize(r, count);
    WeightFftInput(r, run.progress);
    fft_float(r, run.progress, static_cast<uint32_t>(r.spectrum.FFT_N), 0, r.spectrum.FFTinRe,
              r.spectrum.FFTinIm, r.spectrum.FFTre, r.spectrum.FFTim);
    FindFundamental(r);
    AnalyseSpectrum(r, run.progress);
    ParsevalEnergy(r);
    SymmetryErrors(r);
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
