// Reading TDM and FDM files back as the source of a run: the header state
// machines, the appended sample lines, the settings and the failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "processing/analysis_record.h"
#include "processing/vbt_reader.h"
#include "reprocess/reprocess_input.h"
#include "run/run_processing.h"
#include "tests/test_support.h"

namespace tz::test {
namespace {

using Lines = std::vector<std::string>;

// Source kinds as the open commands set them.
constexpr int kSourceVbt = static_cast<int>(InputKind::Vbt);
constexpr int kSourceTdm = static_cast<int>(InputKind::Tdm);
constexpr int kSourceFdm = static_cast<int>(InputKind::Fdm);

// The 19 header lines as an earlier run writes them into a TDM or FDM file.
Lines Header(int kind) {
  return {kind == kSourceTdm ? "Vibrotorsional Time Domain Analysis"
                             : "Vibrotorsional Frequency Domain Analysis",
          "Rev. 1.0", "Date:08/12/2026", "Time:14:32:05", "Counter period=5.e-002uS",
          "G=80000.0N/sqmm", "Rext=15.0mm", "Rint=0.0mm", "L=100.0mm", "N_SLOT=60.0",
          "A_SLOT=3.0degrees", "Perc_Slot=0.5", "RPMmax=6000.0", "PCoeff=1.0", "PDist=0.0",
          "Allowed overshot(%)=0.1", "Moving average filtering length=10",
          "RPM threshold=2400.0", "Zero crossing filter length=4"};
}

// n appended sample lines; Cislot grows by the factor step from line to line.
Lines Samples(int n, double step = 1.0) {
  Lines out;
  double c = 10000;
  for (int i = 0; i < n; ++i, c *= step)
    out.push_back(std::to_string(i) + ", " + std::to_string(static_cast<long>(c) + i % 2) +
                  ", 3000");
  return out;
}

std::string Join(std::initializer_list<Lines> parts) {
  std::string text;
  for (const Lines& part : parts)
    for (const auto& l : part) text += l + "\r\n";
  return text;
}

std::string Tdm(const Lines& head, const Lines& samples) {
  return Join({head,
               {"Progr, Tprogr(sec.), Dt(sec.), RPMfilt, TRQfilt(Nm), POTfilt(kW), Cislot, Cslot, "
                "TRQ0cnt, dTRQinst, RPMinst, TRQinst(Nm), POTinst(kW)",
                "1, 5.e-004, 5.e-004, 2000., 1.5, 0.3, 10000., 3000., 2500., 500., 2000., 1.5, 0.3",
                ">>END OF TDM Analysis<<", "", "Progr, Cislot, Cslot "},
               samples});
}

std::string Fdm(const Lines& head, const Lines& samples,
                const std::string& window = "Filtering window: Hamming ",
                const std::string& endMarker = ">>END OF FFT<<") {
  return Join({head,
               {"FFT Output (limited to Nyquist frequency)", "Sampling Freq. (Fc) (Hz) = 2000.",
                "Samples Number (N) = 2", window, "Input data: Torque filtered ", "",
                "Progr, Freq.(Hz.), sqrt(Re^2+Im^2), Notes ", "0, 0., 1.5, ", endMarker, "",
                "Progr, Cislot, Cslot "},
               samples});
}

std::string File(int kind, const Lines& head, const Lines& samples) {
  return kind == kSourceTdm ? Tdm(head, samples) : Fdm(head, samples);
}
std::string File(int kind, const Lines& samples) { return File(kind, Header(kind), samples); }

class Reprocess : public ::testing::Test {
 protected:
  TempDir dir;
  Fixture fx;
  AnalysisRecord& r = fx.r();
  RecordingPlatform& platform = fx.platform;
  const std::string in = dir.Path("in.dat"), tdm = dir.Path("out.TDM"), fdm = dir.Path("out.FDM");

