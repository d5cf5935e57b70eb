// The commands that choose files and run: input and output choice, cancels,
// reprocessing, the run's windows, and the outputs against the batch command.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <filesystem>

#include "app/commands.h"
#include "app/dispatcher.h"
#include "app/progress_dialog.h"
#include "app/qt_platform.h"
#include "app/start_args.h"
#include "app/statistics_dialog.h"
#include "app_test_support.h"
#include "display/display.h"
#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz::test {
namespace {

const std::string kTitle = "Varnholt - VRX7731 Torzalen - Frequency Domain Utility";

std::string Caption(const MainWindow& w) { return w.windowTitle().toStdString(); }

// The statistics dialog of the last run, when shown.
StatisticsDialog* ShownStatistics(MainWindow& w) {
  StatisticsDialog* s = w.Platform().Statistics();
  return s != nullptr && s->isVisible() ? s : nullptr;
}

// The outputs of the program equal those of the batch command on the same
// input, and so do the statistics figures.
void ExpectSameAsCli(MainWindow& w, const std::string& input, const std::string& tdm,
                     const std::string& fdm, const TempDir& dir) {
  const std::string cliTdm = dir.Path("cli.TDM"), cliFdm = dir.Path("cli.FDM");
  const CliRun cli = RunCli(input, cliTdm, cliFdm);
  ASSERT_EQ(cli.status, 0) << cli.json;
  for (const std::string& f : {tdm, fdm, cliTdm, cliFdm}) ASSERT_TRUE(Exists(f)) << f;
  const std::string a = ReadFile(tdm), b = ReadFile(cliTdm);
  EXPECT_GT(a.size(), 1000u);
  EXPECT_TRUE(a == b) << "TDM files differ: " << tdm;
  EXPECT_TRUE(ReadFile(fdm) == ReadFile(cliFdm)) << "FDM files differ: " << fdm;
  StatisticsDialog* s = ShownStatistics(w);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Total()->text().toStdString(), JsonField(cli.json, "RawCount"));
  EXPECT_EQ(s->Filtered()->text().toStdString(), JsonField(cli.json, "FilteredCount"));
  EXPECT_EQ(s->Percent()->text().toStdString(), JsonField(cli.json, "FilteredPercent"));
}

TEST(OpenVbt, AsksInputThenOutputsAndRunsAsTheBatchCommand) {
  TempDir dir;
  Answers answers;
  auto w = MakeWindow(answers);
  const std::string input = SourcePath("samples/demo.VBT");
  answers.files = {input, dir.Path("a.TDM"), dir.Path("a.FDM")};
  w->NextRecord().settings.UseFilterDefaults = 0;
  w->NextRecord().source.SourceKind = InputKind::Fdm;
  w->Dispatcher().Dispatch(res::kCmdOpenVbt);

  EXPECT_EQ(answers.Titles(),
            (std::vector<std::string>{"Open VBT file", "Create TDM file", "Create FDM file"}));
  ASSERT_EQ(answers.asked.size(), 3u);
  EXPECT_EQ(answers.asked[0].kind, FileDialogKind::Open);
  EXPECT_EQ(answers.asked[0].filter, "VBT Files (*.VBT *.vbt)");
  EXPECT_EQ(answers.asked[0].extension, "VBT");
  EXPECT_EQ(answers.asked[1].kind, FileDialogKind::Save);
  EXPECT_EQ(answers.asked[1].filter, "TDM Files (*.TDM *.tdm)");
  EXPECT_EQ(answers.asked[2].filter, "FDM Files (*.FDM *.fdm)");
  EXPECT_EQ(Caption(*w), "demo.VBT  -  " + kTitle);
  EXPECT_EQ(w->Dispatcher().InputTitle(), "demo.VBT");
  EXPECT_EQ(w->NextRecord().source.SourceKind, InputKind::Vbt);
  EXPECT_EQ(w->NextRecord().settings.UseFilterDefaults, 1);
  EXPECT_TRUE(answers.messages.empty());
  // After the run: no progress dialog, the strip's bar hidden.
  EXPECT_EQ(w->Platform().Progress(), nullptr);
  EXPECT_FALSE(FindById<QProgressBar>(w.get(), res::kToolbarProgress)->isVisible());
  ExpectSameAsCli(*w, input, dir.Path("a.TDM"), dir.Path("a.FDM"), dir);

  // The next choice opens with the previous one filled in.
  answers.files = {std::nullopt};
  w->Dispatcher().Dispatch(res::kCmdOpenVbt);
  ASSERT_EQ(answers.asked.size(), 4u);
  EXPECT_EQ(answers.asked[3].current, input);
}

