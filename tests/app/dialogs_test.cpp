// About, help, progress and statistics dialogs: texts, identifiers, and how
// they close.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>

#include "app/about_dialog.h"
#include "app/file_dialog.h"
#include "app/help_dialog.h"
#include "app/progress_dialog.h"
#include "app/statistics_dialog.h"
#include "app_test_support.h"
#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz::test {
namespace {

std::vector<std::string> LabelTexts(const QWidget* root) {
  std::vector<std::string> out;
  for (const QLabel* l : root->findChildren<QLabel*>())
    if (!l->text().isEmpty()) out.push_back(l->text().toStdString());
  return out;
}

// Escape and a close request leave the dialog up; only its button ends it.
void ExpectClosesOnlyWithItsButton(InfoDialog& d, const char* buttonText) {
  EXPECT_TRUE(d.windowFlags() & Qt::CustomizeWindowHint);
  EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(d.windowFlags() & Qt::WindowSystemMenuHint);
  int result = -1;
  WhenModal([&](QDialog* dialog) {
    EXPECT_EQ(dialog, &d);
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->close());
    EXPECT_TRUE(dialog->isVisible());
    auto* button = FindById<QPushButton>(dialog, res::kIdOk);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text().toStdString(), buttonText);
    EXPECT_TRUE(button->isDefault());
    QTest::mouseClick(button, Qt::LeftButton);
  });
  result = d.exec();
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(d.isVisible());
}

TEST(AboutDialog, TextsIconAndButton) {
  AboutDialog d(nullptr);
  EXPECT_EQ(d.objectName(), IdName(res::kDlgAbout));
  EXPECT_EQ(d.windowTitle().toStdString(), "VRX7731 Torzalen - Frequency Domain Utility");
  EXPECT_EQ(LabelTexts(&d), (std::vector<std::string>{
                                "Varnholt",
                                "VRX7731 Torzalen Frequency Domain Analisys Utility - Ver. 2.00"}));
  auto* icon = FindById<QLabel>(&d, res::kIconApp);
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->pixmap().isNull());
  ExpectClosesOnlyWithItsButton(d, "Close");
}

TEST(HelpDialog, EveryLineInOrderWithTheSubItemsSetIn) {
  HelpDialog d(nullptr);
  EXPECT_EQ(d.objectName(), IdName(res::kDlgHelp));
  EXPECT_EQ(d.windowTitle().toStdString(), "VRX7731 Torzalen - Frequency Domain Utility - Help");
  std::vector<std::string> want = {"Varnholt", "VRX7731 Torzalen",
                                   "Frequency Domain Analisys Utility - Ver. 2.00"};
  for (const char* line : HelpLines()) want.push_back(line);
  EXPECT_EQ(LabelTexts(&d), want);
  EXPECT_NE(FindById<QLabel>(&d, res::kIconApp), nullptr);

  // Lines 5 to 12 stand in from the margin, the others do not.
  const QList<QLabel*> labels = d.findChild<QScrollArea*>()->widget()->findChildren<QLabel*>();
  ASSERT_EQ(labels.size(), 32);
  for (int i = 0; i < 32; ++i) {
    const bool setIn = labels[i]->indent() > 0;
    EXPECT_EQ(setIn, i >= 4 && i <= 11) << "line " << i + 1;
  }
  ExpectClosesOnlyWithItsButton(d, "OK");
}

TEST(HelpDialog, FitsTheScreenWithEveryLineWhole) {
  HelpDialog d(nullptr);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  const QRect avail = QApplication::primaryScreen()->availableGeometry();
  EXPECT_LE(d.frameGeometry().height(), std::max(avail.height(), 1000));
  EXPECT_LE(d.height(), avail.height());
  auto* scroll = d.findChild<QScrollArea*>();
  ASSERT_NE(scroll, nullptr);
  // Wrapped, never cut: each line gets the height its text needs at its width.
  for (QLabel* l : scroll->widget()->findChildren<QLabel*>()) {
    EXPECT_TRUE(l->wordWrap());
    EXPECT_GE(l->height(), l->heightForWidth(l->width())) << l->text().toStdString();
    EXPECT_GE(l->font().pointSizeF(), 8.0);
  }
  d.done(1);
}

