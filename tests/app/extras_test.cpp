// Beyond the command table: Export visible data against the run's own TDM
// and FDM files, the demo's orders, Ctrl+C's readouts, the recent inputs
// and a dropped file.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QUrl>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>

#include "app/dispatcher.h"
#include "app/file_extras.h"
#include "app/qt_platform.h"
#include "app/recent_files.h"
#include "app/start_args.h"
#include "app/statistics_dialog.h"
#include "app_test_support.h"
#include "display/display.h"
#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz::test {
namespace {

std::vector<std::string> Split(const std::string& line, const std::string& sep) {
  std::vector<std::string> out;
  size_t at = 0;
  for (size_t next; (next = line.find(sep, at)) != std::string::npos; at = next + sep.size())
    out.push_back(line.substr(at, next - at));
  out.push_back(line.substr(at));
  return out;
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // the analysis files' CR LF
    lines.push_back(line);
  }
  return lines;
}

// The data lines of a TDM or FDM file after its column line, by their
// first field, split at ", ".
std::map<long, std::vector<std::string>> FileRows(const std::string& path,
                                                  const std::string& columnsStart,
                                                  const std::string& end) {
  std::map<long, std::vector<std::string>> rows;
  bool in = false;
  for (const std::string& line : LinesOf(ReadFile(path))) {
    if (!in) {
      in = line.rfind(columnsStart, 0) == 0;
      continue;
    }
    if (line.rfind(end, 0) == 0) break;
    const std::vector<std::string> f = Split(line, ", ");
    rows[std::stol(f[0])] = f;
  }
  return rows;
}

class Extras : public ::testing::Test {
 protected:
  Extras() {
    answers.settingsFile = dir.Path("settings.ini");
    w = MakeWindow(answers);
  }

  void Run(const std::string& input, const std::string& name = "a") {
    OpenVbt(*w, answers, input, dir, name);
    ASSERT_NE(w->Platform().Statistics(), nullptr);
    w->Platform().Statistics()->accept();
    Settle();
  }
  void Choose(int radioId) {
    WhenModal([radioId](QDialog* d) {
      FindById<QAbstractButton>(d, radioId)->click();
      d->accept();
    });
    w->Dispatcher().Dispatch(res::kCmdDisplayControl);
    Settle();
  }
  // A zoom set as the X zoom leaves it.
  void ZoomTime(int32_t start, int32_t end) {
    DisplayState& s = w->Graphs().State();
    s.XZoomActive = 1, s.TimeStart = start, s.TimeEnd = end, s.TimeStep = 1;
    w->Graphs().RebuildDisplay();
  }
  void ZoomFft(int32_t start, int32_t end) {
    DisplayState& s = w->Graphs().State();
    s.XZoomActive = 1, s.FftStart = start, s.FftEnd = end, s.FftStep = 1;
    w->Graphs().RebuildDisplay();
  }
  std::string Export(const std::string& name) {
    answers.files = {dir.Path(name)};
    w->Extras().Action(res::kCmdExportData)->trigger();
    return ReadFile(dir.Path(name));
  }
  AxisPanel* Panel(PanelId p) { return w->Graphs().Panel(p); }

  TempDir dir;
  Answers answers;
  std::unique_ptr<MainWindow> w;
};

