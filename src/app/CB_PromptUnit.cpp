#include "CB_PromptUnit.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <limits>

#include "BaseUtils.h"
#include "PreferenceUnit.h"

TCB_PromptForm* CB_PromptForm = nullptr;

namespace {

constexpr int kClientWidth = 280;
constexpr int kClientHeight = 91;

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, int left) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(left, 32, 75, 25);
  // Only the chosen default button reacts to Enter.
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TCB_PromptForm::TCB_PromptForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("CB_PromptForm"));
  setWindowTitle(QStringLiteral("Verbalune MP3"));
  setFixedSize(kClientWidth, kClientHeight);
  setModal(false);

  Label1 = new QLabel(QStringLiteral("Copy Clipboard to Speech Buffer ?"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  Label1->setGeometry(8, 6, kClientWidth - 16, 20);

  New = MakeButton(this, QStringLiteral("New"), QStringLiteral("New"), 8);
  Append = MakeButton(this, QStringLiteral("Append"), QStringLiteral("Append"), 104);
  Cancel = MakeButton(this, QStringLiteral("Cancel"), QStringLiteral("Cancel"), 200);

  ModeValue = new QLabel(this);
  ModeValue->setObjectName(QStringLiteral("ModeValue"));
  ModeValue->setStyleSheet(QStringLiteral("color: blue"));
  ModeValue->setGeometry(8, 66, kClientWidth - 16, 18);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));

  connect(New, &QPushButton::clicked, this, &TCB_PromptForm::NewClick);
  connect(Append, &QPushButton::clicked, this, &TCB_PromptForm::AppendClick);
  connect(Cancel, &QPushButton::clicked, this, &TCB_PromptForm::CancelClick);
  connect(Timer1, &QTimer::timeout, this, &TCB_PromptForm::Timer1Timer);
  FormCreate();
}

TCB_PromptForm::~TCB_PromptForm() {
  if (CB_PromptForm == this) {
    CB_PromptForm = nullptr;
  }
}

void TCB_PromptForm::FormCreate() {
  PlaceOnScreen();
  Append->setToolTip(QStringLiteral("Append text to current article"));
  Cancel->setToolTip(QStringLiteral("Cancel clipboard copy to Verbalune MP3"));
}

void TCB_PromptForm::PlaceOnScreen() {
  if (Preferences == nullptr) {
    return;
  }
  if (Preferences->CB_PromptLeft < 0) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  } else {
    move(Preferences->CB_PromptLeft, Preferences->CB_PromptTop);
  }
}

void TCB_PromptForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TCB_PromptForm::hideEvent(QHideEvent* event) {
  // The countdown only runs while the prompt can be seen.
  Timer1->stop();
  QDialog::hideEvent(event);
}

void TCB_PromptForm::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    FormActivate();
  }
}

void TCB_PromptForm::FormShow() {
  Append->setEnabled(!AppendAvailable || AppendAvailable());
  const bool multi = Preferences != nullptr && Preferences->ML_ListMode != 0;
  if (multi) {
    ModeValue->setText(QStringLiteral("Current Mode is Multi-Article Mode"));
    New->setToolTip(QStringLiteral("Add new article"));
  } else {
    ModeValue->setText(QStringLiteral("Current Mode is Single-Article Mode"));
    New->setToolTip(QStringLiteral("Overwrite current article"));
  }
  Timer1->stop();
  if (Preferences != nullptr && Preferences->CB_Prompt && Preferences->CB_PromptDelay > 0) {
    // A delay so long that it overflows the timer is as good as no countdown.
    const qint64 ms = qint64(Preferences->CB_PromptDelay) * 1000;
    if (ms <= std::numeric_limits<int>::max()) {
      Timer1->start(int(ms));
    }
  }
  if (Preferences != nullptr && Preferences->CB_PromptLeft >= 0) {
    move(Preferences->CB_PromptLeft, Preferences->CB_PromptTop);
  }
  // Copying happens in another program, so the prompt must come to the front
  // of it. The desktop may refuse the focus; the default button is chosen
  // now, so the countdown answers correctly even then.
  FormActivate();
  raise();
  activateWindow();
}

void TCB_PromptForm::FormActivate() {
  const quint8 dflt = Preferences != nullptr ? Preferences->CB_DfltPromptAction : quint8(paCancel);
  const quint8 last = Preferences != nullptr ? Preferences->CB_LastPromptAction : quint8(paCancel);
  FDefault = PromptDefaultButton(dflt, last, Append->isEnabled(), FDefault);
  for (QPushButton* button : {New, Append, Cancel}) {
    button->setDefault(button == Button(FDefault));
  }
  Button(FDefault)->setFocus();
}

QPushButton* TCB_PromptForm::Button(TPromptButton button) const {
  switch (button) {
    case TPromptButton::New:
      return New;
    case TPromptButton::Append:
      return Append;
    case TPromptButton::Cancel:
      break;
  }
  return Cancel;
}

void TCB_PromptForm::Answer(quint8 action) {
  if (Preferences != nullptr) {
    Preferences->CB_LastPromptAction = action;
  }
  Timer1->stop();
  if (action != paCancel && CopyClipboardMemo) {
    CopyClipboardMemo(action);
  }
  hide();
}

void TCB_PromptForm::NewClick() {
  Answer(paNew);
}

void TCB_PromptForm::AppendClick() {
  // Enter or a script may reach a disabled button; it must not append.
  Answer(Append->isEnabled() ? quint8(paAppend) : quint8(paCancel));
}

void TCB_PromptForm::CancelClick() {
  Answer(paCancel);
}

void TCB_PromptForm::reject() {
  CancelClick();
}

void TCB_PromptForm::Timer1Timer() {
  UtilsClass::Trace(QStringLiteral("Clipboard prompt timed out"));
  Timer1->stop();
  switch (FDefault) {
    case TPromptButton::New:
      NewClick();
      break;
    case TPromptButton::Append:
      AppendClick();
      break;
    case TPromptButton::Cancel:
      CancelClick();
      break;
  }
}
