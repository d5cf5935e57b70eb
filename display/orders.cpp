#include "display/orders.h"

#include "processing/analysis_record.h"

namespace tz {

double OrderOfLine(double line, const AnalysisRecord& r) {
  if (r.spectrum.FFT_N <= 0) return 0.0;
  return line * r.params.N_SLOT / r.spectrum.FFT_N;
}

}  // namespace tz
