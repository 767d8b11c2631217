#include "ClipboardWatcher.h"

#include "BaseUtils.h"
#include "PreferenceUnit.h"

TClipboardWatcher::TClipboardWatcher(TClipboardViewerChain& chain, TClipboardHost& host,
                                     TPreferences& preferences, bool& armed)
    : FChain(chain), FHost(host), FPreferences(preferences), FArmed(armed) {}

TClipboardWatcher::~TClipboardWatcher() {
  LeaveChain();
}

void TClipboardWatcher::JoinChain() {
  if (Joined()) {
    return;
  }
  NextClipboardViewer = FChain.SetClipboardViewer(this);
}

void TClipboardWatcher::LeaveChain() {
  if (!Joined()) {
    return;
  }
  FChain.ChangeClipboardChain(this, NextClipboardViewer);
  NextClipboardViewer = nullptr;
}

bool TClipboardWatcher::Joined() const {
  return FChain.Contains(this);
}

void TClipboardWatcher::WMDrawClipboard() {
  UtilsClass::Trace(QStringLiteral("Received WM_DRAWCLIPBOARD"));
  const quint64 change = ++FChanges;
  const bool own = FChain.ChangeIsOwn();
  // The rest of the chain hears of every change, whatever this viewer does.
  FChain.SendDrawClipboard(NextClipboardViewer);
  if (!FHost.Initialized() || !FPreferences.CB_Monitor) {
    return;
  }
  // The notification that comes with joining the chain is not a new copy.
  if (!FArmed) {
    FArmed = true;
    return;
  }
  // Text copied inside the program (an article's own Copy, the clearing
  // after a capture) is not news to it.
  if (own) {
    UtilsClass::Trace(QStringLiteral("Clipboard changed by Verbalune itself"));
    return;
  }
  if (!FHost.ClipboardHasText()) {
    return;
  }
  if (FHost.PromptVisible()) {
    FHost.Beep();
    return;
  }
  if (FHost.SingleArticleBusy()) {
    if (FPreferences.SI_ShowBusyDialog) {
      FHost.ShowBusyDialog();
    }
    return;
  }
  ClipboardMemo.clear();
  FHost.ProcessMessages();
  if (change != FChanges) {
    // A newer change was handled in full meanwhile; capturing the clipboard
    // again here would make a second article of the same text.
    return;
  }
  ClipboardMemo = FHost.ClipboardText();
  if (!FCleared.isNull() && ClipboardMemo == FCleared &&
      FHost.NowMs() - FClearedAt < kRestoredWithinMs) {
    // Taking it again would clear it again, and a clipboard manager would
    // restore it again: an article every time round.
    UtilsClass::Trace(QStringLiteral("Text cleared after its copy came back; not taken again"));
    ClipboardMemo.clear();
    return;
  }
  UtilsClass::Trace(QStringLiteral("Cleared and pasted from clipboard"));
  if (ClipboardMemo.size() <= FPreferences.CB_ThreshHold) {
    return;
  }
  if (FPreferences.CB_Prompt) {
    FHost.ShowPrompt();
    return;
  }
  CopyClipboardMemo(
      ActionWithoutPrompt(FPreferences.CB_DfltPromptAction, FPreferences.CB_LastPromptAction));
}

void TClipboardWatcher::WMChangeCBChain(TClipboardViewer* removed, TClipboardViewer* next) {
  UtilsClass::Trace(QStringLiteral("Change clipboard chain"));
  if (removed == NextClipboardViewer) {
    NextClipboardViewer = next;
  } else if (NextClipboardViewer != nullptr) {
    FChain.SendChangeCBChain(NextClipboardViewer, removed, next);
  }
}

void TClipboardWatcher::CopyClipboardMemo(quint8 action) {
  UtilsClass::Trace(QStringLiteral("In CopyClipboardMemo, Action= ") + QString::number(action));
  // A copy: adding the article lets events run, and a change then may refill ClipboardMemo.
  const QString copied = ClipboardMemo;
  if (action == paAppend && FHost.HasCurrentArticle()) {
    FHost.SetCurrentArticleText(AppendClipboardText(FHost.CurrentArticleText(), copied));
  } else if (action == paNew || action == paAppend) {
    if (!FHost.AddArticle(copied)) {
      return;
    }
  } else {
    return;
  }
  if (FPreferences.AutoSpeak()) {
    FHost.SpeakCurrentArticle();
  }
  if (FPreferences.CB_ClearOnCopy) {
    FCleared = copied;
    FClearedAt = FHost.NowMs();
    FHost.ClearClipboard();
  }
}
