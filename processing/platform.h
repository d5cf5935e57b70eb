// Platform operations of a processing run. Everything a run shows goes
// through this interface, so the same run drives the desktop program, the
// batch command and the tests.
//
// Contract:
// - Every call comes synchronously on the thread that started the run; a run
//   never calls from another thread and never waits for an answer other than
//   the return value.
// - The progress calls (SetProgressPosition, SetProgressText) are the places
//   where a desktop front end may let its windows paint; they come no more
//   often than the position or the text changes.
// - A run never starts inside another run: an implementation that lets events
//   through during a progress call must not start a new run from them.
#pragma once

#include <string>

namespace tz {

class PlatformOps {
 public:
  virtual ~PlatformOps() = default;

  // Modal message with an OK button, owned by the main window; returns when
  // the user has confirmed it.
  virtual void ShowMessage(const char* caption, const char* text) = 0;
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

// A platform that shows nothing: the run's own cost, for the benchmarks and
// the fuzz targets. Its dialogs "exist", so every path of a run is taken.
class SilentPlatform : public PlatformOps {
 public:
  void ShowMessage(const char*, const char*) override {}
  void DebugOutput(const std::string&) override {}
  bool CreateProgressDialog() override { return true; }
  void ShowProgressDialog() override {}
  void DestroyProgressDialog() override {}
  void ShowToolbarProgress(bool) override {}
  void SetProgressPosition(int) override {}
  void SetProgressText(const char*) override {}
  bool CreateStatisticsDialog() override { return true; }
  void SetStatisticsFields(const char*, const char*, const char*) override {}
  void ShowStatisticsDialog() override {}
};

}  // namespace tz
