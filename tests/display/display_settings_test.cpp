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

// The seven graph choices, then FftEnvelope, ShowHarmonics, ShowHarmonicPeaks, CleanSpectrum.
std::vector<int> Choices(const DisplayState& s) {
  return {s.ShowFft,     s.Show3RpmFilt, s.Show3RpmInst,  s.ShowRpmFilt,
          s.ShowRpmInst, s.ShowTorque,   s.ShowPower,     s.FftEnvelope,
          s.ShowHarmonics, s.ShowHarmonicPeaks, s.CleanSpectrum};
}

TEST(DisplaySettingsRules, StoringSetsExactlyTheCheckedGraph) {
  DisplayState s;
  s.ShowFft = 1, s.ShowPower = 1, s.FftEnvelope = 0, s.ShowHarmonics = 1;
  StoreDisplayChoices({.show3RpmInst = true, .harmonicPeaks = true}, s);
  EXPECT_EQ(Choices(s), (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0}));
  StoreDisplayChoices({.spectralLines = true}, s);  // no graph checked: all stay 0
  EXPECT_EQ(Choices(s), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

class DisplaySettingsDialogTest : public ::testing::Test {
 protected:
  DisplayState state;
  std::vector<std::string> calls;
  std::unique_ptr<DisplaySettingsDialog> Open() {
    return std::make_unique<DisplaySettingsDialog>(
        state, [this] { calls.push_back("clear, torque " + std::to_string(state.ShowTorque)); },
        [this] { calls.push_back("rebuild"); }, nullptr);
  }
};

TEST_F(DisplaySettingsDialogTest, ControlsAndCaption) {
  auto d = Open();
  EXPECT_EQ(d->objectName() + d->windowTitle(), "id:146Display Settings");
  EXPECT_TRUE(d->isModal());
  const auto groups = d->findChildren<QGroupBox*>();
  ASSERT_EQ(groups.size(), 2);
  EXPECT_EQ(groups[0]->title(), "Select FFT graph ");
  EXPECT_EQ(groups[1]->title(), "Select auxiliary graphs to display");
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
      {1, "OK"}, {2, "Cancel"}};
  for (auto [id, text] : others) {
    EXPECT_TRUE(qobject_cast<QCheckBox*>(&Button(*d, id)) || id < 3) << id;
    EXPECT_EQ(Button(*d, id).text(), text);
  }
}

TEST_F(DisplaySettingsDialogTest, OpensWithTheStateTheLastSetGraphChecked) {
  EXPECT_EQ(CheckedIds(*Open()), std::vector<int>{1449});  // as the program starts
  state.ShowFft = 1, state.Show3RpmInst = 1, state.ShowPower = 1;
  state.FftEnvelope = 0, state.ShowHarmonics = 1, state.ShowHarmonicPeaks = 1;
  EXPECT_EQ(CheckedIds(*Open()), (std::vector<int>{1405, 1479, 1480, 1482}));
  state = DisplayState{};
  state.ShowFft = 0, state.FftEnvelope = 7, state.CleanSpectrum = 1;  // any but 0: envelope
  EXPECT_EQ(CheckedIds(*Open()), std::vector<int>{1481});
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
  state.ShowFft = 0, state.ShowRpmFilt = 1, state.CleanSpectrum = 1;
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
