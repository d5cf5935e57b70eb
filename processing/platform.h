// Platform operations of a processing run. Everything a run shows goes
// through this interface, so the same run drives the desktop program, the
// batch command and the tests.
#pragma once

#include <string>
#include <vector>

namespace tz {

class PlatformOps {
 public:
  virtual ~PlatformOps() = default;

  // Modal message box with an OK button, owned by the main window.
  virtual void MessageBox(const char* caption, const char* text) = 0;
  // The debug output channel that receives system error reports.
  virtual void DebugOutput(const std::string& text) = 0;

  // Modeless progress dialog: false when it cannot be created.
  virtual bool CreateProgressDialog() = 0;
  virtual void ShowProgressDialog() = 0;
  virtual void DestroyProgressDialog() = 0;
  // Progress bar of the main window's toolbar.
  virtual void ShowToolbarProgress(bool visible) = 0;
  // Position (0..100) of both bars, where they exist.
  virtual void SetProgressPosition(int percent) = 0;
  // Status line of the progress dialog, where it exists.
  virtual void SetProgressText(const char* text) = 0;

  // Statistics dialog: created hidden; false when it cannot be created.
  virtual bool CreateStatisticsDialog() = 0;
  virtual void SetStatisticsFields(const char* total, const char* filtered,
                                   const char* percent) = 0;
  virtual void ShowStatisticsDialog() = 0;
};

// Progress reports of a run: passes a report on only when the integer
// position or the text changes, so reporting per sample costs nothing.
class Progress {
 public:
  void Bind(PlatformOps* ops) {
    ops_ = ops;
    pos_ = -1;
    text_ = nullptr;
    dialog_ = false;
  }
  // Texts go to the progress dialog only, and only while it exists.
  void SetDialog(bool exists) {
    dialog_ = exists;
    text_ = nullptr;
  }
  // Position done / total x 100 truncated toward zero, and the status text.
  void Report(double done, double total, const char* text) {
    Position(Percent(done, total));
    Text(text);
  }
  // done / total x 100 truncated toward zero; 0 when undefined.
  static int Percent(double done, double total) { return Truncate(done / total * 100.0); }
  // A percentage truncated toward zero into 0..100; 0 when undefined.
  static int Truncate(double p) {
    if (!(p >= 0.0)) return 0;
    if (p > 100.0) return 100;
    return static_cast<int>(p);
  }
  void Position(int pos);
  void Text(const char* text);

 private:
  PlatformOps* ops_ = nullptr;
  int pos_ = -1;
  const char* text_ = nullptr;
  bool dialog_ = false;
};

// Records everything a run shows; used by the tests.
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

  void MessageBox(const char* caption, const char* text) override;
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
