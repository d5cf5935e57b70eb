// The processing settings dialogs as the commands open them. Each gets the
// record and the two actions its OK may need: process the current source
// again, rebuild the display.
#pragma once

#include <functional>

class QDialog;
class QWidget;

namespace tz {

struct AnalysisRecord;

using Action = std::function<void()>;

// Modeless parameters dialog, shown; the dialog (owned by owner), or nullptr.
QDialog* OpenParametersDialog(AnalysisRecord& r, Action processFile, Action rebuildDisplay,
                              QWidget* owner);
// Modal dialogs; each returns when it is closed.
void RunFilteringSettingsDialog(AnalysisRecord& r, Action processFile, Action rebuildDisplay,
                                QWidget* owner);
void RunFftWindowDialog(AnalysisRecord& r, Action processFile, Action rebuildDisplay,
                        QWidget* owner);
void RunFftSourceDialog(AnalysisRecord& r, Action processFile, Action rebuildDisplay,
                        QWidget* owner);

}  // namespace tz
