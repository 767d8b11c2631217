#include "PreferenceUnit.h"

#include <QDir>
#include <QFileInfo>

#include "AppPaths.h"

TPreferences* Preferences = nullptr;

namespace {

constexpr TRegLocation InSubKey = 2;

QString MakeDefaultOutDir() {
  const QString dir = AppPaths::DataDir() + QStringLiteral("/Files");
  if (QFileInfo(dir).isDir()) {
    return dir;
  }
  // One level only: the data folder itself is the program's to create.
  return QDir().mkdir(dir) ? dir : QStringLiteral(" ");
}

}  // namespace

TPreferences::TPreferences() {
  SubKey = QStringLiteral("Verbalune");
  DefaultOutDir = MakeDefaultOutDir();

  struct TEntry {
    const char16_t* Name;
    quint8 Type;
    QVariant Default;
  };
  const TEntry table[] = {
      {u"ShowOptions", regBool, true},
      {u"ShowToolbar", regBool, true},
      {u"SI_AutoSpeak", regBool, false},
      {u"SI_Voice", regInt, 0},
      {u"SI_ShowBusyDialog", regBool, true},
      {u"MI_Voice", regInt, 0},
      {u"ML_AutoDelete", regBool, false},
      {u"ML_VisibleEntries", regInt, 3},
      {u"ML_ListMode", regInt, 0},
      {u"TTS_DefaultVoiceName", regString, QString()},
      {u"TTS_HighlightPosition", regBool, true},
      {u"TTS_FilterSymbols", regBool, true},
      {u"TTS_AudioDeviceID", regInt, -1},
      {u"TTS_SoundCardCheckErr", regBool, true},
      {u"CB_Monitor", regBool, true},
      {u"CB_Prompt", regBool, true},
      {u"CB_PromptDelay", regInt, 3},
      {u"CB_ThreshHold", regInt, 10},
      {u"CB_PromptTop", regInt, -1},
      {u"CB_PromptLeft", regInt, -1},
      {u"CB_DfltPromptAction", regInt, 2},
      {u"CB_LastPromptAction", regInt, 2},
      {u"CB_ClearOnCopy", regBool, false},
      {u"OUT_FileDest", regInt, 0},
      {u"OUT_FileFormat", regInt, 0},
      {u"OUT_Directory", regString, DefaultOutDir},
      {u"OpenDlgInitialDir", regString, QDir::homePath()},
      {u"RunMinimized", regBool, false},
      {u"ToolbarOnMinOption", regInt, 1},
      {u"ToolbarOnTop", regBool, false},
      {u"FirstTimeUser", regBool, true},
      {u"BitRate", regInt, 32},
      {u"ShowPronEditWarning", regBool, true},
      {u"SI_DefaultTitles", regBool, true},
  };
  for (const TEntry& entry : table) {
    AddItem(QString::fromUtf16(entry.Name), InSubKey, QString(), entry.Default, entry.Type);
  }
}

TPreferences::~TPreferences() = default;

void TPreferences::ReadFields() {
  auto value = [this](const char16_t* name) {
    QVariant v;
    GetValue(QString::fromUtf16(name), v);
    return v;
  };
  // An 8-bit member keeps the low eight bits, as it always has.
  auto byte = [&](const char16_t* name) { return static_cast<quint8>(value(name).toInt()); };
  ShowOptions = value(u"ShowOptions").toBool();
  ShowToolbar = value(u"ShowToolbar").toBool();
  SI_AutoSpeak = value(u"SI_AutoSpeak").toBool();
  ML_AutoDelete = value(u"ML_AutoDelete").toBool();
  ML_VisibleEntries = value(u"ML_VisibleEntries").toInt();
  ML_ListMode = byte(u"ML_ListMode");
  TTS_DefaultVoiceName = value(u"TTS_DefaultVoiceName").toString();
  TTS_HighlightPosition = value(u"TTS_HighlightPosition").toBool();
  TTS_FilterSymbols = value(u"TTS_FilterSymbols").toBool();
  TTS_AudioDeviceID = value(u"TTS_AudioDeviceID").toInt();
  TTS_SoundCardCheckErr = value(u"TTS_SoundCardCheckErr").toBool();
  CB_Monitor = value(u"CB_Monitor").toBool();
  CB_Prompt = value(u"CB_Prompt").toBool();
  CB_PromptDelay = value(u"CB_PromptDelay").toInt();
  CB_PromptTop = value(u"CB_PromptTop").toInt();
  CB_PromptLeft = value(u"CB_PromptLeft").toInt();
  CB_ThreshHold = value(u"CB_ThreshHold").toInt();
  CB_DfltPromptAction = byte(u"CB_DfltPromptAction");
  CB_LastPromptAction = byte(u"CB_LastPromptAction");
  CB_ClearOnCopy = value(u"CB_ClearOnCopy").toBool();
  OUT_FileDest = byte(u"OUT_FileDest");
  OUT_FileFormat = byte(u"OUT_FileFormat");
  OUT_Directory = value(u"OUT_Directory").toString();
  SI_Voice = byte(u"SI_Voice");
  MI_Voice = byte(u"MI_Voice");
  SI_ShowBusyDialog = value(u"SI_ShowBusyDialog").toBool();
  OpenDlgInitialDir = value(u"OpenDlgInitialDir").toString();
  ToolbarOnMinOption = byte(u"ToolbarOnMinOption");
  ToolbarOnTop = value(u"ToolbarOnTop").toBool();
  FirstTimeUser = value(u"FirstTimeUser").toBool();
  BitRate = value(u"BitRate").toInt();
  ShowPronEditWarning = value(u"ShowPronEditWarning").toBool();
  SI_DefaultTitles = value(u"SI_DefaultTitles").toBool();
  if (OUT_Directory.trimmed().isEmpty()) {
    OUT_Directory = DefaultOutDir;
  }
}

