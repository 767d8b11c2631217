#pragma once

#include <QtGlobal>
#include <vector>

// One replacement that changed the length of the text. Positions are 0-based
// indices into the filtered text.
struct TOffsetRecord {
  qint32 StartPos = 0;
  // StartPos plus the length of the replacement.
  qint32 EndPos = 0;
  // Replaced length minus replacement length; negative when the text grew.
  qint32 Delta = 0;

  friend bool operator==(const TOffsetRecord&, const TOffsetRecord&) = default;
};

// The records of one filtering, with an index that answers MapPosition with
// two binary searches instead of a walk over every record.
class TOffsetList final {
 public:
  TOffsetList() = default;

  void Clear();
  // Appends a record and moves every record that starts after `start` by the
  // change in length.
  void AddOffset(qint32 start, qint32 end, qint32 delta);
  // Sorts by StartPos and builds the index; call once filtering is done.
  void Finish();
  qint32 MapPosition(qint32 position) const;

  const std::vector<TOffsetRecord>& Records() const { return FRecords; }

 private:
  std::vector<TOffsetRecord> FRecords;
  qint32 FMaxStart = 0;
  // Sum of the deltas of the records before each index (one extra at the end).
  std::vector<qint64> FDeltaBefore{0};
  // Largest EndPos among the records up to and including each index.
  std::vector<qint32> FMaxEnd;
};
