#include "processing/tdm_writer.h"

#include <cstring>
#include <system_error>

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
  if (run.tdmLines != nullptr) run.tdmLines->Drain();  // a header again: after the lines so far
  WriteHeaderBlock(r.params, r.settings, *run.tdm, kTdmTitle);
  LineBuffer b;
  b.Text(kTdmColumnLine).End().WriteTo(*run.tdm);
  WriteHeaderBlock(r.params, r.settings, *run.fdm, kFdmTitle);
}

namespace {

// The text of one data line, in column order.
void FormatDataLine(const EmittedSample& v, OutputFile& f) {
  LineBuffer b;
  b.Int(v.Progr).Sep().Plain(v.Tprogr).Sep().Plain(v.Dt).Sep();
  b.Plain(v.RPMfilt).Sep().Plain(v.TRQfilt).Sep().Plain(v.POTfilt).Sep();
  b.Plain(v.Cislot).Sep().Plain(v.Cslot).Sep().Plain(v.TRQ0cnt).Sep().Plain(v.dTRQinst).Sep();
  b.Plain(v.RPMinst).Sep().Plain(v.TRQinst).Sep().Plain(v.POTinst).End();
  b.WriteTo(f);
}

}  // namespace

void WriteDataLine(RunContext& run, const EmittedSample& sample) {
  if (run.tdmLines != nullptr)
    run.tdmLines->Add(sample);
  else
    FormatDataLine(sample, *run.tdm);
}

DataLinePipe::DataLinePipe(OutputFile& file) : file_(file) {
  for (auto& b : blocks_) b.resize(kBlockLines);
}

void DataLinePipe::Join() {
  if (worker_.joinable()) worker_.join();
}

void DataLinePipe::Hand() {
  Join();
  const EmittedSample* lines = blocks_[filling_].data();
  const int count = count_;
  OutputFile* f = &file_;
  auto format = [lines, count, f] {
    for (int i = 0; i < count; ++i) FormatDataLine(lines[i], *f);
  };
  try {
    worker_ = std::thread(format);
  } catch (const std::system_error&) {
    format();  // no second thread to be had: the lines are written here
  }
  filling_ ^= 1;
  count_ = 0;
}

void DataLinePipe::Drain() {
  if (count_ > 0) Hand();
  Join();
}

void WriteRawLines(const AnalysisRecord& r, RunContext& run, OutputFile& f,
                   const char* progressText) {
  LineBuffer b;
  for (int32_t i = 0; i < r.counters.RawCount; ++i) {
    run.progress.Report(i, r.counters.RawCount, progressText);
    b.Int(i).Sep().Int(r.samples.CislotRaw[i]).Sep().Int(r.samples.CslotRaw[i]).End();
    b.WriteTo(f);
  }
}

void WriteTdmTail(const AnalysisRecord& r, RunContext& run) {
  OutputFile& f = *run.tdm;
  LineBuffer b;
  b.Text(kTdmEndMarker).End().End().WriteTo(f);
  b.Text(kRawSectionTitle).End().WriteTo(f);
  WriteRawLines(r, run, f, "Appending input file to TDM output file ....");
}

}  // namespace tz
