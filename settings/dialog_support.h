// Small helpers the settings dialogs share: control identifiers as object
// names, 8-bit text, dialog units and the row of push buttons.
#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <string>
#include <string_view>

class QBoxLayout;
class QDialog;
class QPushButton;
class QWidget;

namespace tz {

// "id:<number>", the object name that carries a control's identifier.
QString ControlName(int id);
void SetControlId(QObject* object, int id);

// A control of a dialog found by its identifier (nullptr when missing).
template <typename T>
T* FindControl(const QObject* root, int id) {
  return root->findChild<T*>(ControlName(id));
}

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
