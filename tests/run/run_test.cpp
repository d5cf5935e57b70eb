// Whole VBT runs: outputs, messages, statistics, warnings and failures.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "processing/analysis_record.h"
#include "processing/format_sig10.h"
#include "run/process_input.h"
#include "run/run_processing.h"
#include "run/statistics.h"
#include "tests/recording_platform.h"
#include "tests/test_support.h"

namespace tz {
namespace {

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

using test::ReadFile;
using test::SplitLines;
using test::VbtFile;
using test::WriteFile;

class RunTest : public ::testing::Test {
 protected:
  bool Run(const std::string& content) {
    WriteFile(In(), content);
    return Vbt(In().c_str(), Tdm().c_str(), Fdm().c_str());
  }
  // One VBT run; its marks are kept.
  bool Vbt(const char* in, const char* tdm, const char* fdm) {
    marks = ProcessVbtFile(fx.r(), fx.platform, in, tdm, fdm);
    return marks.completed;
  }
  std::string In() const { return dir.Path("in.VBT"); }
  std::string Tdm() const { return dir.Path("out.TDM"); }
  std::string Fdm() const { return dir.Path("out.FDM"); }
  std::vector<std::string> Messages() const { return fx.platform.MessageLines(); }
  AnalysisRecord& r() { return fx.r(); }
  test::Fixture fx;
  test::TempDir dir;
  RunMarks marks;
};

// Samples at a steady 1000 rpm (C = 10000 with the test header's Fmux 0.1, 60 slots).
std::string Steady(int n, uint32_t c = 10000, uint32_t s = 2510) {
  std::string out;
  for (int i = 0; i < n; ++i) out += std::to_string(c) + "," + std::to_string(s) + "\r\n";
  return out;
}

TEST_F(RunTest, ThreeCloseSamplesGiveOneDataLineAndThreeRawLines) {
  EXPECT_TRUE(Run(VbtFile("1000,400\r\n1005,402\r\n1010,404\r\n")));
  const auto lines = SplitLines(ReadFile(Tdm()));
  ASSERT_EQ(lines.size(), 20u + 1 + 3 + 3);
  EXPECT_EQ(lines[20].substr(0, 3), "1, ");
  EXPECT_EQ(lines[21], ">>END OF TDM Analysis<<");
  EXPECT_EQ(lines[22], "");
  EXPECT_EQ(lines[23], "Progr, Cislot, Cslot ");
  EXPECT_EQ(lines[24], "0, 1000, 400");
  EXPECT_EQ(lines[26], "2, 1010, 404");
  EXPECT_EQ(ReadFile(Tdm()).substr(ReadFile(Tdm()).size() - 2), "\r\n");
  EXPECT_EQ(r().counters.RawCount, 3);
  EXPECT_EQ(r().counters.ProgrCount, 1);
  // Too short for a transform: refused, the run still completes.
  EXPECT_EQ(Messages(), (std::vector<std::string>{"FFT processor: Too few samples for the FFT"}));
}

TEST_F(RunTest, RawLinesListEverySampleLineAsRead) {
  EXPECT_TRUE(Run(VbtFile("-5,3\r\n123\r\n77  ,x\r\n1000,400\r\n")));
  const std::string t = ReadFile(Tdm());
  EXPECT_NE(t.find("Progr, Cislot, Cslot \r\n0, 4294967291, 3\r\n1, 77, 0\r\n2, 1000, 400\r\n"),
            std::string::npos);
  EXPECT_EQ(r().counters.RawCount, 3);
  // (77, 0) is invalid and leaves a zero in the window, so (1000, 400) then
  // looks like a spike down and is replaced.
  EXPECT_EQ(r().counters.FilteredCount, 2);
}

TEST_F(RunTest, MissingInputIsReportedAsSystemError) {
  EXPECT_FALSE(Vbt(dir.Path("nope.VBT").c_str(), Tdm().c_str(),
                              Fdm().c_str()));
  ASSERT_EQ(fx.platform.debug.size(), 1u);
  EXPECT_EQ(fx.platform.debug[0],
            "Error 2: VBT File opening failure.\n\rNo such file or directory\r\n");
  EXPECT_TRUE(Messages().empty());
  EXPECT_FALSE(marks.resetDone);
}

TEST_F(RunTest, OutputCreationFailure) {
  WriteFile(In(), VbtFile(Steady(10)));
  EXPECT_FALSE(Vbt(In().c_str(), dir.Path("no/such/dir.TDM").c_str(),
                              Fdm().c_str()));
  ASSERT_EQ(fx.platform.debug.size(), 1u);
  EXPECT_EQ(fx.platform.debug[0].substr(0, 35), "Error 2: FDM file creation failure.");
}

TEST_F(RunTest, HeaderOnlyFileReportsNoSampleAndWritesNoOutput) {
  EXPECT_FALSE(Run(VbtFile("")));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"VBT preprocessor: No sample found!"}));
  EXPECT_FALSE(Exists(Tdm()));
  EXPECT_FALSE(Exists(Fdm()));
  EXPECT_TRUE(marks.resetDone);
  EXPECT_FALSE(marks.statisticsDone);
  EXPECT_FALSE(fx.platform.statisticsShown);
}

