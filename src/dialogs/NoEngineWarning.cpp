#include "NoEngineWarning.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "BaseUtils.h"
#include "ClickLabel.h"
#include "DialogMemo.h"
#include "MakerSite.h"

QString TEngineWarningForm::FirstMemoText() {
  return QStringList{
      QStringLiteral("A Text-To-Speech engine does not appear to be installed "),
      QStringLiteral("on your machine.  These engines, which perform actual "),
      QStringLiteral("speech synthesis, are required for Verbalune to operate."),
      QString(),
      QStringLiteral("Installing a speech engine on your computer is easy.  Just "),
      QStringLiteral("visit our website for instructions."),
  }
      .join(u'\n');
}

QString TEngineWarningForm::SecondMemoText() {
  return QStringLiteral(
      "If you are having problems or have any questions, please\ncontact our support staff at");
}

TEngineWarningForm::TEngineWarningForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("EngineWarningForm"));
  setWindowTitle(QStringLiteral("Text To Speech Engine not found"));
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

  Memo1 = MakeDialogMemo(FirstMemoText(), this);
  DownloadLabel = new TClickLabel(QStringLiteral("Click here to download Speech Engine"), this);
  DownloadLabel->SetLinkLook();
  Memo2 = MakeDialogMemo(SecondMemoText(), this);
  SupportLabel = new TClickLabel(MakerSite::SupportAddress, this);
  SupportLabel->SetLinkLook();
  ExitBtn = new QPushButton(QStringLiteral("Exit Verbalune MP3"), this);
  ExitBtn->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ExitBtn);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Memo1);
  layout->addWidget(DownloadLabel, 0, Qt::AlignHCenter);
  layout->addSpacing(8);
  layout->addWidget(Memo2);
  layout->addWidget(SupportLabel, 0, Qt::AlignHCenter);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(DownloadLabel, &TClickLabel::Clicked, this,
          [] { UtilsClass::OpenLink(MakerSite::SpeechEngineDownloadPage()); });
  connect(SupportLabel, &TClickLabel::Clicked, this,
          [] { UtilsClass::OpenLink(QStringLiteral("mailto:") + MakerSite::SupportAddress); });
  connect(ExitBtn, &QPushButton::clicked, this, &QDialog::accept);
}

TEngineWarningForm::~TEngineWarningForm() = default;
