// The display driven through its panels' real controls: what a switch in one
// panel does to the others.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QWidget>

#include "display/display.h"
#include "tests/display/display_fixture.h"
#include "ui/widget_id.h"

namespace tz::test {
namespace {

class DisplayPanels : public DisplayFixture {
 protected:
  DisplayPanels() { l = LayOut(1120, 720, 20, false); }

  QWidget client;
  MessageBoxFn noBox = [](QWidget*, const Message&) {};
  Display display{&client, r, l, noBox};
};

TEST_F(DisplayPanels, UnitLabelsAreEnabledWithTheirFields) {
  // "Sec.", "RPM", "Nm" and "kW" beside time, speed, torque and power.
  const std::pair<int, int> fieldsAndUnits[] = {{1389, 1390}, {1363, 1368}, {1364, 1365},
                                                {1366, 1367}};
  display.State().Show = DisplayChoice::ShowRpmFilt;
  display.RebuildDisplay();
  AxisPanel* x = display.Panel(PanelId::X);
  for (auto [field, unit] : fieldsAndUnits) EXPECT_FALSE(x->IsEnabled(unit)) << unit;
  FindById<QCheckBox>(x, 1435)->click();  // Enable
  for (auto [field, unit] : fieldsAndUnits) {
    EXPECT_TRUE(x->IsEnabled(field)) << field;
    EXPECT_TRUE(x->IsEnabled(unit)) << unit;
  }
  FindById<QCheckBox>(display.Panel(PanelId::Y1), 1363)->click();  // the Y1 marker
  for (auto [field, unit] : fieldsAndUnits) {
    EXPECT_FALSE(x->IsEnabled(field)) << field;
    EXPECT_FALSE(x->IsEnabled(unit)) << unit;
  }
}

}  // namespace
}  // namespace tz::test