void TPreferences::WriteFields() {
  auto set = [this](const char16_t* name, const QVariant& v) {
    SetValue(QString::fromUtf16(name), v);
  };
  set(u"ShowOptions", ShowOptions);
  set(u"ShowToolbar", ShowToolbar);
  set(u"SI_AutoSpeak", SI_AutoSpeak);
  set(u"ML_AutoDelete", ML_AutoDelete);
  set(u"ML_VisibleEntries", ML_VisibleEntries);
  set(u"ML_ListMode", int(ML_ListMode));
  set(u"TTS_DefaultVoiceName", TTS_DefaultVoiceName);
  set(u"TTS_HighlightPosition", TTS_HighlightPosition);
  set(u"TTS_FilterSymbols", TTS_FilterSymbols);
  set(u"TTS_AudioDeviceID", TTS_AudioDeviceID);
  set(u"TTS_SoundCardCheckErr", TTS_SoundCardCheckErr);
  set(u"CB_Monitor", CB_Monitor);
  set(u"CB_Prompt", CB_Prompt);
  set(u"CB_PromptDelay", CB_PromptDelay);
  set(u"CB_PromptTop", CB_PromptTop);
  set(u"CB_PromptLeft", CB_PromptLeft);
  set(u"CB_ThreshHold", CB_ThreshHold);
  set(u"CB_DfltPromptAction", int(CB_DfltPromptAction));
  set(u"CB_LastPromptAction", int(CB_LastPromptAction));
  set(u"CB_ClearOnCopy", CB_ClearOnCopy);
  set(u"OUT_FileDest", int(OUT_FileDest));
  set(u"OUT_FileFormat", int(OUT_FileFormat));
  set(u"OUT_Directory", OUT_Directory);
  set(u"SI_Voice", int(SI_Voice));
  set(u"MI_Voice", int(MI_Voice));
  set(u"SI_ShowBusyDialog", SI_ShowBusyDialog);
  set(u"OpenDlgInitialDir", OpenDlgInitialDir);
  set(u"ToolbarOnMinOption", int(ToolbarOnMinOption));
  set(u"ToolbarOnTop", ToolbarOnTop);
  set(u"FirstTimeUser", FirstTimeUser);
  set(u"BitRate", BitRate);
  set(u"ShowPronEditWarning", ShowPronEditWarning);
  set(u"SI_DefaultTitles", SI_DefaultTitles);
}

bool TPreferences::AutoSpeak() const {
  return ML_ListMode == 0 ? SI_AutoSpeak : false;
}

bool TPreferences::AutoDelete() const {
  return ML_ListMode == 0 ? false : ML_AutoDelete;
}

int TPreferences::VisibleEntries() const {
  return ML_ListMode == 0 ? 1 : ML_VisibleEntries;
}

quint8 TPreferences::FileDest() const {
  return ML_ListMode == 0 ? 0 : OUT_FileDest;
}

quint8 TPreferences::Voice() const {
  return ML_ListMode == 0 ? SI_Voice : MI_Voice;
}

void TPreferences::SetVoice(quint8 value) {
  if (ML_ListMode == 0) {
    SI_Voice = value;
  } else {
    MI_Voice = value;
  }
}

bool TPreferences::DefaultTitles() const {
  return ML_ListMode == 0 ? SI_DefaultTitles : true;
}