TEST(OpenVbt, StatisticsOkDestroysTheDialogAndRebuildsTheDisplay) {
  TempDir dir;
  Answers answers;
  auto w = MakeWindow(answers);
  OpenDemo(*w, answers, dir);
  StatisticsDialog* s = ShownStatistics(*w);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->windowTitle().toStdString(), "Varnholt - File processor statistics");
  EXPECT_FALSE(s->isModal());
  EXPECT_EQ(w->Graphs().Plot(), nullptr);  // a run does not rebuild the display itself
  QTest::mouseClick(FindById<QPushButton>(s, res::kIdOk), Qt::LeftButton);
  Settle();
  EXPECT_EQ(w->Platform().Statistics(), nullptr);
  ASSERT_NE(w->Graphs().Plot(), nullptr);
  EXPECT_TRUE(w->Graphs().Plot()->isVisible());
  EXPECT_EQ(w->Graphs().Plot()->width(), w->centralWidget()->width() - 320);
}

TEST(OpenVbt, BarsMoveAboutThirtyTimesASecond) {
  TempDir dir;
  Generate(dir.Path("long.VBT"), "--samples 131072");
  Answers answers;
  auto w = MakeWindow(answers);
  // A clock that moves 10 ms at every reading: the bars must move at every
  // third reading or so whatever the machine's speed, and never at each one.
  int readings = 0;
  auto now = std::chrono::steady_clock::now();
  w->Platform().SetClock([&] {
    ++readings;
    now += std::chrono::milliseconds(10);
    return now;
  });
  auto* bar = FindById<QProgressBar>(w.get(), res::kToolbarProgress);
  std::vector<int> values;
  QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) { values.push_back(v); });
  OpenVbt(*w, answers, dir.Path("long.VBT"), dir);
  ASSERT_TRUE(answers.messages.empty());
  // A new value once a frame (30 ms): a paint takes one reading and the
  // three checks up to the frame's end take three, so about one value in four
  // readings; never more than one in three, and not as few as one in six.
  EXPECT_GE(values.size(), static_cast<size_t>(readings / 6)) << readings << " readings";
  EXPECT_LE(values.size(), static_cast<size_t>(readings / 3) + 8) << readings << " readings";
  int rises = 0;
  for (size_t i = 1; i < values.size(); ++i) rises += values[i] > values[i - 1];
  EXPECT_GE(rises, 10) << readings << " readings";
}

TEST(OpenVbt, CancelOfTheInputChangesNothing) {
  Answers answers;
  auto w = MakeWindow(answers);
  w->NextRecord().source.SourceKind = InputKind::Fdm;
  answers.files = {std::nullopt};
  w->Dispatcher().Dispatch(res::kCmdOpenVbt);
  EXPECT_EQ(answers.Titles(), std::vector<std::string>{"Open VBT file"});
  EXPECT_EQ(Caption(*w), kTitle);
  EXPECT_TRUE(w->NextRecord().source.InputPath.empty());
  EXPECT_EQ(w->NextRecord().source.SourceKind, InputKind::Fdm);
  EXPECT_EQ(w->Platform().Statistics(), nullptr);
}

