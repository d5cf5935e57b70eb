// Whole runs with the text made on one thread, on the worker alone, or on
// both: the same files and progress; and a record brought back by
// ClearLastRun runs an input as a fresh record does.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "processing/analysis_record.h"
#include "processing/format_pipeline.h"
#include "run/process_input.h"
#include "tests/recording_platform.h"
#include "tests/test_support.h"

namespace tz {
namespace {

using test::ReadFile;
using test::SourcePath;

struct RunOutput {
  std::string tdm, fdm;
  std::vector<int> positions;
  std::vector<std::string> texts, messages;
};

RunOutput RunVbt(AnalysisRecord& r, const std::string& input, const test::TempDir& dir) {
  RecordingPlatform platform;
  const std::string tdm = dir.Path("out.TDM"), fdm = dir.Path("out.FDM");
  EXPECT_TRUE(ProcessVbtFile(r, platform, input.c_str(), tdm.c_str(), fdm.c_str()).completed);
  return {ReadFile(tdm), ReadFile(fdm), platform.positions, platform.texts,
          platform.MessageLines()};
}

class ShareRestorer {
 public:
  ~ShareRestorer() { SetFormatShare(FormatShare::Both); }
};

// A small input (below a block: never the worker) and a full-capacity one.
TEST(PipelinedRun, EveryShareWritesTheSameBytesAndProgress) {
  test::TempDir dir;
  ShareRestorer restore;
  const std::string full = dir.Path("full.VBT");
  test::Generate(full, "--samples 524288");
  for (const std::string& input : {SourcePath("samples/demo.VBT"), full}) {
    SCOPED_TRACE(input);
    SetFormatShare(FormatShare::RunThreadOnly);
    RecordPtr first = NewAnalysisRecord();
    const RunOutput one = RunVbt(*first, input, dir);
    ASSERT_GT(one.tdm.size(), 10000u);
    for (FormatShare share : {FormatShare::WorkerOnly, FormatShare::Both}) {
      SetFormatShare(share);
      RecordPtr r = NewAnalysisRecord();
      const RunOutput other = RunVbt(*r, input, dir);
      EXPECT_TRUE(other.tdm == one.tdm);
      EXPECT_TRUE(other.fdm == one.fdm);
      EXPECT_EQ(other.positions, one.positions);
      EXPECT_EQ(other.texts, one.texts);
      EXPECT_EQ(other.messages, one.messages);
    }
  }
}

template <typename T, size_t N>
bool SameArray(const T (&a)[N], const T (&b)[N]) {
  return std::memcmp(a, b, sizeof a) == 0;
}

bool SameLines(const SpecLine* a, const SpecLine* b) {
  for (int i = 0; i < kSampleCapacity; ++i)
    if (a[i].line != b[i].line || a[i].freq != b[i].freq || a[i].mag != b[i].mag) return false;
  return true;
}

// Every array of the record as a run leaves it, over its whole capacity.
void ExpectSameArrays(const AnalysisRecord& a, const AnalysisRecord& b) {
  EXPECT_TRUE(std::memcmp(&a.samples, &b.samples, sizeof a.samples) == 0);
  const SpectrumResults &x = a.spectrum, &y = b.spectrum;
  EXPECT_TRUE(SameArray(x.FFTinRe, y.FFTinRe) && SameArray(x.FFTinIm, y.FFTinIm));
  EXPECT_TRUE(SameArray(x.SincKernel, y.SincKernel) && SameArray(x.FFTfreq, y.FFTfreq));
  EXPECT_TRUE(SameArray(x.FFTre, y.FFTre) && SameArray(x.FFTim, y.FFTim));
  EXPECT_TRUE(SameLines(x.SpecLines, y.SpecLines));
  EXPECT_TRUE(SameLines(x.SpecLinesTmp, y.SpecLinesTmp));
  EXPECT_TRUE(SameArray(x.PickOrder, y.PickOrder));
  EXPECT_EQ(std::memcmp(&a.counters, &b.counters, sizeof a.counters), 0);
  EXPECT_EQ(x.FFT_N, y.FFT_N);
  EXPECT_EQ(x.FundLine, y.FundLine);
  EXPECT_EQ(x.TotalEnergy, y.TotalEnergy);
}

// A longer run with other settings (window, source, filters) leaves traces
// all over the record; after ClearLastRun the demo gives what a fresh
// record gives, files and record alike, and so does a record whose last run
// was the demo itself.
TEST(ClearLastRun, AnInputRunsTheSameWhateverRanBefore) {
  test::TempDir dir;
  const std::string demo = SourcePath("samples/demo.VBT");
  const std::string longer = dir.Path("longer.VBT");
  test::Generate(longer, "--samples 300000 --seed 5");
  RecordPtr fresh = NewAnalysisRecord();
  const RunOutput expected = RunVbt(*fresh, demo, dir);

  RecordPtr used = NewAnalysisRecord();
  used->settings.FFTwindow = FftWindow::FlatTop;
  used->settings.FFTsource = FftSource::RpmInst;
  used->settings.MovAvgLen = 37;
  used->settings.UseFilterDefaults = 0;
  RunVbt(*used, longer, dir);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ClearLastRun(*used);
    const RunOutput again = RunVbt(*used, demo, dir);
    EXPECT_TRUE(again.tdm == expected.tdm);
    EXPECT_TRUE(again.fdm == expected.fdm);
    EXPECT_EQ(again.messages, expected.messages);
    ExpectSameArrays(*used, *fresh);
  }
}

}  // namespace
}  // namespace tz
