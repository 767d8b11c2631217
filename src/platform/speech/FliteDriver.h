#pragma once

#include <vector>

#include "SpeechDriver.h"

// The Flite engine: its five US English voices (kal, kal16, awb, rms, slt)
// and any .flitevox voice file the user keeps in the data folder's "flite"
// folder. Each voice is one mode; audio comes at the voice's own rate.
class TFliteDriver final : public ISpeechDriver {
 public:
  // voiceFolder: where the user's .flitevox files are (may be empty).
  explicit TFliteDriver(QString voiceFolder = QString()) : FVoiceFolder(std::move(voiceFolder)) {}

  QList<TTSMODEINFO> Modes() override;
  HRESULT CreateSynthesizer(const TTSMODEINFO& mode,
                            std::unique_ptr<TSynthesizer>& synthesizer) override;

  // Flite cannot say what it cannot read: text is handed to it as ASCII, one
  // or more bytes per character (accents dropped, other characters blank),
  // and Origins gives for each byte the UTF-16 index it came from.
  static QByteArray Fold(QStringView text, std::vector<int>& origins);
  // Where an utterance ends: after sentence punctuation and a space, at an
  // empty line, or at a space once it has grown long; at most length.
  static qsizetype UtteranceEnd(const QByteArray& text, qsizetype start);

 private:
  QString FVoiceFolder;
};
