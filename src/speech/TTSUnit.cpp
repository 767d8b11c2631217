#include "TTSUnit.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <QTimer>
#include <cerrno>

#include "BaseUtils.h"
#include "EspeakDriver.h"
#include "PcmOutput.h"
#include "PreferenceUnit.h"
#include "PronunciationList.h"
#include "SpeechSystem.h"
#include "TTS.h"
#include "TTSEngineUnit.h"
#include "TTSFilter.h"
#include "UserMessages.h"

TTTSForm* TTSForm = nullptr;

namespace {

constexpr TRegLocation InSubKey = 2;
constexpr int SpeechDoneDelayMs = 500;

// Error boxes carry the caption every error box of the program has.
void ErrorBox(const QString& text) {
  UserMessages().ShowError(text, QStringLiteral("Error"));
}

QString NoSuchVoice(const QString& voiceName) {
  return QStringLiteral("Voice ") + voiceName + QStringLiteral(" does not exist");
}

// Runs an engine step; any failure becomes an error box with its message, or
// with fallback when it carries none. True when the step went through.
template <class TStep>
bool Guarded(TStep step, const QString& fallback) {
  try {
    step();
    return true;
  } catch (const Exception& error) {
    ErrorBox(error.Message().isEmpty() ? fallback : error.Message());
  } catch (const std::exception& error) {
    const QString message = QString::fromUtf8(error.what());
    ErrorBox(message.isEmpty() ? fallback : message);
  } catch (...) {
    ErrorBox(fallback);
  }
  return false;
}

// The directory part of a path, with its trailing separator; empty when the
// path names no directory.
QString DirectoryOf(const QString& fileName) {
  const qsizetype slash = fileName.lastIndexOf(u'/');
  return slash < 0 ? QString() : fileName.left(slash + 1);
}

// The Windows language identifier of the user's locale, as the espeak-ng
// driver orders its voices by it.
qint32 LocaleLanguageId() {
  const QString locale = QLocale::system().name().toLower().replace(u'_', u'-');
  quint16 id = TEspeakDriver::LanguageIdOf(locale);
  if (id == 0) {
    id = TEspeakDriver::LanguageIdOf(locale.section(u'-', 0, 0));
  }
  if (id == 0 && locale.startsWith(u"fr")) {
    id = 1036;
  }
  return id == 0 ? 1033 : id;
}

// Swallows the audio of the component that probes a voice's limits. The
// probe speaks nothing, and a machine without a sound card (or with a busy
// one) must still be able to write wave files.
class TSilentAudioDest final : public TAudioDest {
 public:
  HRESULT Claim(const TPcmFormat&, TListener listener) override {
    FListener = std::move(listener);
    return S_OK;
  }
  void Unclaim() override { FListener = nullptr; }
  bool Write(const qint16*, long, quint64) override { return true; }
  void Mark(quint64 tag, quint64 generation) override { Notify(TEventKind::Mark, generation, tag); }
  void EndOfStream(quint64 generation) override { Notify(TEventKind::Drained, generation, 0); }
  void SetPaused(bool) override {}
  void Reset(quint64) override {}

 private:
  void Notify(TEventKind kind, quint64 generation, quint64 tag) {
    if (FListener) {
      FListener(kind, generation, tag);
    }
  }
  TListener FListener;
};

}  // namespace

TTTSForm::TTTSForm(QObject* owner, TPreferences* preferences, std::shared_ptr<TSpeechSystem> system)
    : QObject(owner),
      FPreferences(preferences != nullptr ? preferences : Preferences),
      FSystem(system ? std::move(system) : TSpeechSystem::Default()) {
  setObjectName(QStringLiteral("TTSForm"));
  if (FPreferences == nullptr) {
    // Without the program's settings object (the command line) the voices
    // still need somewhere to register their settings.
    FOwnPreferences = std::make_unique<TPreferences>();
    FPreferences = FOwnPreferences.get();
  }
  TTS1 = new TTTS(this, FSystem);
  TTS1->setObjectName(QStringLiteral("TTS1"));
  Timer1 = new QTimer(this);
  Timer1->setInterval(SpeechDoneDelayMs);
  connect(Timer1, &QTimer::timeout, this, &TTTSForm::Timer1Timer);
  FormCreate();
}

TTTSForm::~TTTSForm() {
  if (TTSForm == this) {
    TTSForm = nullptr;
  }
  // The engine may still hold buffers of this text; close it before the
  // voices and the catalogue it refers to go away.
  try {
    TTS1->SetActive(false);
  } catch (...) {
    UtilsClass::Trace(QStringLiteral("TTSForm: closing the engine failed"));
  }
}

