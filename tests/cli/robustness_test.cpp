// The batch command at the edge of the program: files that cannot be written
// or read, streams that never end, its own standard output, memory. Whatever
// happens it answers with its messages, leaves the input and every earlier
// output as they were, and never reports a failure as success.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/kept_outputs.h"
#include "tests/test_support.h"

namespace tz::test {
namespace {

namespace fs = std::filesystem;

const std::string kDemo = SourcePath("samples/demo.VBT");

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}


TEST(CliOutputs, AFailedRunLeavesEarlierOutputsAsTheyWere) {
  Kept k;
  const std::string demo = ReadFile(kDemo);
  // An output that cannot be created.
  CommandResult res = RunCli("-q " + kDemo + " " + k.tdm + " " + k.dir.Path("no/such/x.FDM"));
  EXPECT_EQ(res.status, 1);
  EXPECT_TRUE(Has(res.err, "FDM file creation failure")) << res.err;
  k.ExpectUntouched();

  // Inputs found invalid: empty, without a header, without samples, not text.
  TempDir in;
  for (const std::string& text :
       {std::string(), std::string("6611,1873\r\n6605,1886\r\n"), VbtFile(""),
        std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10)}) {
    WriteFile(in.Path("bad.VBT"), text);
    res = RunCli("-q " + in.Path("bad.VBT") + " " + k.tdm + " " + k.fdm);
    EXPECT_EQ(res.status, 1) << res.err;
    k.ExpectUntouched();
  }
  // Outputs on a full disk.
  res = RunCli("-q " + kDemo + " " + k.tdm + " /dev/full");
  EXPECT_EQ(res.status, 1);
  EXPECT_TRUE(Has(res.err, "Error 28: FDM file write failure.")) << res.err;
  EXPECT_TRUE(Has(res.err, "VBT preprocessor: Output file write failure: no output file was "
                           "replaced.\n"))
      << res.err;
  k.ExpectUntouched();
  EXPECT_EQ(ReadFile(kDemo), demo);
}

TEST(CliOutputs, AFileThatCannotGrowLeavesTheEarlierOneWhole) {
  // A file size limit stands in for a full disk under a regular file: the
  // writes to the temporary file fail, the earlier outputs stay.
  Kept k;
  const CommandResult res = RunCommand("sh -c 'trap \"\" XFSZ; ulimit -f 64; exec " +
                                       std::string(TZ_CLI) + " -q " + kDemo + " " + k.tdm +
                                       " " + k.fdm + "'");
  EXPECT_EQ(res.status, 1);
  EXPECT_TRUE(Has(res.err, "Error 27: TDM file write failure.")) << res.err;
  EXPECT_TRUE(Has(res.err, "no output file was replaced.")) << res.err;
  k.ExpectUntouched();
}

