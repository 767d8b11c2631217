// The Help menu's hand-offs, Tell a Friend and the reading controls' state.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>

#include "AppTestSupport.h"
#include "MemoListUnit.h"

namespace {

class MenuCommands : public ::testing::Test {
 protected:
  MenuCommands() {
    UtilsClass::SetShellHandler([this](const QString& target) {
      Opened << target;
      return true;
    });
  }
  ~MenuCommands() override { UtilsClass::SetShellHandler(nullptr); }

  TTempFolders Folders;
  TMessageRecorder Messages;
  QStringList Opened;
};

}  // namespace

TEST_F(MenuCommands, HelpItemsOpenTheShippedHelpAndTheMakersPages) {
  TStartedReader reader;
  reader.Form->Contents1->trigger();
  reader.Form->VisitKelmorTechnologies1->trigger();
  reader.Form->PortableMP3->trigger();
  ASSERT_EQ(Opened.size(), 3);
  EXPECT_TRUE(Opened.at(0).endsWith(QStringLiteral("/help/index.html")));
  EXPECT_TRUE(QFileInfo(Opened.at(0)).isFile()) << Opened.at(0).toStdString();
  EXPECT_EQ(Opened.at(1), QStringLiteral("https://www.verbalune.example/"));
  EXPECT_EQ(Opened.at(2),
            QStringLiteral("https://www.verbalune.example/Verbalune/mp3players.html"));

  reader.Form->About1->trigger();
  reader.Form->AboutPONtry->trigger();
  EXPECT_EQ(Messages.Dialogs, (QStringList{QStringLiteral("About"), QStringLiteral("About")}));
}

TEST_F(MenuCommands, MissingHelpIsReportedNotOpened) {
  QTemporaryDir emptyShare;
  AppPaths::SetShareDir(emptyShare.path());
  TStartedReader reader;
  reader.Form->Contents1->trigger();
  AppPaths::SetShareDir(QString());
  EXPECT_TRUE(Opened.isEmpty());
  ASSERT_EQ(Messages.Messages.size(), 1);
  EXPECT_TRUE(Messages.Messages.at(0).startsWith(QStringLiteral("File does not exist: ")));
}

TEST_F(MenuCommands, TellAFriendHandsTheRecommendationToTheMailProgram) {
  TStartedReader reader;
  reader.Form->TellaFriend1->trigger();
  ASSERT_EQ(Opened.size(), 1);
  const QString expected = QStringLiteral(
      "mailto:?Subject=Verbalune MP3&Body=Check out Verbalune MP3 at "
      "https://www.verbalune.example .  Verbalune MP3 lets you listen to text you "
      "copy to the clipboard. It uses Text to Speech technology which actually "
      "synthesizes natural sounding speech from ordinary text.  Listen to your "
      "email, news, any text you want.  You can also convert your text to wav or "
      "MP3 files so you can listen later.  Try Verbalune MP3 free today at "
      "https://www.verbalune.example");
  EXPECT_EQ(Opened.at(0), expected);
}

