// Small helpers the dialogs and panels share: 8-bit text, dialog units and the
// row of push buttons.
#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <string>
#include <string_view>

#include "ui/widget_id.h"  // controls carry their identifier as object name

class QBoxLayout;
class QDialog;
class QPushButton;
class QWidget;

namespace tz {

// The program's files and dialogs speak 8-bit text; characters beyond Latin-1
// become '?', which no number reading accepts.
std::string ToEightBit(const QString& text);
QString FromEightBit(std::string_view text);

// Size in pixels of a template size given in dialog units of the widget's font.
QSize DialogUnitsToPixels(const QWidget& w, int dluX, int dluY);

// Push button with its identifier; the default one answers Enter.
QPushButton* MakeButton(const char* text, int id, bool isDefault, QWidget* parent);

// "OK" (default) and "Cancel", right-aligned, wired to accept and reject.
void AddOkCancelRow(QDialog* dialog, QBoxLayout* layout);

}  // namespace tz
