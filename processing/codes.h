// The coded choices of a run (input kind, FFT window, FFT source) and the
// limits and defaults of the filter settings, each named once. The batch
// command, the file writers and readers and the dialogs all read these tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tz {

// Kind of the source of a run, as the open commands set it.
enum class InputKind : int32_t { Vbt = 0, Tdm = 1, Fdm = 2 };

// Weighting of the FFT input.
enum class FftWindow : int32_t { FlatTop = 0, Hamming = 1, Blackman = 2 };

// Quantity transformed by the FFT.
enum class FftSource : int32_t { Cslot = 0, RpmFilt = 1, RpmInst = 2, Torque = 3, Power = 4 };

struct InputKindInfo {
  InputKind kind;
  const char* option;     // batch-command name ("vbt")
  const char* extension;  // file extension, upper case ("VBT")
};

struct FftWindowInfo {
  FftWindow window;
  const char* option;   // batch-command name ("hamming")
  const char* label;    // text of its radio button in the selection dialog
  const char* fdmLine;  // line of the FDM file's FFT section
  const char* panelText;  // behind the source in the spectrum panel's title
};

struct FftSourceInfo {
  FftSource source;
  const char* option;
  const char* label;
  const char* fdmLine;
  const char* panelText;  // the spectrum panel's title
};

inline constexpr InputKindInfo kInputKinds[] = {
    {InputKind::Vbt, "vbt", "VBT"},
    {InputKind::Tdm, "tdm", "TDM"},
    {InputKind::Fdm, "fdm", "FDM"},
};

// The FDM file names the window and source by these lines; the writer puts a
// blank before the line end, the reader matches the text as a prefix.
inline constexpr FftWindowInfo kFftWindows[] = {
    {FftWindow::FlatTop, "flattop",
     "Windowed Flat top sinc -rectangular (no filtering, no stop band attenuation (0dB))",
     "Filtering window: Flat top", " (Flat Top)"},
    {FftWindow::Hamming, "hamming",
     "Windowed Hamming sinc (good roll off, low stop band attenuation (-60dB))",
     "Filtering window: Hamming", " (Hamming)"},
    {FftWindow::Blackman, "blackman",
     "Windowed Blackman sinc (medium roll off, good stop band attenuation (-80db))",
     "Filtering window: Blackman", " (Blackman)"},
};

inline constexpr FftSourceInfo kFftSources[] = {
    {FftSource::Cslot, "cslot", "Torque pulses (raw data)",
     "Input data: Torque raw pulses (Cslot)", "Y axis: TRQ RAW"},
    {FftSource::RpmFilt, "rpmfilt", "Filtered RPM (filtered)", "Input data: RPM filtered",
     "Y axis: RPM filt"},
    {FftSource::RpmInst, "rpminst", "RPM (unfiltered)", "Input data: RPM unfiltered",
     "Y axis: RPM inst"},
    {FftSource::Torque, "torque", "Torque (filtered) - Default", "Input data: Torque filtered",
     "Y axis: TORQUE"},
    {FftSource::Power, "power", "Power (filtered)", "Input data: Power filtered",
     "Y axis: POWER"},
};

// Entry of a code; a value outside the table reads as the run treats it:
// an unknown window as flat top, an unknown source as filtered torque.
const FftWindowInfo& InfoOf(FftWindow w);
const FftSourceInfo& InfoOf(FftSource s);
const InputKindInfo& InfoOf(InputKind k);

// Position in the path of the last dot of its file name (the part after the
// last '/'), or npos when the file name has none: "a.b/c" has none, ".TDM"
// and "x.tdm" have one.
size_t ExtensionDot(const std::string& path);

// Kind of an input from its extension, in either case: .TDM and .FDM name
// the outputs of an earlier run, anything else is read as a VBT file.
InputKind KindFromExtension(const std::string& path);

// Filter settings: program-start and header defaults, and the ranges of the
// two lengths (the buffers they index are sized by the upper bounds).
constexpr double kDefaultOvershoot = 0.1;
constexpr int kDefaultMovAvgLen = 10;
constexpr int kDefaultZeroCrossLen = 4;
constexpr double kDefaultThresholdFraction = 0.4;  // of RPMmax
constexpr int kMovAvgMin = 5;
constexpr int kMovAvgMax = 200;
constexpr int kZeroCrossMin = 4;
constexpr int kZeroCrossMax = 30;

}  // namespace tz
