#include <gtest/gtest.h>

#include <QString>

#include "AddressScan.h"
#include "GapText.h"
#include "RandomText.h"

namespace {

TAddressScan::TResult ScanByHand(const QString& text, qsizetype from) {
  TAddressScan::TResult r;
  qsizetype i = from;
  for (; i <= text.size(); ++i) {
    const QChar c = text[i - 1];
    if (c == u' ' || c == u'/') {
      break;
    }
    r.Dot = r.Dot || c == u'.';
    r.Letter = r.Letter || c.isLetter();
  }
  r.Stop = i;
  return r;
}

// The filter's own texts rarely reuse an answer across an edit, so edits of
// every kind, anywhere, are thrown at the scan here.
TEST(AddressScanTest, AnswersLikeAFreshScanAfterAnyEdits) {
  static const char16_t kAlphabet[] = u"aa11..  //";
  TRandomText random(314);
  for (int round = 0; round < 3000; ++round) {
    QString plain;
    const int size = static_cast<int>(random.Below(30));
    for (int k = 0; k < size; ++k) {
      plain += QChar(kAlphabet[random.Below(10)]);
    }
    TGapText gap(plain);
    TAddressScan scan;
    for (int step = 0; step < 20; ++step) {
      if (random.Below(2) == 0) {
        const auto from =
            static_cast<qsizetype>(1 + random.Below(static_cast<std::uint32_t>(plain.size() + 1)));
        const TAddressScan::TResult got = scan.Query(gap, from);
        const TAddressScan::TResult want = ScanByHand(plain, from);
        ASSERT_EQ(got.Stop, want.Stop) << "round " << round << " step " << step;
        ASSERT_EQ(got.Dot, want.Dot) << "round " << round << " step " << step;
        ASSERT_EQ(got.Letter, want.Letter) << "round " << round << " step " << step;
      } else {
        const auto p =
            static_cast<qsizetype>(1 + random.Below(static_cast<std::uint32_t>(plain.size() + 1)));
        const auto oldLen =
            static_cast<qsizetype>(random.Below(static_cast<std::uint32_t>(plain.size() - p + 2)));
        QString with;
        for (std::uint32_t k = random.Below(5); k > 0; --k) {
          with += QChar(kAlphabet[random.Below(10)]);
        }
        plain.replace(p - 1, oldLen, with);
        gap.Replace(p - 1, oldLen, with);
        scan.Edited(p, oldLen, with.size());
        ASSERT_EQ(gap.ToString(), plain);
      }
    }
  }
}

}  // namespace
