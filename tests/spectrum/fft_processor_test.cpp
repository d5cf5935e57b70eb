// FFT processor: the whole frequency-domain half of a run and the FFT and
// input data sections it appends to the FDM file.
#include "spectrum/fft_processor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "processing/analysis_record.h"
#include "processing/files.h"
#include "processing/format_sig10.h"
#include "spectrum/spectrum_analysis.h"
#include "tests/test_support.h"

namespace tz {
namespace {

using test::ReadFile;
using test::SplitLines;

// Once given the FDM file, a message closes it, keeps its content at that moment
// and sends whatever is written later to a second file.
class SnapshotPlatform : public RecordingPlatform {
 public:
  OutputFile* file = nullptr;
  std::string path, laterPath, snapshot;
  void ShowMessage(const char* caption, const char* text) override {
    RecordingPlatform::ShowMessage(caption, text);
    if (file == nullptr) return;
    file->Close();
    snapshot = ReadFile(path);
    file->Create(laterPath.c_str());
  }
};

struct ProcessorRun {
  test::TempDir dir;
  RecordPtr record = NewAnalysisRecord();
  SnapshotPlatform platform;
  RunContext ctx{platform};
  OutputFile fdm;
  AnalysisRecord& r() { return *record; }

  // Count loaded = count, Fc = 256 Hz, a few raw samples.
  explicit ProcessorRun(int count) {
    ctx.progress.SetDialog(true);
    r().settings.MovAvgLen = 10;
    r().counters.ProgrCount = 2 * 10 + count;
    r().stats.Fc = 256.0;
    r().counters.RawCount = 4;
    const double cis[4] = {41230, 41229, 0, 98765432}, cs[4] = {1200, 1187, 7, 1201};
    for (int i = 0; i < 4; ++i) r().samples.CislotRaw[i] = cis[i], r().samples.CslotRaw[i] = cs[i];
    platform.path = dir.Path("out.FDM");
    platform.laterPath = dir.Path("later.FDM");
    EXPECT_TRUE(fdm.Create(platform.path.c_str()));
    ctx.fdm = &fdm;
  }
  std::vector<std::string> Lines() {
    RunFftProcessor(r(), ctx);
    fdm.Close();
    return SplitLines(ReadFile(platform.path));
  }
};

const std::vector<std::string> kRawRows = {"Progr, Cislot, Cslot ", "0, 41230, 1200",
                                           "1, 41229, 1187", "2, 0, 7", "3, 98765432, 1201"};

// The seven lines that open the FFT section.
void ExpectHead(const std::vector<std::string>& lines, const std::string& n,
                const std::string& window, const std::string& source) {
  const std::vector<std::string> head = {
      "FFT Output (limited to Nyquist frequency)", "Sampling Freq. (Fc) (Hz) = 256.",
      "Samples Number (N) = " + n, "Filtering window: " + window + " ",
      "Input data: " + source + " ", "", "Progr, Freq.(Hz.), sqrt(Re^2+Im^2), Notes "};
  ASSERT_GE(lines.size(), head.size());
  for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(lines[i], head[i]);
}

void ExpectTail(const std::vector<std::string>& lines, size_t from) {
  ASSERT_EQ(lines.size(), from + 2 + kRawRows.size());
  EXPECT_EQ(lines[from], ">>END OF FFT<<");
  EXPECT_EQ(lines[from + 1], "");
  for (size_t i = 0; i < kRawRows.size(); ++i) EXPECT_EQ(lines[from + 2 + i], kRawRows[i]);
}

TEST(FftProcessor, SectionOfASinusoidAtLineFortyOne) {
  ProcessorRun run(1500);  // N = 1024, line spacing 0.25 Hz
  AnalysisRecord& r = run.r();
  r.settings.FFTwindow = static_cast<FftWindow>(1);
  r.settings.FFTsource = static_cast<FftSource>(3);
  for (int i = 0; i < 1500; ++i)
    r.samples.TRQfiltArr[20 + i] = 50.0 + 30.0 * std::cos(6.283185307179586 * 41 * i / 1024.0);
  std::fill(r.spectrum.FFTfreq, r.spectrum.FFTfreq + 1030, -1.0);
  const std::vector<std::string> lines = run.Lines();

  EXPECT_TRUE(run.platform.messages.empty());
  ASSERT_EQ(r.spectrum.FundLine, 41);
  // The frequency axis: line k at k x (Fc / N) Hz, for the N lines transformed only.
  for (int k = 0; k < 1024; ++k) ASSERT_EQ(r.spectrum.FFTfreq[k], k * (256.0 / 1024)) << k;
  EXPECT_EQ(r.spectrum.FFTfreq[1024], -1.0);
  ExpectHead(lines, "1024", "Hamming", "Torque filtered");
  const size_t first = 7;
  ASSERT_GE(lines.size(), first + 512);
  for (int k = 0; k < 512; ++k) {
    const std::string note = k == 41                 ? "Fundamental"
                             : k != 0 && k % 41 == 0 ? "Armonic n " + std::to_string(k / 41)
                                                     : "";
    EXPECT_EQ(lines[first + k], std::to_string(k) + ", " + Sig10(k * 0.25) + ", " +
                                    Sig10(LineMagnitude(r.spectrum, k)) + ", " + note);
  }
  // The magnitude after the Hamming weighting: the size is chosen before the weighting.
  EXPECT_EQ(lines[first + 41], "41, 10.25, 13477.49008, Fundamental");
  EXPECT_TRUE(lines[first + 82].starts_with("82, 20.5, ")) << lines[first + 82];
  EXPECT_TRUE(lines[first + 82].ends_with(", Armonic n 2")) << lines[first + 82];
  ExpectTail(lines, first + 512);

  // The progress texts of the stages, in order.
  const std::vector<std::string> stages = {
      "Loading FFT proccessing array ....", "Bit reversing of FFT array ....",
      "Calculating FFT ....", "Calculating FFT coefficients ....",
      "Calculating FFT floor level ....", "Calculating FFT min ....",
      "Ordering FFT spectral lines ....", "Calculating spectral lines under floor level ....",
      "Removing spectral lines below FFT floor level ....", "Sorting FFT spectral lines ....",
      "Removing DC spectral line ....", "Filtering spectral lines ....",
      "Generating FDM output file  ....", "Appending input file to FDM output file  ...."};
  size_t at = 0;
  for (const std::string& t : run.platform.texts)
    if (at < stages.size() && t == stages[at]) ++at;
  EXPECT_EQ(at, stages.size()) << "missing or out of order: "
                               << stages[std::min(at, stages.size() - 1)];
}

TEST(FftProcessor, SmallMagnitudesAndHarmonicNotes) {
  ProcessorRun run(70);  // N = 64, 4 Hz per line
  AnalysisRecord& r = run.r();
  r.settings.FFTwindow = static_cast<FftWindow>(0);
  r.settings.FFTsource = static_cast<FftSource>(4);
  for (int i = 0; i < 70; ++i)
    r.samples.POTfiltArr[20 + i] = 0.001 * std::cos(6.283185307179586 * 5 * i / 64.0);
  const std::vector<std::string> lines = run.Lines();
  ASSERT_EQ(r.spectrum.FundLine, 5);
  ExpectHead(lines, "64", "Flat top", "Power filtered");
  ASSERT_GE(lines.size(), 7u + 32u);
  EXPECT_EQ(lines[7 + 5], "5, 20., 3.2e-002, Fundamental");
  for (int k = 0; k < 32; ++k) {
    const std::string note =
        k == 5 ? "Fundamental" : k % 5 || k == 0 ? "" : "Armonic n " + std::to_string(k / 5);
    EXPECT_TRUE(lines[7 + k].ends_with(", " + note)) << lines[7 + k];
  }
  EXPECT_TRUE(lines[7 + 30].starts_with("30, 120., ")) << lines[7 + 30];
  ExpectTail(lines, 7 + 32);
}

TEST(FftProcessor, WindowAndSourceLines) {
  // An unknown code is written as the run treats it.
  const std::string windows[] = {"Flat top", "Hamming", "Blackman", "Flat top"};
  for (int w = 0; w < 4; ++w)
    EXPECT_EQ(InfoOf(static_cast<FftWindow>(w)).fdmLine, "Filtering window: " + windows[w]);
  const std::string sources[] = {"Torque raw pulses (Cslot)", "RPM filtered", "RPM unfiltered",
                                 "Torque filtered", "Power filtered", "Torque filtered"};
  for (int s = 0; s < 6; ++s)
    EXPECT_EQ(InfoOf(static_cast<FftSource>(s)).fdmLine, "Input data: " + sources[s]);
}

TEST(FftProcessor, TooShortInputIsRefused) {
  for (int count : {2, 1, 0}) {
    ProcessorRun run(count);
    AnalysisRecord& r = run.r();
    r.settings.FFTwindow = static_cast<FftWindow>(2);
    r.settings.FFTsource = static_cast<FftSource>(0);
    // Results of an earlier run.
    r.spectrum.FFT_N = 1024, r.spectrum.FundLine = 41, r.spectrum.FundMag = 3,
    r.spectrum.DCEndLine = 4, r.spectrum.FloorLevel = 1;
    r.spectrum.TotalEnergy = 5, r.spectrum.EvenSymErrRe = 1e-9, r.spectrum.OddSymErrIm = 1e-9;
    r.spectrum.SpecLines[41] = SpecLine{41, 0, 3};  // an earlier pick
    const std::vector<std::string> lines = run.Lines();
    EXPECT_EQ(r.spectrum.SpecLines[41].mag, 0.0) << "no line is picked";
    EXPECT_EQ(run.platform.MessageLines(),
              std::vector<std::string>{"FFT processor: Too few samples for the FFT"});
    ExpectHead(lines, "0", "Blackman", "Torque raw pulses (Cslot)");
    ExpectTail(lines, 7);
    EXPECT_TRUE(r.spectrum.FFT_N == 0 && r.spectrum.FundLine == 0 && r.spectrum.FundMag == 0 &&
                r.spectrum.DCEndLine == 0 && r.spectrum.FloorLevel == 0 &&
                r.spectrum.TotalEnergy == 0 && r.spectrum.EvenSymErrRe == 0 &&
                r.spectrum.OddSymErrIm == 0)
        << "count " << count;
  }
}

TEST(FftProcessor, FlatInputReportsNoFundamentalAfterTheFileIsComplete) {
  ProcessorRun run(40);  // N = 32
  AnalysisRecord& r = run.r();
  r.settings.FFTwindow = static_cast<FftWindow>(0);
  r.settings.FFTsource = static_cast<FftSource>(1);
  for (int i = 0; i < 80; ++i) r.samples.RPMfiltArr[i] = 0.0;
  run.platform.file = &run.fdm;
  RunFftProcessor(r, run.ctx);
  run.fdm.Close();
  EXPECT_EQ(r.spectrum.FundLine, 0);
  EXPECT_EQ(r.spectrum.DCEndLine, 31);
  EXPECT_EQ(run.platform.MessageLines(),
            std::vector<std::string>{"FFT processor: Can't determine fundamental frequency"});
  const std::vector<std::string> lines = SplitLines(run.platform.snapshot);
  ExpectHead(lines, "32", "Flat top", "RPM filtered");
  ASSERT_GE(lines.size(), 7u + 16u);
  EXPECT_EQ(lines[7], "0, 0., 0., Fundamental");
  for (int k = 1; k < 16; ++k)
    EXPECT_EQ(lines[7 + k], std::to_string(k) + ", " + std::to_string(8 * k) + "., 0., ");
  ExpectTail(lines, 7 + 16);
  ASSERT_TRUE(std::filesystem::exists(run.platform.laterPath)) << "the message came";
  EXPECT_EQ(ReadFile(run.platform.laterPath), "") << "nothing is written after the message";
}

}  // namespace
}  // namespace tz
