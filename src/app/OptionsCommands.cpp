#include "OptionsCommands.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QPushButton>

#include "BaseUtils.h"
#include "Exceptions.h"
#include "MainWindow.h"
#include "MemoEntryUnit.h"
#include "MemoListUnit.h"
#include "OptionsPages.h"
#include "PreferenceUnit.h"
#include "PronunciationEditor.h"
#include "PronunciationList.h"
#include "ReadCommands.h"
#include "TAudioHelpUnit.h"
#include "TTS.h"
#include "TTSEngineUnit.h"
#include "TTSUnit.h"
#include "UserMessages.h"
#include "VoiceEditUnit.h"
#include "VoicesTree.h"

TOptionsCommands* AttachOptions(TForm1& form, TTTSForm& speech, TPreferences& preferences) {
  return new TOptionsCommands(form, speech, preferences);
}

TOptionsCommands* OptionsCommandsOf(const TForm1& form) {
  return form.findChild<TOptionsCommands*>(QString(), Qt::FindDirectChildrenOnly);
}

void FillDefaultVoiceList(const TForm1& form) {
  if (TOptionsPages* pages = OptionsPagesOf(form)) {
    pages->FillDefaultVoiceList();
  }
}

TOptionsCommands::TOptionsCommands(TForm1& form, TTTSForm& speech, TPreferences& preferences)
    : QObject(&form), FForm(form), FSpeech(speech), FPreferences(preferences) {
  setObjectName(QStringLiteral("OptionsCommands"));
  SpeakText = [](const QString& text, const QString& voiceName) {
    if (ReadCommands != nullptr) {
      ReadCommands->SpeakText(text, voiceName);
    }
  };
  RunDeviceDialog = [this](TAuDevDlg& request) { return ::RunDeviceDialog(request, &FForm); };
  RunDialog = [](QDialog& dialog) { return dialog.exec(); };
  VoiceEditDialog = [this]() -> TVoiceEditForm* {
    if (VoiceEditForm == nullptr) {
      VoiceEditForm = new TVoiceEditForm(&FForm, &FSpeech);
    }
    return VoiceEditForm;
  };

  FPages = new TOptionsPages(form, preferences);
  FTree = new TVoicesTree(form, speech, preferences);
  FTree->SpeakText = [this](const QString& text, const QString& voiceName) {
    SpeakText(text, voiceName);
  };
  FTree->EditVoice = [this](TVoiceEntry& voice) { EditVoice(voice); };
  FPages->FillDefaultVoiceList();

  TAudioHelp::AddTopicsToMenu(FForm.mnuAudioHelp, &FForm,
                              [this](QAction* item) { AudioHelpItemClick(item); });
  connect(FForm.SelAudioDevMItm, &QAction::triggered, this,
          &TOptionsCommands::SelAudioDevMItmClick);
  connect(FForm.PronunciationMItm, &QAction::triggered, this,
          &TOptionsCommands::PronunciationMItmClick);
  connect(FForm.EditVoiceforSelectedArticle1, &QAction::triggered, this,
          &TOptionsCommands::EditVoiceforSelectedArticle1Click);
  connect(&FForm, &TForm1::RunStateChanged, this, &TOptionsCommands::RunStateChanged);
}

TOptionsCommands::~TOptionsCommands() = default;

void TOptionsCommands::RunStateChanged() {
  const bool idle = FForm.RunState == rsIdle;
  if (VoiceEditForm != nullptr) {
    VoiceEditForm->TestBtn->setEnabled(idle);
  }
  // A help topic started during a reading would take over its end.
  for (QAction* item : FForm.mnuAudioHelp->actions()) {
    item->setEnabled(idle);
  }
}

void TOptionsCommands::SelAudioDevMItmClick() {
  TAuDevDlg request{duTTS, FPreferences.TTS_AudioDeviceID};
  if (!RunDeviceDialog(request)) {
    return;
  }
  if (!FSpeech.CheckAudioDevice(request.FAudioDeviceID)) {
    UtilsClass::Trace(QStringLiteral("Audio device ") + QString::number(request.FAudioDeviceID) +
                      QStringLiteral(" refused; keeping ") +
                      QString::number(FPreferences.TTS_AudioDeviceID));
    return;
  }
  try {
    FSpeech.TTS1->SetAudioDeviceID(request.FAudioDeviceID);
  } catch (const Exception& error) {
    UserMessages().ShowError(error.Message(), QStringLiteral("Verbalune MP3"));
    return;
  }
  FPreferences.TTS_AudioDeviceID = request.FAudioDeviceID;
}

