// The TDM file and the header block shared with the FDM file.
#pragma once

#include <optional>
#include <vector>

#include "processing/format_pipeline.h"
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

// The data line of an emitted sample: through the run's data lines when it
// has them, else straight to the TDM output.
void WriteDataLine(RunContext& run, const EmittedSample& sample);

// The data lines of a run: the run hands over each line's values and goes
// on computing while the pipeline turns blocks of them into text, in order,
// into the TDM output. While lines are in flight the output belongs to the
// pipeline: Hand them over and drain it before anything else writes to it.
class DataLines {
 public:
  DataLines(FormatPipeline& out, OutputFile& file) : out_(out), file_(file) {}
  DataLines(const DataLines&) = delete;
  DataLines& operator=(const DataLines&) = delete;

  void Add(const EmittedSample& sample) {
    if (block_ == nullptr) block_ = out_.TakeBlock();
    block_[count_] = sample;
    if (++count_ == FormatPipeline::kBlockLines) Hand();
  }
  // Queues the lines added so far.
  void Hand();

 private:
  FormatPipeline& out_;
  OutputFile& file_;
  EmittedSample* block_ = nullptr;
  int count_ = 0;
};

// End marker, empty line, raw section title and one line per raw sample,
// queued to the TDM output; the progress of the raw lines is reported at
// once, in the order it always came, while the text is made beside the run.
void WriteTdmTail(const AnalysisRecord& r, RunContext& run);

// Queues the raw lines "i, Cislot, Cslot" of every raw sample to a file;
// returns the jobs, for their progress.
std::vector<QueuedLines> QueueRawLines(const AnalysisRecord& r, FormatPipeline& out,
                                       OutputFile& file);

// The run's pipeline, or (a run's stage called on its own, as in the tests)
// one that formats everything on the calling thread, kept in own.
FormatPipeline& PipelineOf(RunContext& run, std::optional<FormatPipeline>& own);

}  // namespace tz