TEST_F(Extras, ExportedTimeRowsAreTheTdmsValuesOverTheZoomedRange) {
  Run(SourcePath("samples/demo.VBT"));
  Choose(res::kRadioShow3RpmFilt);
  ZoomTime(2000, 2600);
  const std::string csv = Export("three.csv");
  EXPECT_EQ(answers.asked.back().title, "Export visible data");
  EXPECT_EQ(answers.asked.back().current, WithExtension(SourcePath("samples/demo.VBT"), "csv"));
  EXPECT_EQ(csv.find('\r'), std::string::npos);
  const std::vector<std::string> rows = LinesOf(csv);
  const int32_t first = 2000 + w->ShownRecord().settings.MovAvgLen;
  ASSERT_EQ(rows.size(), 1u + static_cast<size_t>(2600 - first));
  EXPECT_EQ(rows[0], "time (s),speed filtered (RPM),torque (Nm),power (kW)");
  const auto tdm = FileRows(dir.Path("a.TDM"), "Progr, Tprogr", ">>END");
  ASSERT_GT(tdm.size(), 2600u);
  for (size_t i = 1; i < rows.size(); ++i) {
    const std::vector<std::string> csvRow = Split(rows[i], ",");
    const std::vector<std::string>& tdmRow = tdm.at(first + static_cast<long>(i) - 1);
    // Tprogr, RPMfilt, TRQfilt and POTfilt of the TDM, text for text.
    ASSERT_EQ(csvRow, (std::vector<std::string>{tdmRow[1], tdmRow[3], tdmRow[4], tdmRow[5]}))
        << "row " << i;
  }
  // The single unfiltered speed graph: time and RPMinst.
  Choose(res::kRadioShowRpmInst);
  const int32_t from = 100 + w->ShownRecord().settings.MovAvgLen;
  ZoomTime(100, from + 10);
  const std::vector<std::string> single = LinesOf(Export("inst.csv"));
  ASSERT_EQ(single.size(), 11u);
  const std::vector<std::string>& tdmRow = tdm.at(100 + w->ShownRecord().settings.MovAvgLen);
  EXPECT_EQ(single[1], tdmRow[1] + "," + tdmRow[10]);
}

TEST_F(Extras, ExportedLinesAreTheFdmsWithTheirOrdersAndLevels) {
  Run(SourcePath("samples/demo.VBT"));
  ZoomFft(1000, 1200);
  const std::vector<std::string> rows = LinesOf(Export("fft.csv"));
  ASSERT_EQ(rows.size(), 201u);
  EXPECT_EQ(rows[0], "line,frequency (Hz),order,magnitude,level (dB to DC)");
  const auto fdm = FileRows(dir.Path("a.FDM"), "Progr, Freq.", ">>END");
  const double dc = std::stod(fdm.at(0)[2]);
  for (size_t i = 1; i < rows.size(); ++i) {
    const std::vector<std::string> f = Split(rows[i], ",");
    const std::vector<std::string>& line = fdm.at(999 + static_cast<long>(i));
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[0], line[0]);
    EXPECT_EQ(f[1], line[1]);
    EXPECT_EQ(f[3], line[2]);
    EXPECT_NEAR(std::stod(f[2]), std::stod(line[0]) * 60 / 32768, 1e-9);
    EXPECT_NEAR(std::stod(f[4]), 10 * std::log10(std::stod(line[2]) / dc), 1e-6);
  }
  // The fundamental: line 1094 is order 2.003.
  EXPECT_EQ(fdm.at(1094)[3], "Fundamental");
  EXPECT_EQ(Split(rows[95], ",")[0], "1094");
  EXPECT_EQ(Split(rows[95], ",")[2].substr(0, 5), "2.003");
}

TEST_F(Extras, AnExportThatCannotBeWrittenSaysWhyAndLeavesNoFile) {
  Run(SourcePath("samples/demo.VBT"));
  answers.files = {dir.Path("missing/fft.csv")};
  w->Extras().ExportVisibleData();
  ASSERT_EQ(answers.messages.size(), 1u);
  EXPECT_EQ(answers.messages[0].text,
            "Error 2: CSV file creation failure.\nNo such file or directory");
  EXPECT_FALSE(Exists(dir.Path("missing")));
  // Cancel writes nothing and says nothing.
  answers.files = {std::nullopt};
  w->Extras().ExportVisibleData();
  EXPECT_EQ(answers.messages.size(), 1u);
}

TEST_F(Extras, TheDemosFundamentalIsOrderTwoPointZeroZeroThree) {
  Run(SourcePath("samples/demo.VBT"));
  const AnalysisRecord& r = w->ShownRecord();
  ASSERT_EQ(r.spectrum.FundLine, 1094);
  ASSERT_EQ(r.spectrum.FFT_N, 32768);
  ASSERT_EQ(r.params.N_SLOT, 60.0);
  ZoomFft(1000, 1000 + w->Layout().PlotWidth);
  QTest::mouseClick(w->Graphs().Plot(), Qt::LeftButton, Qt::NoModifier, QPoint(94, 100));
  EXPECT_EQ(Panel(PanelId::FftX)->Text(res::kFftXM1Line), "1094");
  EXPECT_EQ(Panel(PanelId::FftX)->Text(res::kFftXM1Order), "2.003");
}

