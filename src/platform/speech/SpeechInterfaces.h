#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "PcmOutput.h"
#include "SpeechTypes.h"

// Engine notifications about the audio as a whole. Called on the thread that
// created the engine (the UI thread), never from a worker.
class ITTSNotifySinkW {
 public:
  virtual ~ITTSNotifySinkW() = default;
  virtual HRESULT AttribChanged(quint32 attribute) = 0;
  virtual HRESULT AudioStart(quint64 timeStamp) = 0;
  virtual HRESULT AudioStop(quint64 timeStamp) = 0;
  virtual HRESULT Visual(quint64 timeStamp, char16_t ipaPhoneme, char16_t enginePhoneme,
                         quint32 hints, const TTSMOUTH& mouth) = 0;
};

// Notifications about one text buffer, on the same thread.
class ITTSBufNotifySink {
 public:
  virtual ~ITTSBufNotifySink() = default;
  virtual HRESULT TextDataDone(quint64 timeStamp, quint32 flags) = 0;
  virtual HRESULT TextDataStarted(quint64 timeStamp) = 0;
  virtual HRESULT BookMark(quint64 timeStamp, quint32 markNum) = 0;
  // byteOffset: into the UTF-16 buffer given to TextData.
  virtual HRESULT WordPosition(quint64 timeStamp, quint32 byteOffset) = 0;
};

// Pitch and speed in the engine's own units; setters clamp to its range.
class ITTSAttributesW {
 public:
  virtual ~ITTSAttributesW() = default;
  virtual HRESULT PitchGet(quint16* pitch) = 0;
  virtual HRESULT PitchSet(quint16 pitch) = 0;
  virtual HRESULT SpeedGet(quint32* speed) = 0;
  virtual HRESULT SpeedSet(quint32 speed) = 0;
};

// The engine's own dialogs; title may be null.
class ITTSDialogsW {
 public:
  virtual ~ITTSDialogsW() = default;
  virtual HRESULT AboutDlg(void* parent, const QString* title) = 0;
  virtual HRESULT GeneralDlg(void* parent, const QString* title) = 0;
  virtual HRESULT LexiconDlg(void* parent, const QString* title) = 0;
  virtual HRESULT TranslateDlg(void* parent, const QString* title) = 0;
};

// One open engine mode. Its notifications reach the sinks on the thread that
// opened it.
class ITTSCentralW {
 public:
  virtual ~ITTSCentralW() = default;
  virtual HRESULT Inject(const QString& tag) = 0;
  virtual HRESULT Phoneme(quint32 charSet, quint32 flags, const QString& text,
                          QString* phonemes) = 0;
  // data holds UTF-16 units, sizeBytes counts the terminating zero.
  virtual HRESULT TextData(quint32 charSet, quint32 flags, const char16_t* data, quint32 sizeBytes,
                           std::shared_ptr<ITTSBufNotifySink> sink) = 0;
  virtual HRESULT AudioPause() = 0;
  virtual HRESULT AudioResume() = 0;
  virtual HRESULT AudioReset() = 0;
  virtual HRESULT Register(std::shared_ptr<ITTSNotifySinkW> sink, quint32* key) = 0;
  virtual HRESULT UnRegister(quint32 key) = 0;
  // The other interfaces of the same object; null when not offered.
  virtual ITTSAttributesW* Attributes() = 0;
  virtual ITTSDialogsW* Dialogs() = 0;
};

// Where an engine's audio goes. The engine claims it when opened; audio and
// marks arrive from the engine's worker thread, tagged with a generation so a
// reset can drop what was produced before it.
class TAudioDest {
 public:
  enum class TEventKind { Started, Mark, Drained };
  // Called from any thread; must not block.
  using TListener = std::function<void(TEventKind kind, quint64 generation, quint64 tag)>;

  virtual ~TAudioDest() = default;
  virtual HRESULT Claim(const TPcmFormat& format, TListener listener) = 0;
  virtual void Unclaim() = 0;
  // False: stop producing (reset, or the destination failed; see WriteError).
  virtual bool Write(const qint16* frames, long count, quint64 generation) = 0;
  // Reported when the audio written so far is heard (device) or stored (file).
  virtual void Mark(quint64 tag, quint64 generation) = 0;
  virtual void EndOfStream(quint64 generation) = 0;
  virtual void SetPaused(bool paused) = 0;
  virtual void Reset(quint64 newGeneration) = 0;
  virtual HRESULT WriteError() const { return S_OK; }
};

// A wave output device as destination.
class IAudioMultiMediaDevice : public TAudioDest {
 public:
  virtual HRESULT DeviceNumSet(int deviceId) = 0;
};

// A RIFF WAVE file as destination, in the engine's own format.
class IAudioFile : public TAudioDest {
 public:
  // Starts a new file (completing any previous one).
  virtual HRESULT Set(const QString& fileName, quint32 flags) = 0;
  // Completes the header; a failed write shows here as an error.
  virtual HRESULT Flush() = 0;
  // The system's reason for the last failure to create or write the file
  // (no space, permission, folder gone); empty when there was none.
  virtual QString ErrorText() const { return {}; }
};