TEST_F(RunTest, FileWithoutHeaderLeavesEmptyOutputs) {
  EXPECT_FALSE(Run("1000,400\r\n1005,402\r\n"));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"VBT preprocessor: Header invalid or not found!"}));
  EXPECT_FALSE(std::filesystem::exists(Tdm())) << "a failed run creates no output";
  EXPECT_FALSE(std::filesystem::exists(Fdm()));
}

TEST_F(RunTest, AbandonedRunClosesEverything) {
  EXPECT_FALSE(Run("Download of sampled vibrotorsional data\r\nd\r\nt\r\nG=1N/sqmm\r\n1,2\r\n"));
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"VBT file Check: Counter period not found or invalid .... Aborting!"}));
  const auto& ev = fx.platform.events;
  EXPECT_EQ(ev.back(), "progress-destroy");
  EXPECT_NE(std::find(ev.begin(), ev.end(), "toolbar-hide"), ev.end());
}

TEST_F(RunTest, StagesAndProgressTextsInOrder) {
  EXPECT_TRUE(Run(VbtFile(Steady(3000))));
  const auto& t = fx.platform.texts;
  auto at = [&](const std::string& s) { return std::find(t.begin(), t.end(), s) - t.begin(); };
  EXPECT_EQ(t.front(), "Loading input file ....");
  EXPECT_LT(at("Loading input file ...."), at("Appending input file to TDM output file ...."));
  EXPECT_LT(at("Appending input file to TDM output file ...."), at("Calculating max/min for VDU output ...."));
  EXPECT_LT(at("Calculating max/min for VDU output ...."), at("Loading FFT proccessing array ...."));
  EXPECT_LT(at("Generating FDM output file  ...."), at("Appending input file to FDM output file  ...."));
  EXPECT_EQ(fx.platform.positions.front(), 0);
  for (size_t i = 1; i < fx.platform.positions.size(); ++i)
    EXPECT_NE(fx.platform.positions[i], fx.platform.positions[i - 1]);  // only changes are passed on
  const auto& ev = fx.platform.events;
  const std::vector<std::string> expected = {"progress-create", "progress-show", "toolbar-show",
                                             "statistics-create", "statistics-fill", "statistics-show",
                                             "toolbar-hide", "progress-destroy"};
  EXPECT_EQ(ev, expected);
  EXPECT_EQ(fx.platform.statTotal, "3000");
  EXPECT_EQ(fx.platform.statFiltered, "0");
  EXPECT_EQ(fx.platform.statPercent, "0.");
}

TEST_F(RunTest, ProgressDialogFailureIsReportedAndTheRunGoesOn) {
  fx.platform.failProgressDialog = true;
  fx.platform.failStatisticsDialog = true;
  EXPECT_TRUE(Run(VbtFile(Steady(100))));
  ASSERT_EQ(fx.platform.debug.size(), 2u);
  EXPECT_NE(fx.platform.debug[0].find("CreateDialog (Progress Dialog)."), std::string::npos);
  EXPECT_NE(fx.platform.debug[1].find("CreateDialog (Bad Dialog)."), std::string::npos);
}

