// The frequency-domain half of a run: FFT input, transform, spectrum
// analyses, and the FFT and input data sections of the FDM file.
#pragma once

namespace tz {

struct AnalysisRecord;
struct RunContext;

// Runs the FFT of the chosen source and appends its sections to the FDM
// output (run.fdm). An input too short for a transform is refused with a
// message; the FDM file then gets an FFT section without spectrum rows.
void RunFftProcessor(AnalysisRecord& r, RunContext& run);

// Lines of the FFT section, shared by the writer and the reader of FDM files
// (the window and source lines come from the code tables).
constexpr char kFftSectionTitle[] = "FFT Output (limited to Nyquist frequency)";
constexpr char kFftSamplingFreq[] = "Sampling Freq. (Fc) (Hz) =";
constexpr char kFftSamplesNumber[] = "Samples Number (N) =";
constexpr char kFftColumnLine[] = "Progr, Freq.(Hz.), sqrt(Re^2+Im^2), Notes ";
constexpr char kFftEndMarker[] = ">>END OF FFT<<";

}  // namespace tz
