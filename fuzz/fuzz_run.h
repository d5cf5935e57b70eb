// A whole processing run from arbitrary bytes: the bytes become the input
// file, both outputs go to /dev/null, every message is swallowed. One record
// serves every run of the process, as in the desktop program.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "processing/analysis_record.h"
#include "processing/platform.h"
#include "run/run_processing.h"

namespace tz::fuzz {


inline int RunOnBytes(InputKind kind, const uint8_t* data, size_t size) {
  static RecordPtr record = NewAnalysisRecord();
  static std::string input = [] {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr ? dir : "/tmp") + "/torzalen-fuzz-" +
           std::to_string(::getpid()) + ".in";
  }();
  FILE* f = std::fopen(input.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  AnalysisRecord& r = *record;
  r.source.SourceKind = kind;
  r.source.InputPath = input;
  r.source.TdmPath = "/dev/null";
  r.source.FdmPath = "/dev/null";
  r.settings.UseFilterDefaults = 1;
  SilentPlatform platform;
  RunProcessing(r, platform);
  return 0;
}

}  // namespace tz::fuzz
