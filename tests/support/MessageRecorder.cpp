#include "MessageRecorder.h"

TMessageRecorder::TMessageRecorder() {
  SetUserMessages(this);
}

TMessageRecorder::~TMessageRecorder() {
  SetUserMessages(nullptr);
}

void TMessageRecorder::ShowMessage(const QString& text) {
  Messages << text;
  All << text;
}

void TMessageRecorder::ShowError(const QString& text, const QString& /*caption*/) {
  Errors << text;
  All << text;
}

int TMessageRecorder::ShowModalDialog(const QString& dialogName) {
  Dialogs << dialogName;
  if (FDialogResults.empty()) {
    return mrOk;
  }
  const int result = FDialogResults.front();
  FDialogResults.pop_front();
  return result;
}
