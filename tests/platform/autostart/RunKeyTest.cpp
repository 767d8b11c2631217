#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "DesktopEntry.h"
#include "RunKey.h"
#include "TestEnvironment.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class RunKeyTest : public ::testing::Test {
 protected:
  void SetUp() override { SetAutostartDir(FDir.path() + u"/config/autostart"_s); }
  void TearDown() override { SetAutostartDir(QString()); }
  QString EntryPath() const { return FDir.path() + u"/config/autostart/verbalune.desktop"_s; }

  QTemporaryDir FDir;
};

const QStringList kAuto{QStringLiteral("-auto")};

}  // namespace

TEST(DesktopExecLineTest, QuotesOnlyWhatNeedsIt) {
  struct TCase {
    QString Program;
    QString Expected;
  };
  const TCase cases[] = {
      {u"/usr/bin/verbalune"_s, u"/usr/bin/verbalune -auto"_s},
      {u"/opt/my apps/verbalune"_s, u"\"/opt/my apps/verbalune\" -auto"_s},
      {u"/opt/100%/verbalune"_s, u"/opt/100%%/verbalune -auto"_s},
      // Inside quotes a backslash is escaped once for Exec and once for the value.
      {u"/opt/a\\b/verbalune"_s, u"\"/opt/a\\\\\\\\b/verbalune\" -auto"_s},
      {u"/opt/$HOME/\"x\""_s, u"\"/opt/\\\\$HOME/\\\\\"x\\\\\"\" -auto"_s},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(DesktopExecLine(c.Program, kAuto), c.Expected) << c.Program.toStdString();
  }
}

TEST(DesktopExecLineTest, EveryProgramPathSurvivesTheRoundTrip) {
  const QStringList programs{
      u"/usr/bin/verbalune"_s,      u"/home/ann/My Programs/verbalune"_s,
      u"/tmp/it's \"odd\"/v"_s,     u"/tmp/a\\b\\\\c/v"_s,
      u"/tmp/$PATH`id`/v"_s,        u"/tmp/50% off/%f/v"_s,
      u"/tmp/line\nbreak\ttab/v"_s, u"/tmp/ünïcödé ☃/v"_s,
      u"/tmp/semi;pipe|amp&/v"_s,   u"/tmp/(paren) #hash ~tilde */v"_s,
  };
  for (const QString& program : programs) {
    const QString line = DesktopExecLine(program, {u"-auto"_s, QString()});
    EXPECT_FALSE(line.contains(u'\n')) << line.toStdString();
    const auto parsed = ParseDesktopExecLine(line);
    ASSERT_TRUE(parsed.has_value()) << line.toStdString();
    EXPECT_EQ(*parsed, (QStringList{program, u"-auto"_s, QString()})) << line.toStdString();
  }
}

TEST(DesktopExecLineTest, MalformedLinesAreRejected) {
  for (const QString& bad :
       {u"\"/usr/bin/v -auto"_s, u"/usr/bin/v %"_s, u"\"a\\qb\""_s, u"/usr/bin/v \\"_s}) {
    EXPECT_FALSE(ParseDesktopExecLine(bad).has_value()) << bad.toStdString();
  }
  EXPECT_EQ(*ParseDesktopExecLine(u"v  %U  -auto"_s), (QStringList{u"v"_s, u"-auto"_s}));
}

TEST_F(RunKeyTest, EnableWritesDisableRemoves) {
  EXPECT_FALSE(RunKeyValueExists(u"Verbalune"_s));
  // The autostart folder does not exist yet on a fresh account.
  ASSERT_TRUE(SetRunKeyValue(u"Verbalune"_s, u"/opt/Verbalune MP3/verbalune"_s, kAuto, true));
  EXPECT_TRUE(QFile::exists(EntryPath()));
  EXPECT_TRUE(RunKeyValueExists(u"Verbalune"_s));
  EXPECT_EQ(RunKeyValueCommand(u"Verbalune"_s),
            (QStringList{u"/opt/Verbalune MP3/verbalune"_s, u"-auto"_s}));
  const QByteArray text = ReadWholeFile(EntryPath());
  EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
  EXPECT_TRUE(text.contains("\nType=Application\n"));

  ASSERT_TRUE(SetRunKeyValue(u"Verbalune"_s, QString(), {}, false));
  EXPECT_FALSE(QFile::exists(EntryPath()));
  EXPECT_FALSE(RunKeyValueExists(u"Verbalune"_s));
  // Removing what is not there is no error.
  EXPECT_TRUE(SetRunKeyValue(u"Verbalune"_s, QString(), {}, false));
}

TEST_F(RunKeyTest, RewritingCorrectsAMovedProgram) {
  SetRunKeyValue(u"Verbalune"_s, u"/old/place/verbalune"_s, kAuto, true);
  SetRunKeyValue(u"Verbalune"_s, u"/new/place/verbalune"_s, kAuto, true);
  EXPECT_EQ(RunKeyValueCommand(u"Verbalune"_s).value(0), u"/new/place/verbalune"_s);
  // No temporary files are left beside the entry.
  EXPECT_EQ(QDir(QFileInfo(EntryPath()).absolutePath()).entryList(QDir::Files),
            QStringList{u"verbalune.desktop"_s});
}

