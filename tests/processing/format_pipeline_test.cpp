// The pipeline that makes the outputs' text: the bytes of the jobs in the
// order they were queued, whichever thread formats them; blocks handed back;
// a file that fails mid-way; a run cut short.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "processing/files.h"
#include "processing/format_pipeline.h"
#include "tests/test_support.h"

namespace tz {
namespace {

using test::ReadFile;

// What a job of the tests formats: "tag i" lines, after a pause if asked.
struct Tag {
  char name;
  int pauseMs = 0;
};

size_t TagLines(const FormatJob& job, char* out, char* end) {
  const Tag& tag = *static_cast<const Tag*>(job.data);
  if (tag.pauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(tag.pauseMs));
  char* p = out;
  for (int32_t i = job.from; i < job.to && end - p > 16; ++i)
    p += std::snprintf(p, static_cast<size_t>(end - p), "%c %d\n", tag.name, i);
  return static_cast<size_t>(p - out);
}

std::string Expected(char name, int32_t from, int32_t to) {
  std::string s;
  for (int32_t i = from; i < to; ++i) {
    s += name;
    s += ' ';
    s += std::to_string(i);
    s += '\n';
  }
  return s;
}

size_t SampleLines(const FormatJob& job, char* out, char* end) {
  const auto* samples = static_cast<const EmittedSample*>(job.data);
  char* p = out;
  for (int32_t i = job.from; i < job.to && end - p > 16; ++i)
    p += std::snprintf(p, static_cast<size_t>(end - p), "%.0f\n", samples[i].Progr);
  return static_cast<size_t>(p - out);
}

class FormatPipelineTest : public ::testing::TestWithParam<FormatShare> {
 protected:
  void SetUp() override { ASSERT_TRUE(file.Create(Path().c_str())); }
  std::string Path() const { return dir.Path("out.txt"); }
  std::string Written() {
    EXPECT_TRUE(file.Close());
    return ReadFile(Path());
  }
  test::TempDir dir;
  OutputFile file;
};

// Jobs small and large (a large one starts the worker), texts between them,
// and two files fed alternately: each file holds its jobs in queued order.
TEST_P(FormatPipelineTest, JobsReachTheirFilesInTheOrderQueued) {
  OutputFile second;
  ASSERT_TRUE(second.Create(dir.Path("second.txt").c_str()));
  const Tag a{'a'}, b{'b'};
  std::string expected, expectedSecond;
  int jobs = 0;
  {
    FormatPipeline out(GetParam());
    for (int k = 0; k < 40; ++k) {
      const int32_t lines = k % 3 == 0 ? FormatPipeline::kWorkerLines + k : 10 + k;
      out.Queue(file, FormatJob{TagLines, &a, k * 100000, k * 100000 + lines});
      expected += Expected('a', k * 100000, k * 100000 + lines);
      out.Queue(second, FormatJob{TagLines, &b, k, k + 200});
      expectedSecond += Expected('b', k, k + 200);
      const std::string text = "text " + std::to_string(k) + "\n";
      out.QueueText(file, text.data(), text.size());
      expected += text;
      jobs += 3;
    }
    out.Drain();
    const FormatPipeline::Counts counts = out.Formatted();
    EXPECT_EQ(counts.runThread + counts.worker, jobs);
    if (GetParam() == FormatShare::WorkerOnly) {
      EXPECT_EQ(counts.runThread, 0);
    }
    if (GetParam() == FormatShare::RunThreadOnly) {
      EXPECT_EQ(counts.worker, 0);
    }
  }
  EXPECT_EQ(Written(), expected);
  EXPECT_TRUE(second.Close());
  EXPECT_EQ(ReadFile(dir.Path("second.txt")), expectedSecond);
}

// More blocks than the pipeline has: taking one waits until one is
// formatted; the lines come out in order, the last block partly filled.
TEST_P(FormatPipelineTest, BlocksAreFilledQueuedAndHandedBackInOrder) {
  std::string expected;
  {
    FormatPipeline out(GetParam());
    int32_t progr = 0;
    for (int block = 0; block < 11; ++block) {
      EmittedSample* s = out.TakeBlock();
      const int count = block == 10 ? 123 : FormatPipeline::kBlockLines;
      for (int i = 0; i < count; ++i) {
        s[i].Progr = ++progr;
        expected += std::to_string(progr);
        expected += '\n';
      }
      out.QueueBlock(file, s, count, SampleLines);
    }
    out.Drain();
  }
  EXPECT_EQ(Written(), expected);
}

// A file that fails takes no more text; the other file gets all of its own
// and draining returns.
TEST_P(FormatPipelineTest, AFileThatFailsMidwayHoldsUpNothing) {
  OutputFile full;
  ASSERT_TRUE(full.Create("/dev/full"));
  const Tag a{'a'}, b{'b'};
  std::string expected;
  {
    FormatPipeline out(GetParam());
    for (int k = 0; k < 30; ++k) {
      out.Queue(full, FormatJob{TagLines, &b, 0, 3 * FormatPipeline::kWorkerLines});
      out.Queue(file, FormatJob{TagLines, &a, k, k + FormatPipeline::kWorkerLines});
      expected += Expected('a', k, k + FormatPipeline::kWorkerLines);
    }
    out.Drain();
  }
  EXPECT_TRUE(full.Failed());
  EXPECT_FALSE(full.Close());
  EXPECT_EQ(Written(), expected);
}

// A run cut short: the jobs no thread has begun are dropped, what reached
// the file is whole jobs in order, and nothing queued afterwards arrives.
TEST_P(FormatPipelineTest, CancelKeepsWholeJobsInOrderAndDropsTheRest) {
  const Tag slow{'s', 3};
  std::string all;
  {
    FormatPipeline out(GetParam());
    for (int k = 0; k < 20; ++k) {
      const int32_t from = k * 10000, to = from + FormatPipeline::kWorkerLines;
      out.Queue(file, FormatJob{TagLines, &slow, from, to});
      all += Expected('s', from, to);
    }
    out.Cancel();
    out.Queue(file, FormatJob{TagLines, &slow, 0, 10});
    out.QueueText(file, "late\n", 5);
    out.Drain();
  }
  const std::string written = Written();
  ASSERT_LE(written.size(), all.size());
  EXPECT_EQ(all.compare(0, written.size(), written), 0);
  EXPECT_TRUE(written.empty() || written.back() == '\n');
  if (GetParam() == FormatShare::RunThreadOnly) {
    EXPECT_EQ(written, all);  // each job was written as it was queued
  }
}

INSTANTIATE_TEST_SUITE_P(Shares, FormatPipelineTest,
                         ::testing::Values(FormatShare::Both, FormatShare::WorkerOnly,
                                           FormatShare::RunThreadOnly),
                         [](const auto& info) {
                           switch (info.param) {
                             case FormatShare::Both: return std::string("Both");
                             case FormatShare::WorkerOnly: return std::string("WorkerOnly");
                             default: return std::string("RunThreadOnly");
                           }
                         });

// The first job (the worker's: it takes the oldest) holds the worker until
// another job has been formatted, which only the run's thread, waiting for
// the rest, can do: it formats a share itself. (Five seconds at most, so
// that a pipeline that never helps fails the test instead of hanging it.)
std::atomic<int> g_othersFormatted{0};

size_t GatedLines(const FormatJob& job, char* out, char* end) {
  if (job.from == 0) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (g_othersFormatted.load() == 0 && std::chrono::steady_clock::now() < limit)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  const size_t n = TagLines(job, out, end);
  if (job.from != 0) ++g_othersFormatted;
  return n;
}

TEST(FormatPipelineShare, TheRunThreadFormatsAShareWhenItWouldWait) {
  test::TempDir dir;
  OutputFile file;
  ASSERT_TRUE(file.Create(dir.Path("out.txt").c_str()));
  const Tag tag{'s'};
  std::string expected;
  FormatPipeline::Counts counts;
  g_othersFormatted = 0;
  {
    FormatPipeline out(FormatShare::Both);
    for (int k = 0; k < 30; ++k) {
      const int32_t from = k * 10000, to = from + FormatPipeline::kWorkerLines;
      out.Queue(file, FormatJob{GatedLines, &tag, from, to});
      expected += Expected('s', from, to);
    }
    out.Drain();
    counts = out.Formatted();
  }
  EXPECT_GT(counts.worker, 0);
  EXPECT_GT(counts.runThread, 0);
  EXPECT_EQ(counts.worker + counts.runThread, 30);
  EXPECT_TRUE(file.Close());
  EXPECT_EQ(ReadFile(dir.Path("out.txt")), expected);
}

// A run smaller than a block never starts the worker.
TEST(FormatPipelineShare, ASmallRunIsFormattedOnItsOwnThread) {
  test::TempDir dir;
  OutputFile file;
  ASSERT_TRUE(file.Create(dir.Path("out.txt").c_str()));
  const Tag a{'a'};
  FormatPipeline out(FormatShare::Both);
  for (int k = 0; k < 5; ++k)
    out.Queue(file, FormatJob{TagLines, &a, 0, FormatPipeline::kWorkerLines - 1});
  out.Drain();
  EXPECT_EQ(out.Formatted().worker, 0);
  EXPECT_EQ(out.Formatted().runThread, 5);
}

}  // namespace
}  // namespace tz
