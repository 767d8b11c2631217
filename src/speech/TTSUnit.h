#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "ArticleVoices.h"
#include "SpeechTypes.h"

class QTimer;
class TEngineEntry;
class TEngineList;
class TPreferences;
class TSpeechSystem;
class TTTS;
class TTTSFilter;
class TPronunciationList;

// One usable engine mode. Pitch and speed are in the engine's own units; the
// limits are -1 until the mode has been probed.
class TVoiceEntry final {
 public:
  QString Name;         // how articles and the default-voice preference name it
  QString SettingsKey;  // suffix of its FAV_, SPD_ and PIT_ settings
  bool Favorite = false;
  TGUID ModeID;
  TEngineEntry* Engine = nullptr;  // owned by the catalogue
  qint32 MinPitch = -1;
  qint32 MaxPitch = -1;
  qint32 DefaultPitch = -1;
  qint32 Pitch = 0;  // 0 or less: the engine's default
  qint32 MinSpeed = -1;
  qint32 MaxSpeed = -1;
  qint32 DefaultSpeed = -1;
  qint32 Speed = 0;  // 0 or less: the engine's default
};

using TVoiceList = std::vector<std::unique_ptr<TVoiceEntry>>;
using TNotifyEvent = std::function<void(QObject* sender)>;

// The speech controller: knows the voices, speaks a text with one of them or
// writes it into a wave file, and tells its client when speech has ended. It
// never shows a window; every message goes through the message seam.
class TTTSForm final : public QObject, public TArticleVoiceSource {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TTTSForm)

 public:
  // preferences: the global ones when null. system: the default speech
  // system when null.
  explicit TTTSForm(QObject* owner = nullptr, TPreferences* preferences = nullptr,
                    std::shared_ptr<TSpeechSystem> system = nullptr);
  ~TTTSForm() override;

  // Builds the voice list from every installed engine mode.
  void Initialize();
  void LoadVoiceSettings();
  void SaveVoiceSettings();

  TVoiceEntry* FindVoice(const QString& name) const;
  TVoiceEntry* FindEnglishVoice() const;

  bool Play(const QString& text, const QString& voiceName);
  bool PlayToFileInit(const QString& voiceName, const QString& fileName);
  bool PlayToFile(const QString& voiceName, const QString& text);

  // Change the speech in progress when it is the voice's (by its mode name).
  void ApplyPitch(const TVoiceEntry& voice);
  void ApplySpeed(const TVoiceEntry& voice);
  void LoadVoiceLimits(TVoiceEntry& voice);
  bool CheckAudioDevice(int deviceID);
  // Opens the editor of the user's pronunciation list (not while speaking).
  void ShowPronunciationEditor(void* parentWindow, const QString& title);
  // Reads the user's pronunciation list from its file again.
  void LoadPronunciations();
  void Pause();
  void Resume();
  void SetEngineVoicesEnabled(const QString& vendor, bool enabled);

  // 0 the device opened, 1 it is in use, -1 any other failure.
  int ProbeWaveOut(int deviceID) const;

  QList<TArticleVoice> ArticleVoices() const override;

  TTTS* TTS1 = nullptr;
  QTimer* Timer1 = nullptr;
  TNotifyEvent OnSpeechDone;
  TVoiceList Voices;
  std::unique_ptr<TEngineList> Engines;
  std::unique_ptr<TTTSFilter> Filter;
  // Applied to every text before the filter; the editor changes it in place.
  std::unique_ptr<TPronunciationList> Pronunciations;
  quint8 CurrentDestination = 0;

 private:
  void FormCreate();
  void TTS1AudioStop();
  void Timer1Timer();
  // False after telling the user (busy, or the error dialog was cancelled).
  bool SoundCardUsable();
  QString FilterFor(const TVoiceEntry& voice, const QString& text);

  std::unique_ptr<TPreferences> FOwnPreferences;
  TPreferences* FPreferences;
  std::shared_ptr<TSpeechSystem> FSystem;
};

// The one controller, created at start-up; null before that.
extern TTTSForm* TTSForm;
