#include "ScriptedEngine.h"

#include <cmath>
#include <vector>

namespace {

class TScriptedSynthesizer final : public TSynthesizer {
 public:
  explicit TScriptedSynthesizer(const TScriptedEngine::TConfig& config) : FConfig(config) {}

  TPcmFormat Format() const override { return {FConfig.SampleRate, 1}; }
  TSynthLimits Limits() const override { return FConfig.Limits; }

  HRESULT Speak(QStringView text, const TSynthSettings& settings, TSynthOutput& output) override {
    const double speedFactor =
        static_cast<double>(FConfig.Limits.DefaultSpeed) / std::max<quint32>(1, settings.Speed);
    const long wordFrames =
        std::max(1L, std::lround(FConfig.SampleRate * FConfig.WordMs / 1000.0 * speedFactor));
    const long gapFrames = std::lround(FConfig.SampleRate * FConfig.GapMs / 1000.0);
    // The tone follows the pitch, so a pitch change is audible in the data.
    const double frequency = 100.0 + 4.0 * settings.Pitch;
    std::vector<qint16> word(static_cast<std::size_t>(wordFrames));
    for (long i = 0; i < wordFrames; ++i) {
      word[static_cast<std::size_t>(i)] = static_cast<qint16>(
          8000 * std::sin(2 * M_PI * frequency * static_cast<double>(i) / FConfig.SampleRate));
    }
    const std::vector<qint16> gap(static_cast<std::size_t>(std::max(0L, gapFrames)), 0);
    qsizetype i = 0;
    while (i < text.size()) {
      while (i < text.size() && text.at(i).isSpace()) {
        ++i;
      }
      if (i >= text.size()) {
        break;
      }
      if (!output.Word(static_cast<int>(i))) {
        return E_ABORT;
      }
      while (i < text.size() && !text.at(i).isSpace()) {
        ++i;
      }
      if (!output.Audio(word.data(), wordFrames) ||
          (gapFrames > 0 && !output.Audio(gap.data(), gapFrames))) {
        return E_ABORT;
      }
    }
    return S_OK;
  }

  HRESULT Phoneme(const QString& text, QString* phonemes) override {
    *phonemes = text.toLower();
    return S_OK;
  }

 private:
  TScriptedEngine::TConfig FConfig;
};

}  // namespace

TScriptedEngine::TScriptedEngine(TConfig config) : FConfig(std::move(config)) {}

TTSMODEINFO TScriptedEngine::MakeMode(const QString& mfgName, const QString& modeName,
                                      const QString& speaker, quint16 languageId, quint32 features,
                                      quint32 interfaces) {
  TTSMODEINFO mode;
  mode.szMfgName = mfgName;
  mode.szProductName = mfgName + QStringLiteral(" Scripted");
  mode.gEngineID = TGUID::FromName(mfgName);
  mode.szModeName = modeName;
  mode.gModeID = TGUID::FromName(mfgName + u'/' + modeName);
  mode.szSpeaker = speaker;
  mode.language.LanguageID = languageId;
  mode.dwFeatures = features;
  mode.dwInterfaces = interfaces;
  return mode;
}

TScriptedEngine::TConfig TScriptedEngine::DefaultConfig() {
  TConfig config;
  config.Modes = {
      MakeMode(QStringLiteral("eSpeak NG"), QStringLiteral("Scripted en-us Adam"),
               QStringLiteral("Adam"), 1033),
      MakeMode(QStringLiteral("eSpeak NG"), QStringLiteral("Scripted en-us Linda"),
               QStringLiteral("Linda"), 1033),
      MakeMode(QStringLiteral("eSpeak NG"), QStringLiteral("Scripted de Max"),
               QStringLiteral("Max"), 1031),
  };
  return config;
}

void TScriptedEngine::FailCall(const QString& call, HRESULT hr) {
  std::lock_guard lock(FLock);
  FFailures.insert(call, hr);
}

void TScriptedEngine::ClearFailures() {
  std::lock_guard lock(FLock);
  FFailures.clear();
}

QStringList TScriptedEngine::Calls() const {
  std::lock_guard lock(FLock);
  return FCalls;
}

void TScriptedEngine::ClearCalls() {
  std::lock_guard lock(FLock);
  FCalls.clear();
}

QList<TTSMODEINFO> TScriptedEngine::Modes() {
  return FConfig.Modes;
}

HRESULT TScriptedEngine::CreateSynthesizer(const TTSMODEINFO& mode,
                                           std::unique_ptr<TSynthesizer>& synthesizer) {
  Q_UNUSED(mode);
  synthesizer = std::make_unique<TScriptedSynthesizer>(FConfig);
  return S_OK;
}

HRESULT TScriptedEngine::Fault(const QString& call) const {
  std::lock_guard lock(FLock);
  return FFailures.value(call, S_OK);
}

void TScriptedEngine::Note(const QString& call) {
  std::lock_guard lock(FLock);
  FCalls.append(call);
}
