#include "TTSSinks.h"

#include "BaseUtils.h"
#include "TTS.h"

namespace {

// A handler's failure must not travel into the engine or the event loop; the
// engine is told S_OK whatever the handler does.
template <typename TCall>
HRESULT Fire(TCall&& call) {
  try {
    call();
  } catch (const std::exception& e) {
    UtilsClass::Trace(QStringLiteral("Speech event handler failed: ") +
                      QString::fromUtf8(e.what()));
  }
  return S_OK;
}

}  // namespace

HRESULT TTSNotifySink::AttribChanged(quint32 attribute) {
  return Fire([&] {
    if (FOwner->OnAttribChanged) {
      FOwner->OnAttribChanged(FOwner, attribute);
    }
  });
}

HRESULT TTSNotifySink::AudioStart(quint64 timeStamp) {
  return Fire([&] {
    if (FOwner->OnAudioStart) {
      FOwner->OnAudioStart(FOwner, timeStamp);
    }
  });
}

HRESULT TTSNotifySink::AudioStop(quint64 timeStamp) {
  return Fire([&] {
    if (FOwner->OnAudioStop) {
      FOwner->OnAudioStop(FOwner, timeStamp);
    }
  });
}

HRESULT TTSNotifySink::Visual(quint64 timeStamp, char16_t ipaPhoneme, char16_t enginePhoneme,
                              quint32 hints, const TTSMOUTH& mouth) {
  return Fire([&] {
    if (FOwner->OnVisual) {
      FOwner->OnVisual(FOwner, timeStamp, ipaPhoneme, enginePhoneme, hints, mouth);
    }
  });
}

HRESULT TTSBufNotifySink::TextDataDone(quint64 timeStamp, quint32 flags) {
  return Fire([&] {
    if (FOwner->OnTextDataDone) {
      FOwner->OnTextDataDone(FOwner, timeStamp, flags);
    }
  });
}

HRESULT TTSBufNotifySink::TextDataStarted(quint64 timeStamp) {
  return Fire([&] {
    if (FOwner->OnTextDataStarted) {
      FOwner->OnTextDataStarted(FOwner, timeStamp);
    }
  });
}

HRESULT TTSBufNotifySink::BookMark(quint64 timeStamp, quint32 markNum) {
  return Fire([&] {
    if (FOwner->OnBookMark) {
      FOwner->OnBookMark(FOwner, timeStamp, markNum);
    }
  });
}

HRESULT TTSBufNotifySink::WordPosition(quint64 timeStamp, quint32 byteOffset) {
  return Fire([&] {
    if (FOwner->OnWordPosition) {
      FOwner->OnWordPosition(FOwner, timeStamp, byteOffset);
    }
  });
}
