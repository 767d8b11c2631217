#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

// "Sound Card Error Detected": asked when the sound card could not be checked
// before a reading. Proceed reads anyway; Cancel abandons the reading. The
// check box turns the check off for later readings.
class TSoundCardErrorForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TSoundCardErrorForm)

 public:
  explicit TSoundCardErrorForm(QWidget* parent = nullptr);
  ~TSoundCardErrorForm() override;

  static QString MemoText();

  // Writes TTS_SoundCardCheckErr at once, the opposite of the tick.
  void CheckBox1Click();

  QPlainTextEdit* Memo1;
  QPushButton* ProceedBtn;
  QPushButton* CancelBtn;
  QCheckBox* CheckBox1;
};

// Shows the dialog modally and answers mrOk (Proceed) or mrCancel.
int ShowSoundCardError(QWidget* parent = nullptr);
