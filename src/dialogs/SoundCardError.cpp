#include "SoundCardError.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "BaseUtils.h"
#include "DialogMemo.h"
#include "MakerSite.h"
#include "PreferenceUnit.h"
#include "UserMessages.h"

QString TSoundCardErrorForm::MemoText() {
  return QStringList{
      QStringLiteral("Verbalune was unable to verify access to your soundcard. This "),
      QStringLiteral("could mean a configuration problem or that your soundcard does "),
      QStringLiteral("not support some commands. "),
      QString(),
      QStringLiteral("You may click Proceed to continue. If you then experience "),
      QStringLiteral("problems please contact ") + MakerSite::SupportAddress + QStringLiteral(". "),
      QString(),
      QStringLiteral("If you see this error frequently but Verbalune MP3 appears to "),
      QStringLiteral("otherwise function correctly, you can prevent this message from "),
      QStringLiteral("appearing in the future by selecting the CheckBox below."),
  }
      .join(u'\n');
}

TSoundCardErrorForm::TSoundCardErrorForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SoundCardErrorForm"));
  setWindowTitle(QStringLiteral("Sound Card Error Detected"));
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  Memo1 = MakeDialogMemo(MemoText(), this);
  ProceedBtn = new QPushButton(QStringLiteral("Proceed"), this);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  ProceedBtn->setObjectName(QStringLiteral("ProceedBtn"));
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  // Abandoning is the safe answer to a card that may not work.
  CancelBtn->setDefault(true);
  CancelBtn->setFocus();
  CheckBox1 = new QCheckBox(QStringLiteral("Disable Sound Card Check in the Future"), this);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ProceedBtn);
  buttons->addWidget(CancelBtn);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Memo1);
  layout->addLayout(buttons);
  layout->addWidget(CheckBox1);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(ProceedBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(CheckBox1, &QCheckBox::clicked, this, &TSoundCardErrorForm::CheckBox1Click);
}

TSoundCardErrorForm::~TSoundCardErrorForm() = default;

void TSoundCardErrorForm::CheckBox1Click() {
  if (Preferences != nullptr) {
    Preferences->TTS_SoundCardCheckErr = !CheckBox1->isChecked();
  }
  UtilsClass::Trace(CheckBox1->isChecked() ? QStringLiteral("Sound card check turned off")
                                           : QStringLiteral("Sound card check turned on"));
}

int ShowSoundCardError(QWidget* parent) {
  TSoundCardErrorForm form(parent);
  form.adjustSize();
  if (const QScreen* screen = form.screen()) {
    form.move(screen->availableGeometry().center() - form.rect().center());
  }
  return form.exec() == QDialog::Accepted ? int(mrOk) : int(mrCancel);
}
