#include "ClipboardPromptLogic.h"

TPromptButton PromptDefaultButton(quint8 defaultAction, quint8 lastAction, bool appendEnabled,
                                  TPromptButton current) {
  switch (defaultAction) {
    case paNew:
      return TPromptButton::New;
    case paAppend:
      return appendEnabled ? TPromptButton::Append : TPromptButton::Cancel;
    case paCancel:
      return TPromptButton::Cancel;
    case paRememberLast:
      if (!appendEnabled) {
        return TPromptButton::Cancel;
      }
      if (lastAction == paNew) {
        return TPromptButton::New;
      }
      return lastAction == paAppend ? TPromptButton::Append : TPromptButton::Cancel;
    default:
      if (!appendEnabled && current == TPromptButton::Append) {
        return TPromptButton::Cancel;
      }
      return current;
  }
}

bool PromptAppendAvailable(bool hasCurrentEntry, int articleCount, bool onlyArticleBlank) {
  return hasCurrentEntry && !(articleCount == 1 && onlyArticleBlank);
}

quint8 ActionWithoutPrompt(quint8 defaultAction, quint8 lastAction) {
  quint8 action = defaultAction == paRememberLast ? lastAction : defaultAction;
  if (action == paCancel) {
    action = paNew;
  }
  return action;
}

QString AppendClipboardText(const QString& articleText, const QString& copied) {
  QString text = articleText;
  if (!text.isEmpty()) {
    const QChar last = text.back();
    if (last != QChar(u'\0') && last != u'\n' && last != u'\r') {
      text += u' ';
    }
  }
  return text + copied;
}