TEST_F(MenuCommands, RunStateEnablesTheReadingControls) {
  StorePreferences([](TPreferences& p) { p.ML_ListMode = 1; });
  TStartedReader reader;
  TForm1& form = *reader.Form;
  struct TCase {
    TRunState State;
    bool Read, Pause, Skip, Stop, Device;
  };
  const TCase cases[] = {
      {rsIdle, true, false, false, false, true},
      {rsPaused, false, true, false, true, false},
      {rsReading, false, true, true, true, false},
      // A long conversion can be stopped, and skipped in a run.
      {rsConverting, false, false, true, true, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.State));
    form.SetRunState(c.State);
    for (QAction* a :
         {form.PlaySpkrMItm, form.PlayPoNtry, form.PlayFileMItm, form.PlayFilePoNtry}) {
      EXPECT_EQ(a->isEnabled(), c.Read) << a->objectName().toStdString();
    }
    EXPECT_EQ(form.PlayToolBtn->isEnabled(), c.Read);
    EXPECT_EQ(form.PauseBtn->isEnabled(), c.Pause);
    EXPECT_EQ(form.PausePoNtry->isEnabled(), c.Pause);
    EXPECT_EQ(form.SkipMItm->isEnabled(), c.Skip);
    EXPECT_EQ(form.StopBtn->isEnabled(), c.Stop);
    EXPECT_EQ(form.SelAudioDevMItm->isEnabled(), c.Device);
    EXPECT_EQ(form.PronunciationMItm->isEnabled(), c.Device);
    // Pause decides on its caption, which therefore follows every state.
    const bool paused = c.State == rsPaused;
    EXPECT_EQ(form.PauseBtn->text(), paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    EXPECT_EQ(form.PauseMItm->text(),
              paused ? QStringLiteral("&Resume") : QStringLiteral("&Pause"));
    EXPECT_EQ(form.PausePoNtry->text(),
              paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
  }
  // Skip has nothing to skip to in Single-Article mode; exiting changes nothing.
  form.ToolButton1Click();
  form.SetRunState(rsReading);
  EXPECT_FALSE(form.SkipBtn->isEnabled());
  form.SetRunState(rsExiting);
  EXPECT_TRUE(form.PauseBtn->isEnabled());
}

TEST_F(MenuCommands, ModeSwitchKeepsButtonsMenusAndListInStep) {
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  TForm1& form = *reader.Form;
  form.MultiMItm->trigger();
  EXPECT_EQ(Preferences->ML_ListMode, 1);
  EXPECT_TRUE(form.ToolButton2->isChecked());
  EXPECT_TRUE(form.MIPoNtry->isChecked());
  EXPECT_EQ(form.MISIOptionsPage->currentWidget(), form.MIOptionsSheet);
  form.SIPoNtry->trigger();
  EXPECT_EQ(Preferences->ML_ListMode, 0);
  EXPECT_TRUE(form.ToolButton1->isChecked());
  EXPECT_TRUE(form.SingleMItm->isChecked());
  EXPECT_EQ(form.MISIOptionsPage->currentWidget(), form.SIOptionsSheet);
  EXPECT_EQ(form.Articles->VisibleCount(), 1);
}

// Lets the event loop fall idle once, as it does between the user's actions.
// (Not through a nested QEventLoop: after a test that ended the application
// those return at once.)
void RunUntilIdle() {
  bool woken = false;
  QTimer::singleShot(20, [&woken] { woken = true; });
  while (!woken) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

TEST_F(MenuCommands, PasteIsEnabledOnlyWhileThereIsACurrentArticle) {
  StorePreferences([](TPreferences& p) {
    p.FirstTimeUser = false;
    p.ML_ListMode = 1;
  });
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  TForm1& form = *reader.Form;
  for (const QString& text : {QStringLiteral("First"), QStringLiteral("Second")}) {
    form.Articles->CurrentEntry()->SetEditorText(text);
    ASSERT_NE(form.AddNew(), nullptr);
  }
  form.Articles->CurrentEntry()->SetEditorText(QStringLiteral("Third "));
  form.Articles->CurrentEntry()->Editor->moveCursor(QTextCursor::End);
  EXPECT_TRUE(form.Paste1->isEnabled());
  EXPECT_TRUE(form.PasteBtn->isEnabled());

  QGuiApplication::clipboard()->setText(QStringLiteral("pasted words"));
  form.PasteBtn->click();
  EXPECT_EQ(form.Articles->CurrentEntry()->EditorText(), QStringLiteral("Third pasted words"));

  // Deleting the current article leaves the others without a current one.
  form.DelSelPopupClick();
  ASSERT_EQ(form.Articles->VisibleCount(), 2);
  ASSERT_EQ(form.Articles->CurrentEntry(), nullptr);
  EXPECT_FALSE(form.Paste1->isEnabled());
  EXPECT_FALSE(form.PasteBtn->isEnabled());
  emit form.PopupMenu1->aboutToShow();
  EXPECT_FALSE(form.PastePopup->isEnabled());

  // The list makes an article current by itself; Paste follows once idle.
  form.Articles->MarkEntry(2);
  RunUntilIdle();
  EXPECT_TRUE(form.PasteBtn->isEnabled());

  // The article's own Delete button takes the current article away too.
  form.ArticleDeleteClick(form.Articles->CurrentEntry());
  EXPECT_FALSE(form.PasteBtn->isEnabled());

  // Nothing can be pasted once Exit has begun.
  form.Articles->MarkEntry(1);
  RunUntilIdle();
  ASSERT_TRUE(form.Paste1->isEnabled());
  form.ExitVerbaluneClick();
  EXPECT_FALSE(form.Paste1->isEnabled());
}

TEST_F(MenuCommands, ResetStatusShowsTheArticleCountWhateverTheRunState) {
  StorePreferences([](TPreferences& p) {
    p.FirstTimeUser = false;
    p.ML_ListMode = 1;
  });
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  TForm1& form = *reader.Form;
  QSignalSpy shortText(&form, &TForm1::ShortStatusChanged);
  form.Articles->CurrentEntry()->SetEditorText(QStringLiteral("  "));
  EXPECT_EQ(form.ArticleCountText(), QStringLiteral("No articles"));
  form.Articles->CurrentEntry()->SetEditorText(QStringLiteral("One"));
  EXPECT_EQ(form.ArticleCountText(), QStringLiteral("1 article"));
  form.AddMemo(QStringLiteral("Two"), Preferences->TTS_DefaultVoiceName);
  EXPECT_EQ(form.ArticleCountText(), QStringLiteral("2 articles"));

  reader.Speech->TTS1->Tag = reinterpret_cast<qintptr>(form.Articles->Entries().at(1));
  form.SetRunState(rsReading);
  form.ShowStatus(QString());
  EXPECT_TRUE(form.StatusPanel0->text().startsWith(QStringLiteral("Article 2 of 2 : ")));
  form.ProgressGauge->setRange(0, 10);
  form.ProgressGauge->setValue(4);
  form.ProgressGauge->show();
  form.ResetStatus();
  EXPECT_EQ(form.StatusPanel0->text(), QStringLiteral("2 articles"));
  ASSERT_FALSE(shortText.isEmpty());
  EXPECT_EQ(shortText.last().at(0).toString(), QStringLiteral("2 articles"));
  EXPECT_TRUE(form.ProgressGauge->isHidden());
  EXPECT_EQ(form.ProgressGauge->value(), 0);
  reader.Speech->TTS1->Tag = 0;
  form.SetRunState(rsIdle);
}
