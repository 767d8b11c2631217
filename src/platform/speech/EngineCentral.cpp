#include "EngineCentral.h"

#include <QRegularExpression>
#include <chrono>

#include "TextChunks.h"

namespace {

// What a destination mark stands for: kind in the top byte, the text's id in
// the next three, the value (a byte offset) in the low four.
enum : quint64 { kTextStarted = 1, kWord = 2, kTextDone = 3 };

quint64 MakeTag(quint64 kind, quint32 textId, quint32 value) {
  return (kind << 56) | (static_cast<quint64>(textId & 0xFFFFFFu) << 32) | value;
}

// Audio time stamps in 100-nanosecond units.
quint64 Now() {
  return static_cast<quint64>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count() /
                              100);
}

}  // namespace

TEngineCentral::TEngineCentral(TTSMODEINFO mode, std::unique_ptr<TSynthesizer> synthesizer,
                               std::shared_ptr<TAudioDest> dest, ISpeechDriver* driver)
    : FMode(std::move(mode)),
      FSynthesizer(std::move(synthesizer)),
      FDest(std::move(dest)),
      FDriver(driver),
      FLimits(FSynthesizer->Limits()),
      FPitch(FLimits.DefaultPitch),
      FSpeed(FLimits.DefaultSpeed) {}

TEngineCentral::~TEngineCentral() {
  Shutdown();
}

void ReleaseCentral(std::unique_ptr<ITTSCentralW> central) {
  if (auto* engine = dynamic_cast<TEngineCentral*>(central.get())) {
    central.release();
    engine->Shutdown();
    engine->deleteLater();
  }
}

void TEngineCentral::Shutdown() {
  if (!FOpen) {
    return;
  }
  FOpen = false;
  FDriver->Note(QStringLiteral("Release"));
  {
    std::lock_guard lock(FLock);
    FStop = true;
    FQueue.clear();
    ++FGeneration;
  }
  FWake.notify_all();
  FDest->Reset(FGeneration);
  if (FWorker.joinable()) {
    FWorker.join();
  }
  // After this the destination calls nothing of ours.
  FDest->Unclaim();
}

HRESULT TEngineCentral::Fault(const QString& call) {
  FDriver->Note(call);
  return FDriver->Fault(call);
}

HRESULT TEngineCentral::Open() {
  const HRESULT hr = FDest->Claim(
      FSynthesizer->Format(), [this](TAudioDest::TEventKind kind, quint64 generation, quint64 tag) {
        // From a worker: the notification happens on our own thread.
        QMetaObject::invokeMethod(
            this, [this, kind, generation, tag] { OnDestEvent(kind, generation, tag); },
            Qt::QueuedConnection);
      });
  if (Failed(hr)) {
    return hr;
  }
  FDest->Reset(FGeneration);
  FOpen = true;
  FWorker = std::thread([this] { Run(); });
  return S_OK;
}

HRESULT TEngineCentral::Inject(const QString& tag) {
  if (const HRESULT hr = Fault(QStringLiteral("Inject")); hr != S_OK) {
    return hr;
  }
  static const QRegularExpression kTag(QStringLiteral(R"(\\(\w+)=(\d+)\\)"));
  auto matches = kTag.globalMatch(tag);
  while (matches.hasNext()) {
    const auto match = matches.next();
    const QString name = match.captured(1).toLower();
    bool ok = false;
    const quint32 value = match.captured(2).toUInt(&ok);
    if (!ok) {
      continue;
    }
    // Takes effect from the next sentence the engine starts.
    if (name == u"pit") {
      PitchSet(static_cast<quint16>(std::min<quint32>(value, 0xFFFF)));
    } else if (name == u"spd") {
      SpeedSet(value);
    }
  }
  return S_OK;
}

HRESULT TEngineCentral::Phoneme(quint32 charSet, quint32 flags, const QString& text,
                                QString* phonemes) {
  Q_UNUSED(flags);
  if (const HRESULT hr = Fault(QStringLiteral("Phoneme")); hr != S_OK) {
    return hr;
  }
  if (charSet > CHARSET_ENGINEPHONETIC || phonemes == nullptr) {
    return E_INVALIDARG;
  }
  return FSynthesizer->Phoneme(text, phonemes);
}

