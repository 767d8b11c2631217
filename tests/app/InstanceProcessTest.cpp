// The single-instance rule between two real processes of the program.
#include <gtest/gtest.h>

#include <QCoreApplication>
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

  std::unique_ptr<QProcess> Start() {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(Environment);
    process->setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/verbalune"));
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
