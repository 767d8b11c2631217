#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <iterator>
#include <random>

#include "PronunciationList.h"
#include "TTSFilter.h"

namespace {

TPronunciation Entry(const char* written, const char* sayAs, bool wholeWord = true,
                     bool matchCase = false, const char* engine = "") {
  return {QString::fromUtf8(written), QString::fromUtf8(sayAs), wholeWord, matchCase,
          QString::fromUtf8(engine)};
}

TEST(PronunciationList, MatchingRules) {
  struct TCase {
    const char* Name;
    std::vector<TPronunciation> Items;
    const char* Engine;
    const char* Text;
    const char* Expected;
  };
  const TCase cases[] = {
      {"whole word, any case",
       {Entry("gui", "gooey")},
       "Flite",
       "GUI, gui; Gui guide",
       "gooey, gooey; gooey guide"},
      {"anywhere", {Entry("gui", "goo", false)}, "Flite", "guide GUI", "goode goo"},
      {"case counts", {Entry("US", "you ess", true, true)}, "Flite", "US us Us", "you ess us Us"},
      {"engine of its own", {Entry("Kal", "Cal", true, false, "Flite")}, "eSpeak NG", "Kal", "Kal"},
      {"engine matches", {Entry("Kal", "Cal", true, false, "Flite")}, "Flite", "Kal", "Cal"},
      {"longer entry wins",
       {Entry("New", "Noo"), Entry("New York", "Nork")},
       "x",
       "New York New",
       "Nork Noo"},
      {"earlier entry wins a tie", {Entry("ab", "one"), Entry("AB", "two")}, "x", "ab", "one"},
      {"no chain of replacements", {Entry("a", "b"), Entry("b", "c")}, "x", "a b", "b c"},

      {"digits and underscores are word characters",
       {Entry("4", "four")},
       "x",
       "4 44 a_4 4.",
       "four 44 a_4 four."},
      {"accented letters are word characters",
       {Entry("caf", "X")},
       "x",
       "caf\u00e9 caf",
       "caf\u00e9 X"},
      {"non-ASCII written form",
       {Entry("\u00c9t\u00e9", "summer")},
       "x",
       "\u00e9t\u00e9!",
       "summer!"},
      {"letters beyond the first plane in either case",
       {Entry("\U00010400\U00010401", "Deseret")},
       "x",
       "\U00010428\U00010429 \U00010400\U00010429.",
       "Deseret Deseret."},
      {"a sign that folds to a letter",
       {Entry("km", "kilometre")},
       "x",
       "5 \u212Am",
       "5 kilometre"},
      {"empty say as removes", {Entry("um", "")}, "x", "so um yes", "so  yes"},
      {"empty written is never matched", {Entry("", "x")}, "x", "abc", "abc"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPronunciationList list;
    list.Items = c.Items;
    TPronunciationMap map;
    EXPECT_EQ(list.Apply(QString::fromUtf8(c.Text), QString::fromUtf8(c.Engine), map),
              QString::fromUtf8(c.Expected));
  }
}

// The rules, one position and one entry at a time, with where each character
// of the result came from.
struct TReference {
  QString Text;
  std::vector<qint32> Origin;  // one more than Text: the end maps to the end

  static bool Word(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

  TReference(const QString& input, const std::vector<TPronunciation>& items) {
    qsizetype i = 0;
    while (i < input.size()) {
      const TPronunciation* best = nullptr;
      for (const TPronunciation& item : items) {
        const qsizetype n = item.Written.size();
        if (n == 0 || i + n > input.size() || (best != nullptr && n <= best->Written.size())) {
          continue;
        }
        const QString here = input.mid(i, n);
        const bool same = item.MatchCase ? here == item.Written
                                         : here.toCaseFolded() == item.Written.toCaseFolded();
        const bool left =
            !item.WholeWord || !Word(item.Written.front()) || i == 0 || !Word(input.at(i - 1));
        const bool right = !item.WholeWord || !Word(item.Written.back()) || i + n == input.size() ||
                           !Word(input.at(i + n));
        if (same && left && right) {
          best = &item;
        }
      }
      if (best == nullptr) {
        Text += input.at(i);
        Origin.push_back(static_cast<qint32>(i));
        ++i;
        continue;
      }
      for (qsizetype k = 0; k < best->SayAs.size(); ++k) {
        Text += best->SayAs.at(k);
        Origin.push_back(static_cast<qint32>(i));
      }
      i += best->Written.size();
    }
    Origin.push_back(static_cast<qint32>(input.size()));
  }
};

TEST(PronunciationList, AgreesWithTheRulesOnRandomTexts) {
  const QStringList words = {QStringLiteral("ab"),
                             QStringLiteral("AB"),
                             QStringLiteral("abc"),
                             QStringLiteral("b"),
                             QStringLiteral("C++"),
                             QStringLiteral("x_1"),
                             QStringLiteral("\u00e9t\u00e9"),
                             QStringLiteral("\U0001F600"),
                             QStringLiteral("Ab c"),
                             QStringLiteral("9"),
                             QStringLiteral("\u00c9T\u00c9"),
                             QStringLiteral("\U00010400b"),
                             QStringLiteral("\U00010428B"),
                             QStringLiteral("\u212A"),
                             QStringLiteral("k")};
  const QStringList engines = {QString(), QStringLiteral("Flite"), QStringLiteral("eSpeak NG")};
  const QStringList glue = {QStringLiteral(" "), QStringLiteral(""),   QStringLiteral(", "),
                            QStringLiteral("."), QStringLiteral("\n"), QStringLiteral("'")};
  std::mt19937 random(20261208);
  auto pick = [&random](const QStringList& from) {
    return from.at(static_cast<qsizetype>(random() % static_cast<unsigned>(from.size())));
  };
  for (int round = 0; round < 3000; ++round) {
    TPronunciationList list;
    const int entries = 1 + static_cast<int>(random() % 6);
    for (int e = 0; e < entries; ++e) {
      const QString sayAs = QString(static_cast<qsizetype>(random() % 7), u'z');
      list.Items.push_back(
          {pick(words), sayAs, random() % 2 == 0, random() % 2 == 0, pick(engines)});
    }
    QString text;
    const int pieces = static_cast<int>(random() % 12);
    for (int p = 0; p < pieces; ++p) {
      text += pick(words) + pick(glue);
    }
    TPronunciationMap map;
    const QString result = list.Apply(text, QStringLiteral("Flite"), map);
    std::vector<TPronunciation> forFlite;
    std::copy_if(list.Items.begin(), list.Items.end(), std::back_inserter(forFlite),
                 [](const TPronunciation& item) { return item.Engine != u"eSpeak NG"; });
    const TReference reference(text, forFlite);
    ASSERT_EQ(result, reference.Text) << "input: " << text.toStdString();
    for (qint32 p = 0; p <= result.size(); ++p) {
      ASSERT_EQ(map.MapPosition(p), reference.Origin[static_cast<std::size_t>(p)])
          << "position " << p << " of input: " << text.toStdString();
    }
  }
}

TEST(PronunciationList, FilterMapsThroughBothRewritesBackToTheArticle) {
  TPronunciationList list;
  list.Items = {Entry("Dr", "Doctor"), Entry("nite", "night", false)};
  TTTSFilter filter;
  const QString text = QStringLiteral("Dr Who sees www.example.com/a/b tonite, yes.");
  const QString spoken = filter.FilterText(0, text, false, &list, QStringLiteral("Flite"));
  ASSERT_TRUE(spoken.startsWith(u"Doctor Who")) << spoken.toStdString();
  EXPECT_EQ(filter.MapPosition(static_cast<qint32>(spoken.indexOf(u"Who"))), text.indexOf(u"Who"));
  EXPECT_EQ(filter.MapPosition(static_cast<qint32>(spoken.indexOf(u"yes"))), text.indexOf(u"yes"));
  EXPECT_EQ(filter.MapPosition(static_cast<qint32>(spoken.indexOf(u"toni"))),
            text.indexOf(u"toni"));
}

TEST(PronunciationList, FileRoundTripAndDamagedLines) {
  TPronunciationList list;
  list.Items = {Entry("GUI", "gooey"), Entry("a\tb\\c", "line\none\r", false, true, "Flite"),
                Entry("\u00e9t\u00e9 \U0001F600", "summer", true, false, "eSpeak NG")};
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("sub/pronunciations.txt"));
  QString error;
  ASSERT_TRUE(list.Save(path, &error)) << error.toStdString();
  TPronunciationList loaded;
  QList<int> bad;
  ASSERT_TRUE(loaded.Load(path, &error, &bad));
  EXPECT_EQ(loaded.Items, list.Items);
  EXPECT_TRUE(bad.isEmpty());

  // Lines written by hand: defaults for missing fields, CR LF, comments, and
  // lines that cannot be read are skipped and named.
  const QString text = QStringLiteral(
      "# mine\r\nNASA\tnassa\r\n\r\nbad line\r\n\tempty written\r\nx\ty\tword,sideways\r\n"
      "q\tkyoo\tanywhere,case\tFlite\r\nend\\q\tz\r\n");
  const std::vector<TPronunciation> parsed = TPronunciationList::FromText(text, &bad);
  EXPECT_EQ(parsed, (std::vector<TPronunciation>{Entry("NASA", "nassa"),
                                                 Entry("q", "kyoo", false, true, "Flite")}));
  EXPECT_EQ(bad, (QList<int>{4, 5, 6, 8}));

  // No file yet: an empty list, no error.
  TPronunciationList none;
  none.Items = list.Items;
  EXPECT_TRUE(none.Load(dir.filePath(QStringLiteral("missing.txt")), &error));
  EXPECT_TRUE(none.Items.empty());
}

}  // namespace
