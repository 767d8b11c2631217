#include "SIBusyDialogUnit.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogMemo.h"
#include "PreferenceUnit.h"

QString TSIBusyForm::MemoText() {
  return QStringLiteral(
      "In Single-Article mode, Verbalune cannot copy from \nthe clipboard while text is being "
      "read.");
}

TSIBusyForm::TSIBusyForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SIBusyForm"));
  setWindowTitle(QStringLiteral("Verbalune Busy ..."));
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);

  Memo1 = MakeDialogMemo(MemoText(), this);
  DontShowCB = new QCheckBox(QStringLiteral("Do not show this dialog again"), this);
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setDefault(true);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(DontShowCB);
  bottom->addStretch();
  bottom->addWidget(OKBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Memo1);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(DontShowCB, &QCheckBox::clicked, this, &TSIBusyForm::DontShowCBClick);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

TSIBusyForm::~TSIBusyForm() = default;

void TSIBusyForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Above other programs, so the user sees why the copy was not taken. No
  // event processing here: a close arriving while exec() has not yet entered
  // its loop would leave the loop waiting for ever.
  raise();
  activateWindow();
}

void TSIBusyForm::DontShowCBClick() {
  if (Preferences != nullptr) {
    Preferences->SI_ShowBusyDialog = !DontShowCB->isChecked();
  }
}
