#include "spectrum/fft_processor.h"

#include <cstring>

#include "processing/analysis_record.h"
#include "processing/files.h"
#include "processing/format_sig10.h"
#include "processing/run_context.h"
#include "processing/tdm_writer.h"
#include "spectrum/fft.h"
#include "spectrum/fft_input.h"
#include "spectrum/spectrum_analysis.h"

namespace tz {

namespace {

void Put(OutputFile& f, const char* text) { f.Write(text, std::strlen(text)); }

// One line of the prefix and up to two further texts, with CR LF.
void PutLine(OutputFile& f, const char* prefix, const char* middle, const char* value = "") {
  char line[160];
  size_t n = 0;
  for (const char* part : {prefix, middle, value}) {
    const size_t k = std::strlen(part);
    std::memcpy(line + n, part, k);
    n += k;
  }
  line[n++] = '\r';
  line[n++] = '\n';
  f.Write(line, n);
}

void WriteSpectrumRows(const AnalysisRecord& r, Progress& progress, OutputFile& f) {
  const int N = r.spectrum.FFT_N;
  const int H = N / 2;
  const double step = r.stats.Fc / N;
  char line[256];
  for (int k = 0; k < H; ++k) {
    progress.Report(k, H, "Generating FDM output file  ....");
    size_t n = FormatSig10Int(k, line);
    line[n++] = ',';
    line[n++] = ' ';
    n += FormatSig10(k * step, line + n);
    line[n++] = ',';
    line[n++] = ' ';
    n += FormatSig10(LineMagnitude(r, k), line + n);
    line[n++] = ',';
    line[n++] = ' ';
    if (k == r.spectrum.FundLine) {
      std::memcpy(line + n, "Fundamental", 11);
      n += 11;
    } else if (r.spectrum.FundLine != 0 && k != 0 && k % r.spectrum.FundLine == 0) {
      std::memcpy(line + n, "Armonic n ", 10);
      n += 10;
      n += FormatSig10Int(k / r.spectrum.FundLine, line + n);
    }
    line[n++] = '\r';
    line[n++] = '\n';
    f.Write(line, n);
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
  char value[kSig10Size];
  PutLine(f, kFftSectionTitle, "");
  FormatSig10(r.stats.Fc, value);
  PutLine(f, kFftSamplingFreq, " ", value);
  FormatSig10Int(r.spectrum.FFT_N, value);
  PutLine(f, kFftSamplesNumber, " ", value);
  PutLine(f, InfoOf(r.settings.FFTwindow).fdmLine, " ");
  PutLine(f, InfoOf(r.settings.FFTsource).fdmLine, " ");
  PutLine(f, "", "");
  PutLine(f, kFftColumnLine, "");
  if (!refused) WriteSpectrumRows(r, run.progress, f);
  PutLine(f, kFftEndMarker, "");
  PutLine(f, "", "");

  // Input data section: every raw sample, rejected ones included.
  Put(f, kRawSectionTitle);
  Put(f, "\r\n");
  WriteRawLines(r, run, f, "Appending input file to FDM output file  ....");

  if (!refused && r.spectrum.FundLine == 0)
    run.ops.ShowMessage("FFT processor", "Can't determine fundamental frequency");
}

}  // namespace tz