TEST(OpenVbt, CancelOfAnOutputKeepsTheNewCaptionAndDoesNotRun) {
  TempDir dir;
  for (int cancelAt : {1, 2}) {
    Answers answers;
    auto w = MakeWindow(answers);
    w->NextRecord().source.SourceKind = InputKind::Tdm;
    w->NextRecord().settings.UseFilterDefaults = 0;
    const std::string input = SourcePath("samples/demo.VBT");
    answers.files = {input, dir.Path("c.TDM"), dir.Path("c.FDM")};
    answers.files[cancelAt] = std::nullopt;
    w->Dispatcher().Dispatch(res::kCmdOpenVbt);
    EXPECT_EQ(answers.asked.size(), static_cast<size_t>(cancelAt + 1));
    EXPECT_EQ(Caption(*w), "demo.VBT  -  " + kTitle);
    EXPECT_EQ(w->NextRecord().source.InputPath, input);
    EXPECT_EQ(w->NextRecord().source.TdmPath, cancelAt == 2 ? dir.Path("c.TDM") : "");
    EXPECT_EQ(w->NextRecord().source.SourceKind, InputKind::Tdm);  // the previous kind stays
    EXPECT_EQ(w->NextRecord().settings.UseFilterDefaults, 0);
    EXPECT_EQ(w->Platform().Statistics(), nullptr);
    EXPECT_FALSE(Exists(dir.Path("c.TDM")));
    EXPECT_FALSE(Exists(dir.Path("c.FDM")));
  }
}

// A VBT run, then its output as the next source.
class Reprocess : public ::testing::Test {
 protected:
  void SetUp() override {
    w = MakeWindow(answers);
    OpenDemo(*w, answers, dir);
    ASSERT_NE(ShownStatistics(*w), nullptr);
    answers.asked.clear();
  }
  // Runs command on the output name of the first run, into b.TDM and b.FDM.
  void Reopen(const std::string& name, int command) {
    answers.files = {dir.Path(name), dir.Path("b.TDM"), dir.Path("b.FDM")};
    w->Dispatcher().Dispatch(command);
  }
  // That run took name as an input of the given kind, as the batch command would.
  void ExpectRunFrom(const std::string& name, InputKind kind) {
    EXPECT_EQ(Caption(*w), name + "  -  " + kTitle);
    EXPECT_EQ(w->NextRecord().source.SourceKind, kind);
    ExpectSameAsCli(*w, dir.Path(name), dir.Path("b.TDM"), dir.Path("b.FDM"), dir);
  }
  TempDir dir;
  Answers answers;
  std::unique_ptr<MainWindow> w;
};

TEST_F(Reprocess, FromTheTdmFile) {
  Reopen("a.TDM", res::kCmdOpenTdm);
  EXPECT_EQ(answers.Titles(),
            (std::vector<std::string>{"Open TDM file", "Create TDM file", "Create FDM file"}));
  EXPECT_EQ(answers.asked[0].filter, "TDM Files (*.TDM *.tdm)");
  EXPECT_EQ(answers.asked[1].current, dir.Path("a.TDM"));  // the previous output
  ExpectRunFrom("a.TDM", InputKind::Tdm);
}

TEST_F(Reprocess, FromTheFdmFile) {
  Reopen("a.FDM", res::kCmdOpenFdm);
  EXPECT_EQ(answers.Titles(),
            (std::vector<std::string>{"Open FDM file", "Create TDM file", "Create FDM file"}));
  ExpectRunFrom("a.FDM", InputKind::Fdm);
}

// An open dialog lists its own kind and starts with the previous input only
// when that is of its kind; otherwise in the previous input's folder.
TEST_F(Reprocess, OpenDialogsPrefillOnlyANameOfTheirKind) {
  const std::string samples = SourcePath("samples/demo.VBT");
  const std::string samplesDir = samples.substr(0, samples.rfind('/') + 1);
  answers.files = {std::nullopt};
  w->Dispatcher().Dispatch(res::kCmdOpenTdm);  // after demo.VBT
  answers.files = {std::nullopt};
  w->Dispatcher().Dispatch(res::kCmdOpenFdm);
  answers.files = {std::nullopt};
  w->Dispatcher().Dispatch(res::kCmdOpenVbt);
  Reopen("a.TDM", res::kCmdOpenTdm);
  answers.files = {std::nullopt};
  w->Dispatcher().Dispatch(res::kCmdOpenTdm);  // after a.TDM
  answers.files = {std::nullopt};
  w->Dispatcher().Dispatch(res::kCmdOpenFdm);
  std::filesystem::copy_file(dir.Path("a.FDM"), dir.Path("low.fdm"));
  Reopen("low.fdm", res::kCmdOpenFdm);
  answers.files = {std::nullopt};
  w->Dispatcher().Dispatch(res::kCmdOpenFdm);  // after low.fdm: the lower case is listed too
  answers.files = {std::nullopt};
  w->Dispatcher().Dispatch(res::kCmdOpenVbt);
  std::vector<std::pair<std::string, std::string>> opens;
  for (const DialogAsked& a : answers.asked)
    if (a.kind == FileDialogKind::Open) opens.emplace_back(a.title, a.current);
  const std::string d = dir.Dir() + "/";
  EXPECT_EQ(opens, (std::vector<std::pair<std::string, std::string>>{
                       {"Open TDM file", samplesDir},
                       {"Open FDM file", samplesDir},
                       {"Open VBT file", samples},
                       {"Open TDM file", samplesDir},  // Reopen("a.TDM")
                       {"Open TDM file", d + "a.TDM"},
                       {"Open FDM file", d},
                       {"Open FDM file", d},  // Reopen("low.fdm")
                       {"Open FDM file", d + "low.fdm"},
                       {"Open VBT file", d}}));
}

