#pragma once

#include <QString>

// The one way the non-GUI layers reach the user. The GUI installs a sink that
// shows real message boxes and dialogs; the command line prints to stderr; tests
// install a recorder so that nothing ever blocks on a modal box.

// Modal results, numbered as the dialogs have always returned them.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

class TUserMessages {
 public:
  virtual ~TUserMessages() = default;
  // A plain modal message with an OK button and no icon.
  virtual void ShowMessage(const QString& text) = 0;
  // A modal message with the error icon and a single OK button.
  virtual void ShowError(const QString& text, const QString& caption) = 0;
  // Shows one of the program's named modal dialogs (e.g. "SoundCardError",
  // "SIBusy") and returns its modal result.
  virtual int ShowModalDialog(const QString& dialogName) = 0;
};

// The sink in use. Never null: without an installed sink, messages go to stderr
// and dialogs answer mrOk.
TUserMessages& UserMessages();
// Installs a sink (not owned); nullptr restores the stderr sink.
void SetUserMessages(TUserMessages* sink);

// Writes messages to stderr; the sink of the command line and of a bare start.
class TStderrMessages final : public TUserMessages {
 public:
  void ShowMessage(const QString& text) override;
  void ShowError(const QString& text, const QString& caption) override;
  int ShowModalDialog(const QString& dialogName) override;
};

// Tells the user that a file could not be saved once, not at every retry: the
// next failure is told again only after a save in between succeeded.
class TSaveFailureNotice final {
 public:
  void Failed(const QString& text);
  void Succeeded() { FTold = false; }

 private:
  bool FTold = false;
};
