// The frequency-domain half of a run: FFT input, transform, spectrum
// analyses, and the FFT and input data sections of the FDM file.
#pragma once

namespace tz {

struct AnalysisRecord;

// Runs the FFT of the chosen source and appends its sections to the FDM
// file (r.hFdmFile). An input too short for a transform is refused with a
// message; the FDM file then gets an FFT section without spectrum rows.
void RunFftProcessor(AnalysisRecord& r);

// Texts of the window and source lines of the FFT section.
const char* WindowLine(int window);
const char* SourceLine(int source);

}  // namespace tz
