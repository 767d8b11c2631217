#pragma once

#include <QString>

#include "ClipboardPromptLogic.h"
#include "ClipboardViewerChain.h"

class TPreferences;

// What clipboard capture needs of the main window, so that the decisions can
// be driven by a test without any window.
class TClipboardHost {
 public:
  virtual ~TClipboardHost() = default;

  // Start-up has finished (the main window's Initialized).
  virtual bool Initialized() const = 0;
  virtual bool ClipboardHasText() const = 0;
  virtual bool PromptVisible() const = 0;
  // Single-Article mode and its article is being read.
  virtual bool SingleArticleBusy() const = 0;
  virtual void Beep() = 0;
  virtual void ShowBusyDialog() = 0;
  // Lets pending events run (between clearing and pasting ClipboardMemo).
  virtual void ProcessMessages() = 0;
  // The clipboard's text, as pasted into ClipboardMemo.
  virtual QString ClipboardText() const = 0;
  // Shows the prompt (not modal); it answers through CopyClipboardMemo.
  virtual void ShowPrompt() = 0;

  // The list's current article, for appending.
  virtual bool HasCurrentArticle() const = 0;
  virtual QString CurrentArticleText() const = 0;
  virtual void SetCurrentArticleText(const QString& text) = 0;
  // AddMemo with the chosen voice, wired like every new article; it becomes
  // the current one. False when the list refused it (already reported).
  virtual bool AddArticle(const QString& text) = 0;
  // Reads the current article aloud from its beginning.
  virtual void SpeakCurrentArticle() = 0;
  virtual void ClearClipboard() = 0;
  // A monotonic clock in milliseconds.
  virtual qint64 NowMs() const = 0;
};

// The main window's part in the clipboard viewer chain: what happens to each
// change of the clipboard, and how captured text becomes an article.
class TClipboardWatcher final : public TClipboardViewer {
 public:
  // armed: the main window's ClipboardArmed; host and preferences must
  // outlive the watcher.
  TClipboardWatcher(TClipboardViewerChain& chain, TClipboardHost& host, TPreferences& preferences,
                    bool& armed);
  ~TClipboardWatcher() override;
  TClipboardWatcher(const TClipboardWatcher&) = delete;
  TClipboardWatcher& operator=(const TClipboardWatcher&) = delete;

  // SetClipboardViewer / ChangeClipboardChain with this viewer.
  void JoinChain();
  void LeaveChain();
  bool Joined() const;

  void WMDrawClipboard() override;
  void WMChangeCBChain(TClipboardViewer* removed, TClipboardViewer* next) override;

  // Puts the captured text (ClipboardMemo) into the articles.
  void CopyClipboardMemo(quint8 action);

  // Text equal to what was taken and then cleared that comes back within
  // this time is a clipboard manager restoring it, not a new copy.
  static constexpr qint64 kRestoredWithinMs = 5000;

  // The text captured by the last change (ClipboardMemo's text).
  QString ClipboardMemo;
  TClipboardViewer* NextClipboardViewer = nullptr;

 private:
  TClipboardViewerChain& FChain;
  TClipboardHost& FHost;
  TPreferences& FPreferences;
  bool& FArmed;
  // Counts changes, so one that was overtaken by a newer change while pending
  // events ran leaves the newer one to capture the clipboard.
  quint64 FChanges = 0;
  // What "Clear Clipboard after Copy" last cleared, and when.
  QString FCleared;
  qint64 FClearedAt = 0;
};
