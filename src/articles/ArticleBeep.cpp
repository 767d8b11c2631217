#include "ArticleBeep.h"

#include <QApplication>

namespace {
std::function<void()>& BeepHandler() {
  static std::function<void()> handler;
  return handler;
}
}  // namespace

void ArticleBeep() {
  if (BeepHandler()) {
    BeepHandler()();
  } else {
    QApplication::beep();
  }
}

void SetArticleBeepHandler(std::function<void()> handler) {
  BeepHandler() = std::move(handler);
}
