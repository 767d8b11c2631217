// Start-up, closing and the Exit command of the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <cerrno>
#include <cstring>
#include <functional>

#include "AppTestSupport.h"
#include "FileSizeLimit.h"
#include "MemoListUnit.h"
#include "UserRegistry.h"

namespace {

class StartUp : public ::testing::Test {
 protected:
  TTempFolders Folders;
  TMessageRecorder Messages;
};

QString SavedArticles() {
  return QString::fromUtf8(ReadWholeFile(TForm1::ExportFileName()));
}

// "One", "Two" and "Three", each with one line of text, as the list saves them.
QByteArray ThreeSavedArticles() {
  QByteArray file;
  for (const char* title : {"One", "Two", "Three"}) {
    file += "||||||Verbalune MP3 Start of Article||||||\r\n";
    file += QByteArray(title) + "||1\r\nText of " + title + "\r\n";
    file += "||||||Verbalune MP3 End of Article||||||\r\n";
  }
  return file;
}

}  // namespace

TEST_F(StartUp, FirstStartImportsTheIntroAndLaterStartsTheSavedArticles) {
  {
    TStartedReader reader;
    ASSERT_TRUE(reader.ShowAndActivate());
    TMemoListBox* articles = reader.Form->Articles;
    // The first start is in Single-Article mode, which shows one article: it
    // must hold all a newcomer needs, not only the last of several.
    ASSERT_EQ(articles->VisibleCount(), 1);
    EXPECT_EQ(articles->CurrentEntry()->Title(), QStringLiteral("Welcome_to_Verbalune_MP3"));
    const QString intro = articles->CurrentEntry()->EditorText();
    for (const char* topic : {"clipboard", "MP3 file", "Multi-Article mode", "File Options",
                              "Start Verbalune at Login", "notification area", "Exit Verbalune"}) {
      EXPECT_TRUE(intro.contains(QLatin1String(topic))) << topic;
    }
    EXPECT_FALSE(articles->CurrentEntry()->VoiceName().isEmpty());
    EXPECT_EQ(articles->CurrentEntry()->VoiceName(), Preferences->TTS_DefaultVoiceName);
    EXPECT_EQ(reader.Form->StatusPanel0->text(), QStringLiteral("1 article"));
    EXPECT_TRUE(TraceText().contains(QStringLiteral("VLIntro.chl")));
    articles->CurrentEntry()->SetEditorText(QStringLiteral("My own words"));
    reader.Form->ExitVerbaluneClick();
  }
  EXPECT_FALSE(StoredPreferences()->FirstTimeUser);
  EXPECT_TRUE(SavedArticles().contains(QStringLiteral("My own words")));

  TStartedReader later;
  ASSERT_TRUE(later.ShowAndActivate());
  ASSERT_EQ(later.Form->Articles->VisibleCount(), 1);
  EXPECT_EQ(later.Form->Articles->CurrentEntry()->EditorText(), QStringLiteral("My own words"));
  const QString trace = TraceText();
  EXPECT_TRUE(trace.contains(QStringLiteral("Importing ") + TForm1::ExportFileName()));
}

TEST_F(StartUp, AnEmptyListGetsOneEmptyArticleAndNoArticlesStatus) {
  StorePreferences([](TPreferences& p) { p.FirstTimeUser = false; });
  ASSERT_TRUE(WriteWholeFile(TForm1::ExportFileName(), QByteArray()));
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  ASSERT_EQ(reader.Form->Articles->VisibleCount(), 1);
  EXPECT_TRUE(reader.Form->Articles->CurrentEntry()->EditorText().isEmpty());
  EXPECT_EQ(reader.Form->StatusPanel0->text(), QStringLiteral("No articles"));
  EXPECT_EQ(reader.Form->RunState, rsIdle);
  EXPECT_TRUE(reader.Form->Initialized);
  EXPECT_EQ(reader.Form->windowTitle(), QStringLiteral("Verbalune MP3"));
}

