// Driving the settings dialogs in tests: controls by identifier, keys, and
// the check that no text of a dialog is cut off.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <stdexcept>
#include <string>

#include "processing/analysis_record.h"
#include "ui/dialog_support.h"

namespace tz::test {

// A record with the filter settings of a typical run.
inline RecordPtr WithSettings() {
  RecordPtr r = NewAnalysisRecord();
  r->settings.AllowedOvershoot = 0.1, r->settings.MovAvgLen = 10, r->settings.RPMthreshold = 1200, r->settings.ZeroCrossLen = 4;
  return r;
}

template <typename T = QWidget>
T& Control(const QWidget& dialog, int id) {
  T* w = FindById<T>(&dialog, id);
  if (!w) throw std::runtime_error("no control id:" + std::to_string(id));
  return *w;
}

inline QString Text(const QWidget& dialog, int id) { return Control<QLineEdit>(dialog, id).text(); }
inline void Click(const QWidget& dialog, int id) { Control<QAbstractButton>(dialog, id).click(); }

inline void PressKey(QWidget& target, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&target, &press);
}

// Shows the dialog and checks that every text has the room it needs and that
// every control lies inside the dialog. With TZ_DIALOG_SNAPSHOTS set to a
// folder, the dialog is also saved there as name.png for a look.
inline void ExpectNothingClipped(QWidget& dialog, const char* name) {
  dialog.show();
  QApplication::processEvents();
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    QSize need;
    if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) need = w->sizeHint();
    if (qobject_cast<QGroupBox*>(w)) need = w->minimumSizeHint();
    if (auto* e = qobject_cast<QLineEdit*>(w))
      need = {e->fontMetrics().horizontalAdvance(e->text()) + 8, e->fontMetrics().height()};
    const std::string what = std::string(name) + " " + w->objectName().toStdString();
    EXPECT_TRUE(dialog.rect().contains(QRect(w->mapTo(&dialog, QPoint()), w->size()))) << what;
    EXPECT_GE(w->width(), need.width()) << what;
    EXPECT_GE(w->height(), need.height()) << what;
  }
  const QByteArray dir = qgetenv("TZ_DIALOG_SNAPSHOTS");
  if (!dir.isEmpty()) dialog.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(name) + ".png");
}

}  // namespace tz::test