void TTTSForm::FormCreate() {
  Engines = std::make_unique<TEngineList>(FPreferences);
  Filter = std::make_unique<TTTSFilter>();
  Pronunciations = std::make_unique<TPronunciationList>();
  LoadPronunciations();
  TTS1->Tag = 0;
  try {
    TTS1->SetAudioDeviceID(FPreferences->TTS_AudioDeviceID);
  } catch (const Exception& error) {
    // A device unplugged since the last run: use the default device rather
    // than refuse to start.
    UtilsClass::Trace(QStringLiteral("TTS_AudioDeviceID %1 not usable (%2), using -1")
                          .arg(FPreferences->TTS_AudioDeviceID)
                          .arg(error.Message()));
    try {
      TTS1->SetAudioDeviceID(-1);
    } catch (const Exception&) {
    }
  }
  TTS1->OnAudioStop = [this](TTTS*, quint64) { TTS1AudioStop(); };
}

// --- end of speech ---

bool TTTSForm::EnginePaused() const {
  return TTS1->Active() && TTS1->AudioPaused();
}

void TTTSForm::ForgetSpeechEnd() {
  Timer1->stop();
  FSpeechEndPending = false;
}

void TTTSForm::TTS1AudioStop() {
  if (!OnSpeechDone) {
    return;
  }
  // Ended while paused (or paused in the delay below): the reading goes on
  // only when the user resumes or skips.
  if (EnginePaused()) {
    FSpeechEndPending = true;
    return;
  }
  Timer1->start();
}

void TTTSForm::Timer1Timer() {
  Timer1->stop();
  if (EnginePaused()) {
    FSpeechEndPending = true;
    return;
  }
  FSpeechEndPending = false;
  if (OnSpeechDone) {
    // A copy: the handler may replace itself while it runs.
    const TNotifyEvent handler = OnSpeechDone;
    handler(this);
  }
}

// --- voice list ---

void TTTSForm::Initialize() {
  UtilsClass::Trace(QStringLiteral("Entering TTSForm.Initialize"));
  std::unique_ptr<TTTS> tmpTTS;
  try {
    tmpTTS = std::make_unique<TTTS>(this, FSystem);
  } catch (...) {
    UtilsClass::Trace(QStringLiteral("Error creating temporary TTS object"));
    UserMessages().ShowMessage(
        QStringLiteral("TTSForm initialization error - error creating TmpTTS"));
    return;
  }
  QStringList modeNames;
  GetTTSModeNames(modeNames);
  const qint32 localeLanguageId = LocaleLanguageId();

  for (const QString& modeName : modeNames) {
    tmpTTS->SetModeID(FindModeIDByName(modeName));
    TEngineEntry* engine = Engines->FindOrAddEngine(*tmpTTS);
    if (engine == nullptr || modeName.contains(u"Telephone")) {
      continue;
    }
    auto voice = std::make_unique<TVoiceEntry>();
    voice->Engine = engine;
    const QString speaker = tmpTTS->ModeInfo().szSpeaker.left(262);
    const QString languageId = QString::number(engine->LanguageID);
    if (engine->Name == u"Microsoft") {
      voice->Name = modeName;
      voice->SettingsKey = voice->Name;
    } else if (engine->Name == u"Digalo - US English") {
      voice->Name = QStringLiteral("Digalo ") + speaker;
      voice->SettingsKey = engine->Code + speaker + languageId;
    } else {
      voice->Name = speaker;
      voice->SettingsKey = engine->Code + speaker + languageId;
    }
    if (engine->LanguageName != u"US English") {
      voice->Name += QStringLiteral(" (") + engine->LanguageName + u')';
    }
    if (FindVoice(voice->Name) != nullptr) {
      // Articles and settings know a voice by its name alone; a second voice
      // of the same name could never be chosen.
      UtilsClass::Trace(QStringLiteral("Skipped voice ") + voice->Name +
                        QStringLiteral(" of mode ") + modeName +
                        QStringLiteral(": name already taken"));
      continue;
    }
    voice->ModeID = FindModeIDByName(modeName);

    bool favorite = true;
    if (engine->Name == u"Microsoft" || engine->Name == u"L & H TruVoice") {
      favorite = QStringLiteral("MaryMikeSamPeterSidneyEddie").contains(voice->Name);
    } else if (engine->Vendor == u"eSpeak NG") {
      // Dozens of languages are installed; only the user's own and US
      // English start as favourites, so new articles do not pick a stranger.
      favorite = engine->LanguageID == 1033 || engine->LanguageID == localeLanguageId;
    }
    FPreferences->AddItem(QStringLiteral("FAV_") + voice->SettingsKey, InSubKey, QString(),
                          favorite, regBool);
    FPreferences->AddItem(QStringLiteral("SPD_") + voice->SettingsKey, InSubKey, QString(), 0,
                          regInt);
    FPreferences->AddItem(QStringLiteral("PIT_") + voice->SettingsKey, InSubKey, QString(), 0,
                          regInt);
    Voices.push_back(std::move(voice));
    UtilsClass::Trace(QStringLiteral("Loaded voice ") + Voices.back()->Name);
  }

  if (!Voices.empty()) {
    QString& defaultName = FPreferences->TTS_DefaultVoiceName;
    if (!defaultName.trimmed().isEmpty() && FindVoice(defaultName) == nullptr) {
      defaultName.clear();
    }
    if (defaultName.trimmed().isEmpty()) {
      defaultName = Voices.front()->Name;
    }
  }
  try {
    tmpTTS->SetActive(false);
  } catch (...) {
    UtilsClass::Trace(QStringLiteral("TTSForm.Initialize: closing the temporary engine failed"));
  }
}

