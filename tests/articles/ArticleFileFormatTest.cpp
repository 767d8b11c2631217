#include <gtest/gtest.h>

#include <QDir>
#include <cerrno>
#include <cstring>

#include "ArticleFileFormat.h"
#include "TestEnvironment.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray kStart = "||||||Verbalune MP3 Start of Article||||||\r\n";
const QByteArray kEnd = "||||||Verbalune MP3 End of Article||||||\r\n";

QList<TArticleRecord> Parse(const QByteArray& bytes) {
  return ParseArticleFile(DecodeArticleText(bytes)).Records;
}

TEST(ArticleFileFormatTest, WritesMarkersPropertyLineAndCrLf) {
  EXPECT_EQ(FormatArticleRecord({QStringLiteral("News"), QStringLiteral("Mary"),
                                 QStringLiteral("Line one\nLine two")}),
            kStart + "News|Mary|2\r\nLine one\r\nLine two\r\n" + kEnd);
  // An empty article still has its one, empty, text line.
  EXPECT_EQ(FormatArticleRecord({QStringLiteral("T"), QString(), QString()}),
            kStart + "T||1\r\n\r\n" + kEnd);
}

TEST(ArticleFileFormatTest, RecordsSurviveARoundTrip) {
  const QList<TArticleRecord> records = {
      {QStringLiteral("Blank_lines"), QStringLiteral("Mary"), QStringLiteral("a\n\n\nb")},
      {QStringLiteral("Ends_in_breaks"), QStringLiteral("Mary"), QStringLiteral("a\n\n")},
      {QStringLiteral("Only_breaks"), QString(), QStringLiteral("\n")},
      {QStringLiteral("Empty"), QStringLiteral("Sam"), QString()},
      {QStringLiteral("Gr\u00fc\u00dfe"), QStringLiteral("eSpeak NG - Deutsch"),
       QStringLiteral("Gr\u00fc\u00dfe \u2013 \u6771\u4eac \U0001F600\u00a0\u20ac")},
      {QStringLiteral("a|b"), QStringLiteral("Mary"), QStringLiteral("bar in the title")},
      {QStringLiteral("|lead|trail|"), QStringLiteral("Sam"), QStringLiteral("x")},
      {QStringLiteral("Year_2024"), QString(), QStringLiteral("digits end the title")},
      {QStringLiteral("Start"), QString(),
       QStringLiteral("||||||Verbalune MP3 Start of Article||||||\nin the text")},
      {QStringLiteral("Markers"), QString(),
       QStringLiteral("||||||Verbalune MP3 End of Article||||||\n"
                      "\\||||||Verbalune MP3 End of Article||||||\n"
                      "\\\\||||||Verbalune MP3 Start of Article||||||\n"
                      "||||||Verbalune MP3 End of Article||||||")},
      {QStringLiteral("After_the_markers"), QString(), QStringLiteral("still here")},
  };
  QByteArray file;
  for (const TArticleRecord& r : records) {
    file += FormatArticleRecord(r);
  }
  const TArticleFileContents parsed = ParseArticleFile(DecodeArticleText(file));
  EXPECT_EQ(parsed.End, TArticleReadEnd::EndOfFile);
  ASSERT_EQ(parsed.Records.size(), records.size());
  for (qsizetype i = 0; i < records.size(); ++i) {
    EXPECT_EQ(parsed.Records[i], records[i]) << "record " << i;
  }
}

TEST(ArticleFileFormatTest, TitleAndVoiceCannotBreakTheRecord) {
  const QByteArray bytes =
      FormatArticleRecord({QStringLiteral("a\r\nb"), QStringLiteral("v\nw"), QStringLiteral("t")});
  const QList<TArticleRecord> parsed = Parse(bytes + FormatArticleRecord({}));
  ASSERT_EQ(parsed.size(), 2);
  EXPECT_EQ(parsed[0].Title, QStringLiteral("a  b"));
  EXPECT_EQ(parsed[0].Voice, QStringLiteral("v w"));
}