HRESULT TEngineCentral::TextData(quint32 charSet, quint32 flags, const char16_t* data,
                                 quint32 sizeBytes, std::shared_ptr<ITTSBufNotifySink> sink) {
  FDriver->Note(QStringLiteral("TextData %1 %2 %3").arg(charSet).arg(flags).arg(sizeBytes));
  if (const HRESULT hr = FDriver->Fault(QStringLiteral("TextData")); hr != S_OK) {
    return hr;
  }
  if (charSet > CHARSET_ENGINEPHONETIC || (data == nullptr && sizeBytes > 0)) {
    return E_INVALIDARG;
  }
  if (charSet != CHARSET_TEXT) {
    return E_NOTIMPL;
  }
  // The text ends at its terminating zero (or the end of the buffer).
  const qsizetype units = sizeBytes / 2;
  qsizetype length = 0;
  while (length < units && data[length] != 0) {
    ++length;
  }
  if (length == 0 && !sink) {
    return S_OK;  // nothing to speak and nobody to tell: a format check
  }
  const quint32 id = FNextText++ & 0xFFFFFFu;
  if (sink) {
    FBufSinks[id] = std::move(sink);
  }
  {
    std::lock_guard lock(FLock);
    FQueue.push_back({QString(reinterpret_cast<const QChar*>(data), length), id});
  }
  FWake.notify_all();
  return S_OK;
}

HRESULT TEngineCentral::AudioPause() {
  if (const HRESULT hr = Fault(QStringLiteral("AudioPause")); hr != S_OK) {
    return hr;
  }
  FDest->SetPaused(true);
  return S_OK;
}

HRESULT TEngineCentral::AudioResume() {
  if (const HRESULT hr = Fault(QStringLiteral("AudioResume")); hr != S_OK) {
    return hr;
  }
  FDest->SetPaused(false);
  return S_OK;
}

HRESULT TEngineCentral::AudioReset() {
  if (const HRESULT hr = Fault(QStringLiteral("AudioReset")); hr != S_OK) {
    return hr;
  }
  bool busy = false;
  quint64 generation = 0;
  {
    std::lock_guard lock(FLock);
    busy = FSpeaking || !FQueue.empty();
    FQueue.clear();
    generation = ++FGeneration;
  }
  // The synthesiser sees the new generation at its next callback and stops;
  // the destination drops its audio now.
  FDest->Reset(generation);
  FBufSinks.clear();
  busy = busy || FAudioActive;
  FAudioActive = false;
  if (busy) {
    // Callers rely on hearing the end of audio after a reset.
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
          if (generation == FGeneration && FOpen) {
            NotifyAudioStop();
          }
        },
        Qt::QueuedConnection);
  }
  return S_OK;
}

HRESULT TEngineCentral::Register(std::shared_ptr<ITTSNotifySinkW> sink, quint32* key) {
  if (const HRESULT hr = Fault(QStringLiteral("Register")); hr != S_OK) {
    return hr;
  }
  if (!sink || key == nullptr) {
    return E_INVALIDARG;
  }
  *key = FNextKey++;
  FSinks[*key] = std::move(sink);
  return S_OK;
}

HRESULT TEngineCentral::UnRegister(quint32 key) {
  if (const HRESULT hr = Fault(QStringLiteral("UnRegister")); hr != S_OK) {
    return hr;
  }
  return FSinks.erase(key) > 0 ? S_OK : E_INVALIDARG;
}

ITTSAttributesW* TEngineCentral::Attributes() {
  if (!FLimits.HasAttributes || Fault(QStringLiteral("QueryAttributes")) != S_OK) {
    return nullptr;
  }
  return this;
}

ITTSDialogsW* TEngineCentral::Dialogs() {
  if (Fault(QStringLiteral("QueryDialogs")) != S_OK) {
    return nullptr;
  }
  return this;
}

HRESULT TEngineCentral::PitchGet(quint16* pitch) {
  if (const HRESULT hr = Fault(QStringLiteral("PitchGet")); hr != S_OK) {
    return hr;
  }
  *pitch = static_cast<quint16>(FPitch.load());
  return S_OK;
}

HRESULT TEngineCentral::PitchSet(quint16 pitch) {
  if (const HRESULT hr = Fault(QStringLiteral("PitchSet")); hr != S_OK) {
    return hr;
  }
  FPitch = std::clamp(pitch, FLimits.MinPitch, FLimits.MaxPitch);
  NotifyAttribChanged(TTSNSAC_PITCH);
  return S_OK;
}

HRESULT TEngineCentral::SpeedGet(quint32* speed) {
  if (const HRESULT hr = Fault(QStringLiteral("SpeedGet")); hr != S_OK) {
    return hr;
  }
  *speed = FSpeed.load();
  return S_OK;
}

HRESULT TEngineCentral::SpeedSet(quint32 speed) {
  if (const HRESULT hr = Fault(QStringLiteral("SpeedSet")); hr != S_OK) {
    return hr;
  }
  FSpeed = std::clamp(speed, FLimits.MinSpeed, FLimits.MaxSpeed);
  NotifyAttribChanged(TTSNSAC_SPEED);
  return S_OK;
}

