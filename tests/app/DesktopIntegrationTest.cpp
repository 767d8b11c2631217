// Clipboard capture, the floating toolbar and the tray menu on the real main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QToolButton>

#include "AppTestSupport.h"
#include "AutoStartCommands.h"
#include "CB_PromptUnit.h"
#include "ClipboardCommands.h"
#include "MemoListUnit.h"
#include "RunKey.h"
#include "ToolBarForm.h"
#include "TrayToolbarCommands.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class DesktopIntegration : public ::testing::Test {
 protected:
  DesktopIntegration() { QGuiApplication::clipboard()->clear(); }

  // Another program copies text: the offscreen clipboard belongs to nobody.
  static void Copy(const QString& text) { QGuiApplication::clipboard()->setText(text); }

  // Texts of the articles that are not blank.
  static QStringList ArticleTexts(const TForm1& form) {
    QStringList texts;
    for (const TMemoEntry* entry : form.Articles->Entries()) {
      if (!entry->EditorText().trimmed().isEmpty()) {
        texts << entry->EditorText();
      }
    }
    return texts;
  }

  TTempFolders Folders;
  TMessageRecorder Messages;
};

}  // namespace

TEST_F(DesktopIntegration, CopiedTextBecomesAnArticleThroughThePrompt) {
  StorePreferences([](TPreferences& p) {
    p.ML_ListMode = 1;
    p.FirstTimeUser = false;
    p.CB_PromptDelay = 0;
  });
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  TForm1& form = *reader.Form;
  ASSERT_NE(CB_PromptForm, nullptr);
  const int before = ArticleTexts(form).size();

  Copy(u"short"_s);  // ten characters or fewer are ignored
  EXPECT_FALSE(CB_PromptForm->isVisible());
  Copy(u"Text copied in another program."_s);
  ASSERT_TRUE(CB_PromptForm->isVisible());
  EXPECT_EQ(CB_PromptForm->ModeValue->text(), u"Current Mode is Multi-Article Mode"_s);
  // A second copy while the prompt waits is dropped.
  Copy(u"Dropped while the prompt is open."_s);
  QTest::mouseClick(CB_PromptForm->New, Qt::LeftButton);
  EXPECT_FALSE(CB_PromptForm->isVisible());
  EXPECT_EQ(ArticleTexts(form).size(), before + 1);
  EXPECT_EQ(form.Articles->CurrentEntry()->EditorText(), u"Text copied in another program."_s);
  ASSERT_TRUE(form.Articles->WaitForExport());
  EXPECT_TRUE(ReadWholeFile(TForm1::ExportFileName()).contains("Text copied in another program."));
  EXPECT_EQ(Preferences->CB_LastPromptAction, paNew);
  EXPECT_TRUE(TraceText().contains(u"In CopyClipboardMemo, Action= 0"_s));

  // Append goes to the current article with one blank.
  Copy(u"And a second sentence."_s);
  ASSERT_TRUE(CB_PromptForm->isVisible());
  ASSERT_TRUE(CB_PromptForm->Append->isEnabled());
  QTest::mouseClick(CB_PromptForm->Append, Qt::LeftButton);
  EXPECT_EQ(form.Articles->CurrentEntry()->EditorText(),
            u"Text copied in another program. And a second sentence."_s);
  EXPECT_EQ(ArticleTexts(form).size(), before + 1);
}

TEST_F(DesktopIntegration, WithoutThePromptAClearedClipboardGivesOneArticle) {
  StorePreferences([](TPreferences& p) {
    p.ML_ListMode = 1;
    p.FirstTimeUser = false;
    p.CB_Prompt = false;
    p.CB_DfltPromptAction = paCancel;
    p.CB_ClearOnCopy = true;
  });
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  const int before = ArticleTexts(*reader.Form).size();
  Copy(u"Taken at once, then cleared."_s);
  EXPECT_FALSE(CB_PromptForm->isVisible());
  EXPECT_EQ(ArticleTexts(*reader.Form).size(), before + 1);
  EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
  EXPECT_EQ(ArticleTexts(*reader.Form).count(u"Taken at once, then cleared."_s), 1);
}

