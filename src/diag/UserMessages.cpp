#include "UserMessages.h"

#include <cstdio>

namespace {

TStderrMessages& StderrSink() {
  static TStderrMessages sink;
  return sink;
}

TUserMessages*& CurrentSink() {
  static TUserMessages* sink = nullptr;
  return sink;
}

}  // namespace

TUserMessages& UserMessages() {
  TUserMessages* sink = CurrentSink();
  return sink != nullptr ? *sink : StderrSink();
}

void SetUserMessages(TUserMessages* sink) {
  CurrentSink() = sink;
}

void TStderrMessages::ShowMessage(const QString& text) {
  std::fprintf(stderr, "%s\n", qUtf8Printable(text));
}

void TStderrMessages::ShowError(const QString& text, const QString& caption) {
  if (caption.isEmpty()) {
    std::fprintf(stderr, "error: %s\n", qUtf8Printable(text));
  } else {
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption), qUtf8Printable(text));
  }
}

int TStderrMessages::ShowModalDialog(const QString& dialogName) {
  std::fprintf(stderr, "(dialog %s answered OK)\n", qUtf8Printable(dialogName));
  return mrOk;
}

void TSaveFailureNotice::Failed(const QString& text) {
  if (FTold) {
    return;
  }
  // Set before the box is up: saves that fail while it waits are not told again.
  FTold = true;
  UserMessages().ShowError(text, QStringLiteral("Verbalune MP3"));
}
