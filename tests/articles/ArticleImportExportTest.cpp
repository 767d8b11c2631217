#include <gtest/gtest.h>

#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <cerrno>
#include <cstring>

#include "ArticleFileFormat.h"
#include "ArticleTestSupport.h"
#include "MemoListUnit.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

namespace {

QByteArray Record(const char* title, const char* voice, const QByteArray& text) {
  return QByteArray("||||||Verbalune MP3 Start of Article||||||\r\n") + title + '|' + voice +
         "|1\r\n" + text + "\r\n||||||Verbalune MP3 End of Article||||||\r\n";
}

class TImportExportFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    List = new TMemoListBox(&Voices, &Window);
    Window.resize(800, 600);
    List->setGeometry(0, 0, 800, 600);
    List->ListMode = TMemoListBox::lmMultiArticle;
    List->SetVisibleEntries(3);
    Window.show();
    File = Folders.Path(QStringLiteral("VLExport.txt"));
  }

  TArticleImport Import(const QByteArray& bytes) {
    EXPECT_TRUE(WriteWholeFile(File, bytes));
    return List->ImportList(File, &Popup, OnRead, nullptr, nullptr);
  }

  bool Save(const QString& file) {
    List->ExportList(file);
    return List->WaitForExport();
  }

  QList<TArticleRecord> Saved(const QString& file) const {
    return ParseArticleFile(DecodeArticleText(ReadWholeFile(file))).Records;
  }

  QList<TArticleRecord> Shown() const {
    QList<TArticleRecord> records;
    for (TMemoEntry* e : List->Entries()) {
      if (!e->Hidden) {
        records.append({e->Title(), e->VoiceName(), e->EditorText()});
      }
    }
    return records;
  }

  TFakeVoices Voices;
  QWidget Window;
  QMenu Popup;
  TMemoListBox* List = nullptr;
  TTempFolders Folders;
  QString File;
  TMessageRecorder Messages;
  int ReadClicks = 0;
  TMemoEntry::THandler OnRead = [this](TMemoEntry*) { ++ReadClicks; };
};

const QByteArray kThree = Record("One", "Mary", "first\r\n\r\nafter a blank line") +
                          Record("Two", "Mike", "second") +
                          Record("Three", "Sam", "caf\xC3\xA9 \xE2\x82\xAC");

TEST_F(TImportExportFixture, ImportsThreeArticlesWithTitlesVoicesAndHandlers) {
  Import(kThree);
  const QList<TArticleRecord> expected = {
      {QStringLiteral("One"), QStringLiteral("Mary"),
       QStringLiteral("first\n\nafter a blank line")},
      {QStringLiteral("Two"), QStringLiteral("Mike"), QStringLiteral("second")},
      {QStringLiteral("Three"), QStringLiteral("Sam"), QStringLiteral("caf\u00e9 \u20ac")}};
  EXPECT_EQ(Shown(), expected);
  for (TMemoEntry* e : List->Entries()) {
    EXPECT_EQ(e->Editor->PopupMenu(), &Popup);
    EXPECT_FALSE(e->Properties->ReadButton->isHidden());
    e->Properties->ReadButton->click();
  }
  EXPECT_EQ(ReadClicks, 3);
  EXPECT_FALSE(List->Importing());
  EXPECT_TRUE(Messages.All.isEmpty());

  // Exported again, the file is byte for byte what a fresh export writes.
  ASSERT_TRUE(Save(File));
  QList<TArticleRecord> reread = ParseArticleFile(DecodeArticleText(ReadWholeFile(File))).Records;
  EXPECT_EQ(reread, expected);
}

TEST_F(TImportExportFixture, SingleArticleModeKeepsOnlyTheLastArticle) {
  List->ListMode = TMemoListBox::lmSingleArticle;
  List->SetVisibleEntries(1);
  Import(kThree);
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_EQ(Shown()[0].Title, QStringLiteral("Three"));
  EXPECT_EQ(Shown()[0].Text, QStringLiteral("caf\u00e9 \u20ac"));
}

TEST_F(TImportExportFixture, ABlankRecordIsFilledByTheNextOneWithItsOwnVoice) {
  Import(Record("Blank", "Mike", "") + Record("Full", "Mary", "text") +
         Record("Gone", "Nobody", "unknown voice"));
  const QList<TArticleRecord> expected = {
      {QStringLiteral("Full"), QStringLiteral("Mike"), QStringLiteral("text")},
      {QStringLiteral("Gone"), QString(), QStringLiteral("unknown voice")}};
  EXPECT_EQ(Shown(), expected);
}

