#pragma once

#include <QString>
#include <QStringList>
#include <deque>

#include "UserMessages.h"

// Records every message instead of showing it, and answers named dialogs from
// a script. Installs itself for its lifetime.
class TMessageRecorder final : public TUserMessages {
 public:
  TMessageRecorder();
  ~TMessageRecorder() override;

  void ShowMessage(const QString& text) override;
  void ShowError(const QString& text, const QString& caption) override;
  int ShowModalDialog(const QString& dialogName) override;

  // The next dialogs answer these results in order; afterwards mrOk.
  void QueueDialogResult(int result) { FDialogResults.push_back(result); }

  QStringList Messages;  // plain messages
  QStringList Errors;    // error boxes (text only)
  QStringList Dialogs;   // names of dialogs shown

  // Every message and error, in order.
  QStringList All;

 private:
  std::deque<int> FDialogResults;
};
