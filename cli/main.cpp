// torzalen-cli: one processing run from the command line, as the desktop
// program's Process File command runs it right after a file was opened.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "cli/console_platform.h"
#include "cli/options.h"
#include "cli/summary.h"
#include "processing/analysis_record.h"
#include "processing/files.h"
#include "run/run_processing.h"

int main(int argc, char** argv) {
  using namespace tz;
  // Before anything is opened: no file may take the place of a closed
  // standard stream, and no signal may leave a temporary file behind.
  if (!OpenStandardDescriptors()) return 1;
  RemoveTemporaryFilesOnSignals();
  std::vector<std::string> args(argv + 1, argv + argc);
  CliOptions opt;
  std::string error;
  switch (ParseCliOptions(args, opt, error)) {
    case CliParse::kHelp:
      std::fputs(kCliUsage, stdout);
      return 0;
    case CliParse::kUsageError:
      std::fprintf(stderr, "torzalen-cli: %s\n%s", error.c_str(), kCliUsage);
      return 2;
    case CliParse::kRun:
      break;
  }

  ConsolePlatform platform(!opt.quiet && isatty(STDERR_FILENO));
  RecordPtr record;
  try {
    record = NewAnalysisRecord();
  } catch (const std::bad_alloc&) {
    platform.ShowMessage(kMemoryCaption, kMemoryText);
    return 1;
  }
  AnalysisRecord& r = *record;
  r.source.SourceKind = *opt.kind;
  r.source.InputPath = opt.input;
  r.source.TdmPath = opt.tdm;
  r.source.FdmPath = opt.fdm;
  r.settings.UseFilterDefaults = 1;
  r.settings.FFTwindow = opt.window;
  r.settings.FFTsource = opt.source;
  // Settings chosen on the command line stay fixed for the run.
  if (opt.overshoot)
    r.settings.AllowedOvershoot = *opt.overshoot, r.settings.FixedFilterSettings |= kFixOvershoot;
  if (opt.movAvg) r.settings.MovAvgLen = *opt.movAvg, r.settings.FixedFilterSettings |= kFixMovAvg;
  if (opt.threshold)
    r.settings.RPMthreshold = *opt.threshold, r.settings.FixedFilterSettings |= kFixThreshold;
  if (opt.zeroCross)
    r.settings.ZeroCrossLen = *opt.zeroCross, r.settings.FixedFilterSettings |= kFixZeroCross;

  // An output that is this command's standard output takes it for itself:
  // the summary is then not printed.
  const FileId out = IdOfFd(STDOUT_FILENO);
  const bool outputOnStdout = IdOfPath(opt.tdm.c_str()) == out || IdOfPath(opt.fdm.c_str()) == out;
  const RunMarks marks = RunProcessing(r, platform);
  if (outputOnStdout) return marks.completed ? 0 : 1;

  const std::string summary = opt.json ? JsonSummary(r, marks, platform.lastReport) + "\n" : HumanSummary(r, marks);
  std::fwrite(summary.data(), 1, summary.size(), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "torzalen-cli: cannot write the summary: %s\n", std::strerror(errno));
    return 1;
  }
  return marks.completed ? 0 : 1;
}
