#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class TClickLabel;

// "Text To Speech Engine not found": shown when no voice can be used at all;
// the program always ends after it.
class TEngineWarningForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TEngineWarningForm)

 public:
  explicit TEngineWarningForm(QWidget* parent = nullptr);
  ~TEngineWarningForm() override;

  static QString FirstMemoText();
  static QString SecondMemoText();

  QPlainTextEdit* Memo1;
  QPlainTextEdit* Memo2;
  TClickLabel* DownloadLabel;
  TClickLabel* SupportLabel;
  QPushButton* ExitBtn;
};
