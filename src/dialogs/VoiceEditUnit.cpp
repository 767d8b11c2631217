#include "VoiceEditUnit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QVBoxLayout>
#include <tuple>

#include "BaseUtils.h"
#include "Exceptions.h"
#include "PreferenceUnit.h"
#include "TTSEngineUnit.h"
#include "TTSUnit.h"
#include "UserMessages.h"

TVoiceEditForm* VoiceEditForm = nullptr;

namespace {

const QString kFallbackTestText = QStringLiteral("Thanks for trying Verbalune MP3");

QLabel* NumberLabel(QWidget* parent, Qt::Alignment alignment) {
  auto* label = new QLabel(parent);
  label->setAlignment(alignment | Qt::AlignVCenter);
  label->setMinimumWidth(48);
  return label;
}

}  // namespace

TVoiceEditForm::TVoiceEditForm(QWidget* parent, TTTSForm* controller)
    : QDialog(parent), FController(controller) {
  setObjectName(QStringLiteral("VoiceEditForm"));
  setWindowTitle(QStringLiteral("Voice Edit"));
  setModal(true);
  // A dialog border without the help and system buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::MSWindowsFixedSizeDialogHint);

  Label1 = new QLabel(QStringLiteral("Voice:"), this);
  VoiceCaptionLbl = new QLabel(this);
  VoiceCaptionLbl->setObjectName(QStringLiteral("VoiceCaptionLbl"));
  QFont bold = VoiceCaptionLbl->font();
  bold.setBold(true);
  VoiceCaptionLbl->setFont(bold);

  Label3 = new QLabel(QStringLiteral("Pitch"), this);
  PitchSlider = new QSlider(Qt::Horizontal, this);
  PitchSlider->setObjectName(QStringLiteral("PitchSlider"));
  PitchMinLbl = NumberLabel(this, Qt::AlignRight);
  PitchMaxLbl = NumberLabel(this, Qt::AlignLeft);
  PitchValLbl = NumberLabel(this, Qt::AlignHCenter);
  PitchValLbl->setObjectName(QStringLiteral("PitchValLbl"));

  Label4 = new QLabel(QStringLiteral("Speed"), this);
  SpeedSlider = new QSlider(Qt::Horizontal, this);
  SpeedSlider->setObjectName(QStringLiteral("SpeedSlider"));
  SpeedMinLbl = NumberLabel(this, Qt::AlignRight);
  SpeedMaxLbl = NumberLabel(this, Qt::AlignLeft);
  SpeedValLbl = NumberLabel(this, Qt::AlignHCenter);
  SpeedValLbl->setObjectName(QStringLiteral("SpeedValLbl"));

  OkBtn = new QPushButton(QStringLiteral("Ok"), this);
  ResetBtn = new QPushButton(QStringLiteral("Reset Defaults"), this);
  TestBtn = new QPushButton(QStringLiteral("Test"), this);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  ResetBtn->setObjectName(QStringLiteral("ResetBtn"));
  TestBtn->setObjectName(QStringLiteral("TestBtn"));
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  OkBtn->setDefault(true);

  auto* voiceRow = new QHBoxLayout;
  voiceRow->addWidget(Label1);
  voiceRow->addWidget(VoiceCaptionLbl, 1);

  auto* grid = new QGridLayout;
  grid->setColumnStretch(2, 1);
  grid->addWidget(Label3, 0, 0);
  grid->addWidget(PitchMinLbl, 0, 1);
  grid->addWidget(PitchSlider, 0, 2);
  grid->addWidget(PitchMaxLbl, 0, 3);
  grid->addWidget(PitchValLbl, 1, 2);
  grid->addWidget(Label4, 2, 0);
  grid->addWidget(SpeedMinLbl, 2, 1);
  grid->addWidget(SpeedSlider, 2, 2);
  grid->addWidget(SpeedMaxLbl, 2, 3);
  grid->addWidget(SpeedValLbl, 3, 2);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {OkBtn, ResetBtn, TestBtn, CancelBtn}) {
    buttons->addWidget(b);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(voiceRow);
  layout->addSpacing(6);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addLayout(buttons);
  setFixedSize(435, 212);

  // Plain copies rather than structured bindings: older compilers cannot
  // capture those in a lambda.
  for (const auto& row : {std::tuple{PitchSlider, PitchValLbl, &WorkPitch},
                          std::tuple{SpeedSlider, SpeedValLbl, &WorkSpeed}}) {
    QSlider* slider = std::get<0>(row);
    QLabel* label = std::get<1>(row);
    qint32* work = std::get<2>(row);
    connect(slider, &QSlider::valueChanged, this,
            [this, slider, label, work] { SliderChange(slider, label, *work); });
    // The end of a drag is the move that counts.
    connect(slider, &QSlider::sliderReleased, this, [this, slider, work] {
      if (!FPlacing) {
        *work = slider->value();
      }
    });
  }
  connect(OkBtn, &QPushButton::clicked, this, &TVoiceEditForm::OkBtnClick);
  connect(ResetBtn, &QPushButton::clicked, this, &TVoiceEditForm::ResetBtnClick);
  connect(TestBtn, &QPushButton::clicked, this, &TVoiceEditForm::TestBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &TVoiceEditForm::CancelBtnClick);

  if (Preferences != nullptr) {
    Preferences->RestoreWindowPlacement(*this);
  }
}

