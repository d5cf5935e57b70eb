#include "processing/tdm_writer.h"

#include <cstring>

#include "processing/analysis_record.h"
#include "processing/files.h"
#include "processing/header_lines.h"
#include "processing/line_buffer.h"
#include "processing/run_context.h"

namespace tz {

void WriteHeaderBlock(const HeaderParameters& params, const ProcessingSettings& settings,
                      OutputFile& f, const char* title) {
  LineBuffer b;
  b.Text(title).End().WriteTo(f);
  b.Text(kRevisionLine).End().WriteTo(f);
  b.Text(kDateKeyword).Bytes(params.DateText, params.DateLen).End().WriteTo(f);
  b.Text(kTimeKeyword).Bytes(params.TimeText, params.TimeLen).End().WriteTo(f);
  for (const ParameterLine& pl : kParameterLines)
    b.Text(pl.keyword).Header(params.*pl.field).Text(pl.unit).End().WriteTo(f);
  for (const SettingLine& sl : kSettingLines) {
    b.Text(sl.keyword);
    if (sl.real != nullptr)
      b.Header(settings.*sl.real);
    else
      b.Int(settings.*sl.length);
    b.End().WriteTo(f);
  }
}

void WriteHeaderBlocks(const AnalysisRecord& r, RunContext& run) {
  // A header again: after the lines so far.
  if (run.tdmLines != nullptr) run.tdmLines->Hand();
  if (run.pipeline != nullptr) run.pipeline->Drain();
  WriteHeaderBlock(r.params, r.settings, *run.tdm, kTdmTitle);
  LineBuffer b;
  b.Text(kTdmColumnLine).End().WriteTo(*run.tdm);
  WriteHeaderBlock(r.params, r.settings, *run.fdm, kFdmTitle);
}

namespace {

// The text of one data line, in column order.
template <typename Out>
void DataLineText(const EmittedSample& v, Out& b) {
  b.Int(v.Progr).Sep().Plain(v.Tprogr).Sep().Plain(v.Dt).Sep();
  b.Plain(v.RPMfilt).Sep().Plain(v.TRQfilt).Sep().Plain(v.POTfilt).Sep();
  b.Plain(v.Cislot).Sep().Plain(v.Cslot).Sep().Plain(v.TRQ0cnt).Sep().Plain(v.dTRQinst).Sep();
  b.Plain(v.RPMinst).Sep().Plain(v.TRQinst).Sep().Plain(v.POTinst).End();
}

// The longest data line: the integer Progr and twelve plain numbers.
constexpr size_t kMaxDataLine = 13 * kSig10MaxLength + 12 * 2 + 2;
static_assert(FormatPipeline::kBlockLines * kMaxDataLine + kSig10Size <=
              FormatPipeline::kChunkBytes);

size_t FormatDataLines(const FormatJob& job, char* out, char* end) {
  const auto* lines = static_cast<const EmittedSample*>(job.data);
  TextWriter b(out, end);
  for (int32_t i = job.from; i < job.to; ++i) DataLineText(lines[i], b);
  return b.Length();
}

// Raw lines per job, and the longest: three numbers in integer form.
constexpr int32_t kRawLinesPerJob = 16384;
constexpr size_t kMaxRawLine = 3 * kSig10MaxLength + 2 * 2 + 2;
static_assert(kRawLinesPerJob * kMaxRawLine + kSig10Size <= FormatPipeline::kChunkBytes);

size_t FormatRawLines(const FormatJob& job, char* out, char* end) {
  const auto& a = *static_cast<const SampleArrays*>(job.data);
  TextWriter b(out, end);
  for (int32_t i = job.from; i < job.to; ++i)
    b.Int(i).Sep().Int(a.CislotRaw[i]).Sep().Int(a.CslotRaw[i]).End();
  return b.Length();
}

}  // namespace

void WriteDataLine(RunContext& run, const EmittedSample& sample) {
  if (run.tdmLines != nullptr) {
    run.tdmLines->Add(sample);
    return;
  }
  LineBuffer b;
  DataLineText(sample, b);
  b.WriteTo(*run.tdm);
}

void DataLines::Hand() {
  if (block_ != nullptr) out_.QueueBlock(file_, block_, count_, FormatDataLines);
  block_ = nullptr;
  count_ = 0;
}

std::vector<QueuedLines> QueueRawLines(const AnalysisRecord& r, FormatPipeline& out,
                                       OutputFile& f) {
  std::vector<QueuedLines> jobs;
  const int32_t n = r.counters.RawCount;
  for (int32_t from = 0; from < n; from += kRawLinesPerJob) {
    const int32_t to = n - from > kRawLinesPerJob ? from + kRawLinesPerJob : n;
    jobs.push_back({out.Queue(f, FormatJob{FormatRawLines, &r.samples, from, to}), from, to});
  }
  return jobs;
}

void WriteTdmTail(const AnalysisRecord& r, RunContext& run) {
  std::optional<FormatPipeline> own;
  FormatPipeline& out = PipelineOf(run, own);
  OutputFile& f = *run.tdm;
  char head[128];
  TextWriter b(head, head + sizeof head);
  b.Text(kTdmEndMarker).End().End().Text(kRawSectionTitle).End();
  out.QueueText(f, head, b.Length());
  QueueRawLines(r, out, f);
  run.progress.ReportRange(0, r.counters.RawCount, r.counters.RawCount,
                           "Appending input file to TDM output file ....");
}

FormatPipeline& PipelineOf(RunContext& run, std::optional<FormatPipeline>& own) {
  if (run.pipeline != nullptr) return *run.pipeline;
  return own.emplace(FormatShare::RunThreadOnly);
}

}  // namespace tz
