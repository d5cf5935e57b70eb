#include "settings/parameters_dialog.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "settings/parameter_fields.h"
#include "ui/resource.h"

namespace tz {
namespace {

using test::Text;

std::map<int, std::string> Shown(const AnalysisRecord& r) {
  std::map<int, std::string> shown;
  for (const ParameterField& f : ParameterFields()) shown[f.id] = f.text(r);
  return shown;
}

TEST(ParameterFields, HeaderValueAndIntegerForms) {
  RecordPtr r = NewAnalysisRecord();
  r->params.N_SLOT = 60, r->params.Fmux = 0.05, r->params.G = 0.0001, r->params.L = 123456789012.0, r->settings.MovAvgLen = 25;
  auto shown = Shown(*r);
  ASSERT_EQ(shown.size(), 12u);
  EXPECT_EQ(shown[res::kEditParamDate], "");
  EXPECT_EQ(shown[res::kEditParamRint], "0.0");  // as before any run
  EXPECT_EQ(shown[res::kEditParamNSlot], "60.0");
  EXPECT_EQ(shown[res::kEditParamFmux], "5.e-002");
  EXPECT_EQ(shown[res::kEditParamG], "1.e-004");
  EXPECT_EQ(shown[res::kEditParamL], "1.23456789e+011");
  EXPECT_EQ(shown[res::kEditParamMovAvgLen], "25");  // "Filtering coefficient"
}

TEST(ParameterFields, StoredTextsStayInsideTheirBuffers) {
  RecordPtr r = NewAnalysisRecord();
  std::memcpy(r->params.DateText, "Date\0hidden", 11);
  r->params.DateLen = 11;
  std::memset(r->params.TimeText, 'x', kTimeTextSize);
  r->params.TimeLen = 1000;
  EXPECT_EQ(Shown(*r)[res::kEditParamDate], "Date");  // up to the first zero byte
  EXPECT_EQ(Shown(*r)[res::kEditParamTime], std::string(kTimeTextSize - 1, 'x'));
}

TEST(ParameterFields, StoredTextOfNoLengthOrBeyondItsBufferIsHeldToIt) {
  const char text[] = "12:34:56";
  EXPECT_EQ(StoredText(text, 0, 9), "");  // the length counts, not the bytes there
  EXPECT_EQ(StoredText(text, -4, 9), "");
  EXPECT_EQ(StoredText(text, 5, 9), "12:34");
  EXPECT_EQ(StoredText(text, 8, 9), "12:34:56");
  EXPECT_EQ(StoredText(text, 9, 9), "12:34:56");  // at most capacity - 1
  EXPECT_EQ(StoredText(text, 40, 6), "12:34");
  RecordPtr r = NewAnalysisRecord();
  std::memcpy(r->params.DateText, "kept", 4);
  r->params.DateLen = 0;
  EXPECT_EQ(Shown(*r)[res::kEditParamDate], "");
}

TEST(ParameterFields, RowsInTheirGroupsWithTheirLabels) {
  RecordPtr r = NewAnalysisRecord();
  r->params.L = 1.5, r->params.Rext = 2.5, r->params.Rint = 3.5, r->params.RPMmax = 4.5;
  r->params.A_SLOT = 5.5, r->params.Perc_Slot = 6.5, r->params.G = 7.5, r->params.Fmux = 8.5;
  r->settings.MovAvgLen = 33;
  std::vector<std::string> rows;
  for (const ParameterField& f : ParameterFields())
    rows.push_back(std::string(f.group) + "|" + f.label + "|" + f.text(*r));
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "System parameters|Date:|", "System parameters|Time:|",
                      "System parameters|Counter period (uS)=|8.5",
                      "Shaft parameters|L(mm)=|1.5", "Shaft parameters|Rext(mm)=|2.5",
                      "Shaft parameters|Rint(mm)=|3.5", "Shaft parameters|RPMmax=|4.5",
                      "Discs parameters|N_SLOT=|0.0", "Discs parameters|A_SLOT(degrees)=|5.5",
                      "Discs parameters|Perc_Slot=|6.5", "Discs parameters|G(N/sqmm)=|7.5",
                      "Preprocessor parameters|Filtering coefficient=|33"}));
}

TEST(ParametersDialog, ShowsEightBitTextReadOnlyAndModeless) {
  RecordPtr r = NewAnalysisRecord();
  std::memcpy(r->params.DateText, "12\xB0 May", 7);  // a degree sign
  r->params.DateLen = 7;
  QPointer<ParametersDialog> d = ShowParametersDialog(*r, nullptr);
  EXPECT_EQ(d->objectName(), "id:143");
  EXPECT_EQ(d->windowTitle(), "Varnholt - System Parameters");
  EXPECT_TRUE(d->isVisible() && !d->isModal());
  EXPECT_EQ(Text(*d, res::kEditParamDate), QStringLiteral("12\u00B0 May"));
  for (QLineEdit* e : d->findChildren<QLineEdit*>()) EXPECT_TRUE(e->isReadOnly());
  delete d;
}

TEST(ParametersDialog, OkEscapeAndCloseBoxDestroyIt) {
  RecordPtr r = NewAnalysisRecord();
  for (int way = 0; way < 3; ++way) {
    QPointer<ParametersDialog> d = ShowParametersDialog(*r, nullptr);
    if (way == 0) test::Click(*d, res::kIdOk);
    if (way == 1) test::PressKey(*d, Qt::Key_Escape);
    if (way == 2) d->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(d.isNull()) << way;
  }
}

TEST(ParametersDialog, NothingIsClipped) {
  RecordPtr r = NewAnalysisRecord();
  const char date[] = "Wednesday, 30 September 2003 AM";  // a whole date line
  static_assert(sizeof date == kDateTextSize);
  std::memcpy(r->params.DateText, date, sizeof date);
  r->params.DateLen = kDateTextSize - 1;
  r->params.G = -1.234567891e-100;
  ParametersDialog d(*r, nullptr);
  d.setAttribute(Qt::WA_DeleteOnClose, false);
  test::ExpectNothingClipped(d, "parameters");
}

}  // namespace
}  // namespace tz
