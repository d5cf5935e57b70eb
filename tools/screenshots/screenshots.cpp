// torzalen-screenshots: pictures of the desktop program, for a look by eye
// and for comparing two builds pixel for pixel.
//
//   torzalen-screenshots DIR DEMO_VBT LONG_VBT   every window, dialog, panel and
//                                                display into DIR as PNG files
//   torzalen-screenshots --compare REF DIR       every picture of REF against
//                                                the one of the same name in DIR
//
// The windows are driven as a user drives them: the display settings dialog
// chooses the graphs, the panels' switches and clicks in the plot window
// place the markers, the commands zoom and restore. LONG_VBT is a run that
// warns of its speed (vbtgen --reverse --samples 100000).
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/about_dialog.h"
#include "app/app_icon.h"
#include "app/dispatcher.h"
#include "app/help_dialog.h"
#include "app/main_window.h"
#include "app/progress_dialog.h"
#include "app/qt_platform.h"
#include "app/statistics_dialog.h"
#include "display/axis_panel.h"
#include "display/display.h"
#include "display/display_settings_dialog.h"
#include "settings/fft_source_dialog.h"
#include "settings/fft_window_dialog.h"
#include "settings/filtering_settings_dialog.h"
#include "settings/parameters_dialog.h"
#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz::shots {
namespace {

// ---- Driving the windows ----

// Processes events for a while, deferred deletes included.
void Settle(int ms = 30) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Hands the next modal dialog to act once it is up; act must end it.
void WhenModal(std::function<void(QDialog*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start();
}

// The left button pressed and released at a point of the widget.
void LeftClick(QWidget* w, QPoint at) {
  const QPointF p(at);
  QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

// File dialogs answered from a queue; message boxes answered at once, with a
// hook that runs while the box would be up.
struct Answers {
  std::deque<std::string> files;
  std::function<void(const Message&)> onMessage;
  std::string settingsFile;  // never the user's settings

  UiHooks Hooks() {
    UiHooks h;
    h.settingsFile = settingsFile;
    h.fileDialog = [this](QWidget*, const FileDialogSetup&, const std::string&) {
      std::optional<std::string> answer;
      if (!files.empty()) answer = files.front(), files.pop_front();
      return answer;
    };
    h.messageBox = [this](QWidget*, const Message& m) {
      if (onMessage) onMessage(m);
    };
    return h;
  }
};

class Shooter {
 public:
  Shooter(QString dir, std::string demo, std::string longRun)
      : dir_(std::move(dir)), demo_(std::move(demo)), long_(std::move(longRun)) {}

  void Save(QWidget* w, const QString& name) {
    w->show();
    Settle();
    Write(w->grab().toImage(), name);
  }
  void Write(const QImage& image, const QString& name) {
    const QString path = dir_ + "/" + name + ".png";
    if (!image.save(path)) {
      std::fprintf(stderr, "torzalen-screenshots: cannot write %s\n", qPrintable(path));
      ok_ = false;
    }
  }
  bool Ok() const { return ok_; }
  const QString& Dir() const { return dir_; }

  // A main window at a client size, shown normal.
  std::unique_ptr<MainWindow> Window(QSize size) {
    auto w = std::make_unique<MainWindow>(answers_.Hooks());
    w->ShowAtStart();
    w->activateWindow();
    Settle();
    w->showNormal();
    w->resize(size);
    Settle();
    return w;
  }
  // Opens a VBT input with TDM and FDM outputs in the temporary folder.
  void Open(MainWindow& w, const std::string& input, const std::string& name) {
    answers_.files = {input, tmp_ + "/" + name + ".TDM", tmp_ + "/" + name + ".FDM"};
    w.Dispatcher().Dispatch(res::kCmdOpenVbt);
  }
  void OpenDemo(MainWindow& w) { Open(w, demo_, "demo"); }
  const std::string& LongRun() const { return long_; }
  const std::string& Tmp() const { return tmp_; }
  void SetTmp(std::string tmp) {
    tmp_ = std::move(tmp);
    answers_.settingsFile = tmp_ + "/settings.ini";
  }
  Answers& Hooks() { return answers_; }

 private:
  QString dir_;
  std::string demo_, long_, tmp_;
  Answers answers_;
  bool ok_ = true;
};

// ---- The display ----

struct GraphChoice {
  int radio;  // the display settings' button
  const char* name;
};
constexpr GraphChoice kGraphs[] = {
    {res::kRadioShowFft, "fft"},
    {res::kRadioShow3RpmFilt, "3-rpm-filtered"},
    {res::kRadioShow3RpmInst, "3-rpm-unfiltered"},
    {res::kRadioShowRpmFilt, "rpm-filtered"},
    {res::kRadioShowRpmInst, "rpm-unfiltered"},
    {res::kRadioShowTorque, "torque"},
    {res::kRadioShowPower, "power"},
};

// The display settings with one graph button and the FFT option boxes
// checked as given (lines, harmonics, peaks, clean), then OK.
void ChooseDisplay(MainWindow& w, int radio, std::initializer_list<int> options = {}) {
  WhenModal([radio, options](QDialog* d) {
    FindById<QAbstractButton>(d, radio)->click();
    for (int id : {res::kCheckSpectralLines, res::kCheckHarmonics, res::kCheckHarmonicPeaks,
                   res::kCheckCleanSpectrum}) {
      auto* box = FindById<QCheckBox>(d, id);
      box->setChecked(std::find(options.begin(), options.end(), id) != options.end());
    }
    d->accept();
  });
  w.Dispatcher().Dispatch(res::kCmdDisplayControl);
  Settle();
}

// A panel switch clicked as the user clicks it.
void Switch(MainWindow& w, PanelId panel, int id) {
  FindById<QAbstractButton>(w.Graphs().Panel(panel), id)->click();
}

// A click in the plot window at fractions of its size, after a paint.
void ClickPlot(MainWindow& w, double fx, double fy) {
  PlotWindow* plot = w.Graphs().Plot();
  plot->grab();
  LeftClick(plot, QPoint(static_cast<int>(plot->width() * fx),
                         static_cast<int>(plot->height() * fy)));
  Settle();
}

// Both FFT X markers, then both FFT Y markers.
void PlaceFftMarkers(MainWindow& w) {
  Switch(w, PanelId::FftX, res::kFftXMarker1On);
  ClickPlot(w, 0.05, 0.5);
  Switch(w, PanelId::FftX, res::kFftXMarker2On);
  ClickPlot(w, 0.3, 0.5);
  Switch(w, PanelId::FftY, res::kFftYMarker1On);
  ClickPlot(w, 0.5, 0.4);
  Switch(w, PanelId::FftY, res::kFftYMarker2On);
  ClickPlot(w, 0.5, 0.7);
}

// Both time X markers and their difference, then a Y marker of the last Y
// panel shown.
void PlaceTimeMarkers(MainWindow& w, bool threeGraphs) {
  Switch(w, PanelId::X, res::kXEnable);
  ClickPlot(w, 0.2, 0.3);
  Switch(w, PanelId::X, res::kXMarker2);
  ClickPlot(w, 0.6, 0.3);
  Switch(w, PanelId::X, res::kXDelta);
  if (threeGraphs) {
    Switch(w, PanelId::Y2, res::kY2MarkerOn);
    ClickPlot(w, 0.4, 0.45);
    Switch(w, PanelId::Y3, res::kY3MarkerOn);
  } else {
    Switch(w, PanelId::Y1, res::kY1MarkerOn);
  }
  ClickPlot(w, 0.4, 0.62);
}

// X zoom between two markers, scrolled, restored: the FFT graph, one time
// graph, and the three graphs in the zoom the time graph left.
void ShootZoom(Shooter& s, MainWindow& w, const QString& tag) {
  auto scroll = [&w](QAbstractSlider::SliderAction a) {
    w.Graphs().Plot()->HorizontalBar()->triggerAction(a);
    Settle();
  };
  ChooseDisplay(w, res::kRadioShowFft);
  Switch(w, PanelId::FftX, res::kFftXMarker1On);
  ClickPlot(w, 0.1, 0.5);
  Switch(w, PanelId::FftX, res::kFftXMarker2On);
  ClickPlot(w, 0.5, 0.5);
  w.Dispatcher().Dispatch(res::kCmdXZoom);
  Settle();
  s.Save(&w, "graph-fft-zoomed" + tag);
  scroll(QAbstractSlider::SliderSingleStepAdd);
  s.Save(&w, "graph-fft-zoomed-line-right" + tag);
  w.Dispatcher().Dispatch(res::kCmdRestoreX);
  Settle();
  s.Save(&w, "graph-fft-restored" + tag);

  ChooseDisplay(w, res::kRadioShowRpmFilt);
  Switch(w, PanelId::X, res::kXEnable);
  ClickPlot(w, 0.2, 0.3);
  Switch(w, PanelId::X, res::kXMarker2);
  ClickPlot(w, 0.6, 0.3);
  w.Dispatcher().Dispatch(res::kCmdXZoom);
  Settle();
  s.Save(&w, "graph-rpm-filtered-zoomed" + tag);
  scroll(QAbstractSlider::SliderPageStepAdd);
  s.Save(&w, "graph-rpm-filtered-zoomed-page-right" + tag);
  scroll(QAbstractSlider::SliderSingleStepSub);
  s.Save(&w, "graph-rpm-filtered-zoomed-line-left" + tag);
  ChooseDisplay(w, res::kRadioShow3RpmInst);
  s.Save(&w, "graph-3-rpm-unfiltered-zoomed" + tag);
  w.Dispatcher().Dispatch(res::kCmdRestoreX);
  Settle();
  s.Save(&w, "graph-3-rpm-unfiltered-restored" + tag);
}

// The scales' options: rulers on every display choice, and the time graphs
// fitted to their visible data, with rulers and without; then both off.
void ShootScales(Shooter& s, MainWindow& w, const QString& tag) {
  const auto choose = [&w](int radio, bool fit, bool rulers) {
    WhenModal([=](QDialog* d) {
      FindById<QAbstractButton>(d, radio)->click();
      FindById<QCheckBox>(d, res::kCheckFitToData)->setChecked(fit);
      FindById<QCheckBox>(d, res::kCheckRulers)->setChecked(rulers);
      d->accept();
    });
    w.Dispatcher().Dispatch(res::kCmdDisplayControl);
    Settle();
  };
  for (const GraphChoice& g : kGraphs) {
    choose(g.radio, false, true);
    s.Save(&w, QStringLiteral("graph-%1-rulers%2").arg(g.name, tag));
    if (g.radio == res::kRadioShowFft) continue;
    choose(g.radio, true, false);
    s.Save(&w, QStringLiteral("graph-%1-fit%2").arg(g.name, tag));
    choose(g.radio, true, true);
    s.Save(&w, QStringLiteral("graph-%1-fit-rulers%2").arg(g.name, tag));
  }
  choose(res::kRadioShowFft, false, false);
}

// Every display choice as it opens and with markers placed, the FFT graph's
// drawing options, the keyboard toggle, zoom and scroll.
void ShootGraphs(Shooter& s, QSize size) {
  const QString tag = QStringLiteral("-%1x%2").arg(size.width()).arg(size.height());
  auto w = s.Window(size);
  s.OpenDemo(*w);
  w->Platform().Statistics()->accept();
  Settle();
  s.Save(w.get(), "graph-after-run" + tag);
  for (const GraphChoice& g : kGraphs) {
    ChooseDisplay(*w, g.radio);
    s.Save(w.get(), QStringLiteral("graph-%1%2").arg(g.name, tag));
    const bool three = g.radio == res::kRadioShow3RpmFilt || g.radio == res::kRadioShow3RpmInst;
    if (g.radio == res::kRadioShowFft) PlaceFftMarkers(*w);
    else PlaceTimeMarkers(*w, three);
    s.Save(w.get(), QStringLiteral("graph-%1-markers%2").arg(g.name, tag));
  }
  const struct {
    std::initializer_list<int> options;
    const char* name;
  } options[] = {
      {{res::kCheckHarmonics}, "harmonics"},
      {{res::kCheckSpectralLines}, "lines"},
      {{res::kCheckSpectralLines, res::kCheckHarmonics}, "lines-harmonics"},
      {{res::kCheckSpectralLines, res::kCheckCleanSpectrum}, "lines-clean"},
      {{res::kCheckCleanSpectrum}, "clean"},
      {{res::kCheckHarmonicPeaks}, "peaks"},
      {{res::kCheckHarmonicPeaks, res::kCheckHarmonics, res::kCheckCleanSpectrum}, "peaks-all"},
  };
  for (const auto& o : options) {
    ChooseDisplay(*w, res::kRadioShowFft, o.options);
    s.Save(w.get(), QStringLiteral("graph-fft-%1%2").arg(o.name, tag));
  }
  // "s" in the plot window: spectral lines back to the envelope.
  QKeyEvent key(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier, QStringLiteral("s"));
  QApplication::sendEvent(w->Graphs().Plot(), &key);
  Settle();
  s.Save(w.get(), "graph-fft-key-s" + tag);
  ShootZoom(s, *w, tag);
  ShootScales(s, *w, tag);
}

// A run that ends with a message, the demo run and its statistics, the
// settings dialogs with the demo's values, the progress, About and help.
void ShootWindowsAndDialogs(Shooter& s) {
  auto w = s.Window({1600, 1000});
  const std::string bad = s.Tmp() + "/short.VBT";
  if (FILE* f = std::fopen(bad.c_str(), "wb")) std::fputs("no header\r\n", f), std::fclose(f);
  s.Hooks().onMessage = [&](const Message&) {
    s.Write(w->grab().toImage(), "main-during-run");
    s.Write(w->Platform().Progress()->grab().toImage(), "progress-during-run");
  };
  s.Open(*w, bad, "short");
  s.Hooks().onMessage = nullptr;

  s.OpenDemo(*w);
  s.Save(w.get(), "main-after-run");
  s.Save(w->Platform().Statistics(), "statistics");
  w->Platform().Statistics()->accept();
  s.Save(w.get(), "main-after-ok");

  ParametersDialog parameters(w->ShownRecord(), w.get());
  s.Save(&parameters, "parameters");
  FilteringSettingsDialog filtering(w->NextRecord(), [] {}, w.get());
  s.Save(&filtering, "filtering-settings");
  FftWindowDialog fftWindow(w->NextRecord(), [] {}, w.get());
  s.Save(&fftWindow, "fft-window");
  FftSourceDialog fftSource(w->NextRecord(), [] {}, [] {}, w.get());
  s.Save(&fftSource, "fft-source");
  DisplaySettingsDialog display(w->Graphs().State(), [] {}, [] {}, w.get());
  s.Save(&display, "display-settings");

  ProgressDialog progress(w.get());
  progress.SetPosition(37);
  progress.SetText("Appending input file to TDM output file ....");
  s.Save(&progress, "progress");
  s.Write(AppIconPixmap(128).toImage(), "icon-128");
  AboutDialog about(w.get());
  s.Save(&about, "about");
  HelpDialog help(w.get());
  s.Save(&help, "help");
  help.resize(help.width(), 1000 - 40);
  s.Save(&help, "help-1000");

  // A later run's message over the graphs: the bar at the foot of the panel
  // column shows where the run stands.
  s.Hooks().onMessage = [&](const Message&) {
    s.Write(w->grab().toImage(), "graph-message-during-run");
  };
  s.Open(*w, s.LongRun(), "long");
  s.Hooks().onMessage = nullptr;
}

// Each panel as created, at its column's width and the height it asks for,
// filled with texts as wide as the rules write and everything enabled and
// checked, and the Y1 panel beside a single graph.
void ShootPanels(Shooter& s) {
  const struct {
    PanelId panel;
    int width;
    const char* name;
  } panels[] = {{PanelId::Y1, 162, "y1"},    {PanelId::Y2, 162, "y2"},
                {PanelId::Y3, 162, "y3"},    {PanelId::X, 162, "x"},
                {PanelId::FftY, 320, "fft_y"}, {PanelId::FftX, 320, "fft_x"}};
  for (const auto& c : panels) {
    AxisPanel p(c.panel, nullptr);
    p.resize(c.width, p.sizeHint().height());
    s.Write(p.grab().toImage(), QStringLiteral("panel-%1").arg(c.name));
    for (QLineEdit* e : p.findChildren<QLineEdit*>()) e->setText("-12345.678");
    for (auto [id, text] : {std::pair{1349, "RPMinst"}, {1401, "RPMinst"}, {1413, "RPMinst"},
                            {1467, "Y axis: TRQ RAW (Blackman)"}, {1473, "123456789.1234"}})
      p.Apply({c.panel, id, ControlOp::SetText, text});
    if (c.panel == PanelId::X) p.Apply({c.panel, 1365, ControlOp::SetText, "kgm"});
    for (int id : {1362, 1404, 1416, 1468}) p.Apply({c.panel, id, ControlOp::SetText, "1234.567"});
    for (QWidget* child : p.findChildren<QWidget*>()) child->setEnabled(true);
    for (int id : {1363, 1435, 1428, 1470, 1454}) p.Apply({c.panel, id, ControlOp::Check, ""});
    p.show();
    Settle();
    s.Write(p.grab().toImage(), QStringLiteral("panel-%1_filled").arg(c.name));
  }
  AxisPanel tall(PanelId::Y1, nullptr);
  tall.resize(162, 815);
  s.Write(tall.grab().toImage(), "panel-y1_single");
}

// ---- Comparison ----

// Pixels that differ between two pictures (-1 when their sizes differ or one
// cannot be read), and the rectangle that holds them.
struct Difference {
  long long pixels = 0;
  QRect where;
};
Difference Differ(const QString& a, const QString& b) {
  QImage x, y;
  if (!x.load(a) || !y.load(b)) return {-1, {}};
  x = x.convertToFormat(QImage::Format_ARGB32);
  y = y.convertToFormat(QImage::Format_ARGB32);
  if (x.size() != y.size()) return {-1, {}};
  Difference d;
  for (int row = 0; row < x.height(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col) {
      if (p[col] == q[col]) continue;
      ++d.pixels;
      d.where |= QRect(col, row, 1, 1);
    }
  }
  return d;
}

// Every picture of ref against dir: 0 when all are the same and none is
// missing on either side.
int Compare(const QString& ref, const QString& dir) {
  const QStringList filter{QStringLiteral("*.png")};
  const QStringList refs = QDir(ref).entryList(filter, QDir::Files, QDir::Name);
  const QStringList news = QDir(dir).entryList(filter, QDir::Files, QDir::Name);
  int bad = 0;
  for (const QString& name : refs) {
    if (!news.contains(name)) {
      std::printf("missing   %s\n", qPrintable(name)), ++bad;
      continue;
    }
    const Difference d = Differ(ref + "/" + name, dir + "/" + name);
    if (d.pixels != 0) ++bad;
    if (d.pixels < 0) std::printf("size      %s\n", qPrintable(name));
    if (d.pixels > 0)
      std::printf("%-9lld %s (x %d..%d, y %d..%d)\n", d.pixels, qPrintable(name), d.where.left(),
                  d.where.right(), d.where.top(), d.where.bottom());
  }
  for (const QString& name : news)
    if (!refs.contains(name)) std::printf("extra     %s\n", qPrintable(name)), ++bad;
  std::printf("%lld pictures compared, %d differ\n", static_cast<long long>(refs.size()), bad);
  return bad == 0 ? 0 : 1;
}

// The offscreen platform's notes on what it cannot do are noise here.
QtMessageHandler gNextHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("This plugin does not support"))) return;
  if (gNextHandler) gNextHandler(type, context, text);
}

int Usage() {
  std::fputs("usage: torzalen-screenshots DIR DEMO_VBT LONG_VBT\n"
             "       torzalen-screenshots --compare REF DIR\n",
             stderr);
  return 2;
}

}  // namespace
}  // namespace tz::shots

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  using namespace tz::shots;
  gNextHandler = qInstallMessageHandler(QuietHandler);
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments().mid(1);
  if (args.size() == 3 && args[0] == QLatin1String("--compare")) return Compare(args[1], args[2]);
  if (args.size() != 3) return Usage();
  if (!QDir().mkpath(args[0])) return Usage();
  QTemporaryDir tmp;
  Shooter s(args[0], args[1].toStdString(), args[2].toStdString());
  s.SetTmp(tmp.path().toStdString());
  ShootWindowsAndDialogs(s);
  ShootPanels(s);
  for (QSize size : {QSize(1600, 1000), QSize(750, 530)}) ShootGraphs(s, size);
  return s.Ok() ? 0 : 1;
}
