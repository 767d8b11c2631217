#pragma once

#include "SpeechInterfaces.h"

class TTTS;

// Turn the engine's notifications into the component's events. Each holds a
// plain reference to its component, which outlives the engine that calls it.
class TTSNotifySink final : public ITTSNotifySinkW {
 public:
  explicit TTSNotifySink(TTTS* owner) : FOwner(owner) {}
  HRESULT AttribChanged(quint32 attribute) override;
  HRESULT AudioStart(quint64 timeStamp) override;
  HRESULT AudioStop(quint64 timeStamp) override;
  HRESULT Visual(quint64 timeStamp, char16_t ipaPhoneme, char16_t enginePhoneme, quint32 hints,
                 const TTSMOUTH& mouth) override;

 private:
  TTTS* FOwner;
};

class TTSBufNotifySink final : public ITTSBufNotifySink {
 public:
  explicit TTSBufNotifySink(TTTS* owner) : FOwner(owner) {}
  HRESULT TextDataDone(quint64 timeStamp, quint32 flags) override;
  HRESULT TextDataStarted(quint64 timeStamp) override;
  HRESULT BookMark(quint64 timeStamp, quint32 markNum) override;
  HRESULT WordPosition(quint64 timeStamp, quint32 byteOffset) override;

 private:
  TTTS* FOwner;
};