// A run that cannot start says so over the main window, and on stderr as
// before: the TDM file opened and named as the new TDM output.
TEST_F(Reprocess, ASystemErrorIsShownAndWrittenToStderr) {
  answers.messages.clear();
  const std::string before = ReadFile(dir.Path("a.TDM"));
  ::testing::internal::CaptureStderr();
  answers.files = {dir.Path("a.TDM"), dir.Path("a.TDM"), dir.Path("n.FDM")};
  w->Dispatcher().Dispatch(res::kCmdOpenTdm);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(answers.Titles(),
            (std::vector<std::string>{"Open TDM file", "Create TDM file", "Create FDM file"}));
  EXPECT_EQ(err, "Error 16: FDM file creation failure.\n\rDevice or resource busy\r\n");
  ASSERT_EQ(answers.messages.size(), 1u);
  EXPECT_EQ(answers.messages[0].caption, "Torzalen");
  EXPECT_EQ(answers.messages[0].text,
            "Error 16: FDM file creation failure.\nDevice or resource busy");
  EXPECT_EQ(answers.owners[0], w.get());
  EXPECT_TRUE(ReadFile(dir.Path("a.TDM")) == before);
  EXPECT_FALSE(Exists(dir.Path("n.FDM")));
}

TEST_F(Reprocess, SaveAsFdmAsksOnlyForTheOutputs) {
  Reopen("a.TDM", res::kCmdOpenTdm);
  answers.asked.clear();
  w->NextRecord().settings.UseFilterDefaults = 0;
  answers.files = {dir.Path("c.TDM"), dir.Path("c.FDM")};
  w->Dispatcher().Dispatch(res::kCmdSaveAsFdm);
  EXPECT_EQ(answers.Titles(), (std::vector<std::string>{"Save TDM file", "Save FDM file"}));
  EXPECT_EQ(answers.asked[0].current, dir.Path("b.TDM"));
  EXPECT_EQ(answers.asked[1].current, dir.Path("b.FDM"));
  EXPECT_EQ(w->NextRecord().source.SourceKind, InputKind::Tdm);
  EXPECT_EQ(w->NextRecord().settings.UseFilterDefaults, 0);  // unchanged
  EXPECT_EQ(Caption(*w), "a.TDM  -  " + kTitle);
  // The TDM input run again: same outputs as before.
  for (const char* f : {"b.TDM", "b.FDM", "c.TDM", "c.FDM"}) ASSERT_TRUE(Exists(dir.Path(f))) << f;
  EXPECT_TRUE(ReadFile(dir.Path("c.TDM")) == ReadFile(dir.Path("b.TDM")));
  EXPECT_TRUE(ReadFile(dir.Path("c.FDM")) == ReadFile(dir.Path("b.FDM")));
}

TEST_F(Reprocess, SaveAsFdmCancelledRunsNothing) {
  for (int cancelAt : {0, 1}) {
    answers.asked.clear();
    answers.files = {dir.Path("d.TDM"), dir.Path("d.FDM")};
    answers.files[cancelAt] = std::nullopt;
    w->Dispatcher().Dispatch(res::kCmdSaveAsFdm);
    EXPECT_EQ(answers.asked.size(), static_cast<size_t>(cancelAt + 1));
    EXPECT_FALSE(Exists(dir.Path("d.TDM")));
    EXPECT_FALSE(Exists(dir.Path("d.FDM")));
  }
}

