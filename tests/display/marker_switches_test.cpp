// Every marker switch, on and off, from a state with every switch on: the
// switches it leaves on and the exact list of control changes it returns,
// as the panels' tables give them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "display/marker_switches.h"
#include "ui/resource.h"

namespace tz::test {
namespace {

using Ops = std::vector<std::tuple<PanelId, int, ControlOp::Kind, std::string>>;

// Changes of one kind to several controls of a panel.
Ops Changes(PanelId p, ControlOp::Kind kind, std::initializer_list<int> ids) {
  Ops ops;
  for (int id : ids) ops.emplace_back(p, id, kind, "");
  return ops;
}
Ops operator+(Ops a, const Ops& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Ops Sorted(Ops ops) {
  std::sort(ops.begin(), ops.end());
  return ops;
}
Ops Sorted(const ControlOps& ops) {
  Ops out;
  for (const ControlOp& op : ops) out.emplace_back(op.panel, op.id, op.kind, op.text);
  return Sorted(out);
}

// The switches in the order TimeXMarkersOn, Y1MarkerOn, Y2MarkerOn,
// Y3MarkerOn, FftXMarker1On, FftXMarker2On, FftYMarker1On, FftYMarker2On.
std::vector<int> Switches(const DisplayState& s) {
  return {s.TimeXMarkersOn, s.YMarkerOn[0], s.YMarkerOn[1], s.YMarkerOn[2],
          s.Markers[0].FftXOn, s.Markers[1].FftXOn, s.Markers[0].FftYOn, s.Markers[1].FftYOn};
}
// Every switch on, and positions and readings that a switch must keep.
DisplayState AllOn() {
  DisplayState s;
  s.TimeXMarkersOn = 1;
  s.YMarkerOn = {1, 1, 1};
  s.YMarkerValue = {1.5, 2.5, 3.5};
  s.PrevTimeY = 44;
  for (Marker& m : s.Markers) {
    m.FftXOn = m.FftYOn = 1;
    m.X = 100, m.Y = 200, m.Time = 2.5, m.RpmFilt = 1500.0, m.YAmpl = 0.25;
  }
  return s;
}
// The state with exactly these switches (in the order of Switches) changed.
DisplayState With(DisplayState s, const std::vector<int>& on) {
  s.TimeXMarkersOn = on[0];
  s.YMarkerOn = {on[1], on[2], on[3]};
  s.Markers[0].FftXOn = on[4], s.Markers[1].FftXOn = on[5];
  s.Markers[0].FftYOn = on[6], s.Markers[1].FftYOn = on[7];
  return s;
}

constexpr auto X = PanelId::X, FX = PanelId::FftX, FY = PanelId::FftY;
constexpr auto kOn = ControlOp::Enable, kOff = ControlOp::Disable, kUncheck = ControlOp::Uncheck;

// The X marker panel's buttons, readings and their units.
const std::initializer_list<int> kXControls = {1428, 1429, 1430, 1389, 1363, 1364,
                                               1366, 1390, 1368, 1365, 1367};

TEST(MarkerSwitches, TimeXMarkersOnAndOff) {
  DisplayState s = AllOn();
  ControlOps ops = SwitchTimeXMarkers(s, true);
  EXPECT_EQ(Switches(s), (std::vector<int>{1, 0, 0, 0, 1, 1, 1, 1}));
  EXPECT_TRUE(s == With(AllOn(), std::vector<int>{1, 0, 0, 0, 1, 1, 1, 1}));  // nothing else changed
  EXPECT_EQ(Sorted(ops), Sorted(Changes(X, kOn, kXControls) +
                                Changes(PanelId::Y1, kOff, {1364}) +
                                Changes(PanelId::Y1, kUncheck, {1363}) +
                                Changes(PanelId::Y2, kOff, {1410}) +
                                Changes(PanelId::Y2, kUncheck, {1406}) +
                                Changes(PanelId::Y3, kOff, {1422}) +
                                Changes(PanelId::Y3, kUncheck, {1418})));
  s = AllOn();
  ops = SwitchTimeXMarkers(s, false);
  EXPECT_EQ(Switches(s), (std::vector<int>{0, 1, 1, 1, 1, 1, 1, 1}));
  EXPECT_TRUE(s == With(AllOn(), std::vector<int>{0, 1, 1, 1, 1, 1, 1, 1}));  // nothing else changed
  EXPECT_EQ(Sorted(ops), Sorted(Changes(X, kOff, kXControls)));
}

TEST(MarkerSwitches, EachYMarkerOnAndOff) {
  const struct {
    PanelId panel;
    int markerOn, markerVal;
  } panels[] = {{PanelId::Y1, 1363, 1364}, {PanelId::Y2, 1406, 1410}, {PanelId::Y3, 1418, 1422}};
  for (size_t own = 0; own < 3; ++own) {
    SCOPED_TRACE(own);
    DisplayState s = AllOn();
    ControlOps ops = SwitchYMarker(s, panels[own].panel, true);
    std::vector<int> expected{0, 0, 0, 0, 1, 1, 1, 1};
    expected[1 + own] = 1;
    EXPECT_EQ(Switches(s), expected);
    EXPECT_TRUE(s == With(AllOn(), expected));  // nothing else changed
    Ops want = Changes(X, kOff, kXControls) + Changes(X, kUncheck, {1435}) +
               Changes(panels[own].panel, kOn, {panels[own].markerVal});
    for (size_t other = 0; other < 3; ++other)
      if (other != own)
        want = want + Changes(panels[other].panel, kOff, {panels[other].markerVal}) +
               Changes(panels[other].panel, kUncheck, {panels[other].markerOn});
    EXPECT_EQ(Sorted(ops), Sorted(want));

    s = AllOn();
    ops = SwitchYMarker(s, panels[own].panel, false);
    expected = {1, 1, 1, 1, 1, 1, 1, 1};
    expected[1 + own] = 0;
    EXPECT_EQ(Switches(s), expected);
    EXPECT_TRUE(s == With(AllOn(), expected));  // nothing else changed
    EXPECT_EQ(Sorted(ops), Sorted(Changes(panels[own].panel, kOff, {panels[own].markerVal})));
  }
  // The other panels have no Y marker.
  DisplayState s = AllOn();
  EXPECT_TRUE(SwitchYMarker(s, PanelId::FftY, true).empty());
  EXPECT_EQ(Switches(s), Switches(AllOn()));
}

TEST(MarkerSwitches, EachFftXMarkerOnAndOff) {
  const struct {
    int markerOn;
    std::initializer_list<int> fields;
    int order;  // its order field, switched with the others but given no kept text
  } markers[] = {{1454, {1450, 1452, 1455, 1456}, res::kFftXM1Order},
                 {1459, {1451, 1453, 1460, 1461}, res::kFftXM2Order}};
  for (int own = 0; own < 2; ++own) {
    SCOPED_TRACE(own);
    const int other = 1 - own;
    DisplayState s = AllOn();
    ControlOps ops = SwitchFftXMarker(s, own + 1, true);
    std::vector<int> expected{1, 1, 1, 1, 0, 0, 0, 0};
    expected[4 + own] = 1;
    EXPECT_EQ(Switches(s), expected);
    EXPECT_TRUE(s == With(AllOn(), expected));  // nothing else changed
    EXPECT_EQ(Sorted(ops), Sorted(Changes(FX, kOn, markers[own].fields) +
                                  Changes(FX, kOn, {markers[own].order}) +
                                  Changes(FX, kOn, {1458, 1464, 1465, 1467}) +
                                  Changes(FX, kOn, {res::kFftXVarOrder}) +
                                  Changes(FX, kUncheck, {markers[other].markerOn}) +
                                  Changes(FX, kOff, markers[other].fields) +
                                  Changes(FX, kOff, {markers[other].order}) +
                                  Changes(FY, kUncheck, {1470, 1474}) +
                                  Changes(FY, kOff, {1471, 1472, 1475, 1476, 1481, 1482})));

    // Off: the fields disabled and given the kept readings, 2 decimals each.
    s = AllOn();
    Marker& m = s.Markers[own];
    m.Line = 612, m.Freq = 74.706, m.Ampl = 0.1234, m.dB = -23.4567;
    const DisplayState before = s;
    ops = SwitchFftXMarker(s, own + 1, false);
    expected = {1, 1, 1, 1, 1, 1, 1, 1};
    expected[4 + own] = 0;
    EXPECT_EQ(Switches(s), expected);
    EXPECT_TRUE(s == With(before, expected));  // nothing else changed
    const std::vector<const char*> texts{"612", "74.71", "0.12", "-23.46"};
    Ops want = Changes(FX, kOff, markers[own].fields) + Changes(FX, kOff, {markers[own].order});
    size_t i = 0;
    for (int id : markers[own].fields) want.emplace_back(FX, id, ControlOp::SetText, texts[i++]);
    EXPECT_EQ(Sorted(ops), Sorted(want));
  }
}

TEST(MarkerSwitches, EachFftYMarkerOnAndOff) {
  const struct {
    int markerOn;
    std::initializer_list<int> fields;
  } markers[] = {{1470, {1471, 1472}}, {1474, {1475, 1476}}};
  for (int own = 0; own < 2; ++own) {
    SCOPED_TRACE(own);
    const int other = 1 - own;
    DisplayState s = AllOn();
    ControlOps ops = SwitchFftYMarker(s, own + 1, true);
    // The Y1 panel's marker is left as it is.
    std::vector<int> expected{0, 1, 0, 0, 0, 0, 0, 0};
    expected[6 + own] = 1;
    EXPECT_EQ(Switches(s), expected);
    EXPECT_TRUE(s == With(AllOn(), expected));  // nothing else changed
    EXPECT_EQ(Sorted(ops),
              Sorted(Changes(FX, kOff, {1450, 1452, 1455, 1456, 1451, 1453, 1460, 1461, 1458,
                                        1464, 1465, 1467, res::kFftXM1Order, res::kFftXM2Order,
                                        res::kFftXVarOrder}) +
                     Changes(FX, kUncheck, {1454, 1459}) +
                     Changes(FY, kOn, markers[own].fields) + Changes(FY, kOn, {1481, 1482}) +
                     Changes(FY, kOff, markers[other].fields) +
                     Changes(FY, kUncheck, {markers[other].markerOn})));

    s = AllOn();
    ops = SwitchFftYMarker(s, own + 1, false);
    expected = {1, 1, 1, 1, 1, 1, 1, 1};
    expected[6 + own] = 0;
    EXPECT_EQ(Switches(s), expected);
    EXPECT_TRUE(s == With(AllOn(), expected));  // nothing else changed
    EXPECT_EQ(Sorted(ops), Sorted(Changes(FY, kOff, {*markers[own].fields.begin()})));
  }
}

TEST(MarkerSwitches, TheDisplaySettingsClearEverySwitchBoxAndField) {
  DisplayState s = AllOn();
  const ControlOps ops = ClearMarkerSwitches(s);
  EXPECT_TRUE(s == With(AllOn(), std::vector<int>(8, 0)));  // positions and readings kept
  Ops want = Changes(X, kUncheck, {1435}) + Changes(X, kOff, {1390, 1368, 1365, 1367}) +
             Changes(FX, kUncheck, {1454, 1459}) + Changes(FY, kUncheck, {1470, 1474});
  const auto blank = [&want](PanelId p, std::initializer_list<int> ids) {
    want = want + Changes(p, kOff, ids);
    for (int id : ids) want.emplace_back(p, id, ControlOp::SetText, " ");
  };
  for (auto [p, on, val] : {std::tuple{PanelId::Y1, 1363, 1364}, {PanelId::Y2, 1406, 1410},
                            {PanelId::Y3, 1418, 1422}}) {
    want = want + Changes(p, kUncheck, {on});
    blank(p, {val});
  }
  blank(X, {1389, 1363, 1364, 1366});
  blank(FX, {1450, 1452, 1455, 1456, 1451, 1453, 1460, 1461, 1458, 1464, 1465, 1467,
             res::kFftXM1Order, res::kFftXM2Order, res::kFftXVarOrder});
  blank(FY, {1471, 1472, 1475, 1476, 1481, 1482});
  EXPECT_EQ(Sorted(ops), Sorted(want));
}

TEST(MarkerSwitches, XMarkerButtonsCheckOneAndShowItsReadings) {
  DisplayState s;
  s.Show = DisplayChoice::ShowRpmInst;
  s.Markers[0].Time = 2.5004, s.Markers[1].Time = 4.0;
  s.Markers[0].RpmInst = 1500.126, s.Markers[1].RpmInst = 1400.0;
  s.Markers[0].Trq = 12.344, s.Markers[1].Trq = 2.0;
  s.Markers[0].Pow = 3.125, s.Markers[1].Pow = 1.0;
  const struct {
    int button;
    XMarkerChoice choice;
    const char *time, *speed, *torque, *power;
  } cases[] = {{1428, XMarkerChoice::Marker1, "2.5", "1500.13", "12.34", "3.13"},
               {1429, XMarkerChoice::Marker2, "4", "1400", "2", "1"},
               {1430, XMarkerChoice::Delta, "-1.5", "100.13", "10.34", "2.13"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    const ControlOps ops = SelectXMarker(s, c.button);
    EXPECT_EQ(s.XMarkerSel, c.choice);
    Ops want;
    for (int id : {1428, 1429, 1430})
      want.emplace_back(X, id, id == c.button ? ControlOp::Check : kUncheck, "");
    want.emplace_back(X, 1389, ControlOp::SetText, c.time);
    want.emplace_back(X, 1363, ControlOp::SetText, c.speed);
    want.emplace_back(X, 1364, ControlOp::SetText, c.torque);
    want.emplace_back(X, 1366, ControlOp::SetText, c.power);
    EXPECT_EQ(Sorted(ops), Sorted(want));
  }
  // Any other identifier changes nothing.
  const DisplayState before = s;
  EXPECT_TRUE(SelectXMarker(s, 1435).empty());
  EXPECT_EQ(s, before);
}

}  // namespace
}  // namespace tz::test