  // Writes the text as the input and runs it as a file of the given kind.
  bool Run(int kind, const std::string& text) {
    WriteFile(in, text);
    r.source.SourceKind = static_cast<InputKind>(kind);
    r.settings.UseFilterDefaults = 1;
    r.source.InputPath = in, r.source.TdmPath = tdm, r.source.FdmPath = fdm;
    return RunProcessing(r, platform).completed;
  }
  Lines Messages() const { return platform.MessageLines(); }
  std::string OutLine(const std::string& file, size_t i) const {
    const Lines l = SplitLines(ReadFile(file));
    return i < l.size() ? l[i] : "<missing>";
  }
};

TEST_F(Reprocess, LengthSettingsAreTruncatedAndClampedWhenRead) {
  struct Case { int state; const char* line; int movAvg, zeroCross; };
  const Case cases[] = {
      {16, "Moving average filtering length=12.9", 12, 4},
      {16, "Moving average filtering length=300", 200, 4},
      {16, "Moving average filtering length=2", 5, 4},
      {16, "Moving average filtering length=1e300", 200, 4},
      {16, "Moving average filtering length=1e999", 200, 4},
      {16, "Moving average filtering length=-7", 5, 4},
      {18, "Zero crossing filter length=50", 10, 30},
      {18, "Zero crossing filter length=-1", 10, 4},
      {18, "Zero crossing filter length=6.99", 10, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    for (auto parse : {&ParseTdmHeaderLine, &ParseFdmHeaderLine}) {
      r.settings.MovAvgLen = 10;
      r.settings.ZeroCrossLen = 4;
      const HeaderStep step =
          parse(r.params, r.settings, c.line, std::string(c.line).size(), c.state);
      EXPECT_EQ(step.state, c.state + 1);
      EXPECT_EQ(step.event, HeaderEvent::None);
      EXPECT_EQ(r.settings.MovAvgLen, c.movAvg);
      EXPECT_EQ(r.settings.ZeroCrossLen, c.zeroCross);
    }
  }
}

// The unit after a value is cut by its length whatever it holds; A_SLOT's
// "degrees" is left on (the number ends at its first letter), and RPMmax has
// no unit in the header block.
TEST_F(Reprocess, UnitCutsOfTheHeaderBlockLines) {
  struct Case { int state; const char* line; double HeaderParameters::*field; double value; };
  const Case cases[] = {
      {4, "Counter period=0.25uS", &HeaderParameters::Fmux, 0.25},
      {4, "Counter period=0.25", &HeaderParameters::Fmux, 0.0},  // "0." is left
      {5, "G=80000.0N/sqmm", &HeaderParameters::G, 80000},
      {5, "G=1234567", &HeaderParameters::G, 1},
      {6, "Rext=15.0mm", &HeaderParameters::Rext, 15},
      {7, "Rint=2.5", &HeaderParameters::Rint, 2},
      {8, "L=100", &HeaderParameters::L, 1},
      {9, "N_SLOT=60.0", &HeaderParameters::N_SLOT, 60},
      {10, "A_SLOT=3.0degrees", &HeaderParameters::A_SLOT, 3},
      {10, "A_SLOT=3.5", &HeaderParameters::A_SLOT, 3.5},
      {11, "Perc_Slot=0.5", &HeaderParameters::Perc_Slot, 0.5},
      {12, "RPMmax=6000", &HeaderParameters::RPMmax, 6000},
      {13, "PCoeff=1.5", &HeaderParameters::PCoeff, 1.5},
      {14, "PDist=2.0", &HeaderParameters::PDist, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    for (auto parse : {&ParseTdmHeaderLine, &ParseFdmHeaderLine}) {
      r.params.*c.field = -1;
      const HeaderStep step =
          parse(r.params, r.settings, c.line, std::string(c.line).size(), c.state);
      EXPECT_EQ(step.state, c.state + 1);
      EXPECT_EQ(r.params.*c.field, c.value);
    }
  }
}

TEST(AppendedSampleLine, SecondAndThirdFieldsAsTruncatedLow32Bits) {
  struct Case { const char* line; uint32_t cislot, cslot; };
  const Case cases[] = {
      {"7, 812, 90", 812, 90},
      {"7, 812", 812, 0},
      {"7, 3000000000, 12", 3000000000u, 12},
      {"7, 3000000000.7, -1.5", 3000000000u, 4294967295u},
      {"7, 4294967301, 1e3, 99", 5, 1000},
      {"7,,5", 0, 5},
      {"7, inf, nan", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    uint32_t ci = 1, cs = 1;
    ASSERT_TRUE(ParseAppendedSampleLine(c.line, std::string(c.line).size(), &ci, &cs));
    EXPECT_EQ(ci, c.cislot);
    EXPECT_EQ(cs, c.cslot);
  }
  uint32_t ci, cs;
  EXPECT_FALSE(ParseAppendedSampleLine("812 90", 6, &ci, &cs));
}

TEST_F(Reprocess, UserFixedSettingsOverrideTheFile) {
  r.settings.FixedFilterSettings = kFixOvershoot | kFixMovAvg | kFixThreshold | kFixZeroCross;
  r.settings.AllowedOvershoot = 0.3;
  r.settings.MovAvgLen = 7;
  r.settings.RPMthreshold = 123;
  r.settings.ZeroCrossLen = 9;
  ASSERT_TRUE(Run(kSourceFdm, File(kSourceFdm, Samples(40))));
  EXPECT_EQ(r.settings.RPMthreshold, 123);
  const Lines expected = {"Allowed overshot(%)=0.3", "Moving average filtering length=7",
                          "RPM threshold=123.0", "Zero crossing filter length=9"};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(OutLine(tdm, 15 + i), expected[i]);

  // Only the threshold fixed: the other three come from the file, the lengths
  // clamped also in the new headers.
  r.settings.FixedFilterSettings = kFixThreshold;
  Lines h = Header(kSourceTdm);
  h[15] = "Allowed overshot(%)=0.25";
  h[16] = "Moving average filtering length=300";
  h[18] = "Zero crossing filter length=-1";
  ASSERT_TRUE(Run(kSourceTdm, Tdm(h, Samples(40))));
  EXPECT_EQ(r.settings.AllowedOvershoot, 0.25);
  EXPECT_EQ(r.settings.RPMthreshold, 123);
  for (const std::string& out : {tdm, fdm}) {
    EXPECT_EQ(OutLine(out, 16), "Moving average filtering length=200");
    EXPECT_EQ(OutLine(out, 18), "Zero crossing filter length=4");
  }
}

TEST_F(Reprocess, MissingEmptyLineAfterTheEndMarkerLosesTheFirstSample) {
  Lines s = Samples(30);
  s[0] = "0, 11111, 3000";
  std::string text = File(kSourceTdm, s);
  ASSERT_TRUE(Run(kSourceTdm, text));
  EXPECT_EQ(r.counters.RawCount, 30);
  EXPECT_EQ(r.samples.CislotRaw[0], 11111);

  text.replace(text.find(">>END OF TDM Analysis<<\r\n\r\n"), 27, ">>END OF TDM Analysis<<\r\n");
  ASSERT_TRUE(Run(kSourceTdm, text));
  EXPECT_EQ(r.counters.RawCount, 29);
  EXPECT_EQ(r.samples.CislotRaw[0], 10001);
}

TEST_F(Reprocess, CommentLineBetweenRextAndRintIsSkipped) {
  Lines h = Header(kSourceTdm);
  h[7] = "Rint=5.0mm";
  h.insert(h.begin() + 7, "shaft of pump 2, second test");
  ASSERT_TRUE(Run(kSourceTdm, Tdm(h, Samples(30))));
  EXPECT_EQ(r.params.Rext, 15);
  EXPECT_EQ(r.params.Rint, 5);
  EXPECT_EQ(r.params.L, 100);
  EXPECT_EQ(OutLine(tdm, 7), "Rint=5.0mm");
  EXPECT_EQ(OutLine(fdm, 7), "Rint=5.0mm");
}

// A header that never completes (a file of another kind, an FDM end marker with
// a trailing blank, an unknown window name) or a counter period not right after
// the time line: the run stops before any sample is read or written.
TEST_F(Reprocess, HeaderRefused) {
  ASSERT_TRUE(Run(kSourceFdm, File(kSourceFdm, Samples(30))));  // the unchanged file is fine
  ASSERT_EQ(r.counters.RawCount, 30);
  const std::string earlier = ReadFile(tdm);  // a refused run leaves it as it was
  const std::string notFound = " preprocessor: Header invalid or not found!";
  const std::string noCounter = " file Check: Counter period not found or invalid .... Aborting!";
  const Lines fdmHead = Header(kSourceFdm);
  Lines tdmNoCounter = Header(kSourceTdm), fdmNoCounter = fdmHead;
  tdmNoCounter[4] = fdmNoCounter[4] = "Fmux=0.05uS";
  const struct { int kind; std::string text, message; } cases[] = {
      {kSourceFdm, Fdm(fdmHead, Samples(30), "Filtering window: Hamming ", ">>END OF FFT<< "),
       "FDM" + notFound},
      {kSourceFdm, Fdm(fdmHead, Samples(30), "Filtering window: Kaiser "), "FDM" + notFound},
      {kSourceFdm, File(kSourceTdm, Samples(30)), "FDM" + notFound},
      {kSourceTdm, File(kSourceFdm, Samples(30)), "TDM" + notFound},
      {kSourceTdm, VbtFile("10000,3000\r\n10001,3000\r\n10000,3000\r\n"), "TDM" + notFound},
      {kSourceTdm, Tdm(tdmNoCounter, Samples(30)), "TDM" + noCounter},
      {kSourceFdm, Fdm(fdmNoCounter, Samples(30)), "FDM" + noCounter},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases << ": " << c.message);
    platform = RecordingPlatform();
    EXPECT_FALSE(Run(c.kind, c.text));
    EXPECT_EQ(Messages(), Lines{c.message});
    EXPECT_EQ(r.counters.RawCount, 0);
    EXPECT_FALSE(platform.statisticsShown);
    if (c.message.ends_with(notFound)) {
      EXPECT_EQ(platform.statPercent, "0.000");  // the figures are filled all the same
    }
    EXPECT_EQ(ReadFile(tdm), earlier);
  }
}

TEST_F(Reprocess, NoSampleFoundAfterTheFiguresAreFilled) {
  EXPECT_FALSE(Run(kSourceTdm, File(kSourceTdm, {"no comma here"})));
  EXPECT_EQ(Messages(), Lines{"TDM preprocessor: No sample found!"});
  EXPECT_EQ(platform.statTotal, "0");
  EXPECT_EQ(platform.statPercent, "0.000");
  EXPECT_FALSE(platform.statisticsShown);
  const auto& ev = platform.events;
  EXPECT_LT(std::find(ev.begin(), ev.end(), "statistics-fill"),
            std::find(ev.begin(), ev.end(), "message:No sample found!"));
  // A run that fails writes no output.
  EXPECT_FALSE(std::filesystem::exists(tdm));
  EXPECT_FALSE(std::filesystem::exists(fdm));

  platform.messages.clear();
  EXPECT_FALSE(Run(kSourceFdm, File(kSourceFdm, {})));
  EXPECT_EQ(Messages(), Lines{"FDM preprocessor: No sample found!"});
}

TEST_F(Reprocess, SpeedWarningsComeBeforeTheFftMessages) {
  // 14 samples slowing down by a sixth each: with the shortest moving average
  // two samples remain for the statistics, too few for a transform.
  const Lines samples = Samples(14, 1.2);
  Lines h = Header(kSourceTdm);
  h[16] = "Moving average filtering length=5";
  h[17] = "RPM threshold=10.0";
  ASSERT_TRUE(Run(kSourceTdm, Tdm(h, samples)));
  const Lines tdmRun = Messages();
  ASSERT_GE(tdmRun.size(), 2u);
  EXPECT_EQ(tdmRun.back(), "FFT processor: Too few samples for the FFT");
  for (size_t i = 0; i + 1 < tdmRun.size(); ++i)
    EXPECT_EQ(tdmRun[i].rfind("VBT preprocessor: ", 0), 0u) << tdmRun[i];

  // A VBT run of the same samples warns after the transform.
  std::string vbt;
  for (const auto& s : samples) vbt += s.substr(s.find(", ") + 2) + "\r\n";
  platform.messages.clear();
  r.settings.FixedFilterSettings = kFixMovAvg | kFixThreshold;
  ASSERT_TRUE(Run(kSourceVbt, VbtFile(vbt)));
  Lines vbtRun = Messages();
  ASSERT_EQ(vbtRun.size(), tdmRun.size());
  EXPECT_EQ(vbtRun.front(), "FFT processor: Too few samples for the FFT");
  std::rotate(vbtRun.begin(), vbtRun.begin() + 1, vbtRun.end());
  EXPECT_EQ(vbtRun, tdmRun);
}

TEST_F(Reprocess, ReadersOfOutputFilesShowNoProgressText) {
  for (int kind : {kSourceTdm, kSourceFdm}) {
    SCOPED_TRACE(kind);
    platform = RecordingPlatform();
    ASSERT_TRUE(Run(kind, File(kind, Samples(200))));
    EXPECT_EQ(platform.texts, Lines{});
    // No progress dialog; the statistics dialog created hidden at the start and
    // shown once the input is read.
    Lines dialogs;
    for (const std::string& e : platform.events)
      if (!e.starts_with("message:")) dialogs.push_back(e);
    EXPECT_EQ(dialogs, (Lines{"toolbar-show", "statistics-create", "statistics-fill",
                              "statistics-show", "toolbar-hide"}));
    EXPECT_EQ(platform.statTotal, "200");
  }
}

// An output that is the input file under any name must be refused before
// anything is written, and the input must stay as it was.
TEST_F(Reprocess, OutputNamingTheInputIsRefused) {
  const std::string source = File(kSourceTdm, Samples(60));
  const std::string other = dir.Path("other.FDM");
  ASSERT_EQ(symlink(in.c_str(), dir.Path("sym.TDM").c_str()), 0);
  const struct { int kind; std::string tdmOut, fdmOut; } cases[] = {
      {kSourceTdm, in, fdm},
      {kSourceTdm, tdm, in},
      {kSourceTdm, dir.Path("sym.TDM"), fdm},
      {kSourceTdm, tdm, dir.Path("hard.FDM")},
      {kSourceTdm, other, other},
      {kSourceVbt, in, fdm},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tdmOut + " / " + c.fdmOut);
    const std::string text = c.kind == kSourceVbt ? VbtFile("10000,3000\r\n") : source;
    WriteFile(in, text);
    unlink(dir.Path("hard.FDM").c_str());
    ASSERT_EQ(link(in.c_str(), dir.Path("hard.FDM").c_str()), 0);
    platform.debug.clear();
    r.source.SourceKind = static_cast<InputKind>(c.kind);
    r.source.InputPath = in, r.source.TdmPath = c.tdmOut, r.source.FdmPath = c.fdmOut;
    EXPECT_FALSE(RunProcessing(r, platform).completed);
    ASSERT_EQ(platform.debug.size(), 1u);
    EXPECT_NE(platform.debug[0].find("FDM file creation failure"), std::string::npos);
    EXPECT_EQ(ReadFile(in), text);
  }
}

}  // namespace
}  // namespace tz::test