TEST_F(DesktopIntegration, NewTextIsSpokenAtOnceOnlyInSingleArticleMode) {
  for (const quint8 mode : {quint8(0), quint8(1)}) {
    StorePreferences([mode](TPreferences& p) {
      p.ML_ListMode = mode;
      p.FirstTimeUser = false;
      p.CB_Prompt = false;
      p.CB_DfltPromptAction = paNew;
      p.SI_AutoSpeak = true;
    });
    TStartedReader reader;
    ASSERT_TRUE(reader.ShowAndActivate());
    QList<TMemoEntry*> reads;
    reader.Form->ClipboardCapture->SpeakArticle = [&reads](TMemoEntry* entry) { reads << entry; };
    Copy(u"Speak this new text at once. "_s + QString::number(mode));
    ASSERT_EQ(reads.size(), mode == 0 ? 1 : 0) << int(mode);
    if (mode == 0) {
      // The copy replaced the single article.
      EXPECT_EQ(ArticleTexts(*reader.Form), QStringList{u"Speak this new text at once. 0"_s});
      EXPECT_EQ(reads.at(0), reader.Form->Articles->CurrentEntry());
    }
  }
}

TEST_F(DesktopIntegration, WatchClipboardSwitchesAllItsControlsAndSkipsOldText) {
  StorePreferences([](TPreferences& p) {
    p.FirstTimeUser = false;
    p.CB_PromptDelay = 0;
  });
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  TForm1& form = *reader.Form;
  ASSERT_TRUE(form.MonClipMItm->isChecked());
  form.MonClipPoNtry->trigger();
  EXPECT_FALSE(Preferences->CB_Monitor);
  EXPECT_FALSE(form.MonClipMItm->isChecked());
  EXPECT_FALSE(form.MonClipPoNtry->isChecked());
  EXPECT_FALSE(form.ClipboardCapture->Watcher().Joined());
  Copy(u"Copied while not watching."_s);
  EXPECT_FALSE(CB_PromptForm->isVisible());

  form.MonClipMItm->trigger();
  EXPECT_TRUE(Preferences->CB_Monitor);
  EXPECT_TRUE(form.MonClipPoNtry->isChecked());
  EXPECT_TRUE(form.ClipboardCapture->Watcher().Joined());
  // What was already there is not news.
  EXPECT_FALSE(CB_PromptForm->isVisible());
  Copy(u"Copied after switching on."_s);
  EXPECT_TRUE(CB_PromptForm->isVisible());
  CB_PromptForm->CancelClick();

  reader.Free();
  EXPECT_EQ(TClipboardViewerChain::Instance().Count(), 0);
}

TEST_F(DesktopIntegration, ABusySingleArticleDropsTheCopyWithTheBusyDialog) {
  StorePreferences([](TPreferences& p) {
    p.FirstTimeUser = false;
    p.ML_ListMode = 0;
  });
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  reader.Form->Articles->Entries().first()->Locked = true;
  Copy(u"Copied while the article is read."_s);
  EXPECT_EQ(Messages.Dialogs, QStringList{u"SIBusy"_s});
  EXPECT_FALSE(CB_PromptForm->isVisible());
  reader.Form->Articles->UnlockAllEntries();
}

