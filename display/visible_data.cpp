#include "display/visible_data.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "display/orders.h"
#include "display/plot_math.h"
#include "processing/analysis_record.h"
#include "processing/format_sig10.h"

namespace tz {

namespace {

// A time quantity's column: its header and its values by Progr.
struct Column {
  const char* header;
  const double* values;
};

const char* HeaderOf(TimeGraph g) {
  switch (g) {
    case TimeGraph::RpmFilt: return "speed filtered (RPM)";
    case TimeGraph::RpmInst: return "speed unfiltered (RPM)";
    case TimeGraph::Torque: return "torque (Nm)";
    case TimeGraph::Power: break;
  }
  return "power (kW)";
}

std::vector<Column> TimeColumns(const DisplayState& s, const AnalysisRecord& r) {
  std::vector<Column> columns;
  TimeGraph single;
  if (SingleGraphShown(s, &single)) {
    columns.push_back({HeaderOf(single), SeriesOf(single, r, s).values});
    return columns;
  }
  for (TimeGraph g : BandGraphs(s)) columns.push_back({HeaderOf(g), SeriesOf(g, r, s).values});
  return columns;
}

void AppendNumber(std::string& out, double x) {
  char text[kSig10Size];
  if (!std::isfinite(x)) {
    // A level of a line of magnitude 0 has no finite value.
    out += std::isnan(x) ? "nan" : (x < 0 ? "-inf" : "inf");
    return;
  }
  out.append(text, FormatSig10(x, text));
}

void AppendInteger(std::string& out, double x) {
  char text[kSig10Size];
  out.append(text, FormatSig10Int(x, text));
}

std::string TimeCsv(const DisplayState& s, const PlotGeometry& g, const AnalysisRecord& r) {
  const std::vector<Column> columns = TimeColumns(s, r);
  std::string out = "time (s)";
  for (const Column& c : columns) out.append(",").append(c.header);
  out += '\n';
  if (!g.HasSamples) return out;
  const int32_t end = std::min(VisibleTimeEnd(g), SampleCount(r));
  for (int32_t p = std::max<int32_t>(0, g.FirstProgr); p < end; ++p) {
    AppendNumber(out, r.samples.TprogrArr[p]);
    for (const Column& c : columns) {
      out += ',';
      AppendNumber(out, c.values[p]);
    }
    out += '\n';
  }
  return out;
}

// A line's magnitude as the FFT graph draws it: the picked peaks when they
// are shown; else 0 for the DC slope's lines and the lines at or under the
// floor when the spectrum is shown clean.
double ShownLineMagnitude(const DisplayState& s, const AnalysisRecord& r, int32_t k) {
  if (s.ShowHarmonicPeaks) return r.spectrum.SpecLines[k].mag;
  const double magnitude = LineMagnitudeAt(r, k);
  if (s.CleanSpectrum && (k <= r.spectrum.DCEndLine || magnitude <= r.spectrum.FloorLevel))
    return 0.0;
  return magnitude;
}

// A line's level in the CSV text: -inf for a line of magnitude 0, inf for
// one over a DC line of magnitude 0 (the panels' readouts show 0 dB then).
double CsvLevel(double magnitude, const AnalysisRecord& r) {
  if (magnitude == 0.0) return -HUGE_VAL;
  if (magnitude > 0.0 && LineMagnitudeAt(r, 0) == 0.0) return HUGE_VAL;
  return DecibelsToDc(magnitude, r);
}

std::string FftCsv(const DisplayState& s, const PlotGeometry& g, const AnalysisRecord& r) {
  std::string out = "line,frequency (Hz),order,magnitude,level (dB to DC)\n";
  if (!g.HasSamples) return out;
  const int32_t end = std::min(VisibleFftEnd(g), HalfSpectrum(r));
  for (int32_t k = std::max<int32_t>(0, g.FftStart); k < end; ++k) {
    const double magnitude = ShownLineMagnitude(s, r, k);
    AppendInteger(out, k);
    out += ',';
    AppendNumber(out, r.spectrum.FFTfreq[k]);
    out += ',';
    AppendNumber(out, OrderOfLine(k, r));
    out += ',';
    AppendNumber(out, magnitude);
    out += ',';
    AppendNumber(out, CsvLevel(magnitude, r));
    out += '\n';
  }
  return out;
}

}  // namespace

double DecibelsToDc(double magnitude, const AnalysisRecord& r) {
  const double dc = LineMagnitudeAt(r, 0);
  if (dc == 0.0) return 0.0;
  return 10.0 * std::log10(magnitude / dc);
}

std::string VisibleDataCsv(const DisplayState& s, const PlotGeometry& g, const AnalysisRecord& r) {
  return FftShown(s) ? FftCsv(s, g, r) : TimeCsv(s, g, r);
}

}  // namespace tz
