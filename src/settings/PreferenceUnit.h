#pragma once

#include <QString>

#include "TBaseRegistryClassUnit.h"

// The program's one settings object. Every fixed preference is registered under
// HKEY_CURRENT_USER\Software\KelmorSoft\Verbalune and mirrored in a typed member
// named after its registry value; between ReadFields and WriteFields the members
// are the truth. Engines and voices register their own settings here too.
class TPreferences final : public TBaseRegistryClass {
 public:
  TPreferences();
  ~TPreferences() override;

  QString Version() const override { return QStringLiteral("1.21"); }

  // Copies every preference into its member (after LoadAll) and back (before SaveAll).
  void ReadFields();
  void WriteFields();

  // Preferences whose meaning depends on ML_ListMode (0 single, 1 multi article).
  bool AutoSpeak() const;
  void SetAutoSpeak(bool value) { SI_AutoSpeak = value; }
  bool AutoDelete() const;
  void SetAutoDelete(bool value) { ML_AutoDelete = value; }
  int VisibleEntries() const;
  quint8 FileDest() const;
  void SetFileDest(quint8 value) { OUT_FileDest = value; }
  quint8 Voice() const;
  void SetVoice(quint8 value);
  bool DefaultTitles() const;
  void SetDefaultTitles(bool value) { SI_DefaultTitles = value; }

  // Data folder + "/Files", created when missing; a single blank when it cannot be.
  QString DefaultOutDir;

  bool ShowOptions = false;
  bool ShowToolbar = false;
  bool SI_AutoSpeak = false;
  quint8 SI_Voice = 0;
  bool SI_ShowBusyDialog = false;
  quint8 MI_Voice = 0;
  bool ML_AutoDelete = false;
  qint32 ML_VisibleEntries = 0;
  quint8 ML_ListMode = 0;
  QString TTS_DefaultVoiceName;
  bool TTS_HighlightPosition = false;
  bool TTS_FilterSymbols = false;
  qint32 TTS_AudioDeviceID = 0;
  bool TTS_SoundCardCheckErr = false;
  bool CB_Monitor = false;
  bool CB_Prompt = false;
  qint32 CB_PromptDelay = 0;
  qint32 CB_ThreshHold = 0;
  qint32 CB_PromptTop = 0;
  qint32 CB_PromptLeft = 0;
  quint8 CB_DfltPromptAction = 0;
  quint8 CB_LastPromptAction = 0;
  bool CB_ClearOnCopy = false;
  quint8 OUT_FileDest = 0;
  quint8 OUT_FileFormat = 0;
  QString OUT_Directory;
  QString OpenDlgInitialDir;
  quint8 ToolbarOnMinOption = 0;
  bool ToolbarOnTop = false;
  bool FirstTimeUser = false;
  qint32 BitRate = 0;
  bool ShowPronEditWarning = false;
  bool SI_DefaultTitles = false;
};

// The one instance, created and owned by the main window; null before that.
extern TPreferences* Preferences;
