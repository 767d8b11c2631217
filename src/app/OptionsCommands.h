#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "KelmorAuDevFrm.h"

class QAction;
class QDialog;
class TForm1;
class TOptionsPages;
class TPreferences;
class TTTSForm;
class TVoiceEditForm;
class TVoiceEntry;
class TVoicesTree;

// The commands beside the option pages: the Options menu's audio device and
// pronunciation editor, voice editing (from the tree and from an article),
// and the Audio Help menu. Builds the option pages and the voices tree.
class TOptionsCommands final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TOptionsCommands)

 public:
  TOptionsCommands(TForm1& form, TTTSForm& speech, TPreferences& preferences);
  ~TOptionsCommands() override;

  TOptionsPages& Pages() const { return *FPages; }
  TVoicesTree& Tree() const { return *FTree; }

  void SelAudioDevMItmClick();
  void PronunciationMItmClick();
  void EditVoiceforSelectedArticle1Click();
  void AudioHelpItemClick(QAction* item);
  // Shows the editor of the user's pronunciation list; its modal result.
  int RunPronunciationEditor();
  // Shows the voice edit dialog for a voice and applies what it returns.
  void EditVoice(TVoiceEntry& voice);
  // The voice spoken help uses: the default voice when it is English, else
  // any English voice; null when there is none.
  TVoiceEntry* AudioHelpVoice() const;

  // A one-off reading (voice test, spoken help); the reading commands'
  // SpeakText by default.
  std::function<void(const QString& text, const QString& voiceName)> SpeakText;
  // Runs a dialog modally; exec() by default.
  std::function<int(QDialog& dialog)> RunDialog;
  // Asks for a device; the audio device dialog by default.
  std::function<bool(TAuDevDlg& request)> RunDeviceDialog;
  // The voice edit dialog; the program's one by default.
  std::function<TVoiceEditForm*()> VoiceEditDialog;

 private:
  void RunStateChanged();

  TForm1& FForm;
  TTTSForm& FSpeech;
  TPreferences& FPreferences;
  TOptionsPages* FPages;
  TVoicesTree* FTree;
};

// Builds the option pages, the voices tree and their commands into the main
// window once it and the speech controller exist.
TOptionsCommands* AttachOptions(TForm1& form, TTTSForm& speech, TPreferences& preferences);
// The options of the main window, when they have been attached.
TOptionsCommands* OptionsCommandsOf(const TForm1& form);
// Refills the Misc tab's default voice list after the favourites changed.
void FillDefaultVoiceList(const TForm1& form);