// No driver of ours has dialogs of its own.
HRESULT TEngineCentral::AboutDlg(void*, const QString*) {
  const HRESULT hr = Fault(QStringLiteral("AboutDlg"));
  return hr != S_OK ? hr : E_NOTIMPL;
}
HRESULT TEngineCentral::GeneralDlg(void*, const QString*) {
  const HRESULT hr = Fault(QStringLiteral("GeneralDlg"));
  return hr != S_OK ? hr : E_NOTIMPL;
}
HRESULT TEngineCentral::LexiconDlg(void*, const QString*) {
  const HRESULT hr = Fault(QStringLiteral("LexiconDlg"));
  return hr != S_OK ? hr : E_NOTIMPL;
}
HRESULT TEngineCentral::TranslateDlg(void*, const QString*) {
  const HRESULT hr = Fault(QStringLiteral("TranslateDlg"));
  return hr != S_OK ? hr : E_NOTIMPL;
}

void TEngineCentral::NotifyAttribChanged(quint32 attribute) {
  QMetaObject::invokeMethod(
      this,
      [this, attribute] {
        const auto sinks = FSinks;
        for (const auto& [key, sink] : sinks) {
          if (FOpen) {
            sink->AttribChanged(attribute);
          }
        }
      },
      Qt::QueuedConnection);
}

void TEngineCentral::NotifyAudioStop() {
  const auto sinks = FSinks;  // a handler may unregister
  for (const auto& [key, sink] : sinks) {
    if (FOpen) {
      sink->AudioStop(Now());
    }
  }
}

void TEngineCentral::OnDestEvent(TAudioDest::TEventKind kind, quint64 generation, quint64 tag) {
  if (generation != FGeneration || !FOpen) {
    return;  // from before a reset, or after release
  }
  const auto sinks = FSinks;
  switch (kind) {
    case TAudioDest::TEventKind::Started:
      if (!FAudioActive) {
        FAudioActive = true;
        for (const auto& [key, sink] : sinks) {
          if (FOpen) {
            sink->AudioStart(Now());
          }
        }
      }
      return;
    case TAudioDest::TEventKind::Drained:
      FAudioActive = false;
      NotifyAudioStop();
      return;
    case TAudioDest::TEventKind::Mark:
      break;
  }
  const quint64 what = tag >> 56;
  const auto id = static_cast<quint32>((tag >> 32) & 0xFFFFFFu);
  const auto value = static_cast<quint32>(tag & 0xFFFFFFFFu);
  const auto found = FBufSinks.find(id);
  if (found == FBufSinks.end()) {
    return;
  }
  const std::shared_ptr<ITTSBufNotifySink> sink = found->second;
  if (what == kTextStarted) {
    sink->TextDataStarted(Now());
  } else if (what == kWord) {
    sink->WordPosition(Now(), value);
  } else if (what == kTextDone) {
    FBufSinks.erase(id);
    sink->TextDataDone(Now(), 0);
  }
}

void TEngineCentral::Run() {
  std::unique_lock lock(FLock);
  while (true) {
    FWake.wait(lock, [this] { return FStop || !FQueue.empty(); });
    if (FStop) {
      return;
    }
    const TText text = std::move(FQueue.front());
    FQueue.pop_front();
    const quint64 generation = FGeneration;
    FSpeaking = true;
    lock.unlock();
    Speak(text, generation);
    lock.lock();
    FSpeaking = false;
    if (FDest->WriteError() != S_OK && generation == FGeneration) {
      FQueue.clear();  // nothing more can be stored
    }
    if (FQueue.empty() && generation == FGeneration) {
      FDest->EndOfStream(generation);
    }
  }
}

void TEngineCentral::Speak(const TText& text, quint64 generation) {
  FDest->Mark(MakeTag(kTextStarted, text.Id, 0), generation);

  class TOutput final : public TSynthOutput {
   public:
    TOutput(TEngineCentral& owner, quint32 textId, quint64 generation)
        : FOwner(owner), FTextId(textId), FGen(generation) {}
    bool Audio(const qint16* frames, long count) override {
      return FOwner.FGeneration == FGen && FOwner.FDest->Write(frames, count, FGen);
    }
    bool Word(int utf16Index) override {
      const auto offset = static_cast<quint32>((FBase + utf16Index) * 2);
      FOwner.FDest->Mark(MakeTag(kWord, FTextId, offset), FGen);
      return FOwner.FGeneration == FGen;
    }
    qsizetype FBase = 0;

   private:
    TEngineCentral& FOwner;
    quint32 FTextId;
    quint64 FGen;
  };

  TOutput output(*this, text.Id, generation);
  TTextChunker chunker(text.Text);
  qsizetype start = 0;
  qsizetype length = 0;
  while (FGeneration == generation && chunker.Next(start, length)) {
    output.FBase = start;
    const TSynthSettings settings{static_cast<quint16>(FPitch.load()), FSpeed.load()};
    const HRESULT hr =
        FSynthesizer->Speak(QStringView(text.Text).mid(start, length), settings, output);
    if (Failed(hr) || FDest->WriteError() != S_OK) {
      break;
    }
  }
  FDest->Mark(MakeTag(kTextDone, text.Id, 0), generation);
}
