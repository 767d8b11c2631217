#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

// "Pronunciation Editor Info": a note shown before the pronunciation editor
// opens, made for each showing.
class TPronEditorInfoForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TPronEditorInfoForm)

 public:
  explicit TPronEditorInfoForm(QWidget* parent = nullptr);
  ~TPronEditorInfoForm() override;

  static QString MemoText();

  QPlainTextEdit* Memo1;
  QCheckBox* DontShowCB;
  QPushButton* ContinueBtn;

 private:
  void DontShowCBClick();
};
