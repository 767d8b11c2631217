#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>

#include "GrabBaseClassUnit.h"
#include "SettingsErrors.h"
#include "SettingsTestSupport.h"

#include "TextDecoding.h"

using namespace Qt::Literals::StringLiterals;

namespace {

std::unique_ptr<GrabBaseClass> Parsed(const QString& text) {
  auto grab = std::make_unique<GrabBaseClass>();
  grab->LoadFromText(text);
  return grab;
}

TEST(GrabBaseClassTest, ValuesAndSectionsAreFound) {
  GrabBaseClass grab;
  grab.LoadFromText(
      QStringLiteral("  <Title>Help</Title>\n"
                     "<key name=Welcome>\n"
                     "   <Text>Hello\n"
                     "   world</Text>\n"
                     "   <key name=Welcome><Inner>deep</Inner></key>\n"
                     "   <After>yes</After>\n"
                     "</key>\n"
                     "<Tail>end</Tail>\r\n"));
  EXPECT_EQ(grab.GetText(QStringLiteral("/"), QStringLiteral("title")), QStringLiteral("Help"));
  EXPECT_EQ(grab.GetText(QStringLiteral("/Welcome"), QStringLiteral("Text")),
            QStringLiteral("Helloworld"))
      << "lines join with nothing between them";
  EXPECT_EQ(grab.GetText(QStringLiteral("/Welcome/Welcome"), QStringLiteral("Inner")),
            QStringLiteral("deep"));
  EXPECT_EQ(grab.GetText(QStringLiteral("/Welcome"), QStringLiteral("After")),
            QStringLiteral("yes"));
  EXPECT_EQ(grab.GetText(QStringLiteral("/"), QStringLiteral("Tail")), QStringLiteral("end"));
  EXPECT_EQ(grab.GetText(QStringLiteral("/welcome"), QStringLiteral("Text")), QString())
      << "section paths are case-sensitive";
  EXPECT_EQ(grab.GetText(QStringLiteral("/Nowhere"), QStringLiteral("Text")), QString());

  GBItemClass* inner = grab.Root().FindSection(QStringLiteral("/Welcome/Welcome"));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Level, 2);
  EXPECT_EQ(inner->Attribute, QStringLiteral("name"));
  EXPECT_EQ(inner->Parent->SectionPath, QStringLiteral("/Welcome"));
}

TEST(GrabBaseClassTest, RepeatedNameReplacesTheValueIgnoringCase) {
  auto grab = Parsed(QStringLiteral("<Voice>one</Voice><VOICE>two</VOICE>"));
  EXPECT_EQ(grab->GetText(QStringLiteral("/"), QStringLiteral("voice")), QStringLiteral("two"));
  EXPECT_EQ(grab->Root().Values.Names(), QStringList{QStringLiteral("Voice")});
}

TEST(GrabBaseClassTest, CountedListsFillMissingEntriesWithEmptyText) {
  auto grab = Parsed(QStringLiteral("<Topics>2</Topics><Topics0>First</Topics0>"
                                    "<Bad>two</Bad><Negative>-3</Negative><Nul>2") +
                     QChar(0) + QStringLiteral("</Nul>"));
  QStringList list{QStringLiteral("stale")};
  grab->GetList(QStringLiteral("/"), QStringLiteral("Topics"), list);
  EXPECT_EQ(list, (QStringList{u"First"_s, u""_s}));
  grab->GetList(QStringLiteral("/"), QStringLiteral("Missing"), list);
  EXPECT_TRUE(list.isEmpty());
  grab->GetList(QStringLiteral("/"), QStringLiteral("Negative"), list);
  EXPECT_TRUE(list.isEmpty());
  list = QStringList{QStringLiteral("stale")};
  grab->GetList(QStringLiteral("/Nowhere"), QStringLiteral("Topics"), list);
  EXPECT_TRUE(list.isEmpty());
  try {
    grab->GetList(QStringLiteral("/"), QStringLiteral("Bad"), list);
    FAIL() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("'two' is not a valid integer value"));
  }
  // A NUL after the digits is no end of the number.
  EXPECT_THROW(grab->GetList(QStringLiteral("/"), QStringLiteral("Nul"), list), EConvertError);
}

