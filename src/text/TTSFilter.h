#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

#include "OffsetList.h"
#include "PronunciationList.h"

// Rewrites article text before an engine speaks it (web addresses, "AP",
// shouted words, state codes, punctuation runs, symbols) and maps the
// engine's word positions in the rewritten text back to the article.
class TTTSFilter final {
 public:
  // Engine flag: the engine reads state codes itself, leave them alone.
  static constexpr quint32 NoStateNamesFlag = 2;

  TTTSFilter();
  ~TTTSFilter();
  TTTSFilter(const TTTSFilter&) = delete;
  TTTSFilter& operator=(const TTTSFilter&) = delete;

  // engineFlags are the Flags of the speaking voice's engine entry;
  // filterSymbols is the user's TTS_FilterSymbols preference.
  // pronunciations (may be null) rewrite the text first, with the entries
  // meant for every voice or for the engine vendor given.
  QString FilterText(quint32 engineFlags, const QString& text, bool filterSymbols,
                     const TPronunciationList* pronunciations = nullptr,
                     const QString& engine = QString());
  // Position in the text last returned by FilterText -> position in the text
  // it was given. Both 0-based.
  qint32 MapPosition(qint32 position) const;

  const TOffsetList& OffsetList() const { return *FOffsets; }

 private:
  std::unique_ptr<TOffsetList> FOffsets;
  TPronunciationMap FPronunciationMap;
};
