#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <functional>
#include <memory>

#include "ClipboardWatcher.h"

class TCB_PromptForm;
class TForm1;
class TMemoEntry;

// Clipboard capture for the main window: its place in the viewer chain, the
// prompt, and the articles the captured text becomes. Made by the main window
// when it is created, freed before its preferences.
class TClipboardCapture final : public QObject, public TClipboardHost {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TClipboardCapture)

 public:
  // chain: null is the application clipboard's chain.
  explicit TClipboardCapture(TForm1& form, TClipboardViewerChain* chain = nullptr);
  ~TClipboardCapture() override;

  TClipboardWatcher& Watcher() { return *FWatcher; }
  TCB_PromptForm* Prompt() const { return FPrompt.get(); }

  // The "Watch Clipboard" command of the check box and both menus.
  void MonitorCBClick();

  // Reads a captured article aloud at once (Single-Article mode with
  // "Automatically Speak New Text"). The main window's reading run sets it;
  // until then the article's own Read command is used.
  std::function<void(TMemoEntry*)> SpeakArticle;

  // TClipboardHost.
  bool Initialized() const override;
  bool ClipboardHasText() const override;
  bool PromptVisible() const override;
  bool SingleArticleBusy() const override;
  void Beep() override;
  void ShowBusyDialog() override;
  void ProcessMessages() override;
  QString ClipboardText() const override;
  void ShowPrompt() override;
  bool HasCurrentArticle() const override;
  QString CurrentArticleText() const override;
  void SetCurrentArticleText(const QString& text) override;
  bool AddArticle(const QString& text) override;
  void SpeakCurrentArticle() override;
  void ClearClipboard() override;
  qint64 NowMs() const override;

 private:
  bool PromptAppendAvailable() const;
  // Sets the check box and both menu items to the watching state.
  void ShowMonitoring(bool on);
  void SayWhenWatchingIsLimited();

  TForm1& FForm;
  QElapsedTimer FClock;
  TClipboardViewerChain& FChain;
  std::unique_ptr<TClipboardWatcher> FWatcher;
  std::unique_ptr<TCB_PromptForm> FPrompt;
};
