#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "AppPaths.h"
#include "BaseUtils.h"
#include "Exceptions.h"
#include "TestEnvironment.h"

namespace {

class TraceTest : public ::testing::Test {
 protected:
  TTempFolders Folders;
  QString Base() const { return AppPaths::TraceBaseName(); }
  QByteArray Read(const QString& suffix) const { return ReadWholeFile(Base() + suffix); }
};

TEST_F(TraceTest, LineIsStampedAndEndsInCrLfWithMessageUnescaped) {
  UtilsClass::Trace(QStringLiteral("first"));
  UtilsClass::Trace(QStringLiteral("two\r\nlines \"quoted\" \\ back"));
  const QByteArray text = Read(QStringLiteral(".dbg"));
  const QList<QByteArray> lines = text.split('\n');
  ASSERT_EQ(lines.size(), 4);  // 3 lines + the empty tail
  EXPECT_TRUE(lines[0].endsWith(" - first\r"));
  EXPECT_TRUE(lines[1].endsWith(" - two\r"));
  EXPECT_EQ(lines[2], "lines \"quoted\" \\ back\r");
}

TEST_F(TraceTest, NonAsciiMessageIsWrittenAsUtf8) {
  UtilsClass::Trace(QStringLiteral("café ☕"));
  EXPECT_TRUE(Read(QStringLiteral(".dbg")).contains("café ☕"));
}

TEST_F(TraceTest, MidnightStampHasNoTime) {
  const QDateTime midnight(QDate(2026, 12, 7), QTime(0, 0));
  const QDateTime morning(QDate(2026, 12, 7), QTime(6, 14, 37));
  const QString date = UtilsClass::TraceTimeStamp(midnight);
  EXPECT_FALSE(date.contains(u':'));
  EXPECT_TRUE(UtilsClass::TraceTimeStamp(morning).startsWith(date + u' '));
  EXPECT_TRUE(UtilsClass::TraceTimeStamp(morning).contains(QStringLiteral("14")));
}

TEST_F(TraceTest, StampUsesTheLocalesShortDateWithTheFullYearAndLongTime) {
  const QDateTime morning(QDate(2026, 12, 7), QTime(6, 14, 37));
  const QDateTime midnight(QDate(2026, 12, 7), QTime(0, 0));
  const struct {
    const char* locale;
    QString stamp;
  } cases[] = {
      {"en_US", QStringLiteral("12/7/2026 6:14:37 AM")},
      {"de_DE", QStringLiteral("07.12.2026 06:14:37")},
      {"en_GB", QStringLiteral("07/12/2026 06:14:37")},
  };
  for (const auto& c : cases) {
    const QLocale locale(QString::fromLatin1(c.locale));
    EXPECT_EQ(UtilsClass::TraceTimeStamp(morning, locale), c.stamp) << c.locale;
    EXPECT_EQ(UtilsClass::TraceTimeStamp(midnight, locale), c.stamp.section(u' ', 0, 0))
        << c.locale;
  }
}

TEST_F(TraceTest, ReadOnlyFolderLosesTheLineSilently) {
  if (::geteuid() == 0) {
    // root writes anyway; make the trace file name a folder instead.
    QDir().mkpath(UtilsClass::TraceFileName());
  } else {
    QFile::setPermissions(Folders.DataDir(), QFile::ReadOwner | QFile::ExeOwner);
  }
  UtilsClass::Trace(QStringLiteral("lost"));
  EXPECT_FALSE(QFileInfo(UtilsClass::TraceFileName()).isFile());
  QFile::setPermissions(Folders.DataDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(TraceTest, FirstStartRotatesNothingAndCreatesCurrentTrace) {
  UtilsClass::RotateTraceFiles();
  UtilsClass::Trace(QStringLiteral("hello"));
  EXPECT_TRUE(QFileInfo::exists(Base() + QStringLiteral(".dbg")));
  for (const char* generation : {"1.dbg", "2.dbg", "3.dbg"}) {
    EXPECT_FALSE(QFileInfo::exists(Base() + QString::fromLatin1(generation))) << generation;
  }
}

TEST_F(TraceTest, FourStartsKeepFourFilesAndDropTheOldest) {
  for (int run = 1; run <= 4; ++run) {
    UtilsClass::RotateTraceFiles();
    UtilsClass::Trace(QStringLiteral("run %1").arg(run));
  }
  EXPECT_TRUE(Read(QStringLiteral(".dbg")).contains("run 4"));
  EXPECT_TRUE(Read(QStringLiteral("1.dbg")).contains("run 3"));
  EXPECT_TRUE(Read(QStringLiteral("2.dbg")).contains("run 2"));
  EXPECT_TRUE(Read(QStringLiteral("3.dbg")).contains("run 1"));
  UtilsClass::RotateTraceFiles();
  EXPECT_TRUE(Read(QStringLiteral("3.dbg")).contains("run 2"));
  EXPECT_FALSE(QFileInfo::exists(Base() + QStringLiteral(".dbg")));
  const QStringList files = QDir(Folders.DataDir()).entryList({QStringLiteral("*.dbg")});
  EXPECT_EQ(files.size(), 3);
}

TEST_F(TraceTest, FailedRotationKeepsThePreviousRunsTrace) {
  struct TCase {
    const char* What;
    const char* Blocked;  // a generation made a folder, so copying into it fails
    const char* Source;   // the file copied into it
  };
  for (const TCase c : {TCase{"copy of the last trace fails", "1.dbg", "verbalune.dbg"},
                        TCase{"an older generation's copy fails", "3.dbg", "verbalune2.dbg"}}) {
    QDir(Folders.DataDir()).removeRecursively();
    QDir().mkpath(Folders.DataDir());
    UtilsClass::Trace(QStringLiteral("older run"));
    UtilsClass::RotateTraceFiles();
    UtilsClass::Trace(QStringLiteral("older run"));
    UtilsClass::RotateTraceFiles();
    UtilsClass::Trace(QStringLiteral("previous run"));
    const QString blocked = Base() + QString::fromLatin1(c.Blocked);
    QFile::remove(blocked);
    QDir().mkpath(blocked + QStringLiteral("/blocker"));
    QDir().mkpath(blocked + u'/' + QString::fromLatin1(c.Source));
    EXPECT_NO_THROW(UtilsClass::RotateTraceFiles()) << c.What;
    const QByteArray current = Read(QStringLiteral(".dbg"));
    EXPECT_TRUE(current.contains("previous run")) << c.What;
    EXPECT_TRUE(current.contains("Trace rotation failed: Cannot")) << c.What;
  }
}

TEST(CopyFileChunkedTest, CopiesAcrossChunkBoundariesAndIntoFolders) {
  TTempFolders folders;
  for (int size : {0, 1, 8191, 8192, 8193, 3 * 8192 + 5}) {
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) {
      data[i] = static_cast<char>(i * 7);
    }
    ASSERT_TRUE(WriteWholeFile(folders.Path(QStringLiteral("src.bin")), data));
    UtilsClass::CopyFileChunked(folders.Path(QStringLiteral("src.bin")),
                                folders.Path(QStringLiteral("dst.bin")));
    EXPECT_EQ(ReadWholeFile(folders.Path(QStringLiteral("dst.bin"))), data) << size;
  }
  QDir().mkpath(folders.Path(QStringLiteral("sub")));
  UtilsClass::CopyFileChunked(folders.Path(QStringLiteral("src.bin")),
                              folders.Path(QStringLiteral("sub")));
  EXPECT_TRUE(QFileInfo::exists(folders.Path(QStringLiteral("sub/src.bin"))));
}

TEST(CopyFileChunkedTest, ReportsMissingSourceAndUncreatableDestination) {
  TTempFolders folders;
  const QString missing = folders.Path(QStringLiteral("missing"));
  try {
    UtilsClass::CopyFileChunked(missing, folders.Path(QStringLiteral("x")));
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Cannot open file ") + missing);
  }
  ASSERT_TRUE(WriteWholeFile(folders.Path(QStringLiteral("src")), "abc"));
  const QString bad = folders.Path(QStringLiteral("no/such/dir/file"));
  try {
    UtilsClass::CopyFileChunked(folders.Path(QStringLiteral("src")), bad);
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Cannot create file ") + bad);
  }
}

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UtilsClass::SetShellHandler([this](const QString& url) {
      Opened << url;
      return true;
    });
  }
  void TearDown() override { UtilsClass::SetShellHandler({}); }
  QStringList Opened;
};