TEST_F(RunTest, FilteredPercentageToSixDigits) {
  // Three raw lines, the last one invalid: 33.3333 %.
  Run(VbtFile("1000,400\r\n1005,402\r\n5,400\r\n"));
  EXPECT_EQ(fx.platform.statPercent, "33.3333");
  EXPECT_STREQ(marks.percentText, "33.3333");
}

TEST(DisplayStatistics, RangeLeavesOutTheFillAndTheLastSample) {
  test::Fixture fx;
  AnalysisRecord& r = fx.r();
  r.settings.MovAvgLen = 5;
  r.counters.ProgrCount = 30;
  r.params.N_SLOT = 60;
  for (int i = 0; i <= 30; ++i) {
    r.samples.RPMfiltArr[i] = r.samples.RPMinstArr[i] = 1000;
    r.samples.TRQfiltArr[i] = r.samples.POTfiltArr[i] = 10;
  }
  // Outside the range 10..29: ignored.
  r.samples.RPMfiltArr[9] = r.samples.RPMinstArr[30] = 5000;
  r.samples.TRQfiltArr[30] = -7;
  r.samples.POTfiltArr[0] = 99;
  // Inside: counted.
  r.samples.RPMfiltArr[10] = 1100;
  r.samples.RPMinstArr[29] = 900;
  r.samples.TRQfiltArr[10] = 12;
  ComputeDisplayStatistics(r, fx.run);
  EXPECT_EQ(r.stats.RPMfiltMax, 1100);
  EXPECT_EQ(r.stats.RPMfiltMin, 1000);
  EXPECT_EQ(r.stats.RPMinstMax, 1000);
  EXPECT_EQ(r.stats.RPMinstMin, 900);
  EXPECT_EQ(r.stats.TRQfiltMax, 12);
  EXPECT_EQ(r.stats.TRQfiltMin, 10);
  EXPECT_EQ(r.stats.POTfiltMax, 10);
  EXPECT_EQ(r.stats.RPMfiltMean, (1000.0 * 19 + 1100) / 20);
  EXPECT_EQ(r.stats.RPMinstMean, (1000.0 * 19 + 900) / 20);
  EXPECT_EQ(r.stats.Fc, r.stats.RPMfiltMean * 60 * 0.016666666666666666);
}

TEST_F(RunTest, EmptyStatisticsRangeGivesZerosAndNoWarning) {
  EXPECT_TRUE(Run(VbtFile(Steady(15))));  // 13 emitted, below 2 x 10
  EXPECT_TRUE(marks.statisticsDone);
  EXPECT_EQ(r().stats.RPMfiltMax, 0.0);
  EXPECT_EQ(r().stats.RPMfiltMean, 0.0);
  EXPECT_EQ(r().stats.Fc, 0.0);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"FFT processor: Too few samples for the FFT"}));
}

// Speed-variation warnings at their exact thresholds.
class WarningTest : public ::testing::Test {
 protected:
  std::vector<std::string> Warn(double mean, double fmax, double fmin, double imax, double imin) {
    fx.r().settings.MovAvgLen = 10;
    fx.r().counters.ProgrCount = 100;
    fx.r().stats.RPMfiltMean = fx.r().stats.RPMinstMean = mean;
    fx.r().stats.RPMfiltMax = fmax;
    fx.r().stats.RPMfiltMin = fmin;
    fx.r().stats.RPMinstMax = imax;
    fx.r().stats.RPMinstMin = imin;
    fx.platform.messages.clear();
    CheckSpeedVariation(fx.r(), fx.platform);
    return fx.platform.MessageLines();
  }
  test::Fixture fx;
};

