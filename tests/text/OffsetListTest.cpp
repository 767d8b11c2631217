#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "OffsetList.h"
#include "RandomText.h"

namespace {

qint32 WalkMap(const std::vector<TOffsetRecord>& records, qint32 p) {
  qint32 sum = 0;
  for (const TOffsetRecord& r : records) {
    if (r.StartPos <= p && r.EndPos >= p) {
      return r.StartPos + sum;
    }
    if (r.StartPos < p) {
      sum += r.Delta;
    }
    if (r.StartPos > p) {
      break;
    }
  }
  return p + sum;
}

TEST(OffsetListTest, EarlierReplacementMovesLaterRecords) {
  TOffsetList list;
  list.AddOffset(20, 28, -6);
  list.AddOffset(5, 21, -14);
  list.AddOffset(5, 10, 3);  // same start: not moved by itself
  list.Finish();
  const std::vector<TOffsetRecord> expected = {{5, 21, -14}, {5, 10, 3}, {31, 39, -6}};
  EXPECT_EQ(list.Records(), expected);
}

// The filter only ever builds ordered, disjoint records; the index must still
// answer exactly like the walk when they overlap or arrive out of order.
TEST(OffsetListTest, IndexedMappingEqualsTheWalkOnArbitraryRecords) {
  TRandomText random(5);
  for (int n = 0; n < 2000; ++n) {
    TOffsetList list;
    std::vector<TOffsetRecord> walk;
    const int count = static_cast<int>(random.Below(8));
    for (int k = 0; k < count; ++k) {
      const auto start = static_cast<qint32>(random.Below(60));
      const auto end = start + static_cast<qint32>(random.Below(20));
      const auto delta = static_cast<qint32>(random.Below(31)) - 15;
      list.AddOffset(start, end, delta);
      walk.push_back({start, end, delta});
      for (TOffsetRecord& r : walk) {
        if (r.StartPos > start) {
          r.StartPos -= delta;
          r.EndPos -= delta;
        }
      }
    }
    list.Finish();
    std::stable_sort(walk.begin(), walk.end(),
                     [](const auto& a, const auto& b) { return a.StartPos < b.StartPos; });
    ASSERT_EQ(list.Records(), walk);
    for (qint32 p = -3; p < 110; ++p) {
      ASSERT_EQ(list.MapPosition(p), WalkMap(walk, p)) << "case " << n << " position " << p;
    }
  }
}

}  // namespace
