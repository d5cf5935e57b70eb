// The TDM file and the header block shared with the FDM file.
#pragma once

#include <thread>
#include <vector>

#include "processing/shaft_quantities.h"

namespace tz {

struct AnalysisRecord;
struct HeaderParameters;
struct ProcessingSettings;
struct RunContext;
class OutputFile;

constexpr char kTdmTitle[] = "Vibrotorsional Time Domain Analysis";
constexpr char kFdmTitle[] = "Vibrotorsional Frequency Domain Analysis";
constexpr char kTdmColumnLine[] =
    "Progr, Tprogr(sec.), Dt(sec.), RPMfilt, TRQfilt(Nm), POTfilt(kW), Cislot, Cslot, "
    "TRQ0cnt, dTRQinst, RPMinst, TRQinst(Nm), POTinst(kW)";
constexpr char kTdmEndMarker[] = ">>END OF TDM Analysis<<";
constexpr char kRawSectionTitle[] = "Progr, Cislot, Cslot ";

// The 19 lines of the header block under the given title.
void WriteHeaderBlock(const HeaderParameters& params, const ProcessingSettings& settings,
                      OutputFile& file, const char* title);

// Header block and column line to the TDM output, then the header block to
// the FDM output, with the settings as they now stand.
void WriteHeaderBlocks(const AnalysisRecord& r, RunContext& run);

// The data line of an emitted sample: through the run's data-line pipe when
// it has one, else straight to the TDM output.
void WriteDataLine(RunContext& run, const EmittedSample& sample);

// The data lines of a run, formatted and written beside it: the run hands
// over each line's values and goes on computing while a second thread turns
// the lines of the block before into text, in order, into the TDM output.
// The text is the same as written straight. While lines are in flight the
// output belongs to the pipe: Drain before anything else writes to it or
// asks how its writes went.
class DataLinePipe {
 public:
  explicit DataLinePipe(OutputFile& file);
  ~DataLinePipe() { Drain(); }
  DataLinePipe(const DataLinePipe&) = delete;
  DataLinePipe& operator=(const DataLinePipe&) = delete;

  void Add(const EmittedSample& sample) {
    blocks_[filling_][static_cast<size_t>(count_)] = sample;
    if (++count_ == kBlockLines) Hand();
  }
  // Every line handed over is in the output when this returns.
  void Drain();

 private:
  static constexpr int kBlockLines = 8192;
  void Hand();   // starts the filled block; waits for the one before
  void Join();

  OutputFile& file_;
  std::vector<EmittedSample> blocks_[2];
  int filling_ = 0;
  int count_ = 0;
  std::thread worker_;
};

// End marker, empty line, raw section title and one line per raw sample.
void WriteTdmTail(const AnalysisRecord& r, RunContext& run);

// Appends the raw lines "i, Cislot, Cslot" of every raw sample to a file,
// reporting progress under the given text.
void WriteRawLines(const AnalysisRecord& r, RunContext& run, OutputFile& file,
                   const char* progressText);

}  // namespace tz
