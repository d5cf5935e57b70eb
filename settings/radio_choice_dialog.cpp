#include "settings/radio_choice_dialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialog_support.h"
#include "ui/resource.h"

namespace tz {

RadioChoiceDialog::RadioChoiceDialog(const RadioDialogTemplate& t, int current,
                                     QWidget* parent)
    : QDialog(parent), group_(new QButtonGroup(this)) {
  SetId(this, t.id);
  setWindowTitle(QString::fromLatin1(t.caption));
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(QString::fromLatin1(t.groupTitle), this);
  SetId(group, res::kIdStatic);
  auto* groupLayout = new QVBoxLayout(group);
  Q_ASSERT(t.choices.size() <= CheckStates{}.checked.size());
  for (size_t i = 0; i < t.choices.size(); ++i) {
    auto* b = new QRadioButton(QString::fromLatin1(t.choices[i].text), group);
    SetId(b, t.choices[i].id);
    b->setChecked(static_cast<int>(i) == current);
    groupLayout->addWidget(b);
    group_->addButton(b, static_cast<int>(i));
  }
  groupLayout->addStretch(1);
  layout->addWidget(group, 1);
  AddOkCancelRow(this, layout);

  // At least the template's size; larger where the font needs it.
  const QSize dlu = DialogUnitsToPixels(*this, t.sizeDlu.width(), t.sizeDlu.height());
  setMinimumSize(sizeHint().expandedTo(dlu));
  resize(minimumSize());
}

RadioChoiceDialog::CheckStates RadioChoiceDialog::CheckedStates() const {
  CheckStates s;
  for (; s.count < static_cast<size_t>(group_->buttons().size()); ++s.count)
    s.checked[s.count] = group_->button(static_cast<int>(s.count))->isChecked();
  return s;
}

}  // namespace tz