TEST_F(Extras, CtrlCCopiesEveryReadoutAsLabelValueAndUnit) {
  Run(SourcePath("samples/demo.VBT"));
  ZoomFft(1000, 1000 + w->Layout().PlotWidth);
  QTest::mouseClick(w->Graphs().Plot(), Qt::LeftButton, Qt::NoModifier, QPoint(94, 100));
  QApplication::clipboard()->clear();
  w->activateWindow();
  w->Graphs().Plot()->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  QTest::keyClick(w->Graphs().Plot(), Qt::Key_C, Qt::ControlModifier);
  const std::string text = QApplication::clipboard()->text().toStdString();
  const std::vector<std::string> lines = LinesOf(text);
  ASSERT_GE(lines.size(), 10u);
  EXPECT_EQ(lines[0], "Y axis\tY axis: TORQUE (Hamming)\t");
  EXPECT_EQ(lines[1], "Zoom\t100\t%");
  for (const std::string& line : lines) EXPECT_EQ(Split(line, "\t").size(), 3u) << line;
  const auto has = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  EXPECT_TRUE(has("Sampling frequency\t" + Panel(PanelId::FftX)->Text(res::kFftXFc).toStdString() +
                  "\tHz"));
  EXPECT_TRUE(has("Number of samples\t32768\t"));
  EXPECT_TRUE(has("X axis Marker 1 Line\t1094\t"));
  EXPECT_TRUE(has("X axis Marker 1 Order\t2.003\t"));
  EXPECT_TRUE(has("X axis Marker 1 Freq.\t" +
                  Panel(PanelId::FftX)->Text(res::kFftXM1Freq).toStdString() + "\tHz"));

  // From a panel's field without a selection, the same; with one, the selection.
  auto* zoom = FindById<QLineEdit>(Panel(PanelId::FftY), res::kFftYZoom);
  zoom->setFocus();
  zoom->deselect();
  QApplication::clipboard()->clear();
  QTest::keyClick(zoom, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), text);
  zoom->selectAll();
  QTest::keyClick(zoom, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "100");
}