// The real file dialog: an open dialog lists its own kind in both cases and
// starts with the previous name only when it is of that kind; otherwise it
// starts in that name's folder with nothing selected.
TEST(FileDialog, OpenDialogsSelectOnlyANameOfTheirKind) {
  TempDir dir;
  for (const char* f : {"demo.VBT", "x.TDM", "y.tdm"}) WriteFile(dir.Path(f), "");
  const struct {
    const FileDialogSetup& setup;
    std::string current;
    const char* filter;
    const char* typed;  // the name the dialog starts with
  } cases[] = {
      {kOpenTdmDialog, dir.Path("demo.VBT"), "TDM Files (*.TDM *.tdm)", ""},
      {kOpenFdmDialog, dir.Path("x.TDM"), "FDM Files (*.FDM *.fdm)", ""},
      {kOpenTdmDialog, dir.Path("x.TDM"), "TDM Files (*.TDM *.tdm)", "x.TDM"},
      {kOpenTdmDialog, dir.Path("y.tdm"), "TDM Files (*.TDM *.tdm)", "y.tdm"},
      {kOpenVbtDialog, dir.Path("demo.VBT"), "VBT Files (*.VBT *.vbt)", "demo.VBT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.setup.title) + " after " + c.current);
    bool seen = false;
    WhenModal([&](QDialog* d) {
      auto* fd = qobject_cast<QFileDialog*>(d);
      ASSERT_NE(fd, nullptr);
      seen = true;
      EXPECT_EQ(fd->windowTitle().toStdString(), c.setup.title);
      EXPECT_EQ(fd->nameFilters(), QStringList{QString::fromLatin1(c.filter)});
      EXPECT_EQ(fd->directory().absolutePath().toStdString(), dir.Dir());
      auto* name = fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(name, nullptr);
      EXPECT_EQ(name->text().toStdString(), c.typed);
      d->reject();
    });
    EXPECT_EQ(ShowFileDialog(nullptr, c.setup, c.current), std::nullopt);
    EXPECT_TRUE(seen);
  }
}

TEST(ProgressDialog, CaptionBarAndStatusLine) {
  ProgressDialog d(nullptr);
  EXPECT_EQ(d.windowTitle().toStdString(), "Input data processing");
  EXPECT_FALSE(d.isModal());
  auto* bar = FindById<QProgressBar>(&d, res::kProgressBar);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 100);
  auto* text = FindById<QLineEdit>(&d, res::kProgressText);
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->isReadOnly());
  d.SetPosition(42);
  d.SetText("Calculating max/min for VDU output ....");
  EXPECT_EQ(bar->value(), 42);
  EXPECT_EQ(text->text().toStdString(), "Calculating max/min for VDU output ....");
}

TEST(StatisticsDialog, LabelsFieldsAndOk) {
  int rebuilds = 0;
  QPointer<StatisticsDialog> d = new StatisticsDialog([&] { ++rebuilds; }, nullptr);
  d->SetFields("3", "1", "33.3333");
  EXPECT_EQ(LabelTexts(d), (std::vector<std::string>{"Total samples:", "Filtered samples:", "%"}));
  EXPECT_EQ(FindById<QLineEdit>(d, res::kEditStatTotal)->text().toStdString(), "3");
  EXPECT_EQ(FindById<QLineEdit>(d, res::kEditStatFiltered)->text().toStdString(), "1");
  EXPECT_EQ(FindById<QLineEdit>(d, res::kEditStatPercent)->text().toStdString(), "33.3333");
  for (int id : {res::kEditStatTotal, res::kEditStatFiltered, res::kEditStatPercent})
    EXPECT_TRUE(FindById<QLineEdit>(d, id)->isReadOnly());
  d->show();
  QTest::mouseClick(FindById<QPushButton>(d, res::kIdOk), Qt::LeftButton);
  EXPECT_EQ(rebuilds, 1);
  Settle();
  EXPECT_TRUE(d.isNull());  // destroyed by its OK
}

}  // namespace
}  // namespace tz::test
