// The line reader and the VBT header and sample-line parsers.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "processing/analysis_record.h"
#include "processing/files.h"
#include "processing/line_reader.h"
#include "processing/tdm_writer.h"
#include "processing/vbt_reader.h"
#include "tests/test_support.h"

namespace tz {
namespace {

using test::TempDir;

std::vector<std::string> Lines(const std::string& content, uint64_t* bytes = nullptr) {
  TempDir dir;
  test::WriteFile(dir.Path("in"), content);
  InputFile in;
  EXPECT_TRUE(in.Open(dir.Path("in").c_str()));
  LineReader reader(in);
  uint64_t count = 0;
  std::vector<std::string> out;
  while (reader.ReadLine(count)) out.emplace_back(reader.Line(), reader.Length());
  if (bytes) *bytes = count;
  return out;
}

TEST(LineReader, SecondTerminatorClosesTheLine) {
  using V = std::vector<std::string>;
  const std::string withNul("a\0b\xff", 4);
  const std::pair<std::string, V> cases[] = {
      {"a\r\nbb\r\n\r\nc\r\n", V{"a", "bb", "", "c"}},
      {"a\nb\nc\nd\n", V{"ab", "cd"}},  // bare LF lines merge pairwise
      {"a\r\rb\n\n", V{"a", "b"}},
      {"a\r\nb", V{"a"}},  // an unclosed last line is lost
      {"a\r\nb\r", V{"a"}},
      {withNul + "\r\n", V{withNul}}};  // every other byte is ordinary
  for (const auto& [content, lines] : cases) EXPECT_EQ(Lines(content), lines);
}

TEST(LineReader, LongLinesKeep149Characters) {
  const std::string longLine(200, 'x');
  const auto lines = Lines(longLine + "\r\nnext\r\n");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(149, 'x'));
  EXPECT_EQ(lines[1], "next");
}

TEST(LineReader, EveryOtherByteIsOrdinary) {
  const std::string withNul("a\0b\xff", 4);
  EXPECT_EQ(Lines(withNul + "\r\n"), (std::vector<std::string>{withNul}));
}

TEST(LineReader, CountsEveryByteConsumed) {
  uint64_t bytes = 0;
  Lines(std::string(70000, 'y') + "\r\nz", &bytes);  // spans two read blocks
  EXPECT_EQ(bytes, 70003u);
}

TEST(LineReader, LinesAcrossBlockBoundaries) {
  std::string content;
  for (int i = 0; i < 20000; ++i) content += std::to_string(i) + "," + std::to_string(i * 7) + "\r\n";
  const auto lines = Lines(content);
  ASSERT_EQ(lines.size(), 20000u);
  EXPECT_EQ(lines[12345], "12345,86415");
}

TEST(SampleLine, FieldsAndWrapAround) {
  uint32_t c = 0, s = 0;
  EXPECT_FALSE(ParseSampleLine("123", 3, &c, &s));  // no comma: ignored
  const std::tuple<std::string, uint32_t, uint32_t> cases[] = {
      {"123,45,9", 123u, 45u}, {"  77  ,a", 77u, 0u}, {"-5,3", 4294967291u, 3u}, {",", 0u, 0u}};
  for (const auto& [line, cislot, cslot] : cases) {
    ASSERT_TRUE(ParseSampleLine(line.data(), line.size(), &c, &s)) << line;
    EXPECT_EQ(c, cislot) << line;
    EXPECT_EQ(s, cslot) << line;
  }
}

class HeaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tdm.Create(dir.Path("t").c_str()));
    ASSERT_TRUE(fdm.Create(dir.Path("f").c_str()));
    fx.run.tdm = &tdm;
    fx.run.fdm = &fdm;
  }
  AnalysisRecord& r() { return fx.r(); }
  // Feeds the lines as the run does: a complete header writes both header
  // blocks; a missing counter period ends the feed with kAbandoned.
  static constexpr int kAbandoned = -1;
  int Feed(const std::vector<std::string>& lines, int state = 0) {
    for (const auto& l : lines) {
      const HeaderStep step = ParseHeaderLine(r().params, r().settings, l.data(), l.size(), state);
      if (step.event == HeaderEvent::CounterPeriodMissing) return kAbandoned;
      if (step.event == HeaderEvent::Complete) WriteHeaderBlocks(r(), fx.run);
      state = step.state;
    }
    return state;
  }
  test::Fixture fx;
  TempDir dir;
  OutputFile tdm, fdm;
};