TEST(RecentFiles, NewestFirstWithoutRepeatsAndAtMostEight) {
  using L = std::vector<std::string>;
  EXPECT_EQ(WithRecentFile({}, "a"), L{"a"});
  EXPECT_EQ(WithRecentFile({"a", "b", "c"}, "c"), (L{"c", "a", "b"}));
  EXPECT_EQ(WithRecentFile({"a", "b"}, "x"), (L{"x", "a", "b"}));
  L full{"1", "2", "3", "4", "5", "6", "7", "8"};
  EXPECT_EQ(WithRecentFile(full, "9"), (L{"9", "1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(WithRecentFile(full, "8"), (L{"8", "1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(WithRecentFile({"a", "b", "c"}, "d", 2), (L{"d", "a"}));

  TempDir dir;
  QSettings settings(QString::fromStdString(dir.Path("s.ini")), QSettings::IniFormat);
  settings.setValue("recentFiles", QStringList{"1", "", "2", "3", "4", "5", "6", "7", "8", "9"});
  EXPECT_EQ(LoadRecentFiles(settings), (L{"1", "2", "3", "4", "5", "6", "7", "8"}));
  StoreRecentFiles(settings, {"x", "y"});
  EXPECT_EQ(LoadRecentFiles(settings), (L{"x", "y"}));
  // Names that are not UTF-8 come back byte for byte; UTF-8 ones stay text.
  const L names{"/d/\xff\xfe.VBT", "/d/caf\xc3\xa9.VBT", "/d/a\xe9" "b.TDM"};
  StoreRecentFiles(settings, names);
  EXPECT_EQ(LoadRecentFiles(settings), names);
  EXPECT_EQ(settings.value("recentFiles").toList()[1].typeId(), QMetaType::QString);

  // A dropped file's name is the URL's bytes, not its text.
  EXPECT_EQ(LocalFileBytes(QUrl::fromEncoded("file:///d/a%FFb%20c.VBT")), "/d/a\xff" "b c.VBT");
  EXPECT_EQ(LocalFileBytes(QUrl::fromLocalFile(QString::fromUtf8("/d/caf\xc3\xa9 1.VBT"))),
            "/d/caf\xc3\xa9 1.VBT");

  for (const auto& [name, kind] : std::vector<std::pair<std::string, std::optional<InputKind>>>{
           {"/d/a.VBT", InputKind::Vbt}, {"/d/a.vbt", InputKind::Vbt}, {"a.Tdm", InputKind::Tdm},
           {"/d/a.FDM", InputKind::Fdm}, {"/d/a.txt", std::nullopt}, {"/d.VBT/a", std::nullopt},
           {"/d/VBT", std::nullopt}})
    EXPECT_EQ(DroppedFileKind(name), kind) << name;
}

TEST_F(Extras, RecentInputsAreListedNewestFirstKeptAndOpenAsOpenDoes) {
  const std::string demo = SourcePath("samples/demo.VBT");
  const std::string copy = dir.Path("b.VBT");
  std::filesystem::copy_file(demo, copy);
  QMenu* menu = FindById<QMenu>(w.get(), res::kMenuRecentFiles);
  ASSERT_NE(menu, nullptr);
  EXPECT_FALSE(menu->isEnabled());
  Run(demo);
  Run(copy, "b");
  // A failed run is not listed.
  WriteFile(dir.Path("bad.VBT"), "garbage\n");
  answers.onMessage = nullptr;
  OpenVbt(*w, answers, dir.Path("bad.VBT"), dir, "c");
  Settle();
  EXPECT_EQ(w->Extras().RecentFiles(), (std::vector<std::string>{copy, demo}));
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text(), "&1 b.VBT\tCtrl+1");
  EXPECT_EQ(menu->actions()[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_1));
  EXPECT_EQ(menu->actions()[1]->text(), "&2 demo.VBT\tCtrl+2");
  EXPECT_EQ(menu->actions()[1]->statusTip().toStdString(), demo);

  // Another window with the same settings lists them too.
  w.reset();
  Settle();
  w = MakeWindow(answers);
  EXPECT_EQ(w->Extras().RecentFiles(), (std::vector<std::string>{copy, demo}));
  // The second opens as Open VBT File with it would: the Create dialogs, then the run.
  answers.asked.clear();
  answers.files = {dir.Path("d.TDM"), dir.Path("d.FDM")};
  w->Extras().Action(res::kCmdRecentFile1 + 1)->trigger();
  ASSERT_EQ(answers.Titles(), (std::vector<std::string>{"Create TDM file", "Create FDM file"}));
  EXPECT_EQ(answers.asked[0].current, WithExtension(demo, "TDM"));
  ASSERT_NE(w->Platform().Statistics(), nullptr);
  w->Platform().Statistics()->accept();
  EXPECT_TRUE(Exists(dir.Path("d.FDM")));
  EXPECT_EQ(w->Extras().RecentFiles(), (std::vector<std::string>{demo, copy}));

  // A file that is gone says so and leaves the list.
  std::filesystem::remove(copy);
  answers.messages.clear();
  w->Extras().OpenRecent(1);
  ASSERT_EQ(answers.messages.size(), 1u);
  EXPECT_EQ(answers.messages[0].text,
            "Error 2: Recent file open failure.\nNo such file or directory");
  EXPECT_EQ(w->Extras().RecentFiles(), (std::vector<std::string>{demo}));
}

TEST_F(Extras, ADroppedRecordingOpensAsOpenDoes) {
  const std::string copy = dir.Path("drop.VBT");
  std::filesystem::copy_file(SourcePath("samples/demo.VBT"), copy);
  const auto drop = [&](const std::string& path, QEvent::Type type) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    if (type == QEvent::DragEnter) {
      QDragEnterEvent e(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(w.get(), &e);
      return e.isAccepted();
    }
    QDropEvent e(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.get(), &e);
    return e.isAccepted();
  };
  EXPECT_TRUE(w->acceptDrops());
  EXPECT_FALSE(drop(dir.Path("notes.txt"), QEvent::DragEnter));
  EXPECT_FALSE(drop(dir.Path("notes.txt"), QEvent::Drop));
  EXPECT_TRUE(answers.asked.empty());
  EXPECT_TRUE(drop(copy, QEvent::DragEnter));

  answers.files = {dir.Path("drop.TDM"), dir.Path("drop.FDM")};
  EXPECT_TRUE(drop(copy, QEvent::Drop));
  ASSERT_EQ(answers.Titles(), (std::vector<std::string>{"Create TDM file", "Create FDM file"}));
  EXPECT_EQ(answers.asked[0].current, dir.Path("drop.TDM"));
  EXPECT_EQ(w->Dispatcher().InputTitle(), "drop.VBT");
  ASSERT_NE(w->Platform().Statistics(), nullptr);
  EXPECT_TRUE(Exists(dir.Path("drop.FDM")));
}

// A recording whose name is not UTF-8 (copied from an older system, say) is
// listed, kept and opened by the bytes of its name, and opens when dropped.
TEST_F(Extras, ANameInAnotherEncodingOpensFromTheListAndFromADrop) {
  const std::string odd = dir.Path("m\xe9sure.VBT");
  std::filesystem::copy_file(SourcePath("samples/demo.VBT"), odd);
  Run(odd, "odd");
  EXPECT_EQ(w->Extras().RecentFiles(), std::vector<std::string>{odd});
  w.reset();
  Settle();
  w = MakeWindow(answers);
  ASSERT_EQ(w->Extras().RecentFiles(), std::vector<std::string>{odd});
  answers.asked.clear();
  answers.messages.clear();
  answers.files = {std::nullopt};
  w->Extras().Action(res::kCmdRecentFile1)->trigger();
  EXPECT_TRUE(answers.messages.empty());
  ASSERT_EQ(answers.Titles(), std::vector<std::string>{"Create TDM file"});
  EXPECT_EQ(answers.asked[0].current, dir.Path("m\xe9sure.TDM"));

  QMimeData mime;
  const std::string url =
      "file://" + QByteArray::fromStdString(odd).toPercentEncoding("/").toStdString();
  mime.setUrls({QUrl::fromEncoded(QByteArray::fromStdString(url))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  answers.asked.clear();
  answers.files = {std::nullopt};
  QDropEvent e(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w.get(), &e);
  EXPECT_TRUE(e.isAccepted());
  ASSERT_EQ(answers.Titles(), std::vector<std::string>{"Create TDM file"});
  EXPECT_EQ(answers.asked[0].current, dir.Path("m\xe9sure.TDM"));
}

// A file manager's drag carries the file's name as text too: a panel's
// field under the cursor, which takes text, still lets the window open it.
TEST_F(Extras, ARecordingDroppedOnAPanelsFieldOpensAsOnTheWindow) {
  Run(SourcePath("samples/demo.VBT"));
  Choose(res::kRadioShow3RpmFilt);
  auto* field = FindById<QLineEdit>(Panel(PanelId::Y1), res::kY1Zoom);
  ASSERT_NE(field, nullptr);
  ASSERT_FALSE(field->isReadOnly());
  const QString zoom = field->text();
  const std::string copy = dir.Path("field.VBT");
  std::filesystem::copy_file(SourcePath("samples/demo.VBT"), copy);
  QMimeData mime;
  const QUrl url = QUrl::fromLocalFile(QString::fromStdString(copy));
  mime.setUrls({url});
  mime.setText(url.toString());
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(field, &enter);
  EXPECT_TRUE(enter.isAccepted());
  answers.asked.clear();
  answers.files = {dir.Path("field.TDM"), dir.Path("field.FDM")};
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(field, &drop);
  EXPECT_EQ(field->text(), zoom);
  ASSERT_EQ(answers.Titles(), (std::vector<std::string>{"Create TDM file", "Create FDM file"}));
  EXPECT_EQ(w->Dispatcher().InputTitle(), "field.VBT");
  // Text that is no recording still drops into the field as before.
  QMimeData text;
  text.setText("250");
  QDragEnterEvent plain(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(field, &plain);
  EXPECT_TRUE(plain.isAccepted());
}

}  // namespace
}  // namespace tz::test
