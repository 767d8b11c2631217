// The single-instance rule between two real processes of the program.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <csignal>

#include "TestEnvironment.h"

namespace {

class ReaderProcesses : public ::testing::Test {
 protected:
  ReaderProcesses() {
    Environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    Environment.insert(QStringLiteral("VERBALUNE_SPEECH_ENGINE"), QStringLiteral("scripted"));
    Environment.insert(QStringLiteral("VERBALUNE_WAVE_DEVICE"), QStringLiteral("paced"));
    Environment.insert(QStringLiteral("VERBALUNE_DATA_DIR"), Folders.DataDir());
    Environment.insert(QStringLiteral("VERBALUNE_CONFIG_DIR"), Folders.ConfigDir());
  }

  std::unique_ptr<QProcess> Start(const QStringList& arguments = {},
                                  const QString& workingDirectory = QString()) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(Environment);
    process->setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/verbalune"));
    process->setArguments(arguments);
    process->setWorkingDirectory(workingDirectory);
    process->start();
    return process;
  }

  QString Trace(const char* suffix = ".dbg") const {
    return QString::fromUtf8(
        ReadWholeFile(Folders.Path(QStringLiteral("verbalune")) + QString::fromLatin1(suffix)));
  }

  bool WaitForTrace(const QString& text) const {
    return QTest::qWaitFor([&] { return Trace().contains(text); }, 20000);
  }

  QString SavedArticles() const {
    return QString::fromUtf8(ReadWholeFile(Folders.Path(QStringLiteral("VLExport.txt"))));
  }

  static void Kill(QProcess& process) {
    process.kill();
    process.waitForFinished(10000);
  }

  TTempFolders Folders;
  QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
};

}  // namespace

TEST_F(ReaderProcesses, SecondStartHandsOverAndEndsWithoutAWindow) {
  auto first = Start();
  ASSERT_TRUE(first->waitForStarted(10000));
  ASSERT_TRUE(WaitForTrace(QStringLiteral("Exiting FormShow")));

  auto second = Start();
  ASSERT_TRUE(second->waitForFinished(20000));
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_TRUE(WaitForTrace(QStringLiteral("Restore requested by a second start")));
  // The second start neither rotated the traces nor started a window of its own.
  EXPECT_EQ(Trace().count(QStringLiteral("Entered FormShow")), 1);
  EXPECT_TRUE(Trace("1.dbg").isEmpty());
  EXPECT_EQ(first->state(), QProcess::Running);
  Kill(*first);
}

TEST_F(ReaderProcesses, AKilledInstanceDoesNotBlockTheNextStart) {
  auto crashed = Start();
  ASSERT_TRUE(crashed->waitForStarted(10000));
  ASSERT_TRUE(WaitForTrace(QStringLiteral("Exiting FormShow")));
  ::kill(static_cast<pid_t>(crashed->processId()), SIGKILL);
  crashed->waitForFinished(10000);
  // The next start's trace must not be mistaken for this one's.
  QFile::remove(Folders.Path(QStringLiteral("verbalune.dbg")));

  auto next = Start();
  ASSERT_TRUE(next->waitForStarted(10000));
  ASSERT_TRUE(WaitForTrace(QStringLiteral("Exiting FormShow")));
  EXPECT_EQ(next->state(), QProcess::Running);
  EXPECT_TRUE(Trace().contains(QStringLiteral("Removing stale instance socket")));
  Kill(*next);
}

TEST_F(ReaderProcesses, FilesOnTheCommandLineOpenInTheFirstAndReachItFromASecondStart) {
  // Relative names are taken from the folder each start runs in.
  const QString documents = Folders.Path(QStringLiteral("my documents"));
  ASSERT_TRUE(QDir().mkpath(documents));
  ASSERT_TRUE(WriteWholeFile(documents + QStringLiteral("/first.txt"),
                             "Text of the file given to the first start."));
  ASSERT_TRUE(WriteWholeFile(documents + QStringLiteral("/second \u00e9t\u00e9.txt"),
                             "Text of the file given to the second start."));

  // Multi-Article mode, where each opened file becomes an article of its own.
  ASSERT_TRUE(WriteWholeFile(Folders.ConfigDir() + QStringLiteral("/registry.reg"),
                             "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\KelmorSoft\\Verbalune]\n"
                             "\"ML_ListMode\"=\"1\"\n"));

  auto first = Start({QStringLiteral("first.txt")}, documents);
  ASSERT_TRUE(first->waitForStarted(10000));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return SavedArticles().contains(QStringLiteral("given to the first start")); }, 20000));

  auto second = Start({QStringLiteral("second \u00e9t\u00e9.txt")}, documents);
  ASSERT_TRUE(second->waitForFinished(20000));
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return SavedArticles().contains(QStringLiteral("given to the second start")); },
      20000));
  EXPECT_TRUE(SavedArticles().contains(QStringLiteral("given to the first start")));
  EXPECT_TRUE(Trace().contains(QStringLiteral("Second start asked to open 1 file(s)")));
  EXPECT_EQ(Trace().count(QStringLiteral("Entered FormShow")), 1);
  EXPECT_EQ(first->state(), QProcess::Running);
  Kill(*first);
}
