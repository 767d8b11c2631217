#include "RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), FButtons(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 4, 8, 4);
  layout->setSpacing(2);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items.at(i), this);
    FButtons->addButton(button, i);
    layout->addWidget(button);
  }
  connect(FButtons, &QButtonGroup::idClicked, this, &TRadioGroup::ItemClicked);
}

TRadioGroup::~TRadioGroup() = default;

int TRadioGroup::ItemIndex() const {
  return FButtons->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* button = FButtons->button(index)) {
    button->setChecked(true);
    return;
  }
  // An exclusive group cannot be emptied while a button is checked.
  FButtons->setExclusive(false);
  for (QAbstractButton* button : FButtons->buttons()) {
    button->setChecked(false);
  }
  FButtons->setExclusive(true);
}

int TRadioGroup::Count() const {
  return static_cast<int>(FButtons->buttons().size());
}
