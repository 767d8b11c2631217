#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

// "Verbalune Busy ...": clipboard text cannot be taken while the single
// article is being read. Stays above other programs so the user sees why.
class TSIBusyForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TSIBusyForm)

 public:
  explicit TSIBusyForm(QWidget* parent = nullptr);
  ~TSIBusyForm() override;

  static QString MemoText();

  QPlainTextEdit* Memo1;
  QCheckBox* DontShowCB;
  QPushButton* OKBtn;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void DontShowCBClick();
};
