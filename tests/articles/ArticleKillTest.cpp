#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include "ArticleFileFormat.h"
#include "TestEnvironment.h"

QList<TArticleRecord> KillTestList(char name, int count);

namespace {

// An export killed at any moment leaves the old list or the new one, whole.
TEST(ArticleKillTest, KilledExportLeavesTheOldOrTheNewList) {
  TTempFolders folders;
  const QString path = folders.Path(QStringLiteral("VLExport.txt"));
  const QList<TArticleRecord> listA = KillTestList('A', 200);
  const QList<TArticleRecord> listB = KillTestList('B', 300);
  ASSERT_TRUE(SaveArticleFile(path, listA));

  const QString child =
      QCoreApplication::applicationDirPath() + QStringLiteral("/articles_export_loop");
  // How long the child takes to start and finish its first save, so that the
  // kills fall anywhere in that span on a fast or a slow (sanitizer) build.
  qint64 span = 0;
  {
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.start(child, {path});
    ASSERT_TRUE(process.waitForStarted()) << process.errorString().toStdString();
    while (!process.readAllStandardOutput().contains("saved")) {
      ASSERT_TRUE(process.waitForReadyRead(30000));
    }
    span = clock.nsecsElapsed() / 1000;
    process.kill();
    process.waitForFinished();
    ASSERT_TRUE(SaveArticleFile(path, listA));
  }

  QRandomGenerator random(20240611);
  int sawA = 0;
  int sawB = 0;
  for (int round = 0; round < 300; ++round) {
    QProcess process;
    process.start(child, {path});
    ASSERT_TRUE(process.waitForStarted()) << process.errorString().toStdString();
    QThread::usleep(static_cast<unsigned long>(random.bounded(2 * span)));
    process.kill();
    process.waitForFinished();

    const TArticleFileContents contents = ParseArticleFile(DecodeArticleText(ReadWholeFile(path)));
    ASSERT_EQ(contents.End, TArticleReadEnd::EndOfFile) << "round " << round;
    if (contents.Records == listA) {
      ++sawA;
    } else if (contents.Records == listB) {
      ++sawB;
    } else {
      FAIL() << "round " << round << ": a mixed or partial list of " << contents.Records.size()
             << " articles";
    }
  }
  // The child's first save replaces list A with list B; without any, this proved nothing.
  EXPECT_GT(sawB, 0);
  std::printf("300 kills: the file held list A %d times, list B %d times\n", sawA, sawB);
  // The next complete save tidies what the killed ones left behind.
  ASSERT_TRUE(SaveArticleFile(path, listA));
  EXPECT_EQ(QDir(folders.DataDir()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("VLExport.txt")});
}

}  // namespace