const std::vector<std::string> kHeader = {
    "junk before the title",
    "Download of sampled vibrotorsional data, unit 7",
    "08/12/2026",
    "10:00:00",
    "Fmux=0.25uS",
    "G=80000N/sqmm",
    "a comment",
    "Rext=25mm",
    "Rint=5mm",
    "L=100mm",
    "N_SLOT=60",
    "A_SLOT=3",
    "Perc_Slot=0.5",
    "RPMmax=3000rpm",
    "PCoeff=1.5",
    "PDist=2",
    "Cislot,Cslot"};

TEST_F(HeaderTest, FillsTheParametersAndDefaults) {
  r().settings.MovAvgLen = 50;
  r().settings.ZeroCrossLen = 9;
  r().settings.AllowedOvershoot = 0.3;
  EXPECT_EQ(Feed(kHeader), kVbtSampleState);
  EXPECT_EQ(std::string(r().params.DateText, r().params.DateLen), "08/12/2026");
  EXPECT_EQ(std::string(r().params.TimeText, r().params.TimeLen), "10:00:00");
  EXPECT_EQ(r().params.Fmux, 0.25);
  EXPECT_EQ(r().params.G, 80000);
  EXPECT_EQ(r().params.Rext, 25);
  EXPECT_EQ(r().params.Rint, 5);
  EXPECT_EQ(r().params.L, 100);
  EXPECT_EQ(r().params.N_SLOT, 60);
  EXPECT_EQ(r().params.A_SLOT, 3);
  EXPECT_EQ(r().params.Perc_Slot, 0.5);
  EXPECT_EQ(r().params.RPMmax, 3000);
  EXPECT_EQ(r().params.PCoeff, 1.5);
  EXPECT_EQ(r().params.PDist, 2);
  EXPECT_EQ(r().settings.RPMthreshold, 0.4 * 3000);
  EXPECT_EQ(r().settings.MovAvgLen, 10);
  EXPECT_EQ(r().settings.ZeroCrossLen, 4);
  EXPECT_EQ(r().settings.AllowedOvershoot, 0.1);
  EXPECT_TRUE(fx.platform.messages.empty());
}

TEST_F(HeaderTest, UserSettingsStandWhenDefaultsAreOff) {
  r().settings.UseFilterDefaults = 0;
  r().settings.MovAvgLen = 50;
  r().settings.RPMthreshold = 7;
  Feed(kHeader);
  EXPECT_EQ(r().settings.MovAvgLen, 50);
  EXPECT_EQ(r().settings.RPMthreshold, 7);
}

TEST_F(HeaderTest, FixedSettingsStandWhileOthersTakeDefaults) {
  r().settings.MovAvgLen = 50;
  r().settings.RPMthreshold = 7;
  r().settings.FixedFilterSettings = kFixThreshold;
  Feed(kHeader);
  EXPECT_EQ(r().settings.MovAvgLen, 10);
  EXPECT_EQ(r().settings.RPMthreshold, 7);
}

TEST_F(HeaderTest, UnitCutTakesCharactersWhateverTheyAre) {
  Feed({"Download of sampled vibrotorsional data", "d", "t", "Fmux=0.25"});
  EXPECT_EQ(r().params.Fmux, 0.0);  // "0.25" loses "25" to the cut: "0." reads 0
  Feed({"Download of sampled vibrotorsional data", "d", "t", "Fmux=1"});
  EXPECT_EQ(r().params.Fmux, 0.0);  // fewer characters than the cut
  Feed({"Download of sampled vibrotorsional data", "d", "t", "Fmux=2.5XY"});
  EXPECT_EQ(r().params.Fmux, 2.5);
}