TEST(ArticleFileFormatTest, SplitsPropertyLines) {
  struct Case {
    const char16_t* line;
    const char16_t* title;
    const char16_t* voice;
  };
  const Case cases[] = {
      {u"News|Mary|2", u"News", u"Mary"},
      {u"News|Mary|many", u"News", u"Mary"},  // the count is not needed
      {u"News|Mary", u"News", u"Mary"},
      {u"News", u"News", u""},
      {u"", u"", u""},
      {u"||1", u"", u""},
      {u"a|b|Mary|3", u"a|b", u"Mary"},
      {u"a|b|Mary|x", u"a", u"b"},  // no count at the end: read from the left
      {u"News||7", u"News", u""},
  };
  for (const Case& c : cases) {
    const TArticleProperties props = SplitPropertyLine(QStringView(c.line));
    EXPECT_EQ(props.Title, QString::fromUtf16(c.title)) << QString::fromUtf16(c.line).toStdString();
    EXPECT_EQ(props.Voice, QString::fromUtf16(c.voice)) << QString::fromUtf16(c.line).toStdString();
  }
}

TEST(ArticleFileFormatTest, ReadsAnyLineEnds) {
  const QByteArray crlf = kStart + "T|V|2\r\none\r\n\r\n" + kEnd;
  QByteArray lf = crlf;
  lf.replace("\r\n", "\n");
  QByteArray cr = crlf;
  cr.replace("\r\n", "\r");
  QByteArray noFinalBreak = crlf;
  noFinalBreak.chop(2);
  const TArticleRecord expected{QStringLiteral("T"), QStringLiteral("V"), QStringLiteral("one\n")};
  for (const QByteArray& bytes : {crlf, lf, cr, noFinalBreak}) {
    const QList<TArticleRecord> parsed = Parse(bytes);
    ASSERT_EQ(parsed.size(), 1) << bytes.toStdString();
    EXPECT_EQ(parsed[0], expected) << bytes.toStdString();
  }
}

TEST(ArticleFileFormatTest, DecodesUtf8AndFallsBackToWindows1252) {
  EXPECT_EQ(DecodeArticleText("caf\xC3\xA9 \xE2\x82\xAC"), QStringLiteral("caf\u00e9 \u20ac"));
  EXPECT_EQ(DecodeArticleText("\xEF\xBB\xBFplain"), QStringLiteral("plain"));
  // Windows-1252: e-acute, euro sign, right single quote, and an unassigned byte.
  EXPECT_EQ(DecodeArticleText("caf\xE9 \x80 it\x92s \x81"),
            QStringLiteral("caf\u00e9 \u20ac it\u2019s \u0081"));
  // A cut-off UTF-8 sequence is not UTF-8.
  EXPECT_EQ(DecodeArticleText("ab\xC3"), QStringLiteral("ab\u00c3"));
}

TEST(ArticleFileFormatTest, MarkerLinesGainOneBackslashWhenWrittenAndLoseOneWhenRead) {
  struct Case {
    QByteArray text;     // a line of article text
    QByteArray written;  // the line in the file
  };
  const QByteArray end = "||||||Verbalune MP3 End of Article||||||";
  const QByteArray start = "||||||Verbalune MP3 Start of Article||||||";
  const Case cases[] = {
      {end, "\\" + end},
      {start, "\\" + start},
      {"\\\\" + end, "\\\\\\" + end},
      {"\\" + start, "\\\\" + start},
      // Anything else is written as it is.
      {" " + end, " " + end},
      {end + " ", end + " "},
      {"x\\" + end, "x\\" + end},
      {"\\", "\\"},
      {"|||", "|||"},
  };
  for (const Case& c : cases) {
    const TArticleRecord record{QStringLiteral("T"), QString(), QString::fromUtf8(c.text)};
    const QByteArray file = FormatArticleRecord(record);
    EXPECT_EQ(file, kStart + "T||1\r\n" + c.written + "\r\n" + kEnd) << c.text.toStdString();
    EXPECT_EQ(Parse(file), QList<TArticleRecord>{record}) << c.text.toStdString();
  }
}