void TTTSForm::LoadVoiceSettings() {
  Engines->LoadEnabled();
  for (const auto& voice : Voices) {
    voice->Favorite = FPreferences->GetValue(QStringLiteral("FAV_") + voice->SettingsKey).toBool();
    voice->Speed = FPreferences->GetValue(QStringLiteral("SPD_") + voice->SettingsKey).toInt();
    voice->Pitch = FPreferences->GetValue(QStringLiteral("PIT_") + voice->SettingsKey).toInt();
  }
}

void TTTSForm::SaveVoiceSettings() {
  Engines->SaveEnabled();
  for (const auto& voice : Voices) {
    FPreferences->SetValue(QStringLiteral("FAV_") + voice->SettingsKey, voice->Favorite);
    FPreferences->SetValue(QStringLiteral("SPD_") + voice->SettingsKey, voice->Speed);
    FPreferences->SetValue(QStringLiteral("PIT_") + voice->SettingsKey, voice->Pitch);
  }
}

TVoiceEntry* TTTSForm::FindVoice(const QString& name) const {
  for (const auto& voice : Voices) {
    if (voice->Name == name) {
      return voice.get();
    }
  }
  return nullptr;
}

TVoiceEntry* TTTSForm::FindEnglishVoice() const {
  for (const auto& voice : Voices) {
    if (QStringLiteral("MaryMikeSam").contains(voice->Name)) {
      return voice.get();
    }
  }
  for (const auto& voice : Voices) {
    if (LanguageCode(voice->Engine->LanguageID) == u"eng") {
      return voice.get();
    }
  }
  return nullptr;
}

void TTTSForm::SetEngineVoicesEnabled(const QString& vendor, bool enabled) {
  for (const auto& voice : Voices) {
    if (voice->Engine->Vendor == vendor) {
      voice->Favorite = enabled;
    }
  }
  Engines->SetVendorEnabled(vendor, enabled);
}

QList<TArticleVoice> TTTSForm::ArticleVoices() const {
  QList<TArticleVoice> result;
  result.reserve(static_cast<qsizetype>(Voices.size()));
  for (const auto& voice : Voices) {
    result.append({voice->Name, voice->Favorite, voice->Engine->Enabled});
  }
  return result;
}

// --- speaking ---

int TTTSForm::ProbeWaveOut(int deviceID) const {
  const int count = FSystem->WaveOutCount();
  if (deviceID < -1 || deviceID >= count) {
    return -1;
  }
  std::unique_ptr<TPcmOutput> output = FSystem->CreatePcmOutput(deviceID);
  if (!output) {
    return -1;
  }
  const int rc = output->Open(TPcmFormat{22050, 1});
  if (rc == 0) {
    output->Close();
    return 0;
  }
  return rc == -EBUSY ? 1 : -1;
}

