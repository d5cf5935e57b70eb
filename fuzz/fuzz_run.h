// A whole processing run from arbitrary bytes: the bytes become the input
// file, both outputs go to /dev/null, every message is swallowed. One record
// serves every run of the process, as in the desktop program; before each
// run it is brought back to its program-start values, clearing only what
// the run before wrote, so that an input gives the same run whatever came
// before it (a crash found is a crash of that input alone) and a small
// input costs little.
#pragma once

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "processing/analysis_record.h"
#include "processing/platform.h"
#include "run/run_processing.h"

namespace tz::fuzz {

// The input file of this process's runs, open for rewriting: a file in
// memory (a disk file truncated and rewritten for every run costs more than
// the run, in writes to the disk on closing), or one in TMPDIR.
struct FuzzInput {
  int fd = -1;
  std::string path;
};
inline const FuzzInput& Input() {
  static const FuzzInput input = [] {
    FuzzInput in;
    in.fd = ::memfd_create("torzalen-fuzz-input", MFD_CLOEXEC);
    if (in.fd >= 0) {
      in.path = "/proc/self/fd/" + std::to_string(in.fd);
      return in;
    }
    const char* dir = std::getenv("TMPDIR");
    in.path = std::string(dir != nullptr ? dir : "/tmp") + "/torzalen-fuzz-" +
              std::to_string(::getpid()) + ".in";
    in.fd = ::open(in.path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    return in;
  }();
  return input;
}

// One run of the bytes on the record, after the last run's traces are cleared.
inline RunMarks RunBytes(AnalysisRecord& r, InputKind kind, const uint8_t* data, size_t size,
                         const char* tdm = "/dev/null", const char* fdm = "/dev/null") {
  ClearLastRun(r);
  const FuzzInput& input = Input();
  if (input.fd < 0 || ::ftruncate(input.fd, 0) != 0) std::abort();
  if (size > 0 && ::pwrite(input.fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
  r.source.SourceKind = kind;
  r.source.InputPath = input.path;
  r.source.TdmPath = tdm;
  r.source.FdmPath = fdm;
  SilentPlatform platform;
  return RunProcessing(r, platform);
}

inline int RunOnBytes(InputKind kind, const uint8_t* data, size_t size) {
  static RecordPtr record = NewAnalysisRecord();
  RunBytes(*record, kind, data, size);
  return 0;
}

}  // namespace tz::fuzz
