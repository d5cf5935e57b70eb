// The desktop program's two analysis records. The shown one is what the
// display, the caption and the parameters dialog show: the record of the last
// run that reached its end. The next one holds the choices the next run
// starts from (input, outputs, settings, the header's parameters) and is the
// record that run fills; it becomes the shown one only when the run reaches
// its end, so a run that fails leaves the display as it was.
#pragma once

#include "processing/analysis_record.h"

namespace tz {

class RunRecords {
 public:
  RunRecords();

  AnalysisRecord& Shown() { return *shown_; }
  AnalysisRecord& Next() { return *next_; }

  // The run in the next record reached its end: that record is shown, and
  // the other one takes its choices for the run after it.
  void Completed();
  // The run in the next record failed: the choices go back to those of the
  // shown record (whatever the run left in the rest is overwritten by the
  // next run).
  void Failed();

 private:
  RecordPtr shown_;
  RecordPtr next_;
};

// What a run starts from besides the samples: the header's parameters (a
// header that stops early leaves the later ones as they were), the settings
// and the source and output names.
void CopyRunChoices(const AnalysisRecord& from, AnalysisRecord& to);

}  // namespace tz
