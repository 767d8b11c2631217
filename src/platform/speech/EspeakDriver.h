#pragma once

#include "SpeechDriver.h"

// The espeak-ng engine: every installed language that has a Windows language
// identifier, each with a few speakers (English with several male and female
// ones). The user's locale language comes first and US English next, so the
// first mode suits the user.
class TEspeakDriver final : public ISpeechDriver {
 public:
  TEspeakDriver() = default;

  QList<TTSMODEINFO> Modes() override;
  HRESULT CreateSynthesizer(const TTSMODEINFO& mode,
                            std::unique_ptr<TSynthesizer>& synthesizer) override;

  // Whether the engine and its data could be loaded.
  static bool Available();
  // Windows language identifier of an espeak-ng language ("en-us" -> 1033);
  // 0 when it has none.
  static quint16 LanguageIdOf(const QString& espeakLanguage);
  // Orders modes: locale language first, US English next, the rest as listed.
  static void SortForLocale(QList<TTSMODEINFO>& modes, quint16 localeLanguageId);
};
