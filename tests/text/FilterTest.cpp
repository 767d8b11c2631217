#include <gtest/gtest.h>

#include "LookupTable.h"
#include "TTSFilter.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct TFilterCase {
  const char* Name;
  QString Input;
  QString Expected;
  bool FilterSymbols = false;
  quint32 EngineFlags = 0;
};

void PrintTo(const TFilterCase& c, std::ostream* os) {
  *os << c.Name;
}

class FilterTextTest : public ::testing::TestWithParam<TFilterCase> {};

TEST_P(FilterTextTest, RewritesAsSpoken) {
  const TFilterCase& c = GetParam();
  TTTSFilter filter;
  EXPECT_EQ(filter.FilterText(c.EngineFlags, c.Input, c.FilterSymbols), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Punctuation, FilterTextTest,
    ::testing::Values(TFilterCase{"Ellipsis", u"The end... More"_s, u"The end,   More"_s},
                      TFilterCase{"SpacedDots", u"Wait. . . now"_s, u"Wait,     now"_s},
                      TFilterCase{"StopAndQuestion", u"Hi.?x"_s, u"Hi, x"_s},
                      TFilterCase{"RunAtEndKept", u"Hi.?!"_s, u"Hi.?!"_s},
                      TFilterCase{"SingleStopKept", u"Hello. World"_s, u"Hello. World"_s},
                      TFilterCase{"NoFullStopKept", u"Really?! Yes"_s, u"Really?! Yes"_s},
                      TFilterCase{"LineBreakEndsRun", u"a..\nb"_s, u"a, \nb"_s},
                      TFilterCase{"MinusBeforeDigitIsASign", u"fell. -5 degrees"_s,
                                  u"fell. -5 degrees"_s},
                      TFilterCase{"SignEndsARun", u"fell.. -5 x"_s, u"fell,  -5 x"_s},
                      TFilterCase{"DashBeforeWordStaysAMark", u"so. - yes"_s, u"so,   yes"_s}),
    [](const auto& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Addresses, FilterTextTest,
    ::testing::Values(
        TFilterCase{"WwwPath", u"www.ab.cd/gh/ij x"_s, u"w w w.ab.cd web link  x"_s},
        TFilterCase{"WwwPathAtEnd", u"go www.ab.cd/g/h"_s, u"go w w w.ab.cd web link "_s},
        TFilterCase{"WwwWithoutPath", u"www.ab.cd is NY."_s, u"w w w.ab.cd is NY."_s},
        TFilterCase{"HttpBlanked", u"at http://ab now"_s, u"at        ab now"_s},
        TFilterCase{"HttpCapitalsKept", u"HTTP://ab now"_s, u"HTTP://ab now"_s},
        TFilterCase{"HttpsKept", u"https://ab now"_s, u"https://ab now"_s},
        TFilterCase{"HttpWithPath", u"http://www.x.com/a/b ok"_s,
                    u"       w w w.x.com web link  ok"_s},
        TFilterCase{"JoinedCapitals", u"XNY.abc/x"_s, u"Xny.abc web link "_s},
        TFilterCase{"JoinedDottedCapitals", u"see QRS.ABC.DEF/x now"_s,
                    u"see Qrs.abc.def web link  now"_s},
        TFilterCase{"MixedCaseHost", u"Go to Example.com/x now"_s,
                    u"Go to Example.com web link  now"_s},
        TFilterCase{"SlashWithoutDotKept", u"and/or Troy, NY."_s, u"and/or Troy, New York."_s},
        TFilterCase{"PathEndsAtLineBreak", u"example.com/page\nThe next"_s,
                    u"example.com web link \nThe next"_s},
        TFilterCase{"PathEndsAtTab", u"a.b/c\td"_s, u"a.b web link \td"_s},
        TFilterCase{"HostEndsAtLineBreak", u"a.b\nc/d e"_s, u"a.b\nc/d e"_s},
        TFilterCase{"NineCharacterPath", u"a.b/123456789 x"_s, u"a.b web link  x"_s}),
    [](const auto& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Words, FilterTextTest,
    ::testing::Values(
        TFilterCase{"FourCapitalsKept", u"NASA said"_s, u"NASA said"_s},
        TFilterCase{"LongCapitalsLowered", u"UNICEF said"_s, u"unicef said"_s},
        TFilterCase{"DigitFirstLowered", u"9ABCD x"_s, u"9abcd x"_s},
        TFilterCase{"StateAfterTown", u"Albany, NY is big"_s, u"Albany, New York is big"_s},
        TFilterCase{"StateBeforeZip", u"Springfield, IL 62701 x"_s,
                    u"Springfield, Illinois 62701 x"_s},
        TFilterCase{"StateBeforeZipPlusFour", u"Gary IN 46402-1234"_s,
                    u"Gary Indiana 46402-1234"_s},
        TFilterCase{"StateOutsideAddressKept", u"NY is big, OK then"_s, u"NY is big, OK then"_s},
        TFilterCase{"CapitalWordsKept", u"COME IN OR GO HOME"_s, u"COME IN OR GO HOME"_s},
        TFilterCase{"CapitalTownKept", u"SO, IN a way"_s, u"SO, IN a way"_s},
        TFilterCase{"SixDigitsAreNoZip", u"IN 123456 x"_s, u"IN 123456 x"_s},
        TFilterCase{"StateKeptForFlaggedEngine", u"Albany, NY is big"_s, u"Albany, NY is big"_s,
                    false, 2},
        TFilterCase{"OtherFlagBitsIgnored", u"Albany, NY is big"_s, u"Albany, New York is big"_s,
                    false, 5},
        TFilterCase{"MixedCaseStateKept", u"Albany, Ny is big"_s, u"Albany, Ny is big"_s},
        TFilterCase{"AssociatedPress", u"AP reports"_s, u"Associated Press reports"_s},
        TFilterCase{"AssociatedPressForFlaggedEngine", u"AP reports"_s,
                    u"Associated Press reports"_s, false, 2},
        TFilterCase{"AccentSeparatesWords", u"\u00e9UNICEF\u00e9"_s, u"\u00e9unicef\u00e9"_s},
        TFilterCase{"WordAtEndKept", u"Troy, NY"_s, u"Troy, NY"_s},
        TFilterCase{"WordBeforeStopReplaced", u"Troy, NY."_s, u"Troy, New York."_s},
        TFilterCase{"SurrogatesSeparateWords", u"\U0001F600AP\U0001F600"_s,
                    u"\U0001F600Associated Press\U0001F600"_s}),
    [](const auto& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Symbols, FilterTextTest,
    ::testing::Values(TFilterCase{"AngleBrackets", u"a<b>"_s, u"a b "_s, true},
                      TFilterCase{"Underscore", u"x_y"_s, u"x y"_s, true},
                      TFilterCase{"AllSymbols", u"()*<=>[\\]^_`{|}~/"_s, u"                /"_s,
                                  true},
                      TFilterCase{"AngleBracketsKeptWhenOff", u"a<b>"_s, u"a<b>"_s},
                      TFilterCase{"UnderscoreKeptWhenOff", u"x_y"_s, u"x_y"_s}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(MapPositionTest, MapsBackIntoTheUnfilteredText) {
  TTTSFilter filter;
  ASSERT_EQ(filter.FilterText(0, u"I live in Troy, NY, yes"_s, false),
            u"I live in Troy, New York, yes"_s);
  EXPECT_EQ(filter.MapPosition(0), 0);
  EXPECT_EQ(filter.MapPosition(16), 16);
  EXPECT_EQ(filter.MapPosition(20), 16);
  EXPECT_EQ(filter.MapPosition(24), 16);
  EXPECT_EQ(filter.MapPosition(26), 20);
}

TEST(MapPositionTest, AnswersForTheLatestTextOnly) {
  TTTSFilter filter;
  EXPECT_EQ(filter.MapPosition(7), 7);  // nothing filtered yet
  filter.FilterText(0, u"AP and AP said"_s, false);
  EXPECT_EQ(filter.OffsetList().Records().size(), 2u);
  EXPECT_EQ(filter.MapPosition(21), 7);  // second "Associated Press"
  filter.FilterText(0, u"nothing to do"_s, false);
  EXPECT_TRUE(filter.OffsetList().Records().empty());
  EXPECT_EQ(filter.MapPosition(21), 21);
}

TEST(MapPositionTest, AddressRecordsShiftLaterWords) {
  TTTSFilter filter;
  const QString out = filter.FilterText(0, u"www.ab.cd/gh/ij\nand Napa, CA"_s + u"."_s, false);
  ASSERT_EQ(out, u"w w w.ab.cd web link \nand Napa, Callifornia."_s);
  // "and" sits at 16 in the article; "www" grew by 2, "gh/ij" by 4.
  EXPECT_EQ(filter.MapPosition(out.indexOf(u"and"_s)), 16);
  EXPECT_EQ(filter.MapPosition(out.indexOf(u"Callifornia"_s) + 5), 26);
  EXPECT_EQ(filter.MapPosition(out.indexOf(u"web"_s)), 10);
}

TEST(LookupTableTest, FirstPairWinsAndMissingKeysAreEmpty) {
  TLookupTable table;
  table.Add(u"k"_s, u"one"_s);
  table.Add(u"k"_s, u"two"_s);
  EXPECT_EQ(table.Count(), 2);
  EXPECT_EQ(table.Lookup(u"k"), u"one"_s);
  EXPECT_EQ(table.Lookup(u"K"), QString());
  EXPECT_EQ(table.Lookup(u""), QString());
}

TEST(LookupTableTest, StateTableKeepsTheSpokenSpellings) {
  const TLookupTable& states = StateNamesTable();
  EXPECT_EQ(states.Count(), 49);
  EXPECT_EQ(states.Lookup(u"CA"), u"Callifornia"_s);
  EXPECT_EQ(states.Lookup(u"IN"), u"Indiana"_s);
  EXPECT_EQ(states.Lookup(u"WV"), u"West Virginia"_s);
  EXPECT_EQ(states.Lookup(u"DC"), QString());
}

}  // namespace
