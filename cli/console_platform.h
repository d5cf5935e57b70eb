// Platform operations of the batch command: messages and system error
// reports on stderr, progress drawn on stderr when it is a terminal.
#pragma once

#include <string>

#include "processing/platform.h"

namespace tz {

class ConsolePlatform : public PlatformOps {
 public:
  explicit ConsolePlatform(bool showProgress) : showProgress_(showProgress) {}

  void ShowMessage(const char* caption, const char* text) override;
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

  // The statistics dialog's figures, once a run filled them.
  bool statisticsFilled = false;
  std::string total, filtered, percent;
  // The last thing reported, as its first line reads: "CAPTION: TEXT" for
  // a message, "Error N: CONTEXT." for a system error.
  std::string lastReport;

 private:
  void Draw();
  void Erase();
  bool showProgress_;
  bool dialog_ = false, toolbar_ = false, drawn_ = false;
  int position_ = 0;
  std::string text_;
};

}  // namespace tz
