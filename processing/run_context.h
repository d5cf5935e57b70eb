// What a run owns besides the record: the platform it shows everything
// through, the two output files, its progress reporter and how far it got.
// The record holds data only; display code that reads the record cannot
// reach a run's files or platform.
#pragma once

#include <cstdint>

#include "processing/platform.h"

namespace tz {

class OutputFile;
class FormatPipeline;
class DataLines;

// Progress reports of a run: passes a report on only when the integer
// position or the text changes, so reporting per sample costs nothing.
class Progress {
 public:
  void Bind(PlatformOps* ops) {
    ops_ = ops;
    pos_ = -1;
    text_ = nullptr;
    dialog_ = false;
  }
  // Texts go to the progress dialog only, and only while it exists.
  void SetDialog(bool exists) {
    dialog_ = exists;
    text_ = nullptr;
  }
  // Position done / total x 100 truncated toward zero, and the status text.
  void Report(double done, double total, const char* text) {
    Position(Percent(done, total));
    Text(text);
  }
  // What Report(i, total, text) for i = from .. to - 1 passes on, found
  // without visiting every i: the position only grows with i.
  void ReportRange(int32_t from, int32_t to, int32_t total, const char* text);
  // done / total x 100 truncated toward zero; 0 when undefined.
  static int Percent(double done, double total) { return Truncate(done / total * 100.0); }
  // A percentage truncated toward zero into 0..100; 0 when undefined.
  static int Truncate(double p) {
    if (!(p >= 0.0)) return 0;
    if (p > 100.0) return 100;
    return static_cast<int>(p);
  }
  void Position(int pos);
  void Text(const char* text);

 private:
  PlatformOps* ops_ = nullptr;
  int pos_ = -1;
  const char* text_ = nullptr;
  bool dialog_ = false;
};

// How far a run got; the batch command's summary uses these marks to tell
// computed values from values left over by an earlier run.
struct RunMarks {
  bool resetDone = false;         // counters were reset (run passed the size check)
  bool figuresFilled = false;     // statistics figures (the percentage text) were set
  bool statisticsDone = false;    // display statistics and Fc computed
  bool fftDone = false;           // the FFT ran (not refused)
  bool completed = false;         // the run reached its end
  char percentText[40] = {0};     // text of the filtered-percentage field
};

// The services of one run, valid while the run lasts.
struct RunContext {
  explicit RunContext(PlatformOps& platform) : ops(platform) { progress.Bind(&platform); }
  RunContext(const RunContext&) = delete;
  RunContext& operator=(const RunContext&) = delete;

  PlatformOps& ops;
  OutputFile* tdm = nullptr;  // set while both outputs are open
  OutputFile* fdm = nullptr;
  FormatPipeline* pipeline = nullptr;  // where the outputs' text is made, while both are open
  DataLines* tdmLines = nullptr;       // set while the samples are read
  Progress progress;
  RunMarks marks;
};

}  // namespace tz
