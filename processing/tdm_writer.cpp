#include "processing/tdm_writer.h"

#include <cstring>
#include <system_error>

#include "processing/analysis_record.h"
#include "processing/files.h"
#include "processing/format_sig10.h"
#include "processing/run_context.h"

namespace tz {

namespace {

// Assembles one line in memory before it is written.
class LineBuffer {
 public:
  LineBuffer& Text(const char* s) { return Bytes(s, std::strlen(s)); }
  LineBuffer& Bytes(const char* s, size_t n) {
    if (n > sizeof buf_ - len_) n = sizeof buf_ - len_;
    std::memcpy(buf_ + len_, s, n);
    len_ += n;
    return *this;
  }
  LineBuffer& Plain(double x) {
    Room();
    len_ += FormatSig10(x, buf_ + len_, 10);
    return *this;
  }
  LineBuffer& Int(double x) {
    Room();
    len_ += FormatSig10Int(x, buf_ + len_);
    return *this;
  }
  LineBuffer& Header(double x) {
    Room();
    len_ += FormatSig10Header(x, buf_ + len_);
    return *this;
  }
  LineBuffer& Sep() { return Bytes(", ", 2); }
  LineBuffer& End() { return Bytes("\r\n", 2); }
  void WriteTo(OutputFile& f) {
    f.Write(buf_, len_);
    len_ = 0;
  }

 private:
  void Room() {
    if (sizeof buf_ - len_ < kSig10Size) len_ = sizeof buf_ - kSig10Size;
  }
  char buf_[512];
  size_t len_ = 0;
};

}  // namespace

void WriteHeaderBlock(const AnalysisRecord& r, OutputFile& f, const char* title) {
  LineBuffer b;
  b.Text(title).End().WriteTo(f);
  b.Text("Rev. 1.0").End().WriteTo(f);
  b.Text("Date:").Bytes(r.params.DateText, r.params.DateLen).End().WriteTo(f);
  b.Text("Time:").Bytes(r.params.TimeText, r.params.TimeLen).End().WriteTo(f);
  b.Text("Counter period=").Header(r.params.Fmux).Text("uS").End().WriteTo(f);
  b.Text("G=").Header(r.params.G).Text("N/sqmm").End().WriteTo(f);
  b.Text("Rext=").Header(r.params.Rext).Text("mm").End().WriteTo(f);
  b.Text("Rint=").Header(r.params.Rint).Text("mm").End().WriteTo(f);
  b.Text("L=").Header(r.params.L).Text("mm").End().WriteTo(f);
  b.Text("N_SLOT=").Header(r.params.N_SLOT).End().WriteTo(f);
  b.Text("A_SLOT=").Header(r.params.A_SLOT).Text("degrees").End().WriteTo(f);
  b.Text("Perc_Slot=").Header(r.params.Perc_Slot).End().WriteTo(f);
  b.Text("RPMmax=").Header(r.params.RPMmax).End().WriteTo(f);
  b.Text("PCoeff=").Header(r.params.PCoeff).End().WriteTo(f);
  b.Text("PDist=").Header(r.params.PDist).End().WriteTo(f);
  b.Text("Allowed overshot(%)=").Header(r.settings.AllowedOvershoot).End().WriteTo(f);
  b.Text("Moving average filtering length=").Int(r.settings.MovAvgLen).End().WriteTo(f);
  b.Text("RPM threshold=").Header(r.settings.RPMthreshold).End().WriteTo(f);
  b.Text("Zero crossing filter length=").Int(r.settings.ZeroCrossLen).End().WriteTo(f);
}

void WriteHeaderBlocks(const AnalysisRecord& r, RunContext& run) {
  if (run.tdmLines != nullptr) run.tdmLines->Drain();  // a header again: after the lines so far
  WriteHeaderBlock(r, *run.tdm, kTdmTitle);
  LineBuffer b;
  b.Text(kTdmColumnLine).End().WriteTo(*run.tdm);
  WriteHeaderBlock(r, *run.fdm, kFdmTitle);
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
