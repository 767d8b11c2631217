#include "Forms.h"

#include "BaseUtils.h"
#include "Exceptions.h"
#include "GuiMessages.h"
#include "OptionsCommands.h"
#include "PreferenceUnit.h"
#include "PronEditorInfo.h"
#include "ReadCommands.h"
#include "SoundCardError.h"
#include "VerbaluneAboutUnit.h"
#include "VoiceEditUnit.h"

TOutDirDialog* OutDirDialog = nullptr;
TEngineWarningForm* EngineWarningForm = nullptr;
TSIBusyForm* SIBusyForm = nullptr;

namespace {

int ShowEngineWarning() {
  if (EngineWarningForm != nullptr) {
    return EngineWarningForm->exec();
  }
  TEngineWarningForm warning(Form1);
  return warning.exec();
}

}  // namespace

bool CreateForms(const QStringList& arguments) {
  Form1 = new TForm1(arguments);
  try {
    TTSForm = new TTTSForm(nullptr, Preferences);
  } catch (const std::exception& error) {
    UtilsClass::Trace(QStringLiteral("Creating the speech controller failed: ") +
                      QString::fromUtf8(error.what()));
    ShowEngineWarning();
    return false;
  }
  AttachReadCommands(*Form1, *TTSForm, *Preferences);
  VoiceEditForm = new TVoiceEditForm(Form1, TTSForm);
  AttachOptions(*Form1, *TTSForm, *Preferences);
  // Dialogs belong to the main window: centred over it, freed with it.
  OutDirDialog = new TOutDirDialog(Form1);
  EngineWarningForm = new TEngineWarningForm(Form1);
  SIBusyForm = new TSIBusyForm(Form1);
  return true;
}

void FreeForms() {
  OutDirDialog = nullptr;
  EngineWarningForm = nullptr;
  SIBusyForm = nullptr;
  // Saves its placement while the preferences still exist.
  delete VoiceEditForm;
  // The main window saves placement and preferences as it goes; the speech
  // controller outlives it so a reading can be stopped during that.
  delete Form1;
  Form1 = nullptr;
  delete TTSForm;
  TTSForm = nullptr;
}

void RegisterFormDialogs(TGuiMessages& messages) {
  messages.RegisterDialog(QStringLiteral("EngineWarning"), ShowEngineWarning);
  messages.RegisterDialog(QStringLiteral("SoundCardError"),
                          [] { return ShowSoundCardError(Form1); });
  messages.RegisterDialog(QStringLiteral("SIBusy"),
                          [] { return SIBusyForm != nullptr ? SIBusyForm->exec() : int(mrOk); });
  messages.RegisterDialog(QStringLiteral("OutDir"), [] {
    return OutDirDialog != nullptr && OutDirDialog->exec() == QDialog::Accepted ? int(mrOk)
                                                                                : int(mrCancel);
  });
  messages.RegisterDialog(QStringLiteral("PronEditorInfo"), [] {
    TPronEditorInfoForm note(Form1);
    return note.exec() == QDialog::Accepted ? int(mrOk) : int(mrCancel);
  });
  messages.RegisterDialog(QStringLiteral("PronunciationEditor"), [] {
    TOptionsCommands* options = Form1 != nullptr ? OptionsCommandsOf(*Form1) : nullptr;
    return options != nullptr ? options->RunPronunciationEditor() : int(mrCancel);
  });
  messages.RegisterDialog(QStringLiteral("About"), [] {
    TVerbaluneAboutForm about(Preferences != nullptr ? Preferences->Version() : QString(), Form1);
    about.exec();
    return int(mrOk);
  });
}
