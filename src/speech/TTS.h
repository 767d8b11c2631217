#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "SpeechErrors.h"
#include "SpeechInterfaces.h"

class TSpeechSystem;
class ITTSCentralW;
class TTSNotifySink;
class TTSBufNotifySink;

enum TOutputDest : quint8 { odAudioDevice = 0, odFile = 1, odDirect = 2, odOther = 3 };
enum TChrSet : quint8 { csText = 0, csIPAPhonetic = 1, csEnginePhonetic = 2 };
enum TCtrlTags : quint8 { ctNone = 0, ctTagged = 1 };

class TTTS;

using TTextDataDoneEvent =
    std::function<void(TTTS* sender, quint64 SpeechTimeStamp, quint32 dwFlags)>;
using TTextDataStartedEvent = std::function<void(TTTS* sender, quint64 SpeechTimeStamp)>;
using TBookMarkEvent =
    std::function<void(TTTS* sender, quint64 SpeechTimeStamp, quint32 dwMarkNum)>;
// dwByteOffset: into the UTF-16 text last spoken; the character index is /2.
using TWordPositionEvent =
    std::function<void(TTTS* sender, quint64 SpeechTimeStamp, quint32 dwByteOffset)>;
using TAttribChangedEvent = std::function<void(TTTS* sender, quint32 dwAttribute)>;
using TAudioStartEvent = std::function<void(TTTS* sender, quint64 qTimeStamp)>;
using TAudioStopEvent = std::function<void(TTTS* sender, quint64 qTimeStamp)>;
using TVisualEvent =
    std::function<void(TTTS* sender, quint64 qTimeStamp, char16_t cIPAPhoneme,
                       char16_t cEnginePhoneme, quint32 dwHints, const TTSMOUTH& aTTSMouth)>;
using TMakeOtherDestEvent =
    std::function<void(TTTS* sender, std::shared_ptr<TAudioDest>& DestInterface)>;

// A non-visual component with an owner, a name and a tag, that knows whether
// its stored properties are being loaded.
class TSpeechComponent : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TSpeechComponent)

 public:
  explicit TSpeechComponent(QObject* owner) : QObject(owner) {}
  // The engine object, untyped; null when none is open.
  virtual void* EngineInterface() const = 0;

  qintptr Tag = 0;

  // Stored properties are being read: engine failures are not reported.
  void BeginLoading() { FLoading = true; }
  void EndLoading() {
    FLoading = false;
    Loaded();
  }
  bool Loading() const { return FLoading; }

 protected:
  virtual void Loaded() {}

 private:
  bool FLoading = false;
};

// Wraps one text-to-speech engine mode: selects it by name or identifier,
// opens it on an audio destination, speaks text, and turns the engine's
// notifications into events on the UI thread. Every failure is raised as
// EOleError (usage) or ESpeechError (engine).
class TTTS final : public TSpeechComponent {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TTTS)

 public:
  // system: the engines and devices to use; the program's by default.
  explicit TTTS(QObject* owner = nullptr, std::shared_ptr<TSpeechSystem> system = nullptr);
  ~TTTS() override;

  void* EngineInterface() const override;

  bool Active() const { return FActive; }
  void SetActive(bool value);

  QString ModeName() const;
  void SetModeName(const QString& value);
  TGUID ModeID() const { return FModeID; }
  void SetModeID(const TGUID& value);
  TTSMODEINFO ModeInfo() const;

  int AudioDeviceID() const;
  void SetAudioDeviceID(int value);

  QString OutputFile() const { return FOutputFile; }
  void SetOutputFile(const QString& value);
  // Why the output file (the one being written, else the one closed last)
  // could not be written completely: the system's reason, such as no space
  // left. Empty while all is well and for other destinations.
  QString OutputFileError() const;
  TOutputDest OutputDest = odAudioDevice;

  int Pitch() const;
  void SetPitch(int value);
  int Speed() const;
  void SetSpeed(int value);
  int MinPitch();
  int MaxPitch();
  int MinSpeed();
  int MaxSpeed();

  bool AudioPaused() const { return FAudioPaused; }
  void SetAudioPaused(bool value);
  void AudioReset();

  TChrSet CharacterSet() const { return FCharacterSet; }
  void SetCharacterSet(TChrSet value);
  TCtrlTags ControlTags() const { return FControlTags; }
  void SetControlTags(TCtrlTags value);

  void Inject(const QString& tag);
  virtual void Speak(const QString& text);
  virtual QString ConvertToPhoneme(TChrSet charSet, quint32 flags, const QString& text);
  void ShowLexiconDlg(void* parent, const QString* title);
  // "About", "General", "Lexicon" or "Translate".
  void ShowDlg(const QString& name, void* parent, const QString* title);

  TTextDataDoneEvent OnTextDataDone;
  TTextDataStartedEvent OnTextDataStarted;
  TBookMarkEvent OnBookMark;
  TWordPositionEvent OnWordPosition;
  TAttribChangedEvent OnAttribChanged;
  TAudioStartEvent OnAudioStart;
  TAudioStopEvent OnAudioStop;
  TVisualEvent OnVisual;
  TMakeOtherDestEvent OnMakeOtherDest;

  static QString CharSetName(TChrSet charSet);

 protected:
  // The audio destination for OutputDest; null stops activation silently.
  virtual std::shared_ptr<TAudioDest> CreateAudioDest();
  void Loaded() override;

 private:
  void Activate();
  void Deactivate();
  static QString FileErrorReason(const IAudioFile& file, HRESULT hr);
  void ReleaseAll();
  void TakeMode(const TTSMODEINFO& mode);
  void RequireActive(const QString& what) const;
  void RequireInactive(const QString& property) const;
  // Raises the engine failure, translated for the operation; swallowed while
  // stored properties are loading.
  [[noreturn]] void RaiseEngineError(HRESULT hr, const QString& operation) const;
  void CheckTranslated(HRESULT hr, const QString& operation) const;

  std::shared_ptr<TSpeechSystem> FSystem;
  std::unique_ptr<ITTSCentralW> FCentral;
  std::unique_ptr<TTSMODEINFO> FModeInfo;
  ITTSAttributesW* FAttributes = nullptr;
  ITTSDialogsW* FDialogs = nullptr;
  std::shared_ptr<TTSNotifySink> FNotifySink;
  quint32 FNotifyKey = 0;
  std::shared_ptr<TTSBufNotifySink> FBufNotifySink;
  std::shared_ptr<TAudioDest> FAudioDest;
  bool FActive = false;
  TChrSet FCharacterSet = csText;
  TCtrlTags FControlTags = ctNone;
  int FAudioDeviceID = -1;
  QString FPhonemes;
  TGUID FModeID;
  QString FModeName = QStringLiteral("Default");
  QString FOutputFile;
  QString FClosedFileError;
  bool FAudioPaused = false;
};

// Whether an engine layer is installed, whether it offers any mode, and
// whether there is a wave output device; set when first asked, the first two
// refreshed by every component created.
bool SpeechPresent();
bool TTSEnginesPresent();
bool WaveOutPresent();
// Forgets the module state so it is taken again from the current system (tests).
void ResetTTSModule();

// Appends every mode's name; the last engine result.
HRESULT GetTTSModeNames(QStringList& list);
// The identifier of the first mode whose trimmed name is the trimmed name
// given (letter case counts); the null identifier when there is none.
TGUID FindModeIDByName(const QString& name);