TEST_F(DesktopIntegration, TheToolbarAppearsAsTheOptionSays) {
  for (const quint8 option : {quint8(0), quint8(1), quint8(2)}) {
    StorePreferences([option](TPreferences& p) {
      p.FirstTimeUser = false;
      p.ToolbarOnMinOption = option;
    });
    TStartedReader reader;
    ASSERT_TRUE(reader.ShowAndActivate());
    TForm1& form = *reader.Form;
    ASSERT_NE(ToolBarForm, nullptr);
    EXPECT_FALSE(form.ToolBarPONtry->isEnabled()) << "disabled at start";

    form.MinimizeToTray();
    EXPECT_EQ(ToolBarForm->isVisible(), option == 1) << int(option);
    EXPECT_EQ(form.ToolBarPONtry->isEnabled(), option != 1) << int(option);
    if (option == 2) {
      // Reading begun from the tray menu brings it up.
      form.SetRunState(rsReading);
      EXPECT_TRUE(ToolBarForm->isVisible());
      EXPECT_FALSE(form.ToolBarPONtry->isEnabled());
      form.SetRunState(rsIdle);
    }
    if (option == 0) {
      form.ToolBarPONtry->trigger();
      EXPECT_TRUE(ToolBarForm->isVisible());
      EXPECT_FALSE(form.ToolBarPONtry->isEnabled());
    }
    // The close box hides it and offers it in the tray menu again.
    ToolBarForm->close();
    EXPECT_FALSE(ToolBarForm->isVisible());
    EXPECT_NE(ToolBarForm, nullptr);
    EXPECT_TRUE(form.ToolBarPONtry->isEnabled());
    // Restoring hides it and takes the item away.
    form.ToolBarPONtry->trigger();
    ToolBarForm->RestoreBtn->click();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(ToolBarForm->isVisible());
    EXPECT_FALSE(form.ToolBarPONtry->isEnabled());
    // The View menu reaches it too, for desktops without a notification area.
    form.FloatToolbarMItm->trigger();
    EXPECT_TRUE(ToolBarForm->isVisible());
    ToolBarForm->close();
  }
}

TEST_F(DesktopIntegration, ToolbarAndTrayMenuUseTheReadMenusCommands) {
  StorePreferences([](TPreferences& p) { p.FirstTimeUser = false; });
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  TForm1& form = *reader.Form;
  TToolBarForm& bar = *ToolBarForm;
  QSignalSpy play(form.PlaySpkrMItm, &QAction::triggered);
  QSignalSpy file(form.PlayFileMItm, &QAction::triggered);
  QSignalSpy stop(form.StopMItm, &QAction::triggered);
  form.PlayPoNtry->trigger();
  bar.PlayToolBtn->click();
  form.PlayFilePoNtry->trigger();
  bar.PlayFileBtn->click();
  EXPECT_EQ(play.size(), 2);
  EXPECT_EQ(file.size(), 2);
  // Idle: the stop controls are disabled everywhere, and nothing gets through.
  EXPECT_FALSE(bar.StopBtn->isEnabled());
  form.StopPoNtry->trigger();
  EXPECT_EQ(stop.size(), 0);

  form.SetRunState(rsReading);
  EXPECT_TRUE(bar.StopBtn->isEnabled());
  EXPECT_TRUE(bar.PauseBtn->isEnabled());
  EXPECT_FALSE(bar.PlayToolBtn->isEnabled());
  bar.StopBtn->click();
  EXPECT_EQ(stop.size(), 1);
  form.SetRunState(rsIdle);
}

TEST_F(DesktopIntegration, ToolbarMirrorsStatusAndProgressAndKeepsItsPlace) {
  StorePreferences([](TPreferences& p) { p.FirstTimeUser = false; });
  QPoint placed;
  {
    TStartedReader reader;
    ASSERT_TRUE(reader.ShowAndActivate());
    TForm1& form = *reader.Form;
    TToolBarForm& bar = *ToolBarForm;
    EXPECT_EQ(bar.windowTitle(), u"Verbalune MP3 Toolbar"_s);
    EXPECT_EQ(bar.size(), QSize(240, 55));
    form.ShowStatus(u"A status text much longer than the toolbar's little label can hold"_s);
    EXPECT_EQ(bar.StatusLabel->text(),
              u"A status text much longer than the toolbar's little label can hold"_s);
    EXPECT_FALSE(bar.Gauge1->isVisibleTo(&bar));
    form.ProgressGauge->setRange(0, 100);
    form.ProgressGauge->show();
    form.ProgressGauge->setValue(42);
    EXPECT_TRUE(bar.Gauge1->isVisibleTo(&bar));
    EXPECT_EQ(bar.Gauge1->value(), 42);
    form.ResetStatus();
    EXPECT_FALSE(bar.Gauge1->isVisibleTo(&bar));
    EXPECT_EQ(bar.Gauge1->value(), 0);

    bar.ShowNormal();
    bar.move(123, 77);
    placed = bar.geometry().topLeft();
  }
  TStartedReader again;
  ASSERT_TRUE(again.ShowAndActivate());
  ToolBarForm->ShowNormal();
  EXPECT_EQ(ToolBarForm->geometry().topLeft(), placed);
}

