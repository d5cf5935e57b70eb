// The run's windows on the desktop: progress dialog, toolbar bar, message
// boxes and statistics dialog, all owned by the main window. A run is
// synchronous on the GUI thread; the progress calls let Qt paint, so the bars
// and texts move while the run goes on.
#pragma once

#include <QPointer>
#include <chrono>
#include <functional>
#include <string>

#include "processing/platform.h"
#include "ui/message_box.h"

class QProgressBar;
class QWidget;

namespace tz {

class ProgressDialog;
class StatisticsDialog;

class QtPlatform : public PlatformOps {
 public:
  // owner: the main window; toolbarBar: the strip's bar; messageBox: shows
  // the run's messages; rebuildDisplay: what the statistics dialog's OK calls.
  QtPlatform(QWidget* owner, QProgressBar* toolbarBar, const MessageBoxFn& messageBox,
             std::function<void()> rebuildDisplay);
  ~QtPlatform() override;

  void ShowMessage(const char* caption, const char* text) override;
  // Writes a system error report to stderr and shows it in a message box.
  void DebugOutput(const std::string& text) override;
  bool CreateProgressDialog() override;
  void ShowProgressDialog() override;
  void DestroyProgressDialog() override;
  void ShowToolbarProgress(bool visible) override;
  void SetProgressPosition(int percent) override;
  void SetProgressText(const char* text) override;
  bool CreateStatisticsDialog() override;
  void SetStatisticsFields(const char* total, const char* filtered, const char* percent) override;
  void ShowStatisticsDialog() override;

  // Without a window to show them over (the pictures without a window),
  // system error reports go to stderr alone.
  void WriteReportsOnly() { reportsOnly_ = true; }

  // The clock that spaces the pictures of a run; tests step it themselves,
  // so that how often the bars move does not depend on the machine's speed.
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  void SetClock(Clock clock) { clock_ = std::move(clock); }

  ProgressDialog* Progress() const;
  StatisticsDialog* Statistics() const;

 private:
  // Lets Qt paint what changed; user input waits until the run is over.
  void Paint();
  // Paints when the last paint is a frame's time ago.
  void PaintNowAndThen();
  // Puts the last reported position into both bars.
  void ShowPosition();
  int position_ = 0;
  bool reportsOnly_ = false;
  static constexpr std::chrono::milliseconds kPaintInterval{30};
  std::chrono::steady_clock::time_point lastPaint_{};
  Clock clock_ = [] { return std::chrono::steady_clock::now(); };

  QWidget* owner_;
  QPointer<QProgressBar> toolbarBar_;
  const MessageBoxFn& messageBox_;
  std::function<void()> rebuildDisplay_;
  QPointer<ProgressDialog> progress_;
  QPointer<StatisticsDialog> statistics_;
};

}  // namespace tz