TEST(ArticleFileFormatTest, DamagedLinesAreSkippedToTheNextStartMarker) {
  const QByteArray one =
      FormatArticleRecord({QStringLiteral("One"), QString(), QStringLiteral("1")});
  const QByteArray two =
      FormatArticleRecord({QStringLiteral("Two"), QString(), QStringLiteral("2")});
  const QByteArray three =
      FormatArticleRecord({QStringLiteral("Three"), QString(), QStringLiteral("3")});
  struct Case {
    const char* name;
    QByteArray file;
    QStringList titles;
    qsizetype damagedLines;
  };
  const Case cases[] = {
      {"junk first line",
       "not an article file\r\n" + one + two + three,
       {u"One"_s, u"Two"_s, u"Three"_s},
       1},
      {"garbage between", one + "garbage\r\n\x01\x02\r\n" + two, {u"One"_s, u"Two"_s}, 2},
      {"blank lines between lose nothing", one + "\r\n  \r\n" + two, {u"One"_s, u"Two"_s}, 0},
      {"only garbage", "a\r\nb\r\n", {}, 2},
      {"empty file", "", {}, 0},
      // A writer that did not escape: the text line ends its article early,
      // and the rest of that article is skipped, not the articles after it.
      {"end marker in text",
       kStart + "T||3\r\nbefore\r\n" + kEnd + "after\r\n" + kEnd + two,
       {u"T"_s, u"Two"_s},
       2},
  };
  for (const Case& c : cases) {
    const TArticleFileContents parsed = ParseArticleFile(DecodeArticleText(c.file));
    QStringList titles;
    for (const TArticleRecord& r : parsed.Records) {
      titles << r.Title;
    }
    EXPECT_EQ(titles, c.titles) << c.name;
    EXPECT_EQ(parsed.DamagedLines, c.damagedLines) << c.name;
    EXPECT_EQ(parsed.End, TArticleReadEnd::EndOfFile) << c.name;
    EXPECT_EQ(parsed.Complete(), c.damagedLines == 0) << c.name;
  }
  EXPECT_EQ(ParseArticleFile(DecodeArticleText("x\r\n" + one)).Records[0].Text, u"1"_s);
}

TEST(ArticleFileFormatTest, TruncatedFilesKeepWhatWasRead) {
  // Cut in the text: the article so far is kept.
  TArticleFileContents parsed = ParseArticleFile(DecodeArticleText(kStart + "T|V|2\r\none\r\ntw"));
  ASSERT_EQ(parsed.Records.size(), 1);
  EXPECT_EQ(parsed.Records[0].Text, QStringLiteral("one\ntw"));
  EXPECT_EQ(parsed.End, TArticleReadEnd::EndOfFile);

  // The same bytes ended by a read error: the half line never arrived.
  parsed = ParseArticleFile(DecodeArticleText(kStart + "T|V|2\r\none\r\ntw"), true);
  ASSERT_EQ(parsed.Records.size(), 1);
  EXPECT_EQ(parsed.Records[0].Text, QStringLiteral("one"));
  EXPECT_EQ(parsed.End, TArticleReadEnd::ReadErrorInText);

  parsed = ParseArticleFile(DecodeArticleText(FormatArticleRecord({}) + kStart), true);
  EXPECT_EQ(parsed.Records.size(), 1);
  EXPECT_EQ(parsed.End, TArticleReadEnd::ReadErrorBetween);

  // A start marker as the very last line gives an empty article.
  parsed = ParseArticleFile(DecodeArticleText(kStart));
  ASSERT_EQ(parsed.Records.size(), 1);
  EXPECT_EQ(parsed.Records[0], TArticleRecord{});
}

TEST(ArticleFileFormatTest, SaveReplacesTheFileAndTidiesLeftovers) {
  TTempFolders folders;
  const QString path = folders.Path(QStringLiteral("VLExport.txt"));
  ASSERT_TRUE(WriteWholeFile(path, "old"));
  ASSERT_TRUE(WriteWholeFile(path + QStringLiteral(".tmp-AbC123"), "left by a killed export"));
  const QList<TArticleRecord> records = {{QStringLiteral("A"), QString(), QStringLiteral("a")},
                                         {QStringLiteral("B"), QString(), QStringLiteral("b")}};
  ASSERT_TRUE(SaveArticleFile(path, records));
  EXPECT_EQ(ReadWholeFile(path), FormatArticleRecord(records[0]) + FormatArticleRecord(records[1]));
  EXPECT_EQ(QDir(folders.DataDir()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("VLExport.txt")});

  ASSERT_TRUE(SaveArticleFile(path, {}));
  EXPECT_EQ(ReadWholeFile(path), QByteArray());
}

TEST(ArticleFileFormatTest, FailedSaveLeavesTheOldFile) {
  TTempFolders folders;
  // A folder where the file should be: the final rename cannot replace it.
  const QString path = folders.Path(QStringLiteral("VLExport.txt"));
  ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/keep")));
  QString error;
  QString reason;
  EXPECT_FALSE(SaveArticleBytes(path, FormatArticleRecord({}), &error, &reason));
  EXPECT_TRUE(error.contains(path));
  EXPECT_EQ(reason, QString::fromLocal8Bit(std::strerror(EISDIR)));
  EXPECT_TRUE(QDir(path + QStringLiteral("/keep")).exists());
  EXPECT_EQ(QDir(folders.DataDir()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

}  // namespace
