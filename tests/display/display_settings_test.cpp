#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <memory>
#include <string>
#include <vector>

#include "display/display_settings_dialog.h"
#include "ui/widget_id.h"

namespace tz {
namespace {

QAbstractButton& Button(const QWidget& d, int id) { return *FindById<QAbstractButton>(&d, id); }

std::vector<int> CheckedIds(const QWidget& d) {
  std::vector<int> ids;
  for (int id : {1449, 1400, 1401, 1402, 1403, 1404, 1405, 1479, 1480, 1482, 1481})
    if (Button(d, id).isChecked()) ids.push_back(id);
  return ids;
}

// The seven graph choices as flags (ShowFft, Show3RpmFilt, Show3RpmInst,
// ShowRpmFilt, ShowRpmInst, ShowTorque, ShowPower), then FftEnvelope,
// ShowHarmonics, ShowHarmonicPeaks, CleanSpectrum.
std::vector<int> Choices(const DisplayState& s) {
  std::vector<int> v;
  for (int i = 0; i < kDisplayChoiceCount; ++i)
    v.push_back(s.Show == static_cast<DisplayChoice>(i));
  for (int option : {s.FftEnvelope, s.ShowHarmonics, s.ShowHarmonicPeaks, s.CleanSpectrum})
    v.push_back(option);
  return v;
}

TEST(DisplaySettingsRules, StoringSetsExactlyTheCheckedGraph) {
  DisplayState s;
  s.Show = DisplayChoice::ShowPower, s.FftEnvelope = 0, s.ShowHarmonics = 1;
  StoreDisplayChoices({.graph = DisplayChoice::Show3RpmInst, .harmonicPeaks = true}, s);
  EXPECT_EQ(Choices(s), (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0}));
  // No graph checked (the dialog always has one): the choice in force stays.
  StoreDisplayChoices({.graph = std::nullopt, .spectralLines = true}, s);
  EXPECT_EQ(Choices(s), (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// Each of the seven choices is exactly one of the FFT graph, a single graph
// or the three graphs, opens the dialog with its button alone checked, and
// comes back from OK unchanged.
TEST(DisplaySettingsRules, EachChoiceIsExactlyOneDisplay) {
  const int buttons[] = {1449, 1400, 1401, 1402, 1403, 1404, 1405};
  for (int i = 0; i < kDisplayChoiceCount; ++i) {
    SCOPED_TRACE(i);
    DisplayState s;
    s.Show = static_cast<DisplayChoice>(i);
    EXPECT_EQ(FftShown(s) + ThreeGraphs(s) + SingleGraph(s), 1);
    EXPECT_EQ(FftShown(s), i == 0);
    EXPECT_EQ(ThreeGraphs(s), i == 1 || i == 2);
    EXPECT_LE(RpmFiltShown(s) + RpmInstShown(s), 1);
    DisplaySettingsDialog d(s, nullptr, nullptr, nullptr);
    EXPECT_EQ(CheckedIds(d), std::vector<int>{buttons[i]});
    s.Show = DisplayChoice::ShowFft;
    d.accept();
    EXPECT_EQ(s.Show, static_cast<DisplayChoice>(i));
  }
}

class DisplaySettingsDialogTest : public ::testing::Test {
 protected:
  DisplayState state;
  std::vector<std::string> calls;
  std::unique_ptr<DisplaySettingsDialog> Open() {
    return std::make_unique<DisplaySettingsDialog>(
        state, [this] { calls.push_back("clear, torque " + std::to_string(state.Show == DisplayChoice::ShowTorque)); },
        [this] { calls.push_back("rebuild"); }, nullptr);
  }
};

TEST_F(DisplaySettingsDialogTest, ControlsAndCaption) {
  auto d = Open();
  EXPECT_EQ(d->objectName() + d->windowTitle(), "id:146Display Settings");
  EXPECT_TRUE(d->isModal());
  const auto groups = d->findChildren<QGroupBox*>();
  ASSERT_EQ(groups.size(), 3);
  EXPECT_EQ(groups[0]->title(), "Select FFT graph ");
  EXPECT_EQ(groups[1]->title(), "Select auxiliary graphs to display");
  EXPECT_EQ(groups[2]->title(), "Scales");
  EXPECT_EQ(Button(*d, 1449).parent(), groups[0]);
  const std::vector<std::pair<int, const char*>> radios{
      {1449, "Currently active FFT source (default view)"}, {1400, "RPM filtered, Torque, Power"},
      {1401, "RPM unfiltered, Torque, Power"}, {1402, "RPM filtered"}, {1403, "RPM unfiltered"},
      {1404, "Torque"}, {1405, "Power"}};
  for (auto [id, text] : radios) {
    EXPECT_TRUE(qobject_cast<QRadioButton*>(&Button(*d, id))) << id;
    EXPECT_EQ(Button(*d, id).text(), text);
    if (id != 1449) {
      EXPECT_EQ(Button(*d, id).parent(), groups[1]) << id;
    }
  }
  const std::vector<std::pair<int, const char*>> others{
      {1479, "Display spectral lines"}, {1480, "Display armonics (analytic)"},
      {1482, "Display armonic peaks (euristic)"}, {1481, "Clean spectrum (DC component + floor)"},
      {4111, "Fit time graphs to the visible data"}, {4112, "Rulers"}, {1, "OK"}, {2, "Cancel"}};
  for (auto [id, text] : others) {
    EXPECT_TRUE(qobject_cast<QCheckBox*>(&Button(*d, id)) || id < 3) << id;
    EXPECT_EQ(Button(*d, id).text(), text);
  }
}

TEST_F(DisplaySettingsDialogTest, OpensWithTheStateItsGraphChecked) {
  EXPECT_EQ(CheckedIds(*Open()), std::vector<int>{1449});  // as the program starts
  state.Show = DisplayChoice::ShowPower;
  state.FftEnvelope = 0, state.ShowHarmonics = 1, state.ShowHarmonicPeaks = 1;
  EXPECT_EQ(CheckedIds(*Open()), (std::vector<int>{1405, 1479, 1480, 1482}));
  state = DisplayState{};
  state.Show = DisplayChoice::ShowRpmInst;
  state.FftEnvelope = 7, state.CleanSpectrum = 1;  // any but 0: envelope
  EXPECT_EQ(CheckedIds(*Open()), (std::vector<int>{1403, 1481}));
}

TEST_F(DisplaySettingsDialogTest, TheSevenGraphButtonsAreOneGroup) {
  auto d = Open();
  for (int id : {1400, 1405, 1449, 1403}) {
    Button(*d, id).click();
    EXPECT_EQ(CheckedIds(*d), std::vector<int>{id});
  }
}

TEST_F(DisplaySettingsDialogTest, OkStoresClosesClearsTheMarkersThenRebuilds) {
  state.ShowHarmonics = 1;
  auto d = Open();
  d->show();
  for (int id : {1404, 1479, 1480, 1481, 1}) Button(*d, id).click();
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(d->result(), 1);
  EXPECT_EQ(Choices(state), (std::vector<int>{0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
  EXPECT_EQ(calls, (std::vector<std::string>{"clear, torque 1", "rebuild"}));
}

TEST_F(DisplaySettingsDialogTest, CancelEscapeAndCloseOnlyRebuild) {
  state.Show = DisplayChoice::ShowRpmFilt, state.CleanSpectrum = 1;
  const std::vector<int> before = Choices(state);
  for (int way = 0; way < 3; ++way) {
    auto d = Open();
    d->show();
    Button(*d, 1449).click();
    Button(*d, 1481).click();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    if (way == 0) Button(*d, 2).click();
    if (way == 1) QApplication::sendEvent(d.get(), &escape);
    if (way == 2) d->close();
    EXPECT_FALSE(d->isVisible()) << way;
    EXPECT_EQ(d->result(), 2) << way;
    EXPECT_EQ(Choices(state), before) << way;
  }
  EXPECT_EQ(calls, (std::vector<std::string>{"rebuild", "rebuild", "rebuild"}));
}

}  // namespace
}  // namespace tz
