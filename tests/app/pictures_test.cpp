// Print, print preview, the graph export and the pictures without a window:
// the picture options of the command line, pages printed to a PDF file
// through a replaced print dialog, exported files, and the headless export
// against the window's own pixels.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateTime>
#include <QImage>
#include <QPrinter>
#include <QFile>
#include <QRadioButton>
#include <QXmlStreamReader>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "app/dispatcher.h"
#include "app/headless_export.h"
#include "app/print_export.h"
#include "app/qt_platform.h"
#include "app/statistics_dialog.h"
#include "app/start_args.h"
#include "display/display.h"
#include "tests/app/app_test_support.h"
#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz::test {
namespace {

// ---- The command line ----

TEST(PictureArgs, ExportAndSizeOptions) {
  const struct {
    std::vector<std::string> args;
    StartParse result;
    std::vector<std::pair<PictureDisplay, std::string>> pictures;
    int width, height;
    const char* error;  // of a usage error
  } cases[] = {
      {{"--export", "fft=a.png", "i", "t", "f"}, StartParse::kRun,
       {{PictureDisplay::Fft, "a.png"}}, 1600, 1000, ""},
      {{"--export=fft-lines=d/a.PNG", "--export", "power=b.svg", "--size", "1200x750", "i", "t",
        "f"},
       StartParse::kRun, {{PictureDisplay::FftLines, "d/a.PNG"}, {PictureDisplay::Power, "b.svg"}},
       1200, 750, ""},
      {{"i", "--size=160x8192", "t", "--export", "three-unfiltered=x=y.Pdf", "f"}, StartParse::kRun,
       {{PictureDisplay::ThreeUnfiltered, "x=y.Pdf"}}, 160, 8192, ""},
      {{"--export", "fft=a.png", "i"}, StartParse::kUsageError, {}, 0, 0,
       "--export expects INPUT TDM_OUT FDM_OUT, got 1 file names"},
      {{"--export", "bars=a.png", "i", "t", "f"}, StartParse::kUsageError, {}, 0, 0,
       "--export bars=a.png: expected DISPLAY=FILE, DISPLAY one of fft, fft-lines, three, "
       "three-unfiltered, rpm, rpm-unfiltered, torque, power"},
      {{"--export", "fft", "i", "t", "f"}, StartParse::kUsageError, {}, 0, 0,
       "--export fft: expected DISPLAY=FILE, DISPLAY one of fft, fft-lines, three, "
       "three-unfiltered, rpm, rpm-unfiltered, torque, power"},
      {{"--export", "fft=a.jpg", "i", "t", "f"}, StartParse::kUsageError, {}, 0, 0,
       "--export fft=a.jpg: FILE must end in .png, .svg or .pdf"},
      {{"i", "t", "f", "--export"}, StartParse::kUsageError, {}, 0, 0,
       "--export needs DISPLAY=FILE"},
      {{"--size", "1200x750", "i", "t", "f"}, StartParse::kUsageError, {}, 0, 0,
       "--size needs --export"},
      {{"--export", "fft=a.png", "--size", "159x750", "i", "t", "f"}, StartParse::kUsageError, {},
       0, 0, "--size 159x750: expected WxH, each side 160 to 8192"},
      {{"--export", "fft=a.png", "--size", "1200x8193", "i", "t", "f"}, StartParse::kUsageError,
       {}, 0, 0, "--size 1200x8193: expected WxH, each side 160 to 8192"},
      {{"--export", "fft=a.png", "--size", "99999999999x750", "i", "t", "f"},
       StartParse::kUsageError, {}, 0, 0,
       "--size 99999999999x750: expected WxH, each side 160 to 8192"},
      {{"--export", "fft=a.png", "--size", "+800x-600", "i", "t", "f"}, StartParse::kUsageError,
       {}, 0, 0, "--size +800x-600: expected WxH, each side 160 to 8192"},
      {{"--export", "fft=a.png", "i", "t", "f", "--size"}, StartParse::kUsageError, {}, 0, 0,
       "--size needs WxH"},
      // The usage wins, also where an option would take it as its value.
      {{"--export", "--help", "i", "t", "f"}, StartParse::kHelp, {}, 0, 0, ""},
      {{"--size", "1x1", "-h"}, StartParse::kHelp, {}, 0, 0, ""},
      // After "--" an option's name is a file name.
      {{"--", "--export", "fft=a.png", "f"}, StartParse::kRun, {}, 1600, 1000, ""},
  };
  for (const auto& c : cases) {
    std::string line;
    for (const std::string& a : c.args) line += a + " ";
    SCOPED_TRACE(line);
    StartArgs a;
    PictureArgs p;
    std::string error;
    const StartParse got = ParseStartArgs(c.args, a, &p, error);
    ASSERT_EQ(got, c.result) << error;
    if (got == StartParse::kUsageError) {
      EXPECT_EQ(error, c.error);
    }
    if (got != StartParse::kRun) continue;
    ASSERT_EQ(p.requests.size(), c.pictures.size());
    for (size_t i = 0; i < c.pictures.size(); ++i) {
      EXPECT_EQ(p.requests[i].display, c.pictures[i].first);
      EXPECT_EQ(p.requests[i].file, c.pictures[i].second);
    }
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
  }
  // Where the caller takes no pictures the options are unknown.
  StartArgs a;
  std::string error;
  EXPECT_EQ(ParseStartArgs({"--export", "fft=a.png", "i", "t", "f"}, a, error),
            StartParse::kUsageError);
  EXPECT_EQ(error, "unknown option --export");
}

TEST(PictureArgs, EveryDisplayNameAndFormat) {
  const std::pair<const char*, PictureDisplay> names[] = {
      {"fft", PictureDisplay::Fft},
      {"fft-lines", PictureDisplay::FftLines},
      {"three", PictureDisplay::Three},
      {"three-unfiltered", PictureDisplay::ThreeUnfiltered},
      {"rpm", PictureDisplay::Rpm},
      {"rpm-unfiltered", PictureDisplay::RpmUnfiltered},
      {"torque", PictureDisplay::Torque},
      {"power", PictureDisplay::Power},
  };
  for (const auto& [name, display] : names) {
    StartArgs a;
    PictureArgs p;
    std::string error;
    ASSERT_EQ(ParseStartArgs({"--export", std::string(name) + "=x.png", "i", "t", "f"}, a, &p,
                             error),
              StartParse::kRun)
        << name;
    EXPECT_EQ(p.requests.at(0).display, display) << name;
  }
  const std::pair<const char*, std::optional<PictureFormat>> formats[] = {
      {"a.png", PictureFormat::Png}, {"a.PNG", PictureFormat::Png}, {"d.x/a.Svg", PictureFormat::Svg},
      {"a.b.pdf", PictureFormat::Pdf}, {"a.jpeg", std::nullopt},    {"png", std::nullopt},
      {"d.png/a", std::nullopt},       {"a.png.", std::nullopt},
  };
  for (const auto& [path, format] : formats) EXPECT_EQ(PictureFormatOf(path), format) << path;
}

// ---- Print, preview and export in the window ----

// What a PDF file holds: its pages and their sizes (points).
struct PdfPages {
  bool pdf = false;
  std::vector<std::pair<double, double>> sizes;  // width, height of each page
};

PdfPages ReadPdf(const std::string& path) {
  const std::string text = ReadFile(path);
  PdfPages p;
  p.pdf = text.rfind("%PDF-", 0) == 0;
  // Each page object of the writer: "/Type /Page" and its "/MediaBox".
  static const std::regex page(R"(/Type /Page\b[^s][\s\S]*?/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), page); it != std::sregex_iterator();
       ++it)
    p.sizes.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
  return p;
}

bool SameImage(const QImage& a, const QImage& b) {
  return a.size() == b.size() &&
         a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

class Pictures : public ::testing::Test {
 protected:
  Pictures() : w(MakeWindow(answers)) {}
  void RunDemo() {
    OpenDemo(*w, answers, dir);
    ASSERT_NE(w->Platform().Statistics(), nullptr);
    w->Platform().Statistics()->accept();
    Settle();
  }

  TempDir dir;
  Answers answers;
  std::unique_ptr<MainWindow> w;
};

TEST_F(Pictures, PrintAndPreviewMakeOneLandscapePageWithoutTheOldMessages) {
  RunDemo();
  w->Action(res::kCmdPrint)->trigger();  // F11's action, cancelled in the dialog
  w->Action(res::kCmdPrintPreview)->trigger();  // closed without printing
  EXPECT_EQ(answers.printDialogs, 1);
  EXPECT_EQ(answers.previews, 1);
  answers.printFile = dir.Path("page.pdf");
  w->Action(res::kCmdPrint)->trigger();
  answers.printFile = dir.Path("preview.pdf");
  w->Action(res::kCmdPrintPreview)->trigger();
  EXPECT_EQ(answers.printDialogs, 2);
  EXPECT_EQ(answers.previews, 2);
  EXPECT_TRUE(answers.messages.empty());
  for (const std::string name : {"page.pdf", "preview.pdf"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(Exists(dir.Path(name)));
    const PdfPages pdf = ReadPdf(dir.Path(name));
    EXPECT_TRUE(pdf.pdf);
    ASSERT_EQ(pdf.sizes.size(), 1u);
    EXPECT_GT(pdf.sizes[0].first, pdf.sizes[0].second) << "landscape";
  }
}

// Printing to a PDF file that cannot be written says so; the page is
// written as the outputs are.
TEST_F(Pictures, APrintToAFileThatCannotBeWrittenSaysWhy) {
  RunDemo();
  answers.printFile = "/dev/full";
  w->Action(res::kCmdPrint)->trigger();
  ASSERT_EQ(answers.messages.size(), 1u);
  EXPECT_EQ(answers.messages[0].caption, "Print");
  EXPECT_EQ(answers.messages[0].text, "Cannot write /dev/full:\nNo space left on device");
  answers.printFile = dir.Path("missing/page.pdf");
  w->Action(res::kCmdPrintPreview)->trigger();
  ASSERT_EQ(answers.messages.size(), 2u);
  EXPECT_EQ(answers.messages[1].text,
            "Cannot write " + dir.Path("missing/page.pdf") + ":\nNo such file or directory");
}

TEST(PrintHeader, NameDateTimeWindowSourceAndPrintDate) {
  RecordPtr r = NewAnalysisRecord();
  r->source.InputPath = "/data/run 7/demo.VBT";
  const std::string date = "12/08/2026 ", time = "10:31:02";
  std::copy(date.begin(), date.end(), r->params.DateText);
  r->params.DateLen = static_cast<int>(date.size());
  std::copy(time.begin(), time.end(), r->params.TimeText);
  r->params.TimeLen = static_cast<int>(time.size());
  r->settings.FFTwindow = FftWindow::Blackman;
  r->settings.FFTsource = FftSource::RpmFilt;
  const QDateTime printed(QDate(2026, 12, 9), QTime(8, 5));
  EXPECT_EQ(PrintHeaderLine(*r, printed).toStdString(),
            "demo.VBT    Date: 12/08/2026    Time: 10:31:02    Filtering window: Blackman    "
            "Input data: RPM filtered    Printed: 2026-12-09 08:05");
  r->source.InputPath.clear();
  EXPECT_EQ(PrintHeaderLine(*r, printed).toStdString().substr(0, 13), "(no file)    ");
}

TEST_F(Pictures, ExportGraphWritesWhatTheClientAreaShows) {
  RunDemo();
  const QImage shown = w->Client()->grab().toImage();
  answers.files = {dir.Path("g.png"), dir.Path("g.SVG"), dir.Path("g.pdf")};
  for (int i = 0; i < 3; ++i) w->Action(res::kCmdExportGraph)->trigger();
  ASSERT_EQ(answers.asked.size(), 6u);  // the run's three, then the exports
  EXPECT_EQ(answers.asked[3].title, "Export graph");
  EXPECT_EQ(answers.asked[3].kind, FileDialogKind::Save);
  EXPECT_EQ(answers.asked[3].filter, "Pictures (*.PNG *.png *.SVG *.svg *.PDF *.pdf)");
  EXPECT_EQ(answers.asked[3].current, WithExtension(SourcePath("samples/demo.VBT"), "png"));
  EXPECT_EQ(answers.asked[4].current, dir.Path("g.png"));  // the last export's name
  EXPECT_TRUE(answers.messages.empty());

  ASSERT_TRUE(Exists(dir.Path("g.png")));
  EXPECT_TRUE(SameImage(QImage(QString::fromStdString(dir.Path("g.png"))), shown));
  const std::string svg = ReadFile(dir.Path("g.SVG"));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find(QStringLiteral("viewBox=\"0 0 %1 %2\"")
                         .arg(shown.width())
                         .arg(shown.height())
                         .toStdString()),
            std::string::npos);
  const PdfPages pdf = ReadPdf(dir.Path("g.pdf"));
  EXPECT_TRUE(pdf.pdf);
  ASSERT_EQ(pdf.sizes.size(), 1u);
  EXPECT_NEAR(pdf.sizes[0].first, shown.width() * 0.75, 1.0);
  EXPECT_NEAR(pdf.sizes[0].second, shown.height() * 0.75, 1.0);

  // A file that cannot be written: the reason in a box, nothing left behind.
  answers.files = {dir.Path("missing/g.png"), dir.Path("g.gif")};
  w->Action(res::kCmdExportGraph)->trigger();
  w->Action(res::kCmdExportGraph)->trigger();
  ASSERT_EQ(answers.messages.size(), 2u);
  EXPECT_EQ(answers.messages[0].caption, "Export graph");
  EXPECT_EQ(answers.messages[0].text.rfind("Cannot write " + dir.Path("missing/g.png") + ":\n", 0),
            0u)
      << answers.messages[0].text;
  EXPECT_EQ(answers.messages[1].text,
            "Cannot write " + dir.Path("g.gif") + ":\nthe name must end in .png, .svg or .pdf");
  EXPECT_FALSE(Exists(dir.Path("g.gif")));
}

// A name that is a pipe (or a device) is written through, as the run's
// outputs are, never replaced by a file of that name.
TEST_F(Pictures, AnExportedGraphGoesThroughAPipeNamedForIt) {
  RunDemo();
  const std::string fifo = dir.Path("pipe.png");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int in = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(in, 0);
  std::atomic<bool> done{false};
  std::string received;
  std::thread reader([&] {
    char buf[65536];
    for (;;) {
      const ssize_t n = ::read(in, buf, sizeof buf);
      if (n > 0) received.append(buf, static_cast<size_t>(n));
      else if (n == 0 && done) break;
      else ::usleep(1000);
    }
  });
  answers.files = {fifo};
  w->Action(res::kCmdExportGraph)->trigger();
  done = true;
  reader.join();
  ::close(in);
  EXPECT_TRUE(answers.messages.empty());
  struct stat st{};
  ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(received.substr(0, 4), "\x89PNG");
}

// The window, sized as a picture would be, shows each display through the
// display settings dialog; the pictures without a window hold the same
// pixels.
TEST_F(Pictures, HeadlessExportEqualsTheWindowForEveryDisplay) {
  const int width = 1000, height = 640;
  PictureArgs asked;
  asked.width = width;
  asked.height = height;
  for (const PictureDisplayName& d : kPictureDisplays)
    asked.requests.push_back({d.display, dir.Path(std::string(d.name) + ".png")});
  const StartArgs run{SourcePath("samples/demo.VBT"), dir.Path("h.TDM"), dir.Path("h.FDM")};
  ASSERT_EQ(RunPictureExport(run, asked), 0);
  EXPECT_TRUE(Exists(dir.Path("h.TDM")));
  EXPECT_TRUE(Exists(dir.Path("h.FDM")));

  w->showNormal();
  SizeClientArea(*w, width, height);
  ASSERT_EQ(w->Client()->size(), QSize(width, height));
  RunDemo();
  const struct {
    int radio;
    bool lines;
  } buttons[] = {
      {res::kRadioShowFft, false},     {res::kRadioShowFft, true},
      {res::kRadioShow3RpmFilt, false}, {res::kRadioShow3RpmInst, false},
      {res::kRadioShowRpmFilt, false},  {res::kRadioShowRpmInst, false},
      {res::kRadioShowTorque, false},   {res::kRadioShowPower, false},
  };
  static_assert(std::size(buttons) == std::size(kPictureDisplays));
  for (size_t i = 0; i < std::size(buttons); ++i) {
    const std::string name = kPictureDisplays[i].name;
    SCOPED_TRACE(name);
    const auto& b = buttons[i];
    WhenModal([b](QDialog* d) {
      FindById<QRadioButton>(d, b.radio)->click();
      QCheckBox* lines = FindById<QCheckBox>(d, res::kCheckSpectralLines);
      if (b.radio == res::kRadioShowFft && lines->isChecked() != b.lines) lines->click();
      d->accept();
    });
    w->Dispatcher().Dispatch(res::kCmdDisplayControl);
    Settle();
    const QImage window = w->Client()->grab().toImage();
    const QImage picture(QString::fromStdString(dir.Path(name + ".png")));
    ASSERT_EQ(picture.size(), QSize(width, height));
    EXPECT_TRUE(SameImage(picture, window));
  }
}

// ---- The program as a process, without a display ----

struct Program {
  int status = -1;
  std::string err;
};

Program RunWithoutDisplay(const std::string& args, const TempDir& dir) {
  const CommandResult r = RunCommand("cd '" + dir.Dir() +
                                     "' && timeout 60 env -u QT_QPA_PLATFORM -u DISPLAY "
                                     "-u WAYLAND_DISPLAY " TZ_APP " " + args);
  return {r.status, r.err};
}

TEST(HeadlessProgram, PicturesWithoutADisplayAsTheWindowPaintsThem) {
  TempDir dir;
  const std::string demo = SourcePath("samples/demo.VBT");
  const Program p = RunWithoutDisplay(
      "--export fft=a.png --export three=b.svg --size 800x500 --export=power=c.pdf '" + demo +
          "' o.TDM o.FDM",
      dir);
  ASSERT_EQ(p.status, 0) << p.err;
  // The run's outputs are those of the batch command.
  const CliRun cli = RunCli(demo, dir.Path("cli.TDM"), dir.Path("cli.FDM"));
  ASSERT_EQ(cli.status, 0);
  EXPECT_TRUE(ReadFile(dir.Path("o.TDM")) == ReadFile(dir.Path("cli.TDM")));
  EXPECT_TRUE(ReadFile(dir.Path("o.FDM")) == ReadFile(dir.Path("cli.FDM")));
  // The same pixels as this process's pictures of the same display.
  PictureArgs asked;
  asked.width = 800;
  asked.height = 500;
  asked.requests = {{PictureDisplay::Fft, dir.Path("own.png")}};
  ASSERT_EQ(RunPictureExport({demo, dir.Path("x.TDM"), dir.Path("x.FDM")}, asked), 0);
  const QImage a(QString::fromStdString(dir.Path("a.png")));
  ASSERT_EQ(a.size(), QSize(800, 500));
  EXPECT_TRUE(SameImage(a, QImage(QString::fromStdString(dir.Path("own.png")))));
  EXPECT_NE(ReadFile(dir.Path("b.svg")).find("<svg"), std::string::npos);
  const PdfPages pdf = ReadPdf(dir.Path("c.pdf"));
  ASSERT_EQ(pdf.sizes.size(), 1u);
  EXPECT_NEAR(pdf.sizes[0].first, 600, 1.0);
}

TEST(HeadlessProgram, UsageErrorsAndFailedRunsWriteNoPicture) {
  TempDir dir;
  const std::string demo = "'" + SourcePath("samples/demo.VBT") + "'";
  WriteFile(dir.Path("empty.VBT"), "");
  const struct {
    std::string args;
    int status;
    std::vector<std::string> files;  // that exist afterwards, besides empty.VBT
    const char* err;                 // the start of stderr
  } cases[] = {
      {"--export fft=a.png " + demo + " o.TDM", 2, {}, "torzalen: --export expects"},
      {"--export pie=a.png " + demo + " o.TDM o.FDM", 2, {}, "torzalen: --export pie=a.png:"},
      {"--export fft=a.png --size 10x10 " + demo + " o.TDM o.FDM", 2, {}, "torzalen: --size"},
      {"--export fft=a.png missing.VBT o.TDM o.FDM", 2, {}, "torzalen: "},
      {"--export fft=a.png empty.VBT o.TDM o.FDM", 1, {}, "VBT preprocessor: "},
      // A picture never takes the place of an output or another picture,
      // however it is named.
      {"--export fft=o.png " + demo + " o.png o.FDM", 2, {}, "torzalen: --export o.png: the"},
      {"--export fft=\"$PWD/o.pdf\" " + demo + " o.TDM o.pdf", 2, {},
       "torzalen: --export /"},
      {"--export fft=a.png --export three=./a.png " + demo + " o.TDM o.FDM", 2, {},
       "torzalen: --export ./a.png: the picture would replace a.png"},
      {"--export fft=nodir/a.png " + demo + " o.TDM o.FDM", 1, {"o.FDM", "o.TDM"},
       "torzalen: cannot write nodir/a.png: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const Program p = RunWithoutDisplay(c.args, dir);
    EXPECT_EQ(p.status, c.status);
    EXPECT_EQ(p.err.find(c.err), 0u) << p.err;
    std::vector<std::string> files = Names(dir.Dir());
    std::erase(files, "empty.VBT");
    EXPECT_EQ(files, c.files);
    for (const std::string& f : files) std::filesystem::remove(dir.Path(f));
  }
}

// The SVG file is XML any reader takes, whatever the input is named: the
// window's title, which names the input, is its title element.
TEST(HeadlessProgram, AnSvgPictureIsWellFormedWhateverTheInputIsNamed) {
  TempDir dir;
  const std::string name = "R&D <1> \"a\"\x01.VBT";
  std::filesystem::copy_file(SourcePath("samples/demo.VBT"), dir.Path(name));
  const Program p = RunWithoutDisplay("--export fft=a.svg " + Quote(name) + " o.TDM o.FDM", dir);
  ASSERT_EQ(p.status, 0) << p.err;
  QFile file(QString::fromStdString(dir.Path("a.svg")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  QString title;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("title"))
      title = xml.readElementText();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_TRUE(title.contains(QStringLiteral("R&D <1> \"a\".VBT"))) << title.toStdString();
}

// A link to where nothing is yet leads where the file would be made: a
// picture named through one never replaces an output or another picture.
TEST(HeadlessProgram, APictureThroughALinkToAnOutputIsRefused) {
  const std::string demo = "'" + SourcePath("samples/demo.VBT") + "'";
  const struct {
    const char* link;
    const char* target;
    std::string args;
  } cases[] = {
      {"pic.png", "out.TDM", "--export fft=pic.png " + demo + " out.TDM out.FDM"},
      {"out.TDM", "pic.png", "--export fft=pic.png " + demo + " out.TDM out.FDM"},
      {"a.png", "b.png", "--export fft=a.png --export three=b.png " + demo + " o.TDM o.FDM"},
      {"a.png", "sub/../b.png", "--export fft=a.png --export three=b.png " + demo + " o.TDM o.FDM"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args + " with " + c.link + " -> " + c.target);
    TempDir dir;
    std::filesystem::create_directory(dir.Path("sub"));
    std::filesystem::create_symlink(c.target, dir.Path(c.link));
    const Program p = RunWithoutDisplay(c.args, dir);
    EXPECT_EQ(p.status, 2);
    EXPECT_EQ(p.err.find("torzalen: --export "), 0u) << p.err;
    EXPECT_NE(p.err.find(": the picture would replace "), std::string::npos) << p.err;
    EXPECT_EQ(Names(dir.Dir()), (std::vector<std::string>{c.link, "sub"}));
  }
}

}  // namespace
}  // namespace tz::test
