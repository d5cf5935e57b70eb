// The TDM file and the header block shared with the FDM file.
#pragma once

namespace tz {

struct AnalysisRecord;
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
void WriteHeaderBlock(const AnalysisRecord& r, OutputFile& file, const char* title);

// Header block and column line to the TDM output, then the header block to
// the FDM output, with the settings as they now stand.
void WriteHeaderBlocks(const AnalysisRecord& r, RunContext& run);

// One data line of the sample just emitted.
void WriteDataLine(const AnalysisRecord& r, RunContext& run);

// End marker, empty line, raw section title and one line per raw sample.
void WriteTdmTail(const AnalysisRecord& r, RunContext& run);

// Appends the raw lines "i, Cislot, Cslot" of every raw sample to a file,
// reporting progress under the given text.
void WriteRawLines(const AnalysisRecord& r, RunContext& run, OutputFile& file,
                   const char* progressText);

}  // namespace tz
