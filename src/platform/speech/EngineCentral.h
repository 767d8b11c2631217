#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "SpeechDriver.h"
#include "SpeechInterfaces.h"

// One open engine mode, whatever the driver: queues text buffers, speaks them
// sentence by sentence on a worker thread into the audio destination, and
// turns what the destination reports into notifications on the thread that
// opened it.
class TEngineCentral final : public QObject,
                             public ITTSCentralW,
                             public ITTSAttributesW,
                             public ITTSDialogsW {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TEngineCentral)

 public:
  TEngineCentral(TTSMODEINFO mode, std::unique_ptr<TSynthesizer> synthesizer,
                 std::shared_ptr<TAudioDest> dest, ISpeechDriver* driver);
  ~TEngineCentral() override;

  // Claims the destination and starts the worker.
  HRESULT Open();
  // Stops the worker and lets go of the destination; no notification is
  // delivered afterwards. Safe to call more than once.
  void Shutdown();

  HRESULT Inject(const QString& tag) override;
  HRESULT Phoneme(quint32 charSet, quint32 flags, const QString& text, QString* phonemes) override;
  HRESULT TextData(quint32 charSet, quint32 flags, const char16_t* data, quint32 sizeBytes,
                   std::shared_ptr<ITTSBufNotifySink> sink) override;
  HRESULT AudioPause() override;
  HRESULT AudioResume() override;
  HRESULT AudioReset() override;
  HRESULT Register(std::shared_ptr<ITTSNotifySinkW> sink, quint32* key) override;
  HRESULT UnRegister(quint32 key) override;
  ITTSAttributesW* Attributes() override;
  ITTSDialogsW* Dialogs() override;

  HRESULT PitchGet(quint16* pitch) override;
  HRESULT PitchSet(quint16 pitch) override;
  HRESULT SpeedGet(quint32* speed) override;
  HRESULT SpeedSet(quint32 speed) override;

  HRESULT AboutDlg(void* parent, const QString* title) override;
  HRESULT GeneralDlg(void* parent, const QString* title) override;
  HRESULT LexiconDlg(void* parent, const QString* title) override;
  HRESULT TranslateDlg(void* parent, const QString* title) override;

 private:
  struct TText {
    QString Text;
    quint32 Id;
  };
  HRESULT Fault(const QString& call);
  void Run();
  void Speak(const TText& text, quint64 generation);
  void OnDestEvent(TAudioDest::TEventKind kind, quint64 generation, quint64 tag);
  void NotifyAttribChanged(quint32 attribute);
  void NotifyAudioStop();

  TTSMODEINFO FMode;
  std::unique_ptr<TSynthesizer> FSynthesizer;
  std::shared_ptr<TAudioDest> FDest;
  ISpeechDriver* FDriver;
  TSynthLimits FLimits;
  std::atomic<quint32> FPitch;
  std::atomic<quint32> FSpeed;

  // Shared with the worker.
  std::mutex FLock;
  std::condition_variable FWake;
  std::deque<TText> FQueue;
  std::atomic<quint64> FGeneration{1};
  bool FSpeaking = false;
  bool FStop = false;
  std::thread FWorker;

  // UI thread only.
  std::map<quint32, std::shared_ptr<ITTSBufNotifySink>> FBufSinks;
  std::map<quint32, std::shared_ptr<ITTSNotifySinkW>> FSinks;
  quint32 FNextKey = 1;
  quint32 FNextText = 1;
  bool FAudioActive = false;
  bool FOpen = false;
};

// Releases an engine. Its notifications may be on the stack (a handler that
// closes the engine), so the object itself goes once control is back in the
// event loop.
void ReleaseCentral(std::unique_ptr<ITTSCentralW> central);
