#pragma once

#include <QList>
#include <memory>
#include <vector>

#include "SpeechInterfaces.h"

class ISpeechDriver;

// Enumerates and finds the modes of every installed driver and opens one.
// Answers for both the enumerating and the finding interface.
class TTTSEnum final {
 public:
  explicit TTTSEnum(std::vector<std::shared_ptr<ISpeechDriver>> drivers);

  // Fetches up to count modes; S_FALSE when fewer than count were left.
  HRESULT Next(quint32 count, TTSMODEINFO* modes, quint32* fetched);
  HRESULT Skip(quint32 count);
  HRESULT Reset();
  // Opens the mode on the destination. The engine's notifications are
  // delivered on the calling thread.
  HRESULT Select(const TGUID& modeId, std::unique_ptr<ITTSCentralW>& central,
                 std::shared_ptr<TAudioDest> dest);
  // The mode that ranks best against the criteria (first on a tie); without a
  // rank record every given criterion weighs 1.
  HRESULT Find(const TTSMODEINFO& criteria, const TTSMODEINFORANK* rank, TTSMODEINFO* result);

 private:
  struct TEntry {
    TTSMODEINFO Mode;
    ISpeechDriver* Driver;
  };
  HRESULT Fault(const QString& call) const;
  void Load();

  std::vector<std::shared_ptr<ISpeechDriver>> FDrivers;
  QList<TEntry> FModes;
  bool FLoaded = false;
  qsizetype FNext = 0;
};
