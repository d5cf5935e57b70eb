#include "reprocess/reprocess_input.h"

#include <cstring>

#include "processing/analysis_record.h"
#include "processing/number_text.h"
#include "processing/run.h"
#include "processing/tdm_writer.h"
#include "processing/vbt_reader.h"

namespace tz {

const InputKind kTdmInput = {"TDM file Check", "TDM preprocessor", kTdmSampleState,
                             &ParseTdmHeaderLine, &ParseAppendedSampleLine, false};
const InputKind kFdmInput = {"FDM file Check", "FDM preprocessor", kFdmSampleState,
                             &ParseFdmHeaderLine, &ParseAppendedSampleLine, false};

namespace {

// States 5..14: the measurement parameters as the header block writes them.
const HeaderField kParameterFields[] = {
    {"G=", 6, &AnalysisRecord::G},           {"Rext=", 2, &AnalysisRecord::Rext},
    {"Rint=", 2, &AnalysisRecord::Rint},     {"L=", 2, &AnalysisRecord::L},
    {"N_SLOT=", 0, &AnalysisRecord::N_SLOT}, {"A_SLOT=", 0, &AnalysisRecord::A_SLOT},
    {"Perc_Slot=", 0, &AnalysisRecord::Perc_Slot}, {"RPMmax=", 0, &AnalysisRecord::RPMmax},
    {"PCoeff=", 0, &AnalysisRecord::PCoeff}, {"PDist=", 0, &AnalysisRecord::PDist},
};

const char* const kWindowNames[] = {"Filtering window: Flat top", "Filtering window: Hamming",
                                    "Filtering window: Blackman"};
const char* const kSourceNames[] = {
    "Input data: Torque raw pulses (Cslot)", "Input data: RPM filtered",
    "Input data: RPM unfiltered", "Input data: Torque filtered", "Input data: Power filtered"};

template <size_t N>
bool StartsWithAny(const char* line, size_t len, const char* const (&names)[N]) {
  for (const char* name : names)
    if (LineStartsWith(line, len, name)) return true;
  return false;
}

// States 0..18, common to both files: title, date, time, parameters and the
// four filter settings (taken only while the header may set them).
int ParseCommonHeader(AnalysisRecord& r, const char* line, size_t len, int state,
                      const char* checkCaption) {
  switch (state) {
    case 0:
      return 0;
    case 1:
      return 2;
    case 2:
      r.DateLen = CopyText(r.DateText, kDateTextSize, line + (len > 5 ? 5 : len),
                           len > 5 ? len - 5 : 0);
      return 3;
    case 3:
      r.TimeLen = CopyText(r.TimeText, kTimeTextSize, line + (len > 5 ? 5 : len),
                           len > 5 ? len - 5 : 0);
      return 4;
    case 4:
      if (!LineStartsWith(line, len, "Counter period=")) {
        r.platform->MessageBox(checkCaption, "Counter period not found or invalid .... Aborting!");
        return kHeaderAbort;
      }
      r.Fmux = ReadLineValue(line, len, 15, 2);
      return 5;
    case 15: {
      static constexpr char kw[] = "Allowed overshot(%)=";
      if (!LineStartsWith(line, len, kw)) return state;
      if (HeaderSetsFilter(r, kFixOvershoot))
        r.AllowedOvershoot = ReadLineValue(line, len, sizeof kw - 1, 0);
      return 16;
    }
    case 16: {
      // Lengths outside the buffers never reach them: truncated, then clamped.
      static constexpr char kw[] = "Moving average filtering length=";
      if (!LineStartsWith(line, len, kw)) return state;
      if (HeaderSetsFilter(r, kFixMovAvg))
        r.MovAvgLen = TruncateClamp(ReadLineValue(line, len, sizeof kw - 1, 0), 5, 200);
      return 17;
    }
    case 17: {
      static constexpr char kw[] = "RPM threshold=";
      if (!LineStartsWith(line, len, kw)) return state;
      if (HeaderSetsFilter(r, kFixThreshold))
        r.RPMthreshold = ReadLineValue(line, len, sizeof kw - 1, 0);
      return 18;
    }
    case 18: {
      static constexpr char kw[] = "Zero crossing filter length=";
      if (!LineStartsWith(line, len, kw)) return state;
      if (HeaderSetsFilter(r, kFixZeroCross))
        r.ZeroCrossLen = TruncateClamp(ReadLineValue(line, len, sizeof kw - 1, 0), 4, 30);
      return 19;
    }
    default: {  // 5..14
      if (!ReadHeaderField(r, kParameterFields[state - 5], line, len)) return state;
      if (state == 12 && HeaderSetsFilter(r, kFixThreshold)) r.RPMthreshold = 0.4 * r.RPMmax;
      return state + 1;
    }
  }
}

}  // namespace

int ParseTdmHeaderLine(AnalysisRecord& r, const char* line, size_t len, int state) {
  if (state <= 18) {
    state = ParseCommonHeader(r, line, len, state, kTdmInput.checkCaption);
    if (state == kHeaderAbort) return state;
  } else if (state == 19) {
    if (LineStartsWith(line, len, kTdmEndMarker)) state = 20;
  } else if (state == 20) {
    state = 21;  // the empty line after the marker
  } else if (state == 21) {
    WriteHeaderBlocks(r);  // the column line of the appended samples
    state = 22;
  }
  if (LineStartsWith(line, len, kTdmTitle)) state = 1;
  return state;
}

int ParseFdmHeaderLine(AnalysisRecord& r, const char* line, size_t len, int state) {
  switch (state) {
    case 19:
      if (LineStartsWith(line, len, "FFT Output (limited to Nyquist frequency)")) state = 20;
      break;
    case 20:
      if (LineStartsWith(line, len, "Sampling Freq. (Fc) (Hz) =")) state = 21;
      break;
    case 21:
      if (LineStartsWith(line, len, "Samples Number (N) =")) state = 22;
      break;
    case 22:
      if (StartsWithAny(line, len, kWindowNames)) state = 23;
      break;
    case 23:
      if (StartsWithAny(line, len, kSourceNames)) state = 24;
      break;
    case 24:
      // The end marker must fill the whole line.
      if (len == 14 && std::memcmp(line, ">>END OF FFT<<", 14) == 0) state = 25;
      break;
    case 25:
      state = 26;  // the empty line after the marker
      break;
    case 26:
      WriteHeaderBlocks(r);  // the column line of the appended samples
      state = 27;
      break;
    case 27:
      break;
    default:
      state = ParseCommonHeader(r, line, len, state, kFdmInput.checkCaption);
      if (state == kHeaderAbort) return state;
      break;
  }
  if (LineStartsWith(line, len, kFdmTitle)) state = 1;
  return state;
}

bool ParseAppendedSampleLine(const char* line, size_t len, uint32_t* cislot, uint32_t* cslot) {
  const char* end = line + len;
  const char* c1 = static_cast<const char*>(std::memchr(line, ',', len));
  if (c1 == nullptr) return false;
  // Field k runs from after the k-th comma to the next comma or the line end;
  // a missing field is empty.
  auto field = [end](const char* start, const char** next) {
    const char* c = static_cast<const char*>(std::memchr(start, ',', end - start));
    *next = c;
    return c != nullptr ? c : end;
  };
  const char* f1 = c1 + 1;
  const char* c2;
  const char* e1 = field(f1, &c2);
  double v1 = ReadDecimalReal(f1, static_cast<size_t>(e1 - f1));
  double v2 = 0;
  if (c2 != nullptr) {
    const char* f2 = c2 + 1;
    const char* c3;
    const char* e2 = field(f2, &c3);
    v2 = ReadDecimalReal(f2, static_cast<size_t>(e2 - f2));
  }
  *cislot = LowBitsOfTruncated(v1);
  *cslot = LowBitsOfTruncated(v2);
  return true;
}

bool ProcessTdmFile(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                    const char* tdmName, const char* fdmName) {
  return ProcessInput(r, ops, kTdmInput, inputName, tdmName, fdmName);
}

bool ProcessFdmFile(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                    const char* tdmName, const char* fdmName) {
  return ProcessInput(r, ops, kFdmInput, inputName, tdmName, fdmName);
}

}  // namespace tz