TEST_F(StartUp, SavedMultiArticleListComesBackInOrderWithTheFirstMarked) {
  StorePreferences([](TPreferences& p) {
    p.FirstTimeUser = false;
    p.ML_ListMode = 1;
  });
  ASSERT_TRUE(WriteWholeFile(TForm1::ExportFileName(), ThreeSavedArticles()));
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  TMemoListBox* articles = reader.Form->Articles;
  ASSERT_EQ(articles->VisibleCount(), 3);
  EXPECT_EQ(articles->CurrentEntry(), articles->Entries().at(0));
  EXPECT_EQ(articles->Entries().at(2)->Title(), QStringLiteral("Three"));
  EXPECT_EQ(reader.Form->StatusPanel0->text(), QStringLiteral("3 articles"));
  EXPECT_TRUE(reader.Form->ToolButton2->isChecked());
  EXPECT_TRUE(TraceText().contains(QStringLiteral("Current Mode is Multi-Article")));
}

TEST_F(StartUp, ABadSettingsFileNeverPutsTheIntroOverTheSavedArticles) {
  struct Case {
    const char* name;
    std::function<void(const QString&)> make;
  };
  const Case cases[] = {
      {"binary", [](const QString& f) { WriteWholeFile(f, QByteArray("\0\xff\xfe\x01\x80", 5)); }},
      {"empty", [](const QString& f) { WriteWholeFile(f, QByteArray()); }},
      {"directory", [](const QString& f) { QDir().mkpath(f + QStringLiteral("/inside")); }},
  };
  int n = 0;
  for (const Case& c : cases) {
    // A folder of its own, so the settings are read afresh.
    const QString config = Folders.ConfigDir() + QStringLiteral("/%1").arg(++n);
    ASSERT_TRUE(QDir().mkpath(config));
    AppPaths::SetConfigDir(config);
    c.make(UserRegistryFile());
    ASSERT_TRUE(WriteWholeFile(TForm1::ExportFileName(), ThreeSavedArticles()));
    {
      TStartedReader reader;
      ASSERT_TRUE(reader.ShowAndActivate()) << c.name;
      ASSERT_NE(reader.Form->Articles->CurrentEntry(), nullptr) << c.name;
      EXPECT_EQ(reader.Form->Articles->CurrentEntry()->Title(), QStringLiteral("Three")) << c.name;
      EXPECT_EQ(SavedArticles().toUtf8(), ThreeSavedArticles()) << c.name;
      reader.Form->ExitVerbaluneClick();
    }
    EXPECT_TRUE(SavedArticles().contains(QStringLiteral("Text of Three"))) << c.name;
    EXPECT_FALSE(SavedArticles().contains(QStringLiteral("Welcome"))) << c.name;
  }
}

TEST_F(StartUp, DamagedSavedArticlesAreKeptAsideOnceAndReported) {
  StorePreferences([](TPreferences& p) { p.ML_ListMode = 1; });
  const QByteArray damaged = "junk before the articles\r\n" + ThreeSavedArticles();
  ASSERT_TRUE(WriteWholeFile(TForm1::ExportFileName(), damaged));
  const QStringList pattern{QStringLiteral("VLExport.txt.damaged-*")};
  {
    TStartedReader reader;
    ASSERT_TRUE(reader.ShowAndActivate());
    EXPECT_EQ(reader.Form->Articles->VisibleCount(), 3);
    const QStringList kept = QDir(Folders.DataDir()).entryList(pattern, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(ReadWholeFile(Folders.Path(kept[0])), damaged);
    ASSERT_EQ(Messages.Errors.size(), 1);
    EXPECT_TRUE(Messages.Errors[0].contains(Folders.Path(kept[0])));
    // What could be read is saved at once as a whole file.
    ASSERT_TRUE(reader.Form->Articles->WaitForExport());
    EXPECT_EQ(ReadWholeFile(TForm1::ExportFileName()), ThreeSavedArticles());
  }
  TStartedReader later;
  ASSERT_TRUE(later.ShowAndActivate());
  EXPECT_EQ(later.Form->Articles->VisibleCount(), 3);
  EXPECT_EQ(Messages.Errors.size(), 1);
  EXPECT_EQ(QDir(Folders.DataDir()).entryList(pattern, QDir::Files).size(), 1);
}

TEST_F(StartUp, FailedSavesAreToldOnceUntilOneSucceedsAndKeepTheSavedFiles) {
  StorePreferences([](TPreferences& p) { p.ML_ListMode = 1; });
  ASSERT_TRUE(WriteWholeFile(TForm1::ExportFileName(), ThreeSavedArticles()));
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  TMemoListBox* articles = reader.Form->Articles;
  const QByteArray settings = ReadWholeFile(UserRegistryFile());
  ASSERT_FALSE(settings.isEmpty());
  auto saveBoth = [&](int round) {
    articles->CurrentEntry()->SetEditorText(QStringLiteral("Edit %1").arg(round));
    reader.Form->ExportArticles();
    articles->WaitForExport();
    Preferences->ML_VisibleEntries = 4 + round;
    Preferences->WriteFields();
    Preferences->SaveAll();
  };
  auto toldAbout = [&](const QString& file) { return Messages.Errors.filter(file).size(); };
  const QString tooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));
  {
    // A full disk. A read-only folder would not stop these tests, which run as root.
    TFsizeLimit full(16);
    for (int round = 0; round < 3; ++round) {
      saveBoth(round);
    }
  }
  EXPECT_EQ(Messages.Errors.size(), 2);
  EXPECT_EQ(toldAbout(TForm1::ExportFileName()), 1);
  EXPECT_EQ(toldAbout(UserRegistryFile()), 1);
  EXPECT_EQ(Messages.Errors.filter(tooLarge).size(), 2);
  EXPECT_EQ(ReadWholeFile(TForm1::ExportFileName()), ThreeSavedArticles());
  EXPECT_EQ(ReadWholeFile(UserRegistryFile()), settings);

  // Saving works again, and the next failure is told again.
  saveBoth(3);
  EXPECT_TRUE(SavedArticles().contains(QStringLiteral("Edit 3")));
  {
    TFsizeLimit full(16);
    saveBoth(4);
  }
  EXPECT_EQ(toldAbout(TForm1::ExportFileName()), 2);
  EXPECT_EQ(toldAbout(UserRegistryFile()), 2);
  EXPECT_TRUE(SavedArticles().contains(QStringLiteral("Edit 3")));
}