TEST_F(RunKeyTest, EntriesTheDesktopSkipsCountAsAbsent) {
  struct TCase {
    QByteArray Text;
    bool Exists;
  };
  const TCase cases[] = {
      {"[Desktop Entry]\nExec=v -auto\n", true},
      {"[Desktop Entry]\nExec=v -auto\nHidden=true\n", false},
      {"[Desktop Entry]\nExec=v\nX-GNOME-Autostart-enabled=false\n", false},
      {"[Other]\nExec=v\n", false},
      {"\x00\xff garbage", false},
      {"", false},
  };
  for (const TCase& c : cases) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(EntryPath()).absolutePath()));
    ASSERT_TRUE(WriteWholeFile(EntryPath(), c.Text));
    EXPECT_EQ(RunKeyValueExists(u"Verbalune"_s), c.Exists) << c.Text.toStdString();
  }
  // Checking the box again brings a skipped entry back.
  SetRunKeyValue(u"Verbalune"_s, u"/usr/bin/verbalune"_s, kAuto, true);
  EXPECT_TRUE(RunKeyValueExists(u"Verbalune"_s));
}

TEST_F(RunKeyTest, AnUnwritableFolderFailsQuietly) {
  // A file where the autostart folder should be.
  ASSERT_TRUE(QDir().mkpath(FDir.path() + u"/config"_s));
  ASSERT_TRUE(WriteWholeFile(FDir.path() + u"/config/autostart"_s, "x"));
  EXPECT_FALSE(SetRunKeyValue(u"Verbalune"_s, u"/usr/bin/verbalune"_s, kAuto, true));
  EXPECT_FALSE(RunKeyValueExists(u"Verbalune"_s));
}

TEST_F(RunKeyTest, ValueNamesCannotLeaveTheFolder) {
  EXPECT_EQ(QFileInfo(RunKeyFileName(u"../../evil"_s)).absolutePath(),
            QFileInfo(EntryPath()).absolutePath());
  EXPECT_TRUE(RunKeyFileName(u"Verbalune"_s).endsWith(u"/verbalune.desktop"));
}

TEST(AutostartDirTest, FollowsXdgConfigHome) {
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", "/some/where");
  EXPECT_EQ(AutostartDir(), u"/some/where/autostart"_s);
  qputenv("XDG_CONFIG_HOME", "relative/path");
  EXPECT_EQ(AutostartDir(), QDir::homePath() + u"/.config/autostart"_s);
  qputenv("XDG_CONFIG_HOME", saved);
}

namespace {

// desktop-file-validate's verdict: empty when the entry is valid.
QString DesktopFileErrors(const QString& path) {
  QProcess validate;
  validate.start(u"desktop-file-validate"_s, {path});
  if (!validate.waitForFinished(30000)) {
    return u"desktop-file-validate did not run"_s;
  }
  const QString output = QString::fromUtf8(validate.readAllStandardOutput());
  return validate.exitCode() == 0 ? QString()
                                  : output + u"(exit code %1)"_s.arg(validate.exitCode());
}

}  // namespace

TEST_F(RunKeyTest, TheShippedEntryOpensFilesAndTheLoginEntryDoesNot) {
  // The menu entry takes files for "Open With"; it must stay valid, or menus drop it.
  const QString shipped = qEnvironmentVariable("VERBALUNE_SHARE_DIR") + u"/verbalune.desktop"_s;
  EXPECT_EQ(DesktopFileErrors(shipped), QString());
  const TDesktopEntryKeys keys = ParseDesktopEntry(ReadWholeFile(shipped));
  EXPECT_EQ(keys.Value(u"Exec"_s), u"verbalune %F"_s);
  const QStringList types = keys.Value(u"MimeType"_s).split(u';', Qt::SkipEmptyParts);
  for (const char* type :
       {"text/plain", "text/html", "application/xhtml+xml", "application/epub+zip",
        "application/pdf", "application/vnd.oasis.opendocument.text",
        "application/vnd.openxmlformats-officedocument.wordprocessingml.document"}) {
    EXPECT_TRUE(types.contains(QLatin1StringView(type))) << type;
  }

  // The login start passes no files and offers itself for none.
  ASSERT_TRUE(SetRunKeyValue(u"Verbalune"_s, u"/opt/Verbalune MP3/verbalune"_s, kAuto, true));
  EXPECT_EQ(DesktopFileErrors(EntryPath()), QString());
  const TDesktopEntryKeys login = ParseDesktopEntry(ReadWholeFile(EntryPath()));
  EXPECT_FALSE(login.Value(u"Exec"_s).contains(u'%')) << login.Value(u"Exec"_s).toStdString();
  EXPECT_TRUE(login.Value(u"MimeType"_s).isEmpty());
}
