#include "display/readouts.h"

#include "display/panel_controls.h"
#include "ui/resource.h"

namespace tz {

namespace {

// The name and unit of the graph a Y panel shows.
struct YGraph {
  const char* name;
  const char* unit;
};
YGraph YGraphOf(const DisplayState& s, size_t band) {
  if (band == 1 || (band == 0 && s.Show == DisplayChoice::ShowTorque)) return {"TORQUE", "Nm"};
  if (band == 2 || (band == 0 && s.Show == DisplayChoice::ShowPower)) return {"POWER", "kW"};
  return {RpmInstShown(s) ? "RPMinst" : "RPM", "RPM"};
}

void AddY(std::vector<Readout>& out, const DisplayState& s, size_t band) {
  const YPanelIds& y = kYPanels[band];
  const YGraph g = YGraphOf(s, band);
  const std::string name = g.name;
  out.push_back({y.panel, y.title, "Y axis", ""});
  out.push_back({y.panel, y.zoom, name + " Zoom", "%"});
  out.push_back({y.panel, y.markerVal, name + " Marker val.", g.unit});
  out.push_back({y.panel, y.max, name + " Maximum", g.unit});
  out.push_back({y.panel, y.min, name + " Minimum", g.unit});
}

void AddX(std::vector<Readout>& out) {
  const PanelId p = PanelId::X;
  out.push_back({p, res::kXTime, "Time", "Sec."});
  out.push_back({p, res::kXSpeed, "Speed", "RPM"});
  out.push_back({p, res::kXTorque, "Trq", "Nm"});
  out.push_back({p, res::kXPower, "Pow", "kW"});
}

void AddFftY(std::vector<Readout>& out) {
  const PanelId p = PanelId::FftY;
  out.push_back({p, res::kFftYTitle, "Y axis", ""});
  out.push_back({p, res::kFftYZoom, "Zoom", "%"});
  out.push_back({p, res::kFftYTotalEnergy, "Total energy", ""});
  out.push_back({p, res::kFftYDcValue, "DC value", ""});
  out.push_back({p, res::kFftYFloor, "Floor level", ""});
  out.push_back({p, res::kFftYEvenSymErr, "Even simmetry max. error (Re)", ""});
  out.push_back({p, res::kFftYOddSymErr, "Odd simmetry max. error (Im)", ""});
  for (int m = 0; m < 2; ++m) {
    const std::string name = "Y axis Marker " + std::to_string(m + 1) + " Ampl.";
    out.push_back({p, kFftY[m].ampl, name, ""});
    out.push_back({p, kFftY[m].dB, name, "dB"});
  }
  out.push_back({p, res::kFftYVarAmpl, "Ampl. var.", ""});
  out.push_back({p, res::kFftYVardB, "Ampl. var.", "dB"});
}

void AddFftX(std::vector<Readout>& out) {
  const PanelId p = PanelId::FftX;
  out.push_back({p, res::kFftXFc, "Sampling frequency", "Hz"});
  out.push_back({p, res::kFftXCount, "Number of samples", ""});
  for (int m = 0; m < 2; ++m) {
    const FftXIds& f = kFftX[m];
    const std::string name = "X axis Marker " + std::to_string(m + 1) + " ";
    out.push_back({p, f.line, name + "Line", ""});
    out.push_back({p, f.freq, name + "Freq.", "Hz"});
    out.push_back({p, f.order, name + "Order", ""});
    out.push_back({p, f.ampl, name + "Ampl", ""});
    out.push_back({p, f.dB, name + "Ampl", "dB"});
  }
  out.push_back({p, res::kFftXVarLines, "Lines", ""});
  out.push_back({p, res::kFftXVarFreq, "Freq.var.", "Hz"});
  out.push_back({p, res::kFftXVarOrder, "Order var.", ""});
  out.push_back({p, res::kFftXVarAmpl, "Ampl. var.", ""});
  out.push_back({p, res::kFftXVardB, "Ampl. var.", "dB"});
}

}  // namespace

std::vector<Readout> ReadoutsOf(const DisplayState& s) {
  std::vector<Readout> out;
  if (FftShown(s)) {
    AddFftY(out);
    AddFftX(out);
    return out;
  }
  AddY(out, s, 0);
  if (ThreeGraphs(s)) {
    AddY(out, s, 1);
    AddY(out, s, 2);
  }
  AddX(out);
  return out;
}

std::string ReadoutText(const std::vector<Readout>& readouts,
                        const std::function<std::string(PanelId, int)>& textOf) {
  std::string text;
  for (const Readout& r : readouts) {
    const std::string value = textOf(r.panel, r.id);
    if (value.empty()) continue;
    text += r.label + '\t' + value + '\t' + r.unit + '\n';
  }
  return text;
}

}  // namespace tz
