#include "OffsetList.h"

#include <algorithm>

void TOffsetList::Clear() {
  FRecords.clear();
  FDeltaBefore.clear();
  FMaxEnd.clear();
  FDeltaBefore.assign(1, 0);
  FMaxStart = 0;
}

void TOffsetList::AddOffset(qint32 start, qint32 end, qint32 delta) {
  // Filtering moves forward, so a record normally starts after all earlier
  // ones and nothing needs moving.
  const bool laterExist = !FRecords.empty() && FMaxStart > start;
  FRecords.push_back({start, end, delta});
  if (!laterExist) {
    FMaxStart = start;
    return;
  }
  FMaxStart = start;
  for (TOffsetRecord& r : FRecords) {
    if (r.StartPos > start) {
      r.StartPos -= delta;
      r.EndPos -= delta;
    }
    FMaxStart = std::max(FMaxStart, r.StartPos);
  }
}

void TOffsetList::Finish() {
  const auto byStart = [](const TOffsetRecord& a, const TOffsetRecord& b) {
    return a.StartPos < b.StartPos;
  };
  if (!std::is_sorted(FRecords.begin(), FRecords.end(), byStart)) {
    std::stable_sort(FRecords.begin(), FRecords.end(), byStart);
  }
  FDeltaBefore.assign(FRecords.size() + 1, 0);
  FMaxEnd.assign(FRecords.size(), 0);
  for (size_t i = 0; i < FRecords.size(); ++i) {
    FDeltaBefore[i + 1] = FDeltaBefore[i] + FRecords[i].Delta;
    FMaxEnd[i] = i == 0 ? FRecords[i].EndPos : std::max(FMaxEnd[i - 1], FRecords[i].EndPos);
  }
}

qint32 TOffsetList::MapPosition(qint32 position) const {
  // Walking the sorted records, the first one that starts before the position
  // and reaches it answers with its own start; failing that, the position
  // moves by the deltas of every record that starts before it.
  const auto before =
      std::lower_bound(FRecords.begin(), FRecords.end(), position,
                       [](const TOffsetRecord& r, qint32 p) { return r.StartPos < p; });
  const auto count = before - FRecords.begin();
  const auto reaching = std::lower_bound(FMaxEnd.begin(), FMaxEnd.begin() + count, position);
  if (reaching != FMaxEnd.begin() + count) {
    const auto i = reaching - FMaxEnd.begin();
    return static_cast<qint32>(FRecords[static_cast<size_t>(i)].StartPos +
                               FDeltaBefore[static_cast<size_t>(i)]);
  }
  return static_cast<qint32>(position + FDeltaBefore[static_cast<size_t>(count)]);
}
