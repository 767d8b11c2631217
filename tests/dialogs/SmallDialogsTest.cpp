#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "BaseUtils.h"
#include "ClickLabel.h"
#include "MessageRecorder.h"
#include "NoEngineWarning.h"
#include "PreferenceUnit.h"
#include "PronEditorInfo.h"
#include "SIBusyDialogUnit.h"
#include "SelectDirectory.h"
#include "TestEnvironment.h"

namespace {

// The preferences the dialogs change, as the main window holds them.
class SmallDialogs : public ::testing::Test {
 protected:
  SmallDialogs() {
    Preferences = &Prefs;
    UtilsClass::SetShellHandler([this](const QString& target) {
      Opened << target;
      return true;
    });
  }
  ~SmallDialogs() override {
    Preferences = nullptr;
    UtilsClass::SetShellHandler(nullptr);
  }

  TTempFolders Folders;
  TMessageRecorder Messages;
  TPreferences Prefs;
  QStringList Opened;
};

// Runs a modal dialog, lets act do what the user does, and returns its result.
template <class TDialog, class TAct>
int RunModal(TDialog& dialog, TAct act) {
  QTimer::singleShot(0, &dialog, [&dialog, act] {
    act(dialog);
    if (dialog.isVisible()) {
      dialog.reject();
    }
  });
  return dialog.exec();
}

}  // namespace

TEST_F(SmallDialogs, DoNotShowAgainBoxesWriteTheOppositeOfTheirTick) {
  TSIBusyForm busy;
  EXPECT_EQ(busy.windowTitle(), QStringLiteral("Verbalune Busy ..."));
  EXPECT_TRUE(busy.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  Prefs.SI_ShowBusyDialog = true;
  busy.DontShowCB->click();
  EXPECT_FALSE(Prefs.SI_ShowBusyDialog);
  busy.DontShowCB->click();
  EXPECT_TRUE(Prefs.SI_ShowBusyDialog);
  EXPECT_EQ(RunModal(busy, [](TSIBusyForm& d) { d.OKBtn->click(); }), QDialog::Accepted);
  EXPECT_TRUE(Prefs.SI_ShowBusyDialog);

  TPronEditorInfoForm note;
  EXPECT_EQ(note.windowTitle(), QStringLiteral("Pronunciation Editor Info"));
  Prefs.ShowPronEditWarning = true;
  EXPECT_EQ(RunModal(note,
                     [](TPronEditorInfoForm& d) {
                       d.DontShowCB->click();
                       d.ContinueBtn->click();
                     }),
            QDialog::Accepted);
  EXPECT_FALSE(Prefs.ShowPronEditWarning);
  EXPECT_TRUE(note.Memo1->toPlainText().startsWith(
      QStringLiteral("A note on using the pronunciation editor ...\n\nVerbalune MP3 currently")));
}

TEST_F(SmallDialogs, EngineWarningOffersTheDownloadPageAndSupportMail) {
  TEngineWarningForm warning;
  EXPECT_EQ(warning.windowTitle(), QStringLiteral("Text To Speech Engine not found"));
  EXPECT_TRUE(warning.Memo1->isReadOnly());
  EXPECT_EQ(warning.Memo1->toPlainText().split(u'\n').size(), 6);
  EXPECT_EQ(warning.ExitBtn->text(), QStringLiteral("Exit Verbalune MP3"));
  emit warning.DownloadLabel->Clicked();
  emit warning.SupportLabel->Clicked();
  ASSERT_EQ(Opened.size(), 2);
  EXPECT_TRUE(Opened.at(0).startsWith(QStringLiteral("https://www.verbalune.example/")));
  EXPECT_EQ(Opened.at(1), QStringLiteral("mailto:support@verbalune.example"));
  EXPECT_EQ(RunModal(warning, [](TEngineWarningForm& d) { d.ExitBtn->click(); }),
            QDialog::Accepted);
}

TEST_F(SmallDialogs, OutputDirectoryOkStoresTheOpenedFolderAndCancelNothing) {
  const QString output = Folders.Path(QStringLiteral("out"));
  const QString other = Folders.Path(QStringLiteral("other"));
  ASSERT_TRUE(QDir().mkpath(output));
  ASSERT_TRUE(QDir().mkpath(other));
  TOutDirDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Output Directory"));

  Prefs.OUT_Directory = output;
  QString shown;
  EXPECT_EQ(RunModal(dialog,
                     [&](TOutDirDialog& d) {
                       shown = d.CurrentDirLabel->text();
                       d.OpenFolder(other);
                       d.OKBtn->click();
                     }),
            QDialog::Accepted);
  EXPECT_EQ(shown, output);
  EXPECT_EQ(Prefs.OUT_Directory, other);

  // A blank preference (no default folder could be made) starts at the
  // starting folder, and Cancel keeps the blank.
  Prefs.OUT_Directory = QStringLiteral(" ");
  EXPECT_EQ(RunModal(dialog,
                     [&](TOutDirDialog& d) {
                       shown = d.CurrentFolder();
                       d.OpenFolder(output);
                       d.CancelBtn->click();
                     }),
            QDialog::Rejected);
  EXPECT_EQ(shown, QDir::cleanPath(TOutDirDialog::StartingFolder()));
  EXPECT_EQ(Prefs.OUT_Directory, QStringLiteral(" "));
}

TEST_F(SmallDialogs, OutputDirectoryKeepsItsPlacement) {
  {
    TOutDirDialog dialog;
    dialog.setGeometry(40, 50, 600, 400);
    RunModal(dialog, [](TOutDirDialog& d) { d.CancelBtn->click(); });
  }
  TOutDirDialog again;
  EXPECT_EQ(again.geometry().size(), QSize(600, 400));
}
