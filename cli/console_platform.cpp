#include "cli/console_platform.h"

#include <cstdio>

namespace tz {

namespace {
// Back to the start of the line and erase it: the progress line is redrawn in place.
constexpr char kEraseLine[] = "\r\033[K";
}  // namespace

void ConsolePlatform::Erase() {
  if (!drawn_) return;
  std::fputs(kEraseLine, stderr);
  std::fflush(stderr);
  drawn_ = false;
}

void ConsolePlatform::Draw() {
  if (!showProgress_ || !(dialog_ || toolbar_)) return;
  if (dialog_ && !text_.empty())
    std::fprintf(stderr, "%s%3d%%  %s", kEraseLine, position_, text_.c_str());
  else
    std::fprintf(stderr, "%s%3d%%", kEraseLine, position_);
  std::fflush(stderr);
  drawn_ = true;
}

void ConsolePlatform::ShowMessage(const char* caption, const char* text) {
  lastReport = std::string(caption) + ": " + text;
  Erase();
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
}

void ConsolePlatform::DebugOutput(const std::string& text) {
  lastReport = text.substr(0, text.find('\n'));
  Erase();
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

bool ConsolePlatform::CreateProgressDialog() {
  dialog_ = false;
  text_.clear();
  return true;
}
void ConsolePlatform::ShowProgressDialog() {
  dialog_ = true;
  Draw();
}
void ConsolePlatform::DestroyProgressDialog() {
  dialog_ = false;
  if (!toolbar_) Erase();
}
void ConsolePlatform::ShowToolbarProgress(bool visible) {
  toolbar_ = visible;
  if (visible) Draw();
  else if (!dialog_) Erase();
}
void ConsolePlatform::SetProgressPosition(int percent) {
  position_ = percent;
  Draw();
}
void ConsolePlatform::SetProgressText(const char* text) {
  text_ = text;
  Draw();
}
bool ConsolePlatform::CreateStatisticsDialog() { return true; }
void ConsolePlatform::SetStatisticsFields(const char* t, const char* f, const char* p) {
  statisticsFilled = true;
  total = t;
  filtered = f;
  percent = p;
}
void ConsolePlatform::ShowStatisticsDialog() {}

}  // namespace tz