TEST(GrabBaseClassTest, NamesBeginningWithKeyAreSections) {
  auto grab = Parsed(QStringLiteral("<Keyboard>typed</Keyboard><After>x</After>"));
  EXPECT_EQ(grab->GetText(QStringLiteral("/"), QStringLiteral("Keyboard")), QString());
  EXPECT_EQ(grab->Root().Sections.size(), 1u);
}

TEST(GrabBaseClassTest, MalformedTextEndsWithoutLoopingOrCrashing) {
  const QString inputs[] = {
      QStringLiteral("<open>no close"),
      QStringLiteral("<key name=A><v>1</v>"),
      QStringLiteral("</key></key><key=X>"),
      QStringLiteral("a>b<c"),
      QStringLiteral("<<<>>>"),
      QStringLiteral("<>x</>"),
      QString(5000, u'<') + QString(5000, u'>'),
      QStringLiteral("<key=A>").repeated(20000),
  };
  for (const QString& input : inputs) {
    auto grab = Parsed(input);
    EXPECT_EQ(grab->GetText(QStringLiteral("/"), QStringLiteral("zzz")), QString());
  }
  auto unclosed = Parsed(QStringLiteral("<key name=A><v>1</v>"));
  EXPECT_EQ(unclosed->GetText(QStringLiteral("/A"), QStringLiteral("v")), QStringLiteral("1"));
}

TEST(GrabBaseClassTest, OnlyTheNextWindowOfTextIsReadAfterEachElement) {
  const QString filler(GrabBaseClass::WindowSize - 20, u'.');
  auto near = Parsed(QStringLiteral("<a>1</a>") + filler + QStringLiteral("<b>2</b>"));
  EXPECT_EQ(near->GetText(QStringLiteral("/"), QStringLiteral("b")), QStringLiteral("2"));
  auto far =
      Parsed(QStringLiteral("<a>1</a>") + filler + QString(30, u'.') + QStringLiteral("<b>2</b>"));
  EXPECT_EQ(far->GetText(QStringLiteral("/"), QStringLiteral("b")), QString());
}

TEST(GrabBaseClassTest, FilesAreReadAsUtf8OrWindows1252) {
  TTempFolders folders;
  const QString utf8 = folders.Path(QStringLiteral("utf8.chl"));
  const QString ansi = folders.Path(QStringLiteral("ansi.chl"));
  ASSERT_TRUE(WriteWholeFile(utf8, "\xEF\xBB\xBF<T>Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC</T>"));
  ASSERT_TRUE(WriteWholeFile(ansi, "<T>Gr\xFC\xDF\x65 \x80 \x93q\x94</T>"));
  GrabBaseClass grab;
  QString error;
  grab.LoadFromFile(utf8, error);
  EXPECT_TRUE(error.isEmpty());
  EXPECT_EQ(grab.GetText(QStringLiteral("/"), QStringLiteral("T")), QString::fromUtf8("Grüße €"));
  grab.LoadFromFile(ansi, error);
  EXPECT_EQ(grab.GetText(QStringLiteral("/"), QStringLiteral("T")),
            QString::fromUtf8("Grüße € “q”"));

  const QString missing = folders.Path(QStringLiteral("AudioHelp.chl"));
  grab.LoadFromFile(missing, error);
  EXPECT_EQ(error, QStringLiteral("File:") + missing + QStringLiteral(" Not Found."));
  EXPECT_EQ(grab.GetText(QStringLiteral("/"), QStringLiteral("T")), QString());
  QStringList topics;
  grab.GetList(QStringLiteral("/"), QStringLiteral("HelpTopics"), topics);
  EXPECT_TRUE(topics.isEmpty());
}

