#include <gtest/gtest.h>

#include "RandomText.h"
#include "ReferenceFilter.h"
#include "TTSFilter.h"

namespace {

// Compares text, records and the mapping of every position (and a little
// beyond both ends) with the step-by-step rules.
void ExpectSameAsReference(const QString& text, quint32 flags, bool symbols) {
  TTTSFilter filter;
  TReferenceFilter reference;
  const QString fast = filter.FilterText(flags, text, symbols);
  const QString slow = reference.FilterText(flags, text, symbols);
  ASSERT_EQ(fast, slow) << "input: " << text.toStdString();
  const auto& records = filter.OffsetList().Records();
  ASSERT_EQ(records.size(), static_cast<size_t>(reference.Offsets.size()))
      << "input: " << text.toStdString();
  for (size_t i = 0; i < records.size(); ++i) {
    ASSERT_EQ(records[i], reference.Offsets[static_cast<qsizetype>(i)])
        << "record " << i << " of input: " << text.toStdString();
  }
  for (qint32 p = -2; p <= fast.size() + 2; ++p) {
    ASSERT_EQ(filter.MapPosition(p), reference.MapPosition(p))
        << "position " << p << " of input: " << text.toStdString();
  }
}

TEST(FilterDifferentialTest, AgreesWithTheRulesOnRandomTexts) {
  TRandomText random(20261208);
  for (int n = 0; n < 6000; ++n) {
    const QString text = random.Next(1 + static_cast<int>(random.Below(40)));
    const quint32 flags = random.Below(4) == 0 ? 2 : 0;
    const bool symbols = random.Below(2) == 1;
    ExpectSameAsReference(text, flags, symbols);
    if (HasFatalFailure()) {
      return;
    }
  }
}

TEST(FilterDifferentialTest, AgreesOnLongTextsWithManyReplacements) {
  TRandomText random(77);
  for (int n = 0; n < 40; ++n) {
    ExpectSameAsReference(random.Next(400 + static_cast<int>(random.Below(400))), 0, n % 2 == 0);
    if (HasFatalFailure()) {
      return;
    }
  }
}

TEST(FilterDifferentialTest, AgreesOnHandPickedCorners) {
  const char16_t* const texts[] = {
      u"",
      u".",
      u"http://",
      u"http://x",
      u"http://.foo/bar x",
      u"http://-abc def",
      u"http://http://abc",
      u"wwwa.b c",
      u"wwwa.b/c d",
      u"www.",
      u"www",
      u"a.b.c.d.e.f/g h",
      u"a..b..c..d/e f",
      u"A.B/CD.EF/GH IJ",
      u"X.Y/ z",
      u"x.y/",
      u"NY.CA/NY NY. AP.AP/AP AP,",
      u"Troy, NY 12180. Albany,  NY, x",
      u"a.b/c\nd.e/f g\u00a0h.i/j\tk",
      u"x. -5.-6 IN 12345- AP, IN 1234 x",
      u"UNICEF, NY x ,NY 12345",
  };
  for (const char16_t* text : texts) {
    for (const bool symbols : {false, true}) {
      ExpectSameAsReference(QString::fromUtf16(text), 0, symbols);
    }
  }
}

}  // namespace
