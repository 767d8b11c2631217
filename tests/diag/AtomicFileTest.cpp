#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "AtomicFile.h"
#include "TestEnvironment.h"

namespace {

TEST(AtomicFileTest, ReplacesContentAndLeavesNoTemporaryFile) {
  TTempFolders folders;
  const QString path = folders.Path(QStringLiteral("list.txt"));
  ASSERT_TRUE(WriteFileAtomically(path, "old"));
  ASSERT_TRUE(WriteFileAtomically(path, "new content", 0600));
  EXPECT_EQ(ReadWholeFile(path), "new content");
  EXPECT_EQ(QFileInfo(path).permissions() & (QFile::ReadOther | QFile::ReadGroup),
            QFile::Permissions());
  EXPECT_EQ(QDir(folders.DataDir()).entryList(QDir::Files).size(), 1);
}

TEST(AtomicFileTest, DiscardedWriteKeepsTheOldFile) {
  TTempFolders folders;
  const QString path = folders.Path(QStringLiteral("list.txt"));
  ASSERT_TRUE(WriteFileAtomically(path, "old"));
  {
    TAtomicFileWriter writer(path);
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(writer.Write("half"));
  }  // destroyed without Commit, as after a failure part-way
  EXPECT_EQ(ReadWholeFile(path), "old");
  EXPECT_EQ(QDir(folders.DataDir()).entryList(QDir::Files).size(), 1);
}

TEST(AtomicFileTest, MissingFolderFailsWithReason) {
  TTempFolders folders;
  QString error;
  EXPECT_FALSE(
      WriteFileAtomically(folders.Path(QStringLiteral("gone/list.txt")), "x", 0644, &error));
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
