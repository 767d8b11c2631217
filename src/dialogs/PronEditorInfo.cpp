#include "PronEditorInfo.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogMemo.h"
#include "PreferenceUnit.h"

QString TPronEditorInfoForm::MemoText() {
  return QStringList{
      QStringLiteral("A note on using the pronunciation editor ..."),
      QString(),
      QStringLiteral("Verbalune MP3 currently supports editing pronunciations only with the "),
      QStringLiteral("Microsoft Text-To-Speech engine.   That means any pronuncation changes "),
      QStringLiteral("you make will be applied to the Microsoft engine only.  Mary, Mike and Sam "),
      QStringLiteral("are the only voices affected."),
      QString(),
      QStringLiteral("Future versions of Verbalune will support pronunciation editing across "
                     "engines."),
  }
      .join(u'\n');
}

TPronEditorInfoForm::TPronEditorInfoForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PronEditorInfoForm"));
  setWindowTitle(QStringLiteral("Pronunciation Editor Info"));
  setModal(true);

  Memo1 = MakeDialogMemo(MemoText(), this);
  DontShowCB = new QCheckBox(QStringLiteral("Do not display this dialog again"), this);
  ContinueBtn = new QPushButton(QStringLiteral("Continue"), this);
  ContinueBtn->setDefault(true);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(DontShowCB);
  bottom->addStretch();
  bottom->addWidget(ContinueBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Memo1);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(DontShowCB, &QCheckBox::clicked, this, &TPronEditorInfoForm::DontShowCBClick);
  connect(ContinueBtn, &QPushButton::clicked, this, &QDialog::accept);
}

TPronEditorInfoForm::~TPronEditorInfoForm() = default;

void TPronEditorInfoForm::DontShowCBClick() {
  if (Preferences != nullptr) {
    Preferences->ShowPronEditWarning = !DontShowCB->isChecked();
  }
}