bool TTTSForm::SoundCardUsable() {
  const int probe = ProbeWaveOut(TTS1->AudioDeviceID());
  if (probe == 1) {
    UtilsClass::Trace(QStringLiteral("Detected Sound Card Busy"));
    ErrorBox(QStringLiteral("Sound card is busy.  Wait and try again."));
    return false;
  }
  if (probe == -1 && FPreferences->TTS_SoundCardCheckErr &&
      UserMessages().ShowModalDialog(QStringLiteral("SoundCardError")) == mrCancel) {
    return false;
  }
  return true;
}

QString TTTSForm::FilterFor(const TVoiceEntry& voice, const QString& text) {
  return Filter->FilterText(voice.Engine->Flags, text, FPreferences->TTS_FilterSymbols,
                            Pronunciations.get(), voice.Engine->Vendor);
}

bool TTTSForm::Play(const QString& text, const QString& voiceName) {
  ForgetSpeechEnd();
  TTS1->SetActive(false);
  TTS1->OutputDest = odAudioDevice;
  TTS1->SetOutputFile(QString());
  TVoiceEntry* voice = FindVoice(voiceName);
  if (!SoundCardUsable()) {
    return false;
  }
  if (voice == nullptr) {
    ErrorBox(NoSuchVoice(voiceName));
    return false;
  }
  // The probe opens the engine; when that fails the reading cannot start,
  // and the user is told why rather than left with nothing happening.
  if (voice->Speed <= 0 &&
      !Guarded([&] { LoadVoiceLimits(*voice); }, QStringLiteral("TTS Activation failed in Play"))) {
    return false;
  }
  TTS1->SetModeID(voice->ModeID);
  const bool opened = Guarded(
      [&] {
        TTS1->SetActive(true);
        if (!TTS1->Active()) {
          throw Exception(QStringLiteral("TTS Activation failed in Play"));
        }
        TTS1->SetPitch(EnginePitch(*voice));
        TTS1->SetSpeed(voice->Speed);
      },
      QStringLiteral("TTS Activation failed in Play"));
  if (!opened) {
    return false;
  }
  TTS1->Speak(FilterFor(*voice, text));
  return true;
}

bool TTTSForm::PlayToFileInit(const QString& voiceName, const QString& fileName) {
  ForgetSpeechEnd();
  TTS1->SetActive(false);
  TTS1->OutputDest = odFile;
  TTS1->SetOutputFile(fileName);
  TVoiceEntry* voice = FindVoice(voiceName);
  if (voice == nullptr) {
    ErrorBox(NoSuchVoice(voiceName));
    return false;
  }
  if (!SoundCardUsable()) {
    return false;
  }
  if (voice->Speed <= 0 && !Guarded([&] { LoadVoiceLimits(*voice); },
                                    QStringLiteral("TTS Activation failed in PlayToFileInit"))) {
    return false;
  }
  TTS1->SetModeID(voice->ModeID);

  // A missing or unnamed output folder is the usual reason the file cannot
  // be opened; say so instead of the engine's disk error.
  auto explainedByFolder = [&fileName] {
    const QString dir = DirectoryOf(fileName);
    if (dir.trimmed().isEmpty()) {
      ErrorBox(QStringLiteral("Output Directory must be specified"));
      return true;
    }
    if (!QFileInfo(dir).isDir()) {
      ErrorBox(QStringLiteral("Output Directory ") + dir + QStringLiteral(" is not valid"));
      return true;
    }
    return false;
  };
  try {
    TTS1->SetActive(true);
    if (TTS1->Active()) {
      TTS1->SetPitch(EnginePitch(*voice));
      TTS1->SetSpeed(voice->Speed);
      return true;
    }
  } catch (const Exception& error) {
    if (!TTS1->Active() && explainedByFolder()) {
      return false;
    }
    ErrorBox(error.Message());
    throw;
  }
  if (!explainedByFolder()) {
    ErrorBox(QStringLiteral("TTS Activation failed in PlayToFileInit"));
  }
  return false;
}

bool TTTSForm::PlayToFile(const QString& voiceName, const QString& text) {
  TVoiceEntry* voice = FindVoice(voiceName);
  if (voice == nullptr) {
    // Callers check the voice first; a missing one must not take the
    // program down.
    ErrorBox(NoSuchVoice(voiceName));
    return true;
  }
  Guarded([&] { TTS1->Speak(FilterFor(*voice, text)); }, QStringLiteral("Speak failed"));
  return true;
}

void TTTSForm::ApplyPitch(const TVoiceEntry& voice) {
  if (TTS1->Active() && voice.Name == TTS1->ModeName()) {
    TTS1->Inject(QStringLiteral("\\Pit=") + QString::number(EnginePitch(voice)) + u'\\');
  }
}

