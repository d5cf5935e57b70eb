// Orders of the shaft's rotation. The instrument takes one sample per slot,
// so the spectrum's lines count cycles per FFT_N slots: line k is order
// k x N_SLOT / FFT_N, whatever the speed was.
#pragma once

namespace tz {

struct AnalysisRecord;

// The order of a spectral line (or of a difference of lines); 0 while the
// record holds no spectrum.
double OrderOfLine(double line, const AnalysisRecord& r);

}  // namespace tz