TVoiceEditForm::~TVoiceEditForm() {
  if (Preferences != nullptr && FWasShown) {
    Preferences->SaveWindowPlacement(*this);
  }
  if (VoiceEditForm == this) {
    VoiceEditForm = nullptr;
  }
}

TTTSForm* TVoiceEditForm::Controller() const {
  return FController != nullptr ? FController : TTSForm;
}

QString TVoiceEditForm::TestText(const TVoiceEntry& voice) {
  QString text = voice.Engine != nullptr ? TestMessage(*voice.Engine).trimmed() : QString();
  return text.isEmpty() ? kFallbackTestText : text;
}

void TVoiceEditForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FWasShown = true;
  if (!event->spontaneous()) {
    FormShow();
  }
}

void TVoiceEditForm::FormShow() {
  if (EditVoice == nullptr) {
    return;
  }
  VoiceCaptionLbl->setText(EditVoice->Name);
  bool limitsKnown = EditVoice->MinPitch != -1;
  if (!limitsKnown && Controller() != nullptr) {
    try {
      Controller()->LoadVoiceLimits(*EditVoice);
      limitsKnown = true;
    } catch (const Exception& error) {
      UtilsClass::Trace(QStringLiteral("Voice Edit: limits of ") + EditVoice->Name +
                        QStringLiteral(" unknown: ") + error.Message());
      UserMessages().ShowError(
          QStringLiteral("The voice ") + EditVoice->Name +
              QStringLiteral(" could not be opened, so its pitch and speed cannot be edited."),
          QStringLiteral("Voice Edit"));
    }
  }
  // Without the engine's limits the sliders would offer values it rejects.
  for (QWidget* w : {static_cast<QWidget*>(PitchSlider), static_cast<QWidget*>(SpeedSlider),
                     static_cast<QWidget*>(ResetBtn), static_cast<QWidget*>(OkBtn)}) {
    w->setEnabled(limitsKnown);
  }
  FPlacing = true;
  PitchSlider->setRange(EditVoice->MinPitch, EditVoice->MaxPitch);
  SpeedSlider->setRange(EditVoice->MinSpeed, EditVoice->MaxSpeed);
  PitchSlider->setValue(EnginePitch(*EditVoice));
  SpeedSlider->setValue(EditVoice->Speed);
  FPlacing = false;
  PitchMinLbl->setText(QString::number(EditVoice->MinPitch));
  PitchMaxLbl->setText(QString::number(EditVoice->MaxPitch));
  PitchValLbl->setText(QString::number(EnginePitch(*EditVoice)));
  SpeedMinLbl->setText(QString::number(EditVoice->MinSpeed));
  SpeedMaxLbl->setText(QString::number(EditVoice->MaxSpeed));
  SpeedValLbl->setText(QString::number(EditVoice->Speed));
  PitchSlider->setPageStep(std::max(1, (EditVoice->MaxPitch - EditVoice->MinPitch) / 10));
  SpeedSlider->setPageStep(std::max(1, (EditVoice->MaxSpeed - EditVoice->MinSpeed) / 10));
  WorkPitch = EnginePitch(*EditVoice);
  WorkSpeed = EditVoice->Speed;
}

void TVoiceEditForm::PlaceSlider(QSlider* slider, int position) {
  FPlacing = true;
  slider->setValue(position);
  FPlacing = false;
}

void TVoiceEditForm::SliderChange(QSlider* slider, QLabel* valueLabel, qint32& work) {
  valueLabel->setText(QString::number(slider->value()));
  // Keys, the wheel and clicks beside the handle move it in one step: each
  // such move is complete, like the end of a drag.
  if (!FPlacing && !slider->isSliderDown()) {
    work = slider->value();
  }
}

void TVoiceEditForm::ResetBtnClick() {
  if (EditVoice == nullptr) {
    return;
  }
  WorkPitch = EditVoice->DefaultPitch;
  WorkSpeed = EditVoice->DefaultSpeed;
  PlaceSlider(PitchSlider, WorkPitch);
  PlaceSlider(SpeedSlider, WorkSpeed);
}

void TVoiceEditForm::TestBtnClick() {
  if (EditVoice == nullptr) {
    return;
  }
  const qint32 oldPitch = EditVoice->Pitch;
  const qint32 oldSpeed = EditVoice->Speed;
  SetEnginePitch(*EditVoice, WorkPitch);
  EditVoice->Speed = WorkSpeed;
  const QString text = TestText(*EditVoice);
  if (ShowStatus) {
    ShowStatus(QStringLiteral("Reading Test Message"));
  }
  if (SpeakText) {
    SpeakText(text, EditVoice->Name);
  }
  // The engine took the values when it started; the voice keeps its own
  // until the user presses Ok.
  EditVoice->Pitch = oldPitch;
  EditVoice->Speed = oldSpeed;
}

void TVoiceEditForm::OkBtnClick() {
  if (EditVoice != nullptr) {
    SetEnginePitch(*EditVoice, WorkPitch);
    EditVoice->Speed = WorkSpeed;
  }
  accept();
}

void TVoiceEditForm::CancelBtnClick() {
  reject();
}
