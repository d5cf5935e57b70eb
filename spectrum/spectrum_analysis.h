// Analyses of the transformed spectrum: the fundamental, the floor level and
// the harmonic peaks, the total energy and the symmetry errors.
#pragma once

namespace tz {

struct AnalysisRecord;
class Progress;

// Magnitude of line k of the last transform.
double LineMagnitude(const AnalysisRecord& r, int k);

// Sets DCEndLine, FundLine and FundMag.
void FindFundamental(AnalysisRecord& r);
// Sets FloorLevel and SpecLines (the picked peaks keep their magnitude).
void AnalyseSpectrum(AnalysisRecord& r, Progress& progress);
// Clears the skirts of the picked peak p on both sides.
void CleanPeakTails(AnalysisRecord& r, int p);
// TotalEnergy = (2 x sum over k = 0..N/2 of |X[k]|^2) / N.
void ParsevalEnergy(AnalysisRecord& r);
// Largest departures from even symmetry of FFTre and odd symmetry of FFTim.
void SymmetryErrors(AnalysisRecord& r);

}  // namespace tz