TEST_F(StartUp, NoSoundCardOrNoVoiceEndsStartUpWithItsMessage) {
  {
    TStartedReader reader;
    reader.Form->WaveOutCount = [] { return 0; };
    EXPECT_FALSE(reader.ShowAndActivate());
    EXPECT_TRUE(reader.Form->Terminated);
    EXPECT_FALSE(reader.Form->Initialized);
    ASSERT_EQ(Messages.Messages.size(), 1);
    EXPECT_EQ(Messages.Messages.at(0),
              QStringLiteral("Sound Card not found\r\rA Sound Card is required for Verbalune to "
                             "operate\r\rVerbalune will exit now."));
  }
  TScriptedEngine::TConfig silent;
  TStartedReader reader({QStringLiteral("verbalune")}, ScriptedSystem(silent));
  EXPECT_FALSE(reader.ShowAndActivate());
  EXPECT_TRUE(reader.Form->Terminated);
  EXPECT_EQ(Messages.Dialogs, QStringList{QStringLiteral("EngineWarning")});
}

TEST_F(StartUp, CloseHidesIntoTheTrayAndStillWritesTheSettings) {
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  reader.Form->setGeometry(100, 120, 700, 560);
  Preferences->CB_ThreshHold = 77;
  QSignalSpy toolbar(reader.Form.get(), &TForm1::FloatingToolbarWanted);
  Preferences->ToolbarOnMinOption = 0;
  EXPECT_FALSE(reader.Form->close());
  EXPECT_FALSE(reader.Form->isVisible());
  EXPECT_TRUE(reader.Form->ToolBarPONtry->isEnabled());
  EXPECT_EQ(toolbar.count(), 0);
  const auto stored = StoredPreferences();
  EXPECT_EQ(stored->CB_ThreshHold, 77);
  EXPECT_FALSE(stored->FirstTimeUser);

  reader.Form->RestoreFromTray();
  EXPECT_TRUE(reader.Form->isVisible());
  EXPECT_FALSE(reader.Form->ToolBarPONtry->isEnabled());

  // "When minimized": the floating toolbar comes instead of the menu item.
  Preferences->ToolbarOnMinOption = 1;
  reader.Form->close();
  EXPECT_EQ(toolbar.count(), 1);
  EXPECT_FALSE(reader.Form->ToolBarPONtry->isEnabled());
}

