#include "recording_platform.h"

namespace tz {

void RecordingPlatform::ShowMessage(const char* caption, const char* text) {
  messages.push_back({caption, text});
  events.push_back(std::string("message:") + text);
}
void RecordingPlatform::DebugOutput(const std::string& text) { debug.push_back(text); }
bool RecordingPlatform::CreateProgressDialog() {
  events.push_back(failProgressDialog ? "progress-create-failed" : "progress-create");
  return !failProgressDialog;
}
void RecordingPlatform::ShowProgressDialog() { events.push_back("progress-show"); }
void RecordingPlatform::DestroyProgressDialog() { events.push_back("progress-destroy"); }
void RecordingPlatform::ShowToolbarProgress(bool visible) {
  events.push_back(visible ? "toolbar-show" : "toolbar-hide");
}
void RecordingPlatform::SetProgressPosition(int percent) { positions.push_back(percent); }
void RecordingPlatform::SetProgressText(const char* text) { texts.push_back(text); }
bool RecordingPlatform::CreateStatisticsDialog() {
  events.push_back(failStatisticsDialog ? "statistics-create-failed" : "statistics-create");
  return !failStatisticsDialog;
}
void RecordingPlatform::SetStatisticsFields(const char* total, const char* filtered,
                                            const char* percent) {
  statTotal = total;
  statFiltered = filtered;
  statPercent = percent;
  events.push_back("statistics-fill");
}
void RecordingPlatform::ShowStatisticsDialog() {
  statisticsShown = true;
  events.push_back("statistics-show");
}

std::vector<std::string> RecordingPlatform::MessageLines() const {
  std::vector<std::string> out;
  for (const auto& m : messages) out.push_back(m.caption + ": " + m.text);
  return out;
}

}  // namespace tz
