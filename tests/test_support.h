// Helpers of the tests: temporary folders, files, runs of the batch command.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "processing/analysis_record.h"
#include "processing/run_context.h"
#include "recording_platform.h"

namespace tz::test {

// A fresh temporary folder, removed with its content at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  const std::string& Dir() const { return dir_; }

 private:
  std::string dir_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
// The names in a folder, sorted, hidden ones included (no temporary file may
// stay behind a run).
std::vector<std::string> Names(const std::string& dir);

// Path of a file of the source tree (e.g. "samples/demo.VBT").
std::string SourcePath(const std::string& rel);

// Runs a shell command; returns its exit status, stdout and stderr.
struct CommandResult {
  int status = -1;
  std::string out, err;
};
// A word the shell takes as it is.
std::string Quote(const std::string& s);
CommandResult RunCommand(const std::string& command);
CommandResult RunCli(const std::string& args);

// Runs the measurement generator with the given options into a file.
void Generate(const std::string& path, const std::string& options);

// A small VBT header (the instrument's layout) followed by the given sample lines.
std::string VbtHeader();
std::string VbtFile(const std::string& samples);

// Record with program-start values and the context of a run that shows
// everything on a recording platform (no output files bound).
struct Fixture {
  RecordPtr record = NewAnalysisRecord();
  RecordingPlatform platform;
  RunContext run{platform};
  AnalysisRecord& r() { return *record; }
};

// Splits a file into its CR LF lines (the final empty piece dropped).
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace tz::test
