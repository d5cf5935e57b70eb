#include <gtest/gtest.h>

#include <QRadioButton>
#include <array>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "settings/fft_choice_rules.h"
#include "settings/fft_source_dialog.h"
#include "settings/fft_window_dialog.h"
#include "ui/resource.h"

namespace tz {
namespace {

using test::Click;

// The identifiers of the checked buttons among count from firstId.
std::vector<int> Checked(const QWidget& d, int firstId, int count) {
  std::vector<int> ids;
  for (int id = firstId; id < firstId + count; ++id)
    if (test::Control<QRadioButton>(d, id).isChecked()) ids.push_back(id);
  return ids;
}

class FftDialogsTest : public ::testing::Test {
 protected:
  RecordPtr r = test::WithSettings();
  std::vector<std::string> calls;
  FftWindowDialog window{*r, [this] { calls.push_back("run"); }, nullptr};
  FftSourceDialog source{*r, [this] { calls.push_back("run"); },
                         [this] { calls.push_back("rebuild"); }, nullptr};
};

TEST(FftChoiceRules, NoneCheckedGivesTheDefaultAndTheLastCheckedWins) {
  EXPECT_EQ(ReadFftWindowChoice(std::array<bool, 3>{}), FftWindow::Hamming);
  EXPECT_EQ(ReadFftSourceChoice(std::array<bool, 5>{}), FftSource::Torque);
  EXPECT_EQ(ReadFftSourceChoice(std::array{false, true, true, false, false}), FftSource::RpmInst);
}

TEST(FftChoiceRules, EachButtonGivesItsPosition) {
  for (int i = 0; i < 3; ++i) {
    std::array<bool, 3> checked{};
    checked[static_cast<size_t>(i)] = true;
    EXPECT_EQ(static_cast<int>(ReadFftWindowChoice(checked)), i);
  }
  for (int i = 0; i < 5; ++i) {
    std::array<bool, 5> checked{};
    checked[static_cast<size_t>(i)] = true;
    EXPECT_EQ(static_cast<int>(ReadFftSourceChoice(checked)), i);
  }
}

TEST_F(FftDialogsTest, TheFirstButtonOfEachDialogIsStored) {
  r->settings.UseFilterDefaults = 1;
  Click(window, res::kRadioWindowFlatTop);
  Click(window, res::kIdOk);
  EXPECT_EQ(r->settings.FFTwindow, FftWindow::FlatTop);
  EXPECT_EQ(r->settings.UseFilterDefaults, 0);  // the window dialog clears it on its own
  EXPECT_EQ(calls, std::vector<std::string>{"run"});
  r->settings.UseFilterDefaults = 1;
  Click(source, res::kRadioSourceCslot);
  Click(source, res::kIdOk);
  EXPECT_EQ(r->settings.FFTsource, FftSource::Cslot);
  EXPECT_EQ(r->settings.UseFilterDefaults, 0);
  // Reopened, each checks its first button.
  FftWindowDialog w(*r, nullptr, nullptr);
  FftSourceDialog s(*r, nullptr, nullptr, nullptr);
  EXPECT_EQ(Checked(w, res::kRadioWindowFlatTop, 3), std::vector{res::kRadioWindowFlatTop});
  EXPECT_EQ(Checked(s, res::kRadioSourceCslot, 5), std::vector{res::kRadioSourceCslot});
  EXPECT_EQ(CurrentFftWindow(*r), 0);
  EXPECT_EQ(CurrentFftSource(*r), 0);
}

TEST_F(FftDialogsTest, CheckedButtonFollowsTheCurrentValue) {
  EXPECT_EQ(Checked(window, res::kRadioWindowFlatTop, 3), std::vector{res::kRadioWindowHamming});
  EXPECT_EQ(Checked(source, res::kRadioSourceCslot, 5), std::vector{res::kRadioSourceTorque});
  r->settings.FFTwindow = FftWindow::Blackman, r->settings.FFTsource = FftSource::Cslot;
  FftWindowDialog w(*r, nullptr, nullptr);
  FftSourceDialog s(*r, nullptr, nullptr, nullptr);
  EXPECT_EQ(Checked(w, res::kRadioWindowFlatTop, 3), std::vector{res::kRadioWindowBlackman});
  EXPECT_EQ(Checked(s, res::kRadioSourceCslot, 5), std::vector{res::kRadioSourceCslot});
}

TEST_F(FftDialogsTest, OkProcessesChangedOrNotAndKeepsTheFilterSettings) {
  r->settings.MovAvgLen = 25, r->settings.UseFilterDefaults = 1;
  Click(window, res::kIdOk);
  EXPECT_EQ(calls, std::vector<std::string>{"run"});
  Click(source, res::kRadioSourcePower);
  Click(source, res::kIdOk);
  EXPECT_EQ(calls, (std::vector<std::string>{"run", "run", "rebuild"}));
  EXPECT_EQ(r->settings.FFTwindow, FftWindow::Hamming);
  EXPECT_EQ(r->settings.FFTsource, FftSource::Power);
  EXPECT_EQ(r->settings.UseFilterDefaults, 0);
  EXPECT_EQ(r->settings.MovAvgLen, 25);
}

TEST_F(FftDialogsTest, CancelAfterClickingAnotherButtonChangesNothing) {
  r->settings.UseFilterDefaults = 1;
  Click(window, res::kRadioWindowBlackman);
  Click(window, res::kIdCancel);
  Click(source, res::kRadioSourceRpmInst);
  source.show();
  test::PressKey(source, Qt::Key_Escape);
  EXPECT_EQ(r->settings.FFTwindow, FftWindow::Hamming);
  EXPECT_EQ(r->settings.FFTsource, FftSource::Torque);
  EXPECT_EQ(r->settings.UseFilterDefaults, 1);
  EXPECT_TRUE(calls.empty());
}

TEST_F(FftDialogsTest, CaptionsNothingClippedTemplateSizeHeld) {
  EXPECT_EQ(window.objectName() + window.windowTitle(), "id:150FFT filtering window selection");
  EXPECT_EQ(source.objectName() + source.windowTitle(), "id:151FFT source selection");
  test::ExpectNothingClipped(window, "fft_window");
  test::ExpectNothingClipped(source, "fft_source");
  EXPECT_GE(window.width(), DialogUnitsToPixels(window, 382, 114).width());
  EXPECT_GE(source.height(), DialogUnitsToPixels(source, 220, 125).height());
}

}  // namespace
}  // namespace tz