TEST(CliOutputs, ASuccessfulRunReplacesThemKeepingModeAndLinks) {
  Kept k;
  ASSERT_EQ(chmod(k.tdm.c_str(), 0640), 0);
  TempDir other;
  const std::string target = other.Path("real.FDM");
  WriteFile(target, "old");
  fs::remove(k.fdm);
  ASSERT_EQ(symlink(target.c_str(), k.fdm.c_str()), 0);
  const CommandResult res = RunCli("-q " + kDemo + " " + k.tdm + " " + k.fdm);
  ASSERT_EQ(res.status, 0) << res.err;
  EXPECT_TRUE(ReadFile(k.tdm).starts_with("Vibrotorsional Time Domain Analysis\r\n"));
  EXPECT_EQ(fs::status(k.tdm).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_TRUE(fs::is_symlink(k.fdm));  // the link stays, the file it names is replaced
  EXPECT_GT(ReadFile(target).size(), 1000u);
  EXPECT_EQ(Names(k.dir.Dir()), (std::vector<std::string>{"keep.FDM", "keep.TDM"}));
  EXPECT_EQ(Names(other.Dir()), (std::vector<std::string>{"real.FDM"}));
}

TEST(CliOutputs, TheSameFileRuleIsAboutFiles) {
  TempDir dir;
  // One device for both outputs: the summary alone.
  CommandResult res = RunCli("--json " + kDemo + " /dev/null /dev/null");
  EXPECT_EQ(res.status, 0) << res.err;
  EXPECT_TRUE(Has(res.out, "\"RawCount\"")) << res.out;

  // Two names of one file are still refused, also through a link.
  ASSERT_EQ(symlink(dir.Path("a.TDM").c_str(), dir.Path("link.FDM").c_str()), 0);
  res = RunCli("-q " + kDemo + " " + dir.Path("a.TDM") + " " + dir.Path("link.FDM"));
  EXPECT_EQ(res.status, 1);
  EXPECT_TRUE(Has(res.err, "Error 16: FDM file creation failure.")) << res.err;
  EXPECT_FALSE(fs::exists(dir.Path("a.TDM")));

  // An output that is standard output takes it: no summary mixed in.
  const std::string out = dir.Path("stdout.txt");
  res = RunCommand("sh -c '" + std::string(TZ_CLI) + " --json " + kDemo + " /dev/stdout " +
                   dir.Path("b.FDM") + " > " + out + "'");
  EXPECT_EQ(res.status, 0) << res.err;
  const std::string tdm = ReadFile(out);
  EXPECT_TRUE(tdm.starts_with("Vibrotorsional Time Domain Analysis\r\n"));
  EXPECT_FALSE(Has(tdm, "\"RawCount\""));
  EXPECT_TRUE(Has(tdm, ">>END OF TDM Analysis<<"));
}

TEST(CliOutputs, ASummaryThatCannotBeWrittenIsAFailure) {
  const CommandResult res =
      RunCommand("sh -c '" + std::string(TZ_CLI) + " -q --json " + kDemo + " /dev/null /dev/null > /dev/full'");
  EXPECT_EQ(res.status, 1);
  EXPECT_TRUE(Has(res.err, "torzalen-cli: cannot write the summary: No space left on device"))
      << res.err;
}

TEST(CliInput, AReadErrorAbandonsTheRun) {
  Kept k;
  const std::string env = "TZ_FAIL_READ_SUFFIX=demo.VBT TZ_FAIL_READ_AFTER=200000 "
                          "ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=" +
                          std::string(TZ_READ_FAULT) + " ";
  const CommandResult res =
      RunCommand(env + TZ_CLI + " -q --json " + kDemo + " " + k.tdm + " " + k.fdm);
  EXPECT_EQ(res.status, 1);
  EXPECT_TRUE(Has(res.err, "Error 5: Input file read failure.")) << res.err;
  EXPECT_TRUE(Has(res.err, "VBT preprocessor: Input file read failure: the run is abandoned.\n"))
      << res.err;
  k.ExpectUntouched();
}

TEST(CliInput, AStreamThatNeverEndsIsBounded) {
  Kept k;
  const CommandResult res = RunCli("-q --kind vbt /dev/zero " + k.tdm + " " + k.fdm);
  EXPECT_EQ(res.status, 1);
  EXPECT_TRUE(Has(res.err, "VBT File Loading Error: File is too large for buffer size.\n"))
      << res.err;
  k.ExpectUntouched();
}

TEST(CliMemory, RunningOutOfMemoryIsAFailureNotACrash) {
#ifdef TZ_SANITIZED
  GTEST_SKIP() << "the sanitizers need more address space than the limit leaves";
#else
  Kept k;
  const CommandResult res = RunCommand("sh -c 'ulimit -v 60000; exec " + std::string(TZ_CLI) +
                                       " -q " + kDemo + " " + k.tdm + " " + k.fdm + "'");
  EXPECT_EQ(res.status, 1);
  EXPECT_EQ(res.err, "Torzalen: Not enough memory to process the file.\n");
  k.ExpectUntouched();
#endif
}

}  // namespace
}  // namespace tz::test

namespace tz::test {
namespace {

TEST(CliSignals, AnInterruptedRunLeavesNoFileBehind) {
  Kept k;
  // A run that lasts (an endless stream, bounded after a few seconds),
  // ended half a second in.
  const CommandResult res = RunCommand(
      "sh -c '" + std::string(TZ_CLI) + " -q --kind vbt /dev/zero " + k.tdm + " " + k.fdm +
      " & pid=$!; sleep 0.5; kill -TERM $pid; wait $pid; echo status=$?'");
  EXPECT_TRUE(Has(res.out, "status=143")) << res.out << res.err;  // ended by the signal
  k.ExpectUntouched();  // no temporary file left, the earlier outputs whole
}

}  // namespace
}  // namespace tz::test
