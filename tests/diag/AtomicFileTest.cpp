#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "AtomicFile.h"
#include "ScratchFile.h"
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

// Audio files wait in a working file that a sweep after a kill clears away,
// and that no sweep touches while its run holds it.
TEST(AtomicFileTest, AWriteInAWorkingFileIsSweptOnlyWhenNobodyHoldsIt) {
  TTempFolders folders;
  const QString dir = folders.DataDir();
  const QString path = folders.Path(QStringLiteral("Chapter 1.mp3"));
  for (const bool commit : {true, false}) {
    TAtomicFileWriter writer(path, 0644, TAtomicFileWriter::TTemporary::WorkingFile);
    ASSERT_TRUE(writer.Open());
    const QString temp = QFileInfo(writer.TempPath()).fileName();
    EXPECT_TRUE(temp.startsWith(QStringLiteral(".verbalune-"))) << temp.toStdString();
    EXPECT_TRUE(temp.endsWith(QStringLiteral(".mp3"))) << temp.toStdString();
    ASSERT_TRUE(writer.Write("frames"));
    EXPECT_EQ(RemoveStaleScratchFiles(dir), 0);
    if (commit) {
      ASSERT_TRUE(writer.Commit()) << writer.ErrorString().toStdString();
    } else {
      writer.Discard();
    }
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden),
              QStringList{QFileInfo(path).fileName()});
    EXPECT_EQ(ReadWholeFile(path), "frames");
  }
  TAtomicFileWriter nowhere(folders.Path(QStringLiteral("gone/a.mp3")), 0644,
                            TAtomicFileWriter::TTemporary::WorkingFile);
  EXPECT_FALSE(nowhere.Open());
  EXPECT_EQ(nowhere.ErrorReason(), QStringLiteral("No such file or directory"));
}

TEST(AtomicFileTest, MissingFolderFailsWithReason) {
  TTempFolders folders;
  QString error;
  EXPECT_FALSE(
      WriteFileAtomically(folders.Path(QStringLiteral("gone/list.txt")), "x", 0644, &error));
  EXPECT_FALSE(error.isEmpty());
}

// Working files: hidden, never one of the user's, gone on every path, and a
// killed run's swept away without touching those of a run still going.
TEST(ScratchFileTest, UniqueHiddenFilesThatOnlyTheirOwnerOrASweepRemoves) {
  TTempFolders folders;
  const QString dir = folders.DataDir();
  const auto hidden = [&dir] {
    return QDir(dir).entryList({QStringLiteral(".verbalune-*")}, QDir::Files | QDir::Hidden,
                               QDir::Name);
  };
  // The user's own files of the names the program once used.
  ASSERT_TRUE(WriteWholeFile(folders.Path(QStringLiteral("temp.wav")), "user's"));
  QString keptPath;
  {
    TScratchFile first;
    TScratchFile second;
    ASSERT_TRUE(first.Create(dir, QStringLiteral(".wav")));
    ASSERT_TRUE(second.Create(dir, QStringLiteral(".wav")));
    EXPECT_NE(first.Path(), second.Path());
    EXPECT_TRUE(QFileInfo(first.Path()).fileName().startsWith(u'.'));
    EXPECT_TRUE(first.Path().endsWith(QStringLiteral(".wav")));
    // A run killed earlier left one behind; held files stay.
    ASSERT_TRUE(WriteWholeFile(folders.Path(QStringLiteral(".verbalune-dead01.wav")), "1 GB"));
    EXPECT_EQ(RemoveStaleScratchFiles(dir), 1);
    EXPECT_EQ(hidden().size(), 2);

    TScratchFile kept;
    ASSERT_TRUE(kept.Create(dir, QStringLiteral(".wav")));
    keptPath = folders.Path(QStringLiteral("Kept.wav"));
    ASSERT_TRUE(kept.KeepAs(keptPath));
    EXPECT_TRUE(kept.Path().isEmpty());
    second.Remove();
    EXPECT_EQ(hidden().size(), 1);
  }
  EXPECT_TRUE(hidden().isEmpty());
  EXPECT_TRUE(QFileInfo::exists(keptPath));
  EXPECT_EQ(ReadWholeFile(folders.Path(QStringLiteral("temp.wav"))), "user's");

  TScratchFile nowhere;
  EXPECT_FALSE(nowhere.Create(folders.Path(QStringLiteral("gone")), QStringLiteral(".wav")));
  EXPECT_TRUE(nowhere.ErrorString().contains(QStringLiteral("No such file or directory")))
      << nowhere.ErrorString().toStdString();
}

}  // namespace