void TTTSForm::ApplySpeed(const TVoiceEntry& voice) {
  if (TTS1->Active() && voice.Name == TTS1->ModeName()) {
    TTS1->Inject(QStringLiteral("\\Spd=") + QString::number(voice.Speed) + u'\\');
  }
}

void TTTSForm::LoadVoiceLimits(TVoiceEntry& voice) {
  auto probe = std::make_unique<TTTS>(this, FSystem);
  probe->SetActive(false);
  probe->OutputDest = odOther;
  probe->OnMakeOtherDest = [](TTTS*, std::shared_ptr<TAudioDest>& dest) {
    dest = std::make_shared<TSilentAudioDest>();
  };
  probe->SetModeID(voice.ModeID);
  probe->SetActive(true);
  voice.MinPitch = static_cast<quint16>(probe->MinPitch());
  voice.MaxPitch = static_cast<quint16>(probe->MaxPitch());
  voice.DefaultPitch = probe->Pitch();
  voice.MinSpeed = probe->MinSpeed();
  voice.MaxSpeed = probe->MaxSpeed();
  voice.DefaultSpeed = probe->Speed();
  probe->SetActive(false);
  probe.reset();
  // A pitch of its own 0 only exists for an engine whose range holds it.
  if (voice.Pitch == 0 || (voice.Pitch < 0 && (voice.Pitch != kPitchZero || voice.MinPitch != 0))) {
    voice.Pitch = voice.DefaultPitch;
  }
  if (voice.Speed <= 0) {
    voice.Speed = voice.DefaultSpeed;
  }
}

void TTTSForm::Pause() {
  try {
    TTS1->SetAudioPaused(true);
  } catch (...) {
    UtilsClass::Trace(QStringLiteral("Pause Exception"));
  }
}

void TTTSForm::Resume() {
  try {
    TTS1->SetAudioPaused(false);
  } catch (...) {
    UtilsClass::Trace(QStringLiteral("Resume Exception"));
  }
  if (FSpeechEndPending && !EnginePaused()) {
    FSpeechEndPending = false;
    Timer1->start();
  }
}

bool TTTSForm::CheckAudioDevice(int deviceID) {
  // Checking a device while a reading runs would close that reading.
  if (TTS1->Active()) {
    ErrorBox(TTSTexts::ActiveMustBeFalse().arg(QStringLiteral("AudioDeviceID")));
    return false;
  }
  const int remembered = TTS1->AudioDeviceID();
  // The engine may still be set up for the last Read to File: opening that
  // would truncate the user's file and check nothing.
  TTS1->OutputDest = odAudioDevice;
  TTS1->SetOutputFile(QString());
  Guarded(
      [&] {
        TTS1->SetAudioDeviceID(deviceID);
        TTS1->SetActive(true);
      },
      QStringLiteral("Audio Device check failed"));
  const bool result = TTS1->Active();
  if (!result) {
    UserMessages().ShowMessage(
        QStringLiteral("Audio device check failed. \rVerify that the device you have selected is a "
                       "valid audio device\r\rPlease contact Kelmor Support if you're having "
                       "problems"));
  }
  try {
    TTS1->SetActive(false);
    TTS1->SetAudioDeviceID(remembered);
  } catch (const Exception& error) {
    UtilsClass::Trace(QStringLiteral("CheckAudioDevice: ") + error.Message());
  }
  return result;
}

void TTTSForm::ShowPronunciationEditor(void* parentWindow, const QString& title) {
  Q_UNUSED(parentWindow);
  Q_UNUSED(title);
  if (TTS1->Active()) {
    return;
  }
  // The user's own list works with every engine, so there is no engine to
  // require and no note about one.
  UserMessages().ShowModalDialog(QStringLiteral("PronunciationEditor"));
}

void TTTSForm::LoadPronunciations() {
  QString error;
  QList<int> badLines;
  const QString path = TPronunciationList::DefaultPath();
  if (!Pronunciations->Load(path, &error, &badLines)) {
    UtilsClass::Trace(QStringLiteral("Pronunciation list ") + path + QStringLiteral(" not read: ") +
                      error);
  } else if (!badLines.isEmpty()) {
    UtilsClass::Trace(QStringLiteral("Pronunciation list ") + path +
                      QStringLiteral(": %1 lines not understood, first line %2")
                          .arg(badLines.size())
                          .arg(badLines.front()));
  }
}