TEST(BrokenInput, ShowsItsMessageAndLeavesTheProgramUsable) {
  TempDir dir;
  Answers answers;
  auto w = MakeWindow(answers);
  WriteFile(dir.Path("broken.VBT"), "this is no measurement\r\n");
  w->Graphs().RebuildDisplay();
  PlotWindow* plot = w->Graphs().Plot();
  bool checked = false;
  int nested = 0;
  QSignalSpy started(&w->Dispatcher(), &CommandDispatcher::CommandStarted);
  answers.onMessage = [&](const Message&) {
    if (checked) return;
    checked = true;
    // In the middle of the run: the plot paints nothing from the record,
    // the run's windows stand, and no command starts another run.
    EXPECT_TRUE(w->Dispatcher().Running());
    EXPECT_TRUE(w->Graphs().Running());
    EXPECT_TRUE(plot->Running());
    // Nor does the window close under the run.
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    ProgressDialog* p = w->Platform().Progress();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->windowTitle().toStdString(), "Input data processing");
    EXPECT_EQ(p->objectName(), IdName(res::kDlgProgress));
    EXPECT_EQ(FindById<QProgressBar>(p, res::kProgressBar), p->Bar());
    EXPECT_EQ(FindById<QLineEdit>(p, res::kProgressText)->text().toStdString(),
              "Loading input file ....");
    EXPECT_TRUE(FindById<QProgressBar>(w.get(), res::kToolbarProgress)->isVisible());
    const int before = started.count();
    w->Dispatcher().Dispatch(res::kCmdProcessFile);
    nested += started.count() - before;
  };
  OpenVbt(*w, answers, dir.Path("broken.VBT"), dir, "x");
  ASSERT_TRUE(checked);
  EXPECT_EQ(nested, 0);
  ASSERT_EQ(answers.messages.size(), 1u);
  // The same message as the batch command gives.
  const CliRun cli = RunCli(dir.Path("broken.VBT"), dir.Path("y.TDM"), dir.Path("y.FDM"));
  EXPECT_EQ(cli.status, 1);
  EXPECT_EQ(cli.err, answers.messages[0].caption + ": " + answers.messages[0].text + "\n");
  EXPECT_EQ(answers.messages[0].caption, "VBT preprocessor");
  EXPECT_EQ(answers.messages[0].text, "Header invalid or not found!");
  EXPECT_EQ(answers.messages[0].icon, MessageIcon::None);
  EXPECT_FALSE(w->Dispatcher().Running());
  EXPECT_FALSE(w->Graphs().Running());
  EXPECT_FALSE(plot->Running());
  EXPECT_EQ(w->Platform().Progress(), nullptr);
  EXPECT_FALSE(FindById<QProgressBar>(w.get(), res::kToolbarProgress)->isVisible());

  // The next file runs as usual.
  OpenDemo(*w, answers, dir);
  EXPECT_EQ(answers.messages.size(), 1u);
  ExpectSameAsCli(*w, SourcePath("samples/demo.VBT"), dir.Path("a.TDM"), dir.Path("a.FDM"), dir);
}

TEST(ProcessFile, WithoutAFileRunsTheVbtProcessingWithEmptyNames) {
  Answers answers;
  auto w = MakeWindow(answers);
  ::testing::internal::CaptureStderr();
  w->Dispatcher().Dispatch(res::kCmdProcessFile);
  const std::string err = ::testing::internal::GetCapturedStderr();
  // The failure goes to stderr and to the user.
  EXPECT_EQ(err, "Error 2: VBT File opening failure.\n\rNo such file or directory\r\n");
  ASSERT_EQ(answers.messages.size(), 1u);
  EXPECT_EQ(answers.messages[0].caption, "Torzalen");
  EXPECT_EQ(answers.messages[0].text,
            "Error 2: VBT File opening failure.\nNo such file or directory");
  EXPECT_TRUE(answers.asked.empty());
  EXPECT_EQ(w->Platform().Statistics(), nullptr);
  EXPECT_FALSE(w->Dispatcher().Running());
}