TEST_F(StartUp, WithoutANotificationAreaCloseMinimisesAndKeepsTheWindowReachable) {
  TStartedReader reader;
  reader.Tray = false;
  ASSERT_TRUE(reader.ShowAndActivate());
  EXPECT_FALSE(reader.Form->close());
  EXPECT_TRUE(reader.Form->isVisible());
  EXPECT_TRUE(reader.Form->isMinimized());
  EXPECT_TRUE(TraceText().contains(
      QStringLiteral("No notification area: minimizing the window instead of hiding it")));
  EXPECT_EQ(reader.Form->TrayIcon, nullptr);

  // The floating toolbar still follows its option with the window minimised.
  QSignalSpy toolbar(reader.Form.get(), &TForm1::FloatingToolbarWanted);
  Preferences->ToolbarOnMinOption = 1;
  reader.Form->MinimizeToTray();
  EXPECT_EQ(toolbar.count(), 1);

  // A panel started after the program brings its notification area late.
  reader.Form->WatchForTray();
  EXPECT_EQ(reader.Form->TrayIcon, nullptr);
  reader.Tray = true;
  reader.Form->WatchForTray();
  EXPECT_NE(reader.Form->TrayIcon, nullptr);
  EXPECT_TRUE(TraceText().contains(QStringLiteral("A notification area appeared")));
}

TEST_F(StartUp, ExitWritesArticlesPlacementAndPreferences) {
  StorePreferences([](TPreferences& p) { p.FirstTimeUser = false; });
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  reader.Form->Articles->CurrentEntry()->SetEditorText(QStringLiteral("Kept across the exit"));
  reader.Form->setGeometry(150, 110, 720, 580);
  const QRect placed = reader.Form->geometry();
  reader.Form->ShowToolbarMItmClick();

  reader.Form->ExitVerbaluneClick();
  EXPECT_EQ(reader.Form->RunState, rsExiting);
  EXPECT_FALSE(reader.Form->isVisible());
  // Commands still queued after Exit do nothing.
  const QString saved = SavedArticles();
  reader.Form->AddNewPopupClick();
  reader.Form->DelSelPopupClick();
  reader.Form->ToolButton2Click();
  reader.Form->ToolButton1Click();
  reader.Form->Paste1->trigger();
  EXPECT_EQ(reader.Form->AddMemo(QStringLiteral("late"), QString()), nullptr);
  EXPECT_EQ(Preferences->ML_ListMode, 0);
  EXPECT_EQ(reader.Form->Articles->VisibleCount(), 1);
  EXPECT_EQ(SavedArticles(), saved);
  reader.Free();

  EXPECT_TRUE(SavedArticles().contains(QStringLiteral("Kept across the exit")));
  EXPECT_FALSE(StoredPreferences()->ShowToolbar);
  const QString trace = TraceText();
  EXPECT_TRUE(trace.contains(QStringLiteral("Entered ExitVerbaluneClick")));
  EXPECT_TRUE(trace.contains(QStringLiteral("Entered Form1 Destroy")));
  EXPECT_TRUE(trace.contains(QStringLiteral("Exitting FormDestroy")));

  // The next start puts the window where it was.
  TStartedReader later;
  EXPECT_EQ(later.Form->geometry(), placed);
}

TEST_F(StartUp, ExitWhileAnImportLetsEventsRunLosesNothingAndFreesNothing) {
  StorePreferences([](TPreferences& p) {
    p.FirstTimeUser = false;
    p.ML_ListMode = 1;
  });
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  const QString file = Folders.Path(QStringLiteral("three.txt"));
  ASSERT_TRUE(WriteWholeFile(file, ThreeSavedArticles()));
  TMemoListBox* list = reader.Form->Articles;
  // The import lets events run, and Exit is among them.
  int pumps = 0;
  list->ProcessMessages = [&] {
    if (++pumps == 1) {
      reader.Form->ExitVerbaluneClick();
    }
  };
  list->ImportList(file, nullptr, {}, {}, {});
  ASSERT_GE(pumps, 1);
  EXPECT_EQ(reader.Form->RunState, rsExiting);
  ASSERT_EQ(reader.Form->Articles, list);
  list->WaitForExport();
  const QString saved = SavedArticles();
  for (const char* title : {"One", "Two", "Three"}) {
    EXPECT_TRUE(saved.contains(QStringLiteral("Text of ") + QString::fromLatin1(title))) << title;
  }
}