TEST_F(WarningTest, ExactlyTwoAndSixPercentAreAccepted) {
  EXPECT_TRUE(Warn(100, 102, 98, 106, 94).empty());
  EXPECT_EQ(Warn(100, 103, 100, 100, 100),
            (std::vector<std::string>{
                "VBT preprocessor: Alarm: Filtered RPM variation too high (>2%). FFT not reliable!"}));
  EXPECT_EQ(Warn(100, 100, 97, 100, 100).size(), 1u);
  EXPECT_EQ(Warn(100, 100, 100, 100, 93),
            (std::vector<std::string>{
                "VBT preprocessor: Warning: Unfiltered RPM variation too high (> 6%). FFT not reliable!"}));
  EXPECT_EQ(Warn(100, 110, 100, 110, 100).size(), 2u);
  fx.r().counters.ProgrCount = 20;  // empty statistics range
  fx.platform.messages.clear();
  CheckSpeedVariation(fx.r(), fx.platform);
  EXPECT_TRUE(fx.platform.messages.empty());
}

TEST(SizeCheck, LimitsOfTheInputSize) {
  EXPECT_EQ(SizeCheckMessage(0), nullptr);
  EXPECT_EQ(SizeCheckMessage(4294901759ull), nullptr);
  EXPECT_STREQ(SizeCheckMessage(4294901760ull), "File is too large for buffer size.");
  EXPECT_STREQ(SizeCheckMessage(4294967295ull), "File is too large for buffer size.");
  EXPECT_STREQ(SizeCheckMessage(4294967296ull), "File is too large to load.");
}

TEST_F(RunTest, OversizedSparseFileIsRefused) {
  WriteFile(In(), VbtFile(Steady(3)));
  ASSERT_EQ(truncate(In().c_str(), 4294967296LL), 0);
  EXPECT_FALSE(Vbt(In().c_str(), Tdm().c_str(), Fdm().c_str()));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"VBT File Loading Error: File is too large to load."}));
  EXPECT_FALSE(std::filesystem::exists(Tdm()));
  EXPECT_FALSE(marks.resetDone);
  ASSERT_EQ(truncate(In().c_str(), 4294901760LL), 0);
  fx.platform.messages.clear();
  EXPECT_FALSE(Vbt(In().c_str(), Tdm().c_str(), Fdm().c_str()));
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"VBT File Loading Error: File is too large for buffer size."}));
}

// A caller may leave lengths outside their ranges in the record (a settings
// dialog that forgets its clamp): the run bounds them to what its buffers
// hold, and runs exactly as with the nearest lengths in range.
TEST_F(RunTest, OutOfRangeFilterLengthsAreBoundedByTheRun) {
  const std::string content = VbtFile(Steady(300, 10000, 2510) + Steady(300, 10100, 2530));
  struct Case { int movAvg, zeroCross, boundMovAvg, boundZeroCross; };
  for (const Case& c : {Case{300, 0, 200, 4}, Case{0, 300, 5, 30}, Case{-5, -1, 5, 4}}) {
    SCOPED_TRACE(testing::Message() << c.movAvg << "/" << c.zeroCross);
    r().settings.UseFilterDefaults = 0;  // the header must not replace them
    r().settings.MovAvgLen = c.boundMovAvg, r().settings.ZeroCrossLen = c.boundZeroCross;
    ASSERT_TRUE(Run(content));
    const std::string tdm = ReadFile(Tdm()), fdm = ReadFile(Fdm());
    r().settings.MovAvgLen = c.movAvg, r().settings.ZeroCrossLen = c.zeroCross;
    ASSERT_TRUE(Run(content));
    EXPECT_EQ(r().settings.MovAvgLen, c.boundMovAvg);
    EXPECT_EQ(r().settings.ZeroCrossLen, c.boundZeroCross);
    EXPECT_EQ(ReadFile(Tdm()), tdm);
    EXPECT_EQ(ReadFile(Fdm()), fdm);
  }
}

