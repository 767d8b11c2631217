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
  // 0: the engine's default, as stored settings have always meant. An engine
  // whose range starts at 0 (espeak-ng) can also be set to 0 itself, which
  // is kept as kPitchZero so the stored 0 keeps its meaning.
  qint32 Pitch = 0;
  qint32 MinSpeed = -1;
  qint32 MaxSpeed = -1;
  qint32 DefaultSpeed = -1;
  qint32 Speed = 0;  // 0 or less: the engine's default
};

// Pitch and settings value of a voice set to the engine's own pitch 0.
constexpr qint32 kPitchZero = -1;

// The pitch to give the engine.
inline qint32 EnginePitch(const TVoiceEntry& voice) {
  return voice.Pitch == kPitchZero ? 0 : voice.Pitch;
}
// Sets a pitch in the engine's units, as a slider shows it.
inline void SetEnginePitch(TVoiceEntry& voice, qint32 pitch) {
  voice.Pitch = pitch == 0 && voice.MinPitch == 0 ? kPitchZero : pitch;
}

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
  // An end of speech that came while paused, reported after Resume.
  bool SpeechEndPending() const { return FSpeechEndPending; }

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
  // A new reading owns the end-of-speech path: nothing of the last one may
  // reach it.
  void ForgetSpeechEnd();
  bool EnginePaused() const;

  std::unique_ptr<TPreferences> FOwnPreferences;
  TPreferences* FPreferences;
  std::shared_ptr<TSpeechSystem> FSystem;
  bool FSpeechEndPending = false;
};

// The one controller, created at start-up; null before that.
extern TTTSForm* TTSForm;