TEST_F(TImportExportFixture, MissingAndEmptyFilesAddNothingQuietly) {
  EXPECT_TRUE(
      List->ImportList(Folders.Path(QStringLiteral("none.txt")), nullptr, {}, {}, {}).Complete);
  EXPECT_TRUE(Import(QByteArray()).Complete);
  EXPECT_TRUE(List->Entries().isEmpty());
  EXPECT_TRUE(Messages.All.isEmpty());
  EXPECT_FALSE(List->Importing());

  // An empty list exports an empty file.
  ASSERT_TRUE(WriteWholeFile(File, "old content"));
  ASSERT_TRUE(Save(File));
  EXPECT_EQ(ReadWholeFile(File), QByteArray());
}

TEST_F(TImportExportFixture, DamagedOrUnreadableFilesImportWhatIsWholeAndSaySo) {
  // One junk line once hid every article after it.
  TArticleImport result = Import("Some other file\r\n" + kThree);
  EXPECT_EQ(Shown().size(), 3);
  EXPECT_FALSE(result.Complete);
  EXPECT_TRUE(result.Problem.contains(QStringLiteral("1 damaged")));

  result =
      Import(Record("Four", "Mary", "4") + "\x01\x02garbage\r\n" + Record("Five", "Mary", "5"));
  EXPECT_EQ(Shown().size(), 5);
  EXPECT_FALSE(result.Complete);
  // The list tells nothing itself: keeping the file aside and saying so is the caller's.
  EXPECT_TRUE(Messages.All.isEmpty());

  // A directory where the file should be cannot be read at all.
  const QString folder = Folders.Path(QStringLiteral("folder"));
  ASSERT_TRUE(QDir().mkpath(folder));
  result = List->ImportList(folder, nullptr, {}, {}, {});
  EXPECT_FALSE(result.Complete);
  EXPECT_FALSE(result.Problem.isEmpty());
  EXPECT_EQ(Shown().size(), 5);
}

TEST_F(TImportExportFixture, Windows1252FileImportsCorrectly) {
  ASSERT_TRUE(WriteWholeFile(
      File, ReadWholeFile(TestDataDir() + QStringLiteral("/articles/windows1252.txt"))));
  List->ImportList(File, nullptr, {}, {}, {});
  const QList<TArticleRecord> expected = {
      {QStringLiteral("Caf\u00e9"), QStringLiteral("Mary"),
       QStringLiteral("It\u2019s \u20ac5 \u2013 na\u00efve\n\nSecond paragraph")},
      {QStringLiteral("Old_Lines"), QStringLiteral("Mike"), QStringLiteral("LF only\nlines")}};
  EXPECT_EQ(Shown(), expected);
}

TEST_F(TImportExportFixture, ReadErrorsKeepWhatWasReadAndTellTheUser) {
  TFailingDevice inText(kThree +
                        "||||||Verbalune MP3 Start of Article||||||\r\nFour|Mary|2\r\nok\r\nbro");
  EXPECT_FALSE(List->ImportFromDevice(inText, nullptr, {}, {}, {}).Complete);
  ASSERT_EQ(Shown().size(), 4);
  EXPECT_EQ(Shown()[3].Text, QStringLiteral("ok"));
  EXPECT_EQ(Messages.Messages, QStringList{QStringLiteral("Error restoring saved articles")});

  TFailingDevice between(Record("Five", "Mary", "5"));
  EXPECT_FALSE(List->ImportFromDevice(between, nullptr, {}, {}, {}).Complete);
  EXPECT_EQ(Shown().size(), 5);
  EXPECT_EQ(Messages.Messages.size(), 2);
  EXPECT_FALSE(List->Importing());
}

TEST_F(TImportExportFixture, HiddenEntriesAreNotExported) {
  Import(kThree);
  List->HideEntry(List->Entries()[0]);
  ASSERT_TRUE(Save(File));
  const QList<TArticleRecord> saved =
      ParseArticleFile(DecodeArticleText(ReadWholeFile(File))).Records;
  ASSERT_EQ(saved.size(), 2);
  EXPECT_EQ(saved[0].Title, QStringLiteral("Two"));
}

