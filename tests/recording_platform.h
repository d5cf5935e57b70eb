// A platform that records everything a run shows, for the tests.
#pragma once

#include <string>
#include <vector>

#include "processing/platform.h"

namespace tz {

class RecordingPlatform : public PlatformOps {
 public:
  struct Message {
    std::string caption, text;
  };
  std::vector<Message> messages;
  std::vector<std::string> debug;
  std::vector<int> positions;
  std::vector<std::string> texts;
  std::vector<std::string> events;  // dialog and toolbar events in order
  bool failProgressDialog = false;
  bool failStatisticsDialog = false;
  std::string statTotal, statFiltered, statPercent;
  bool statisticsShown = false;

  void ShowMessage(const char* caption, const char* text) override;
  void DebugOutput(const std::string& text) override;
  bool CreateProgressDialog() override;
  void ShowProgressDialog() override;
  void DestroyProgressDialog() override;
  void ShowToolbarProgress(bool visible) override;
  void SetProgressPosition(int percent) override;
  void SetProgressText(const char* text) override;
  bool CreateStatisticsDialog() override;
  void SetStatisticsFields(const char* total, const char* filtered,
                           const char* percent) override;
  void ShowStatisticsDialog() override;

  // "CAPTION: TEXT" of every message box, in order.
  std::vector<std::string> MessageLines() const;
};

}  // namespace tz
