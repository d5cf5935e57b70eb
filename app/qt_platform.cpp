#include "app/qt_platform.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <cstdio>

#include "app/progress_dialog.h"
#include "app/statistics_dialog.h"

namespace tz {

QtPlatform::QtPlatform(QWidget* owner, QProgressBar* toolbarBar, const MessageBoxFn& messageBox,
                       std::function<void()> rebuildDisplay)
    : owner_(owner),
      toolbarBar_(toolbarBar),
      messageBox_(messageBox),
      rebuildDisplay_(std::move(rebuildDisplay)) {}

QtPlatform::~QtPlatform() {
  delete progress_.data();
  delete statistics_.data();
}

ProgressDialog* QtPlatform::Progress() const { return progress_; }
StatisticsDialog* QtPlatform::Statistics() const { return statistics_; }

void QtPlatform::Paint() {
  lastPaint_ = clock_();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtPlatform::PaintNowAndThen() {
  // About thirty pictures a second keep the bars moving; a progress bar
  // repaints itself at every new value, which at every percent would cost
  // the run more than its own work on a fast file.
  if (clock_() - lastPaint_ < kPaintInterval) return;
  ShowPosition();
  Paint();
}

void QtPlatform::ShowPosition() {
  if (progress_ != nullptr) progress_->SetPosition(position_);
  if (toolbarBar_ != nullptr) toolbarBar_->setValue(position_);
}

void QtPlatform::ShowMessage(const char* caption, const char* text) {
  ShowPosition();  // the bars stand where the run stopped while the box is up
  messageBox_(owner_, Message{caption, text, MessageIcon::None});
}

namespace {

// The caption of a system error report shown to the user.
constexpr char kSystemErrorCaption[] = "Torzalen";

// The two lines of a system error report ("Error N: CONTEXT.\n\rTEXT\r\n")
// as a message box shows them: one line break, no carriage returns.
std::string ReportLines(const std::string& report) {
  std::string lines;
  for (char c : report)
    if (c != '\r') lines += c;
  while (!lines.empty() && lines.back() == '\n') lines.pop_back();
  return lines;
}

}  // namespace

void QtPlatform::DebugOutput(const std::string& text) {
  // Every report that reaches this channel is a failed system call of a run:
  // written to stderr as the batch command writes it, and shown, so that a
  // run that cannot start does not look like nothing happened.
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
  if (reportsOnly_) return;
  ShowPosition();
  messageBox_(owner_, Message{kSystemErrorCaption, ReportLines(text), MessageIcon::None});
}

bool QtPlatform::CreateProgressDialog() {
  delete progress_.data();
  progress_ = new ProgressDialog(owner_);
  return true;
}

void QtPlatform::ShowProgressDialog() {
  if (progress_ == nullptr) return;
  progress_->show();
  ShowPosition();
  Paint();
}

void QtPlatform::DestroyProgressDialog() {
  delete progress_.data();
  progress_ = nullptr;
}

void QtPlatform::ShowToolbarProgress(bool visible) {
  if (toolbarBar_ == nullptr) return;
  toolbarBar_->setVisible(visible);
}

void QtPlatform::SetProgressPosition(int percent) {
  position_ = percent;
  PaintNowAndThen();  // the run reports a position only when it changes
}

void QtPlatform::SetProgressText(const char* text) {
  if (progress_ != nullptr) progress_->SetText(text);
}

bool QtPlatform::CreateStatisticsDialog() {
  // One statistics dialog at a time: a new run's replaces the last one.
  delete statistics_.data();
  statistics_ = new StatisticsDialog(rebuildDisplay_, owner_);
  return true;
}

void QtPlatform::SetStatisticsFields(const char* total, const char* filtered,
                                     const char* percent) {
  if (statistics_ != nullptr) statistics_->SetFields(total, filtered, percent);
}

void QtPlatform::ShowStatisticsDialog() {
  if (statistics_ == nullptr) return;
  statistics_->show();
  statistics_->raise();
}

}  // namespace tz