TEST_F(TImportExportFixture, RoundTripKeepsTextsTitlesAndVoices) {
  struct Article {
    QString title;
    QString voice;
    QString text;
  };
  const QList<Article> articles = {
      {QStringLiteral("Blank_lines"), QStringLiteral("Mary"), QStringLiteral("\na\n\n\nb\n\n")},
      {QStringLiteral("a|b"), QStringLiteral("Mike"), QStringLiteral("bar in the title")},
      {QStringLiteral("Unicode"), QStringLiteral("Sam"),
       QStringLiteral("\u00a0Gr\u00fc\u00dfe \u6771\u4eac \U0001F600 \u0627\u0644\u0639")},
      {QStringLiteral("Empty_voice"), QString(), QStringLiteral("no voice chosen")},
  };
  for (const Article& a : articles) {
    TMemoEntry* e = List->Add(a.text, a.voice);
    e->SetTitle(a.title);
  }
  ASSERT_TRUE(Save(File));

  TMemoListBox again(&Voices);
  again.ListMode = TMemoListBox::lmMultiArticle;
  again.ImportList(File, nullptr, {}, {}, {});
  ASSERT_EQ(again.Entries().size(), articles.size());
  for (qsizetype i = 0; i < articles.size(); ++i) {
    const TMemoEntry* e = again.Entries()[i];
    EXPECT_EQ(e->Title(), articles[i].title) << i;
    EXPECT_EQ(e->VoiceName(), articles[i].voice) << i;
    EXPECT_EQ(e->EditorText(), articles[i].text) << i;
  }
}

TEST_F(TImportExportFixture, QuickExportsLandInOrderAndTheLastListWins) {
  // Writes happen in the background: an older list must never land over a
  // newer one, whichever writes are dropped as superseded on the way.
  Import(kThree);
  for (int i = 0; i < 30; ++i) {
    List->Add(QStringLiteral("added %1").arg(i), QString());
    List->ExportList(File);
    if (i == 10) {
      ASSERT_TRUE(List->WaitForExport());
      EXPECT_EQ(Saved(File).size(), 14);
    }
  }
  ASSERT_TRUE(List->WaitForExport());
  EXPECT_EQ(Saved(File), Shown());
  EXPECT_EQ(Shown().size(), 33);
}

TEST_F(TImportExportFixture, ExportDuringAnImportWaitsForTheWholeList) {
  const QString other = Folders.Path(QStringLiteral("other.txt"));
  int pumps = 0;
  List->ProcessMessages = [&] {
    if (++pumps == 2) {
      List->ExportList(other);
      EXPECT_FALSE(QFile::exists(other));
    }
  };
  Import(kThree);
  ASSERT_TRUE(List->WaitForExport());
  EXPECT_EQ(Saved(other), Shown());
  EXPECT_EQ(Shown().size(), 3);
}

TEST_F(TImportExportFixture, FailedSavesAreToldOnceUntilASaveSucceeds) {
  Import(kThree);
  const QString blocked = Folders.Path(QStringLiteral("blocked"));
  ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/inside")));
  EXPECT_FALSE(Save(blocked));
  EXPECT_FALSE(Save(blocked));
  EXPECT_FALSE(List->Exporting());
  EXPECT_TRUE(QDir(blocked + QStringLiteral("/inside")).exists());
  ASSERT_EQ(Messages.Errors.size(), 1);
  EXPECT_TRUE(Messages.Errors[0].contains(blocked));
  EXPECT_TRUE(Messages.Errors[0].contains(QString::fromLocal8Bit(std::strerror(EISDIR))));

  ASSERT_TRUE(Save(File));
  EXPECT_FALSE(Save(blocked));
  EXPECT_EQ(Messages.Errors.size(), 2);
}

TEST_F(TImportExportFixture, DestroyingTheListFinishesItsLastExport) {
  Import(kThree);
  List->Add(QStringLiteral("typed just before the end"), QString());
  List->ExportList(File);
  delete List;
  List = nullptr;
  const QList<TArticleRecord> saved = Saved(File);
  ASSERT_EQ(saved.size(), 4);
  EXPECT_EQ(saved[3].Text, QStringLiteral("typed just before the end"));
}

TEST_F(TImportExportFixture, ListDestroyedWhileImportingStopsSafely) {
  QByteArray many;
  for (int i = 0; i < 10; ++i) {
    many += Record("T", "Mary", "text");
  }
  List->ProcessMessages = [this] {
    if (List->Entries().size() == 4) {
      delete List;
      List = nullptr;
    }
  };
  Import(many);
  EXPECT_EQ(List, nullptr);
}

}  // namespace