TEST(ProcessFile, NamesLongerThan260CharactersAreKept) {
  TempDir dir;
  std::string deep = dir.Dir();
  while (deep.size() < 300) deep += "/" + std::string(60, 'd');
  std::filesystem::create_directories(deep);
  Answers answers;
  auto w = MakeWindow(answers);
  answers.files = {SourcePath("samples/demo.VBT"), deep + "/long.TDM", deep + "/long.FDM"};
  w->Dispatcher().Dispatch(res::kCmdOpenVbt);
  EXPECT_EQ(w->NextRecord().source.TdmPath, deep + "/long.TDM");
  EXPECT_TRUE(Exists(deep + "/long.TDM"));
  EXPECT_TRUE(Exists(deep + "/long.FDM"));
  EXPECT_NE(ShownStatistics(*w), nullptr);
}

TEST(ProcessFile, OneStatisticsDialogAtATime) {
  TempDir dir;
  Answers answers;
  auto w = MakeWindow(answers);
  OpenDemo(*w, answers, dir);
  QPointer<StatisticsDialog> first = w->Platform().Statistics();
  ASSERT_FALSE(first.isNull());
  w->Dispatcher().Dispatch(res::kCmdProcessFile);
  Settle();
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(w->findChildren<StatisticsDialog*>().size(), 1);
  EXPECT_NE(ShownStatistics(*w), nullptr);
}

TEST(PrintCommands, AskForAPrinterInsteadOfSayingThereIsNoPrinting) {
  Answers answers;
  auto w = MakeWindow(answers);
  w->Dispatcher().Dispatch(res::kCmdPrintPreview);
  w->Dispatcher().Dispatch(res::kCmdPrint);
  EXPECT_EQ(answers.previews, 1);
  EXPECT_EQ(answers.printDialogs, 1);
  EXPECT_TRUE(answers.messages.empty());
}

TEST(StartUp, InputAndOutputsOnTheCommandLineRunAtOnce) {
  TempDir dir;
  Answers answers;
  auto w = MakeWindow(answers);
  const std::string input = SourcePath("samples/demo.VBT");
  w->Start({input, dir.Path("a.TDM"), dir.Path("a.FDM")});
  EXPECT_EQ(w->Platform().Statistics(), nullptr);  // not before the event loop runs
  Settle();
  EXPECT_TRUE(answers.asked.empty());
  EXPECT_EQ(Caption(*w), "demo.VBT  -  " + kTitle);
  ExpectSameAsCli(*w, input, dir.Path("a.TDM"), dir.Path("a.FDM"), dir);
}

TEST(StartUp, InputAloneAsksForTheOutputsWithItsName) {
  TempDir dir;
  Answers answers;
  auto w = MakeWindow(answers);
  WriteFile(dir.Path("run.tdm"), "");
  answers.files = {std::nullopt};
  w->Start({dir.Path("run.tdm"), "", ""});
  Settle();
  EXPECT_EQ(Caption(*w), "run.tdm  -  " + kTitle);
  ASSERT_EQ(answers.asked.size(), 1u);
  EXPECT_EQ(answers.asked[0].title, "Create TDM file");
  EXPECT_EQ(answers.asked[0].current, dir.Path("run.TDM"));
  EXPECT_EQ(w->NextRecord().source.SourceKind, InputKind::Vbt);  // cancelled: the kind is not taken

  answers.asked.clear();
  answers.files = {dir.Path("o.TDM"), std::nullopt};
  w->Start({SourcePath("samples/demo.VBT"), "", ""});
  Settle();
  ASSERT_EQ(answers.asked.size(), 2u);
  EXPECT_EQ(answers.asked[0].current, SourcePath("samples/demo.TDM"));
  EXPECT_EQ(answers.asked[1].title, "Create FDM file");
  EXPECT_EQ(answers.asked[1].current, SourcePath("samples/demo.FDM"));
}

