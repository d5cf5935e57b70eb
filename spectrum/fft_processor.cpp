#include "spectrum/fft_processor.h"

#include <cstring>

#include "processing/analysis_record.h"
#include "processing/files.h"
#include "processing/format_sig10.h"
#include "processing/platform.h"
#include "processing/tdm_writer.h"
#include "spectrum/fft.h"
#include "spectrum/fft_input.h"
#include "spectrum/spectrum_analysis.h"

namespace tz {

const char* WindowLine(int window) {
  switch (window) {
    case 1: return "Filtering window: Hamming \r\n";
    case 2: return "Filtering window: Blackman \r\n";
    default: return "Filtering window: Flat top \r\n";
  }
}

const char* SourceLine(int source) {
  switch (source) {
    case 0: return "Input data: Torque raw pulses (Cslot) \r\n";
    case 1: return "Input data: RPM filtered \r\n";
    case 2: return "Input data: RPM unfiltered \r\n";
    case 4: return "Input data: Power filtered \r\n";
    default: return "Input data: Torque filtered \r\n";
  }
}

namespace {

void Put(OutputFile& f, const char* text) { f.Write(text, std::strlen(text)); }

void PutLine(OutputFile& f, const char* prefix, const char* value) {
  char line[128];
  size_t n = std::strlen(prefix);
  std::memcpy(line, prefix, n);
  const size_t v = std::strlen(value);
  std::memcpy(line + n, value, v);
  n += v;
  line[n++] = '\r';
  line[n++] = '\n';
  f.Write(line, n);
}

void WriteSpectrumRows(AnalysisRecord& r, OutputFile& f) {
  const int N = r.FFT_N;
  const int H = N / 2;
  const double step = r.Fc / N;
  char line[256];
  for (int k = 0; k < H; ++k) {
    r.progress.Report(k, H, "Generating FDM output file  ....");
    size_t n = FormatSig10Int(k, line);
    line[n++] = ',';
    line[n++] = ' ';
    n += FormatSig10(k * step, line + n);
    line[n++] = ',';
    line[n++] = ' ';
    n += FormatSig10(LineMagnitude(r, k), line + n);
    line[n++] = ',';
    line[n++] = ' ';
    if (k == r.FundLine) {
      std::memcpy(line + n, "Fundamental", 11);
      n += 11;
    } else if (r.FundLine != 0 && k != 0 && k % r.FundLine == 0) {
      std::memcpy(line + n, "Armonic n ", 10);
      n += 10;
      n += FormatSig10Int(k / r.FundLine, line + n);
    }
    line[n++] = '\r';
    line[n++] = '\n';
    f.Write(line, n);
  }
}

void ClearSpectrumResults(AnalysisRecord& r) {
  // No line is picked: clear the records an earlier run left.
  const int used = r.FFT_N / 2 + 4;
  for (int i = 0; i < used && i < kSampleCapacity; ++i) r.SpecLines[i] = SpecLine{0, 0, 0};
  r.FFT_N = 0;
  r.FundLine = 0;
  r.FundMag = 0;
  r.DCEndLine = 0;
  r.FloorLevel = 0;
  r.TotalEnergy = 0;
  r.EvenSymErrRe = 0;
  r.OddSymErrIm = 0;
}

}  // namespace

void RunFftProcessor(AnalysisRecord& r) {
  OutputFile& f = *r.hFdmFile;
  const int count = LoadFftInput(r);
  bool refused = false;
  if (count <= 2) {
    // No transform of at least two points exists for so short an input.
    refused = true;
    ClearSpectrumResults(r);
    r.platform->MessageBox("FFT processor", "Too few samples for the FFT");
  } else {
    ChooseFftSize(r, count);
    WeightFftInput(r);
    fft_float(r, static_cast<uint32_t>(r.FFT_N), 0, r.FFTinRe, r.FFTinIm, r.FFTre, r.FFTim);
    FindFundamental(r);
    AnalyseSpectrum(r);
    ParsevalEnergy(r);
    SymmetryErrors(r);
    r.marks.fftDone = true;
  }

  // FFT section.
  char value[kSig10Size];
  Put(f, "FFT Output (limited to Nyquist frequency)\r\n");
  FormatSig10(r.Fc, value);
  PutLine(f, "Sampling Freq. (Fc) (Hz) = ", value);
  FormatSig10Int(r.FFT_N, value);
  PutLine(f, "Samples Number (N) = ", value);
  Put(f, WindowLine(r.FFTwindow));
  Put(f, SourceLine(r.FFTsource));
  Put(f, "\r\n");
  Put(f, "Progr, Freq.(Hz.), sqrt(Re^2+Im^2), Notes \r\n");
  if (!refused) WriteSpectrumRows(r, f);
  Put(f, ">>END OF FFT<<\r\n\r\n");

  // Input data section: every raw sample, rejected ones included.
  Put(f, kRawSectionTitle);
  Put(f, "\r\n");
  WriteRawLines(r, f, "Appending input file to FDM output file  ....");

  if (!refused && r.FundLine == 0)
    r.platform->MessageBox("FFT processor", "Can't determine fundamental frequency");
}

}  // namespace tz
