#include "TTSEnumerator.h"

#include "EngineCentral.h"
#include "SpeechDriver.h"

TTTSEnum::TTTSEnum(std::vector<std::shared_ptr<ISpeechDriver>> drivers)
    : FDrivers(std::move(drivers)) {}

HRESULT TTTSEnum::Fault(const QString& call) const {
  for (const auto& driver : FDrivers) {
    driver->Note(call);
    const HRESULT hr = driver->Fault(call);
    if (hr != S_OK) {
      return hr;
    }
  }
  return S_OK;
}

void TTTSEnum::Load() {
  if (FLoaded) {
    return;
  }
  FLoaded = true;
  for (const auto& driver : FDrivers) {
    for (const TTSMODEINFO& mode : driver->Modes()) {
      FModes.append({mode, driver.get()});
    }
  }
}

HRESULT TTTSEnum::Next(quint32 count, TTSMODEINFO* modes, quint32* fetched) {
  if (const HRESULT hr = Fault(QStringLiteral("Next")); hr != S_OK) {
    return hr;
  }
  Load();
  quint32 got = 0;
  while (got < count && FNext < FModes.size()) {
    modes[got++] = FModes.at(FNext++).Mode;
  }
  if (fetched != nullptr) {
    *fetched = got;
  }
  return got == count ? S_OK : S_FALSE;
}

HRESULT TTTSEnum::Skip(quint32 count) {
  Load();
  FNext = std::min<qsizetype>(FModes.size(), FNext + count);
  return FNext < FModes.size() ? S_OK : S_FALSE;
}

HRESULT TTTSEnum::Reset() {
  if (const HRESULT hr = Fault(QStringLiteral("Reset")); hr != S_OK) {
    return hr;
  }
  FNext = 0;
  return S_OK;
}

HRESULT TTTSEnum::Select(const TGUID& modeId, std::unique_ptr<ITTSCentralW>& central,
                         std::shared_ptr<TAudioDest> dest) {
  if (const HRESULT hr = Fault(QStringLiteral("Select")); hr != S_OK) {
    return hr;
  }
  Load();
  if (!dest) {
    return E_INVALIDARG;
  }
  for (const TEntry& entry : std::as_const(FModes)) {
    if (entry.Mode.gModeID != modeId) {
      continue;
    }
    std::unique_ptr<TSynthesizer> synthesizer;
    if (const HRESULT hr = entry.Driver->CreateSynthesizer(entry.Mode, synthesizer); Failed(hr)) {
      return hr;
    }
    auto engine =
        std::make_unique<TEngineCentral>(entry.Mode, std::move(synthesizer), dest, entry.Driver);
    if (const HRESULT hr = engine->Open(); Failed(hr)) {
      return hr;
    }
    central = std::move(engine);
    return S_OK;
  }
  return TTSERR_INVALIDMODE;
}

namespace {

quint32 Score(const TTSMODEINFO& mode, const TTSMODEINFO& criteria, const TTSMODEINFORANK& rank) {
  quint32 score = 0;
  auto text = [&](const QString& have, const QString& want, quint32 weight) {
    if (!want.isEmpty() && have.compare(want, Qt::CaseInsensitive) == 0) {
      score += weight;
    }
  };
  if (!criteria.gEngineID.IsNull() && mode.gEngineID == criteria.gEngineID) {
    score += rank.dwEngineID;
  }
  if (!criteria.gModeID.IsNull() && mode.gModeID == criteria.gModeID) {
    score += rank.dwModeID;
  }
  text(mode.szMfgName, criteria.szMfgName, rank.dwMfgName);
  text(mode.szProductName, criteria.szProductName, rank.dwProductName);
  text(mode.szModeName, criteria.szModeName, rank.dwModeName);
  text(mode.language.szDialect, criteria.language.szDialect, rank.dwDialect);
  text(mode.szSpeaker, criteria.szSpeaker, rank.dwSpeaker);
  text(mode.szStyle, criteria.szStyle, rank.dwStyle);
  if (criteria.language.LanguageID != 0 &&
      mode.language.LanguageID == criteria.language.LanguageID) {
    score += rank.dwLanguage;
  }
  if (criteria.wGender != 0 && mode.wGender == criteria.wGender) {
    score += rank.dwGender;
  }
  if (criteria.wAge != 0 && mode.wAge == criteria.wAge) {
    score += rank.dwAge;
  }
  if (criteria.dwFeatures != 0 && (mode.dwFeatures & criteria.dwFeatures) == criteria.dwFeatures) {
    score += rank.dwFeatures;
  }
  if (criteria.dwInterfaces != 0 &&
      (mode.dwInterfaces & criteria.dwInterfaces) == criteria.dwInterfaces) {
    score += rank.dwInterfaces;
  }
  return score;
}

}  // namespace

HRESULT TTTSEnum::Find(const TTSMODEINFO& criteria, const TTSMODEINFORANK* rank,
                       TTSMODEINFO* result) {
  if (const HRESULT hr = Fault(QStringLiteral("Find")); hr != S_OK) {
    return hr;
  }
  Load();
  if (FModes.isEmpty()) {
    return TTSERR_INVALIDMODE;
  }
  TTSMODEINFORANK weights;
  if (rank != nullptr) {
    weights = *rank;
  } else {
    weights = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  }
  qsizetype best = 0;
  quint32 bestScore = 0;
  for (qsizetype i = 0; i < FModes.size(); ++i) {
    const quint32 score = Score(FModes.at(i).Mode, criteria, weights);
    if (score > bestScore) {
      best = i;
      bestScore = score;
    }
  }
  if (result != nullptr) {
    *result = FModes.at(best).Mode;
  }
  return S_OK;
}