TEST(GrabBaseClassTest, ShippedFixtureLoads) {
  GrabBaseClass grab;
  QString error;
  grab.LoadFromFile(TestDataDir() + QStringLiteral("/settings/Sample.chl"), error);
  ASSERT_TRUE(error.isEmpty()) << error.toStdString();
  QStringList topics;
  grab.GetList(QStringLiteral("/"), QStringLiteral("HelpTopics"), topics);
  EXPECT_EQ(topics, (QStringList{u"Reading aloud"_s, u"Saving to files"_s}));
  EXPECT_EQ(grab.GetText(QStringLiteral("/Engines/Espk"), QStringLiteral("Test")),
            QStringLiteral("This is a test of the speech engine."));
}

TEST(TextDecodingTest, ValidUtf8IsKeptAndAnythingElseIsWindows1252) {
  EXPECT_EQ(DecodeTextFile("plain"), QStringLiteral("plain"));
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBFx"), QStringLiteral("x"));
  EXPECT_EQ(DecodeTextFile("\x81\x8D\x9F"), QString::fromUtf16(u"\u0081\u008D\u0178"));
  EXPECT_FALSE(IsValidUtf8("\xC3"));
  EXPECT_TRUE(IsValidUtf8("\xC3\xA9"));
}

// Text saved as "Unicode" by other programs: every form must give the same
// words, not one letter followed by garbage.
TEST(TextDecodingTest, Utf16AndUtf32ReadAsTheSameText) {
  const QString words = QStringLiteral("Gr\u00fc\u00dfe, caf\u00e9 \u20ac \U0001F600 end\r\n");
  const auto encode = [&words](QStringConverter::Encoding encoding) {
    return QByteArray(QStringEncoder(encoding)(words));
  };
  const QByteArray le16 = encode(QStringConverter::Utf16LE);
  const QByteArray be16 = encode(QStringConverter::Utf16BE);
  struct TCase {
    const char* Name;
    QByteArray Bytes;
  };
  const TCase cases[] = {
      {"UTF-16 LE with mark", QByteArray("\xFF\xFE", 2) + le16},
      {"UTF-16 BE with mark", QByteArray("\xFE\xFF", 2) + be16},
      {"UTF-16 LE without mark", le16},
      {"UTF-16 BE without mark", be16},
      {"UTF-32 LE with mark", QByteArray("\xFF\xFE\0\0", 4) +
                                  QByteArray(QStringEncoder(QStringConverter::Utf32LE)(words))},
      {"UTF-32 BE with mark", QByteArray("\0\0\xFE\xFF", 4) +
                                  QByteArray(QStringEncoder(QStringConverter::Utf32BE)(words))},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(DecodeTextFile(c.Bytes), words) << c.Name;
    EXPECT_FALSE(LooksLikeBinary(c.Bytes)) << c.Name;
  }
}

// Images and programs are refused; a text with a stray NUL, form feeds or
// colour escapes is still a text.
TEST(TextDecodingTest, PlainlyBinaryFilesAreToldFromDamagedText) {
  QByteArray elf(
      "\x7F"
      "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0\x3E\0\x01\0\0\0",
      24);
  elf += QByteArray(200, '\0');
  QByteArray png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1F\x15\xC4\x89",
                 33);
  for (int i = 0; i < 256; ++i) {
    png += static_cast<char>((i * 151 + 7) & 0xFF);  // stands for compressed data
  }
  QByteArray prose;
  for (int i = 0; i < 40; ++i) {
    prose += "A line of ordinary prose.\r\n";
  }
  struct TCase {
    const char* Name;
    QByteArray Bytes;
    bool Binary;
  };
  const TCase cases[] = {
      {"executable", elf, true},
      {"image", png, true},
      {"prose", prose, false},
      {"prose with a NUL", prose + QByteArray("a\0b", 3) + prose, false},
      {"page breaks and tabs", "one\ftwo\tthree\vfour\x1A", false},
      {"coloured log", "\x1B[31mred\x1B[0m plain", false},
      {"Windows-1252", "caf\xE9 \x80 it\x92s", false},
      {"empty", QByteArray(), false},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(LooksLikeBinary(c.Bytes), c.Binary) << c.Name;
  }
}

}  // namespace
