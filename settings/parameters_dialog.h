// "Varnholt - System Parameters": a modeless, read-only window with the
// measurement parameters of the last input parsed. The values are written
// once, when the dialog is made; a later run does not refresh them.
#pragma once

#include <QDialog>

#include "processing/analysis_record.h"

namespace tz {

class ParametersDialog : public QDialog {
  Q_OBJECT

 public:
  // Made hidden, filled from r; OK, Esc and the close box destroy it.
  ParametersDialog(const AnalysisRecord& r, QWidget* parent);
};

// The Parameters command: a new dialog each time, shown beside the owner.
// The owner keeps the pointer while it wants it (QPointer: the dialog
// deletes itself when closed).
ParametersDialog* ShowParametersDialog(const AnalysisRecord& r, QWidget* owner);

}  // namespace tz