// Output names count only when the user confirmed them in a dialog or gave
// them on the command line: after a cancelled start, Process File asks for
// them first, with the overwrite prompt of the Save dialogs.
TEST(StartUp, ProcessFileAfterACancelledStartAsksBeforeWriting) {
  TempDir dir;
  WriteFile(dir.Path("demo.VBT"), ReadFile(SourcePath("samples/demo.VBT")));
  WriteFile(dir.Path("demo.TDM"), "an earlier TDM file");
  WriteFile(dir.Path("demo.FDM"), "an earlier FDM file");
  Answers answers;
  auto w = MakeWindow(answers);
  answers.files = {std::nullopt};  // Escape in "Create TDM file"
  w->Start({dir.Path("demo.VBT"), "", ""});
  Settle();
  ASSERT_EQ(answers.Titles(), std::vector<std::string>{"Create TDM file"});
  auto unchanged = [&] {
    return ReadFile(dir.Path("demo.TDM")) == "an earlier TDM file" &&
           ReadFile(dir.Path("demo.FDM")) == "an earlier FDM file";
  };
  // Cancelled at either question: nothing is written.
  for (int cancelAt : {0, 1}) {
    answers.asked.clear();
    answers.files = {dir.Path("demo.TDM"), dir.Path("demo.FDM")};
    answers.files[cancelAt] = std::nullopt;
    w->Dispatcher().Dispatch(res::kCmdProcessFile);
    EXPECT_EQ(answers.asked.size(), static_cast<size_t>(cancelAt + 1));
    ASSERT_GE(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0].title, "Save TDM file");
    EXPECT_EQ(answers.asked[0].kind, FileDialogKind::Save);
    EXPECT_EQ(answers.asked[0].current, dir.Path("demo.TDM"));  // the suggestion, filled in
    EXPECT_TRUE(unchanged());
    EXPECT_EQ(w->Platform().Statistics(), nullptr);
  }
  // Confirmed: the run writes where the user said.
  answers.asked.clear();
  answers.files = {dir.Path("o.TDM"), dir.Path("o.FDM")};
  w->Dispatcher().Dispatch(res::kCmdProcessFile);
  EXPECT_EQ(answers.Titles(), (std::vector<std::string>{"Save TDM file", "Save FDM file"}));
  EXPECT_TRUE(unchanged());
  ExpectSameAsCli(*w, dir.Path("demo.VBT"), dir.Path("o.TDM"), dir.Path("o.FDM"), dir);
  // Now they count: Process File runs again without asking.
  answers.asked.clear();
  WriteFile(dir.Path("o.TDM"), "");
  w->Dispatcher().Dispatch(res::kCmdProcessFile);
  EXPECT_TRUE(answers.asked.empty());
  EXPECT_GT(ReadFile(dir.Path("o.TDM")).size(), 1000u);

  // A new input whose outputs were not confirmed: asked again, and the
  // outputs of the input before are not taken.
  answers.files = {dir.Path("demo.VBT"), dir.Path("p.TDM"), std::nullopt};
  w->Dispatcher().Dispatch(res::kCmdOpenVbt);
  answers.asked.clear();
  answers.files = {std::nullopt};
  WriteFile(dir.Path("o.TDM"), "kept");
  w->Dispatcher().Dispatch(res::kCmdProcessFile);
  EXPECT_EQ(answers.Titles(), std::vector<std::string>{"Save TDM file"});
  EXPECT_EQ(answers.asked[0].current, dir.Path("p.TDM"));
  EXPECT_EQ(ReadFile(dir.Path("o.TDM")), "kept");
  EXPECT_FALSE(Exists(dir.Path("p.TDM")));
}

TEST(StartUp, OutputsOnTheCommandLineCountAsConfirmed) {
  TempDir dir;
  Answers answers;
  auto w = MakeWindow(answers);
  w->Start({SourcePath("samples/demo.VBT"), dir.Path("a.TDM"), dir.Path("a.FDM")});
  Settle();
  WriteFile(dir.Path("a.TDM"), "");
  w->Dispatcher().Dispatch(res::kCmdProcessFile);
  EXPECT_TRUE(answers.asked.empty());
  EXPECT_GT(ReadFile(dir.Path("a.TDM")).size(), 1000u);
}

}  // namespace
}  // namespace tz::test
