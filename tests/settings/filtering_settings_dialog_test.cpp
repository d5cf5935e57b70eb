#include "settings/filtering_settings_dialog.h"

#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "ui/resource.h"

namespace tz {
namespace {

using test::Click;
using test::Text;

class FilteringSettingsDialogTest : public ::testing::Test {
 protected:
  void SetText(int id, const char* text) {
    test::Control<QLineEdit>(dialog, id).setText(QString::fromLatin1(text));
  }
  void ExpectSettingsUntouched() {
    EXPECT_EQ(r->settings.AllowedOvershoot, 0.1);
    EXPECT_EQ(r->settings.MovAvgLen, 10);
    EXPECT_EQ(r->settings.RPMthreshold, 1200.0);
    EXPECT_EQ(r->settings.ZeroCrossLen, 4);
  }

  RecordPtr r = test::WithSettings();
  int runs = 0, movAvgAtRun = -1, flagAtRun = -1;
  bool visibleAtRun = true;
  FilteringSettingsDialog dialog{*r,
                                 [this] {
                                   ++runs, visibleAtRun = dialog.isVisible();
                                   movAvgAtRun = r->settings.MovAvgLen, flagAtRun = r->settings.UseFilterDefaults;
                                 },
                                 nullptr};
};

TEST_F(FilteringSettingsDialogTest, OpensWithTheSettingsInForce) {
  EXPECT_EQ(dialog.objectName(), "id:108");
  EXPECT_EQ(dialog.windowTitle(), "VBT processor filtering setting");
  EXPECT_EQ(Text(dialog, res::kEditAllowedOvershoot), "0.1");
  EXPECT_EQ(Text(dialog, res::kEditMovAvgLen), "10");
  EXPECT_EQ(Text(dialog, res::kEditRpmThreshold), "1200");
  EXPECT_EQ(Text(dialog, res::kEditZeroCrossLen), "4");
}

TEST_F(FilteringSettingsDialogTest, OkStoresThenClosesThenProcesses) {
  dialog.show();
  SetText(res::kEditMovAvgLen, "250");
  SetText(res::kEditAllowedOvershoot, "0.123456789");
  // Enter in a box is OK, the default button.
  test::PressKey(test::Control(dialog, res::kEditMovAvgLen), Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(visibleAtRun);
  EXPECT_EQ(movAvgAtRun, 200);
  EXPECT_EQ(flagAtRun, 0);
  EXPECT_EQ(r->settings.AllowedOvershoot, 0.1234567);
}

TEST_F(FilteringSettingsDialogTest, UnchangedOkStillProcesses) {
  r->settings.UseFilterDefaults = 1;
  Click(dialog, res::kIdOk);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(r->settings.UseFilterDefaults, 0);
  ExpectSettingsUntouched();
}

TEST_F(FilteringSettingsDialogTest, CancelAndEscapeChangeNothing) {
  r->settings.UseFilterDefaults = 1;
  for (bool escape : {false, true}) {
    dialog.show();
    for (int id = res::kEditMovAvgLen; id <= res::kEditZeroCrossLen; ++id) SetText(id, "77");
    if (escape) test::PressKey(dialog, Qt::Key_Escape);
    else Click(dialog, res::kIdCancel);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
  }
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(r->settings.UseFilterDefaults, 1);
  ExpectSettingsUntouched();
}

TEST_F(FilteringSettingsDialogTest, NothingIsClipped) {
  r->settings.RPMthreshold = -1.234567891e-100;
  FilteringSettingsDialog wide(*r, nullptr, nullptr);
  test::ExpectNothingClipped(wide, "filtering_settings");
}

}  // namespace
}  // namespace tz