// The instrument's file: RPMmax carries "rpm", A_SLOT no unit at all.
TEST_F(HeaderTest, UnitCutsOfTheInstrumentsLines) {
  struct Case { int state; const char* line; double HeaderParameters::*field; double value; };
  const Case cases[] = {
      {4, "G=80000N/sqmm", &HeaderParameters::G, 80000},
      {7, "L=100", &HeaderParameters::L, 1},
      {9, "A_SLOT=3", &HeaderParameters::A_SLOT, 3},
      {11, "RPMmax=3000rpm", &HeaderParameters::RPMmax, 3000},
      {11, "RPMmax=3000", &HeaderParameters::RPMmax, 3},
      {13, "PDist=2", &HeaderParameters::PDist, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    r().params.*c.field = -1;
    EXPECT_EQ(Feed({c.line}, c.state), c.state + 1);
    EXPECT_EQ(r().params.*c.field, c.value);
  }
}

TEST_F(HeaderTest, MissingCounterPeriodAborts) {
  EXPECT_EQ(Feed({"Download of sampled vibrotorsional data", "d", "t", "G=80000N/sqmm"}),
            kAbandoned);
  // The parser shows nothing: the run shows the message under its caption (run tests).
  EXPECT_TRUE(fx.platform.messages.empty());
}

TEST_F(HeaderTest, LongDateAndTimeLinesAreCut) {
  Feed({"Download of sampled vibrotorsional data", std::string(60, 'd'), std::string(60, 't')});
  EXPECT_EQ(std::string(r().params.DateText, r().params.DateLen), std::string(31, 'd'));
  EXPECT_EQ(std::string(r().params.TimeText, r().params.TimeLen), std::string(23, 't'));
}

TEST_F(HeaderTest, TitleRestartsTheHeaderInAnyState) {
  EXPECT_EQ(Feed(kHeader), kVbtSampleState);
  std::vector<std::string> again(kHeader.begin() + 1, kHeader.end());
  again[3] = "Fmux=0.5uS";
  EXPECT_EQ(Feed(again, kVbtSampleState), kVbtSampleState);
  EXPECT_EQ(r().params.Fmux, 0.5);
  tdm.Close();
  // Both header blocks were written, each followed by the column line.
  const std::string t = test::ReadFile(dir.Path("t"));
  size_t count = 0;
  for (size_t p = t.find("Vibrotorsional Time Domain Analysis"); p != std::string::npos;
       p = t.find("Vibrotorsional Time Domain Analysis", p + 1))
    ++count;
  EXPECT_EQ(count, 2u);
}

TEST_F(HeaderTest, HeaderBlockLayout) {
  Feed(kHeader);
  tdm.Close();
  fdm.Close();
  const auto t = test::SplitLines(test::ReadFile(dir.Path("t")));
  const std::vector<std::string> expected = {
      "Vibrotorsional Time Domain Analysis", "Rev. 1.0", "Date:08/12/2026", "Time:10:00:00",
      "Counter period=0.25uS", "G=80000.0N/sqmm", "Rext=25.0mm", "Rint=5.0mm", "L=100.0mm",
      "N_SLOT=60.0", "A_SLOT=3.0degrees", "Perc_Slot=0.5", "RPMmax=3000.0", "PCoeff=1.5",
      "PDist=2.0", "Allowed overshot(%)=0.1", "Moving average filtering length=10",
      "RPM threshold=1200.0", "Zero crossing filter length=4",
      "Progr, Tprogr(sec.), Dt(sec.), RPMfilt, TRQfilt(Nm), POTfilt(kW), Cislot, Cslot, TRQ0cnt, "
      "dTRQinst, RPMinst, TRQinst(Nm), POTinst(kW)"};
  EXPECT_EQ(t, expected);
  const auto f = test::SplitLines(test::ReadFile(dir.Path("f")));
  ASSERT_EQ(f.size(), 19u);
  EXPECT_EQ(f[0], "Vibrotorsional Frequency Domain Analysis");
  EXPECT_TRUE(std::equal(f.begin() + 1, f.end(), expected.begin() + 1));
}

}  // namespace
}  // namespace tz