TEST_F(RunTest, RunsDoNotDependOnEarlierRuns) {
  const std::string content = VbtFile("5,400\r\n" + Steady(200, 10000, 2510) + Steady(200, 10100, 2530));
  ASSERT_TRUE(Run(content));
  const std::string first = ReadFile(Tdm());
  const std::string firstFdm = ReadFile(Fdm());
  // A different run in between leaves other values in every working field.
  ASSERT_TRUE(Run(VbtFile(Steady(500, 9000, 2300))));
  ASSERT_TRUE(Run(content));
  EXPECT_EQ(ReadFile(Tdm()), first);
  EXPECT_EQ(ReadFile(Fdm()), firstFdm);
}

TEST_F(RunTest, WriteFailureIsNeverSuccess) {
  WriteFile(In(), VbtFile(Steady(200)));
  EXPECT_FALSE(Vbt(In().c_str(), "/dev/full", Fdm().c_str()));
  ASSERT_FALSE(fx.platform.debug.empty());
  EXPECT_EQ(fx.platform.debug[0].substr(0, 38), "Error 28: TDM file write failure.\n\rNo ");
  EXPECT_EQ(Messages().back(),
            "VBT preprocessor: Output file write failure: no output file was replaced.");
  EXPECT_FALSE(Exists(Fdm()));
  EXPECT_FALSE(marks.completed);
}

TEST_F(RunTest, OutputsNamingTheInputAreRefused) {
  const std::string content = VbtFile(Steady(50));
  WriteFile(In(), content);
  EXPECT_FALSE(Vbt(In().c_str(), In().c_str(), Fdm().c_str()));
  EXPECT_FALSE(Vbt(In().c_str(), Tdm().c_str(), In().c_str()));
  ASSERT_EQ(symlink(In().c_str(), dir.Path("link").c_str()), 0);
  EXPECT_FALSE(Vbt(In().c_str(), dir.Path("link").c_str(), Fdm().c_str()));
  EXPECT_FALSE(Vbt(In().c_str(), Tdm().c_str(), Tdm().c_str()));
  EXPECT_EQ(ReadFile(In()), content);
  ASSERT_EQ(fx.platform.debug.size(), 4u);
  for (const auto& d : fx.platform.debug) EXPECT_NE(d.find("FDM file creation failure."), std::string::npos);
}

}  // namespace
}  // namespace tz

namespace tz {
namespace {

// A platform whose statistics dialog cannot be made for want of memory: the
// allocation fails after both outputs are written whole.
struct NoMemoryForStatistics : RecordingPlatform {
  bool CreateStatisticsDialog() override { throw std::bad_alloc(); }
};

TEST(RunMemory, RunningOutOfMemoryFailsTheRunAndTouchesNoOutput) {
  test::TempDir dir;
  auto rec = NewAnalysisRecord();
  AnalysisRecord& r = *rec;
  test::WriteFile(dir.Path("in.VBT"), test::VbtFile(Steady(200)));
  test::WriteFile(dir.Path("out.TDM"), "kept");
  r.source.SourceKind = InputKind::Vbt;
  r.source.InputPath = dir.Path("in.VBT");
  r.source.TdmPath = dir.Path("out.TDM");
  r.source.FdmPath = dir.Path("out.FDM");
  NoMemoryForStatistics platform;
  const RunMarks marks = RunProcessing(r, platform);
  EXPECT_FALSE(marks.completed);
  EXPECT_EQ(platform.MessageLines().back(), "Torzalen: Not enough memory to process the file.");
  EXPECT_EQ(test::ReadFile(dir.Path("out.TDM")), "kept");
  EXPECT_FALSE(Exists(dir.Path("out.FDM")));
  // The run's windows are gone before the message.
  const auto& ev = platform.events;
  const auto destroyed = std::find(ev.begin(), ev.end(), "progress-destroy");
  EXPECT_LT(destroyed, std::find(ev.begin(), ev.end(), "message:Not enough memory to process the file."));
  EXPECT_EQ(std::count(ev.begin(), ev.end(), "toolbar-hide"), 1);
  int names = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path(""))) names += !e.is_directory();
  EXPECT_EQ(names, 2);  // no temporary file left
}

}  // namespace
}  // namespace tz