TEST_F(StartUp, OnlyAutoAsFirstArgumentHidesTheWindowAfterStartUp) {
  const QStringList others = {QString(), QStringLiteral("-AUTO"), QStringLiteral("auto"),
                              QStringLiteral("--auto"), QStringLiteral("-auto ")};
  for (const QString& argument : others) {
    QStringList arguments{QStringLiteral("verbalune")};
    if (!argument.isEmpty()) {
      arguments << argument;
    }
    TStartedReader reader(arguments);
    ASSERT_TRUE(reader.ShowAndActivate());
    EXPECT_FALSE(reader.Form->Timer1->isActive()) << argument.toStdString();
    EXPECT_TRUE(reader.Form->isVisible());
  }

  TStartedReader reader({QStringLiteral("verbalune"), QStringLiteral("-auto")});
  ASSERT_TRUE(reader.ShowAndActivate());
  EXPECT_TRUE(reader.Form->Timer1->isActive());
  EXPECT_EQ(reader.Form->Timer1->interval(), 500);
  EXPECT_TRUE(QTest::qWaitFor([&reader] { return !reader.Form->isVisible(); }, 10000));
  EXPECT_FALSE(reader.Form->Timer1->isActive());
  const QString trace = TraceText();
  EXPECT_TRUE(trace.contains(QStringLiteral("Minimizing ...")));
  EXPECT_TRUE(trace.contains(QStringLiteral("FormActivate Timer: Minimizing now.")));
}

TEST_F(StartUp, DeletingTheLastArticleLeavesOneEmptyArticleAndSavesTheList) {
  StorePreferences([](TPreferences& p) {
    p.FirstTimeUser = false;
    p.ML_ListMode = 1;
  });
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  TMemoEntry* only = reader.Form->Articles->CurrentEntry();
  only->SetEditorText(QStringLiteral("Soon gone"));
  reader.Form->ExportArticles();
  only->Locked = true;
  reader.Form->ArticleDeleteClick(only);
  EXPECT_EQ(Messages.Errors,
            QStringList{QStringLiteral("This item is currently being read and cannot be deleted")});
  only->Locked = false;
  reader.Form->ArticleDeleteClick(only);
  reader.Form->Articles->DeleteHiddenEntries();
  ASSERT_EQ(reader.Form->Articles->VisibleCount(), 1);
  EXPECT_TRUE(reader.Form->Articles->CurrentEntry()->EditorText().isEmpty());
  ASSERT_TRUE(reader.Form->Articles->WaitForExport());
  EXPECT_FALSE(SavedArticles().contains(QStringLiteral("Soon gone")));
}

TEST_F(StartUp, AutoStartWaitsForAnImportThatTheActivationInterrupted) {
  StorePreferences([](TPreferences& p) {
    p.FirstTimeUser = false;
    p.ML_ListMode = 1;
  });
  ASSERT_TRUE(WriteWholeFile(TForm1::ExportFileName(), ThreeSavedArticles()));
  TStartedReader reader({QStringLiteral("verbalune"), QStringLiteral("-auto")});
  TForm1& form = *reader.Form;
  bool interrupted = false;
  // The desktop activates the window while the import lets events run, and
  // the import goes on for longer than the timer's interval.
  form.Articles->ProcessMessages = [&form, &interrupted] {
    if (interrupted) {
      return;
    }
    interrupted = true;
    form.FormActivate();
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return TraceText().contains(QStringLiteral("Import in progress.  Resetting timer")); },
        10000));
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_TRUE(form.isVisible());
  };
  form.show();
  ASSERT_TRUE(interrupted);
  EXPECT_TRUE(form.Initialized);
  EXPECT_TRUE(form.isVisible());
  // The list info was not lost to the early activation.
  EXPECT_TRUE(form.ListInfoReady);
  ASSERT_EQ(form.Articles->VisibleCount(), 3);
  EXPECT_EQ(form.Articles->CurrentEntry(), form.Articles->Entries().at(0));
  EXPECT_EQ(form.StatusPanel0->text(), QStringLiteral("3 articles"));

  EXPECT_TRUE(QTest::qWaitFor([&form] { return !form.isVisible(); }, 10000));
  EXPECT_FALSE(form.Timer1->isActive());
  EXPECT_TRUE(TraceText().contains(QStringLiteral("FormActivate Timer: Minimizing now.")));
}