void TOptionsCommands::PronunciationMItmClick() {
  FSpeech.ShowPronunciationEditor(&FForm, QStringLiteral("Verbalune MP3 Pronunciation"));
}

int TOptionsCommands::RunPronunciationEditor() {
  QStringList engines;
  QStringList voices;
  for (int i = 0; i < FSpeech.Engines->Count(); ++i) {
    const QString vendor = FSpeech.Engines->EngineVendor(i);
    if (!engines.contains(vendor)) {
      engines << vendor;
    }
  }
  const TVoiceEntry* preferred = FSpeech.FindVoice(FPreferences.TTS_DefaultVoiceName);
  for (const auto& voice : FSpeech.Voices) {
    if (voice->Engine != nullptr && voice->Engine->Enabled) {
      // The default voice first, so Test speaks with it unless told otherwise.
      if (voice.get() == preferred) {
        voices.prepend(voice->Name);
      } else {
        voices << voice->Name;
      }
    }
  }
  TPronunciationEditorForm editor(&FForm, *FSpeech.Pronunciations,
                                  TPronunciationList::DefaultPath(), engines, voices);
  editor.SpeakText = [this](const QString& text, const QString& voiceName) {
    // A test never interrupts a reading.
    if (FForm.RunState == rsIdle) {
      SpeakText(text, voiceName);
    }
  };
  return RunDialog(editor) == QDialog::Accepted ? int(mrOk) : int(mrCancel);
}

void TOptionsCommands::EditVoice(TVoiceEntry& voice) {
  TVoiceEditForm* dialog = VoiceEditDialog();
  if (dialog == nullptr) {
    return;
  }
  dialog->EditVoice = &voice;
  dialog->ShowStatus = [this](const QString& message) { FForm.ShowStatus(message); };
  dialog->SpeakText = [this](const QString& text, const QString& voiceName) {
    SpeakText(text, voiceName);
  };
  dialog->TestBtn->setEnabled(FForm.RunState == rsIdle);
  const int result = dialog->exec();
  dialog->EditVoice = nullptr;
  if (result != QDialog::Accepted) {
    return;
  }
  // The dialog has put its values into the voice; a reading with it now
  // changes at once.
  try {
    FSpeech.ApplyPitch(voice);
    FSpeech.ApplySpeed(voice);
  } catch (const Exception& error) {
    UtilsClass::Trace(QStringLiteral("Applying voice values failed: ") + error.Message());
  }
  FSpeech.SaveVoiceSettings();
}

void TOptionsCommands::EditVoiceforSelectedArticle1Click() {
  const TMemoEntry* entry = FForm.Articles != nullptr ? FForm.Articles->CurrentEntry() : nullptr;
  if (entry == nullptr) {
    return;
  }
  if (TVoiceEntry* voice = FSpeech.FindVoice(entry->VoiceName())) {
    EditVoice(*voice);
  }
}

TVoiceEntry* TOptionsCommands::AudioHelpVoice() const {
  TVoiceEntry* voice = FSpeech.FindVoice(FPreferences.TTS_DefaultVoiceName);
  if (voice == nullptr || voice->Engine == nullptr ||
      LanguageCode(voice->Engine->LanguageID) != u"eng") {
    voice = FSpeech.FindEnglishVoice();
  }
  return voice;
}

void TOptionsCommands::AudioHelpItemClick(QAction* item) {
  if (item == nullptr) {
    return;
  }
  // The caption may carry doubled ampersands; the topic's name is kept aside.
  const QString topic = item->data().isValid() ? item->data().toString() : item->text();
  const QString text = TAudioHelp::GetTopicText(topic);
  const TVoiceEntry* voice = AudioHelpVoice();
  if (voice == nullptr) {
    UserMessages().ShowError(QStringLiteral("An English Voice was not found on your computer.\r"
                                            "Audio Help is currently available in English only"),
                             QStringLiteral("Verbalune MP3"));
    return;
  }
  if (text.trimmed().isEmpty()) {
    UtilsClass::Trace(QStringLiteral("Audio help topic without text: ") + topic);
    return;
  }
  FForm.ShowStatus(QStringLiteral("Reading Audio Help"));
  SpeakText(text, voice->Name);
}