TEST_F(DesktopIntegration, AlwaysOnTopTakesEffectAtTheNextActivation) {
  StorePreferences([](TPreferences& p) { p.FirstTimeUser = false; });
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  TToolBarForm& bar = *ToolBarForm;
  bar.ShowNormal();
  EXPECT_FALSE(bar.StaysOnTop());
  Preferences->ToolbarOnTop = true;
  EXPECT_FALSE(bar.StaysOnTop());
  bar.FormActivate();
  EXPECT_TRUE(bar.StaysOnTop());
  EXPECT_TRUE(bar.isVisible());
  Preferences->ToolbarOnTop = false;
  bar.FormActivate();
  EXPECT_FALSE(bar.StaysOnTop());
}

TEST_F(DesktopIntegration, StartAtLoginIsCorrectedAtEveryStart) {
  EXPECT_FALSE(AutoStartAppEnabled());
  AutoStartAppCBClick(true);
  EXPECT_TRUE(AutoStartAppEnabled());
  EXPECT_EQ(RunKeyValueCommand(u"Verbalune"_s), (QStringList{AppPaths::ProgramPath(), u"-auto"_s}));
  // The program was moved since the entry was made.
  SetRunKeyValue(u"Verbalune"_s, u"/old/place/verbalune"_s, {u"-auto"_s}, true);
  { TStartedReader reader; }
  EXPECT_EQ(RunKeyValueCommand(u"Verbalune"_s).value(0), AppPaths::ProgramPath());
  AutoStartAppCBClick(false);
  EXPECT_FALSE(AutoStartAppEnabled());
  // Without an entry, a start makes none.
  { TStartedReader reader; }
  EXPECT_FALSE(AutoStartAppEnabled());
}

TEST_F(DesktopIntegration, TrayIconTipFollowsTheStatusAndADoubleClickRestores) {
  StorePreferences([](TPreferences& p) {
    p.FirstTimeUser = false;
    p.ToolbarOnMinOption = 1;
  });
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  TForm1& form = *reader.Form;
  ASSERT_NE(form.TrayIcon, nullptr);
  EXPECT_EQ(form.TrayIcon->contextMenu(), form.PopupMenu2);

  const QString status =
      u"Reading the article with a rather long title that will not fit in a tip"_s;
  ASSERT_GT(status.size(), 63);
  form.ShowStatus(status);
  EXPECT_EQ(form.TrayIcon->toolTip(), status.left(63));
  EXPECT_EQ(form.StatusPanel0->text(), status);

  // Visible: a double click only brings the window forward.
  emit form.TrayIcon->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(form.isVisible());
  // Hidden with the toolbar up: the window comes back and the toolbar goes.
  form.MinimizeToTray();
  ASSERT_FALSE(form.isVisible());
  ASSERT_TRUE(ToolBarForm->isVisible());
  emit form.TrayIcon->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(ToolBarForm->isVisible());
  EXPECT_FALSE(form.ToolBarPONtry->isEnabled());
  // Before start-up has finished the icon's clicks are not acted on.
  form.MinimizeToTray();
  form.Initialized = false;
  emit form.TrayIcon->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_FALSE(form.isVisible());
  form.Initialized = true;
  form.RestoreFromTray();
}
