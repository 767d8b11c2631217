#pragma once

#include <QHash>
#include <QStringList>
#include <mutex>

#include "SpeechDriver.h"

// A predictable engine for tests and end-to-end runs: the modes a test gives
// it, a tone per word at a chosen sample rate, one word position per word, and
// any call failing with any result on request.
class TScriptedEngine final : public ISpeechDriver {
 public:
  struct TConfig {
    QList<TTSMODEINFO> Modes;
    int SampleRate = 22050;
    int WordMs = 100;  // length of a word at the default speed
    int GapMs = 20;    // silence after each word
    TSynthLimits Limits;
  };

  explicit TScriptedEngine(TConfig config);

  // A mode record as a test would describe one.
  static TTSMODEINFO MakeMode(const QString& mfgName, const QString& modeName,
                              const QString& speaker, quint16 languageId,
                              quint32 features = TTSFEATURE_PITCH | TTSFEATURE_SPEED,
                              quint32 interfaces = TTSI_ITTSCENTRAL | TTSI_ITTSATTRIBUTES |
                                                   TTSI_ITTSDIALOGS);
  // The modes of an end-to-end run (VERBALUNE_SPEECH_ENGINE=scripted).
  static TConfig DefaultConfig();

  // Every later call of that name answers hr ("Next", "Reset", "Find",
  // "Select", "TextData", "Inject", "AudioPause", "PitchSet", "Flush", ...).
  void FailCall(const QString& call, HRESULT hr);
  void ClearFailures();
  // The calls made so far, in order.
  QStringList Calls() const;
  void ClearCalls();

  QList<TTSMODEINFO> Modes() override;
  HRESULT CreateSynthesizer(const TTSMODEINFO& mode,
                            std::unique_ptr<TSynthesizer>& synthesizer) override;
  HRESULT Fault(const QString& call) const override;
  void Note(const QString& call) override;

 private:
  TConfig FConfig;
  mutable std::mutex FLock;
  QHash<QString, HRESULT> FFailures;
  QStringList FCalls;
};