TEST_F(ShellTest, MailSubjectIsCutAfterHundredCharacters) {
  const QString hundred(100, u's');
  UtilsClass::SendMailLink(QString(), hundred, QStringLiteral("b"));
  UtilsClass::SendMailLink(QString(), hundred + u'x', QStringLiteral("b"));
  ASSERT_EQ(Opened.size(), 2);
  EXPECT_EQ(Opened[0], QStringLiteral("mailto:?Subject=") + hundred + QStringLiteral("&Body=b"));
  EXPECT_EQ(Opened[1], QStringLiteral("mailto:?Subject=") + hundred + QStringLiteral("...&Body=b"));
}

TEST_F(ShellTest, MailDropsQuotesAndAmpersandsButKeepsBlanks) {
  UtilsClass::SendMailLink(QStringLiteral("a@b.c"), QStringLiteral("Tom's & Jerry"),
                           QStringLiteral("don't & won't"));
  ASSERT_EQ(Opened.size(), 1);
  EXPECT_EQ(Opened[0], QStringLiteral("mailto:a@b.c?Subject=Toms  Jerry&Body=dont  wont"));
}

TEST_F(ShellTest, LongLinkIsCutAtThousandCharacters) {
  UtilsClass::SendMailLink(QString(), QStringLiteral("s"), QString(2000, u'b'));
  ASSERT_EQ(Opened.size(), 1);
  EXPECT_EQ(Opened[0].size(), 1000);
  UtilsClass::OpenLink(QStringLiteral("https://example.org/help"));
  EXPECT_EQ(Opened.last(), QStringLiteral("https://example.org/help"));
}

TEST(RemoveCharTest, RemovesEveryOccurrence) {
  EXPECT_EQ(UtilsClass::RemoveChar(QStringLiteral("a'b''c'"), u'\''), QStringLiteral("abc"));
  EXPECT_EQ(UtilsClass::RemoveChar(QString(), u'x'), QString());
}

}  // namespace
