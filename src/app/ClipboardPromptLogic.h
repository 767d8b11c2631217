#pragma once

#include <QString>

// The clipboard prompt's actions, as CB_DfltPromptAction, CB_LastPromptAction
// and CopyClipboardMemo number them.
enum TPromptAction : quint8 { paNew = 0, paAppend = 1, paCancel = 2, paRememberLast = 3 };

// The prompt's buttons.
enum class TPromptButton { New, Append, Cancel };

// The button Enter presses and the countdown chooses. current is the default
// button so far; an action value nobody knows keeps it, unless it is the
// disabled Append button (a countdown must never answer with that).
TPromptButton PromptDefaultButton(quint8 defaultAction, quint8 lastAction, bool appendEnabled,
                                  TPromptButton current);

// Whether the prompt offers Append: there is a current article, and the list
// is not just one article with nothing but blanks in it.
bool PromptAppendAvailable(bool hasCurrentEntry, int articleCount, bool onlyArticleBlank);

// The action taken when no prompt is shown: "Remember Last" becomes the last
// answer, and Cancel becomes New (without a prompt, watching always copies).
quint8 ActionWithoutPrompt(quint8 defaultAction, quint8 lastAction);

// An article's text with copied text appended: one blank in between, unless
// the article is empty or ends a line (or in NUL).
QString AppendClipboardText(const QString& articleText, const QString& copied);
