// Analyses of the transformed spectrum: the fundamental, the floor level and
// the harmonic peaks, the total energy and the symmetry errors. Each reads
// and writes the spectrum group of the record only.
#pragma once

#include "processing/analysis_record.h"  // kLinesReadPastTheLast

namespace tz {

class Progress;

// Magnitude of line k of the last transform.
double LineMagnitude(const SpectrumResults& sp, int k);

// Sets DCEndLine, FundLine and FundMag.
void FindFundamental(SpectrumResults& sp);
// Sets FloorLevel and SpecLines (the picked peaks keep their magnitude); Fc
// gives the lines' frequencies.
void AnalyseSpectrum(SpectrumResults& sp, double Fc, Progress& progress);
// Clears the skirts of the picked peak p on both sides.
void CleanPeakTails(SpectrumResults& sp, int p);
// TotalEnergy = (2 x sum over k = 0..N/2 of |X[k]|^2) / N.
void ParsevalEnergy(SpectrumResults& sp);
// Largest departures from even symmetry of FFTre and odd symmetry of FFTim.
void SymmetryErrors(SpectrumResults& sp);

}  // namespace tz
