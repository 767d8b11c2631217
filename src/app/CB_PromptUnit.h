#pragma once

#include <QDialog>
#include <functional>

#include "ClipboardPromptLogic.h"

class QLabel;
class QPushButton;
class QTimer;

// "Copy Clipboard to Speech Buffer ?": the small prompt that offers New,
// Append and Cancel for freshly copied text and, after CB_PromptDelay
// seconds, answers itself with its default button. Not modal: the user may
// go on working elsewhere while it waits.
class TCB_PromptForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TCB_PromptForm)

 public:
  explicit TCB_PromptForm(QWidget* parent = nullptr);
  ~TCB_PromptForm() override;

  void FormCreate();
  void FormShow();
  void FormActivate();
  void NewClick();
  void AppendClick();
  void CancelClick();
  void Timer1Timer();

  TPromptButton DefaultButton() const { return FDefault; }

  // Whether Append makes sense now (a current article that is not the one
  // blank article); asked each time the prompt shows.
  std::function<bool()> AppendAvailable;
  // Puts the captured text into the articles (the main window's CopyClipboardMemo).
  std::function<void(quint8 action)> CopyClipboardMemo;

  QLabel* Label1;
  QPushButton* New;
  QPushButton* Append;
  QPushButton* Cancel;
  QLabel* ModeValue;
  QTimer* Timer1;

 public slots:
  // Escape and the window manager's close answer as Cancel does.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Answer(quint8 action);
  void PlaceOnScreen();
  QPushButton* Button(TPromptButton button) const;

  TPromptButton FDefault = TPromptButton::Cancel;
};

// The one prompt; null before the main window made it.
extern TCB_PromptForm* CB_PromptForm;
