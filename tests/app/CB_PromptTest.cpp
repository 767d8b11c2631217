// The clipboard prompt: its buttons, default button, countdown and texts.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "CB_PromptUnit.h"
#include "PreferenceUnit.h"
#include "TestEnvironment.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class CB_PromptTest : public ::testing::Test {
 protected:
  CB_PromptTest() {
    Prefs.CB_Prompt = true;
    Prefs.CB_PromptDelay = 3;
    Prefs.CB_PromptLeft = -1;
    Prefs.CB_PromptTop = -1;
    Prefs.CB_DfltPromptAction = paCancel;
    Prefs.CB_LastPromptAction = paCancel;
    Preferences = &Prefs;
    Prompt = std::make_unique<TCB_PromptForm>();
    Prompt->AppendAvailable = [this] { return AppendAvailable; };
    Prompt->CopyClipboardMemo = [this](quint8 action) { Copied.push_back(action); };
  }
  ~CB_PromptTest() override {
    Prompt.reset();
    Preferences = nullptr;
  }

  TTempFolders Folders;
  TPreferences Prefs;
  std::unique_ptr<TCB_PromptForm> Prompt;
  bool AppendAvailable = true;
  std::vector<quint8> Copied;
};

}  // namespace

TEST_F(CB_PromptTest, LooksAsDesigned) {
  Prompt->show();
  EXPECT_EQ(Prompt->windowTitle(), u"Verbalune MP3"_s);
  EXPECT_EQ(Prompt->size(), QSize(280, 91));
  EXPECT_EQ(Prompt->Label1->text(), u"Copy Clipboard to Speech Buffer ?"_s);
  EXPECT_TRUE(Prompt->Label1->font().bold());
  EXPECT_EQ(Prompt->New->geometry(), QRect(8, 32, 75, 25));
  EXPECT_EQ(Prompt->Append->geometry(), QRect(104, 32, 75, 25));
  EXPECT_EQ(Prompt->Cancel->geometry(), QRect(200, 32, 75, 25));
  EXPECT_EQ(Prompt->Append->toolTip(), u"Append text to current article"_s);
  EXPECT_EQ(Prompt->Cancel->toolTip(), u"Cancel clipboard copy to Verbalune MP3"_s);
  EXPECT_FALSE(Prompt->windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

TEST_F(CB_PromptTest, ModeTextsFollowTheListMode) {
  struct TCase {
    quint8 Mode;
    QString Value;
    QString NewHint;
  };
  for (const TCase& c :
       {TCase{0, u"Current Mode is Single-Article Mode"_s, u"Overwrite current article"_s},
        TCase{1, u"Current Mode is Multi-Article Mode"_s, u"Add new article"_s}}) {
    Prefs.ML_ListMode = c.Mode;
    Prompt->show();
    EXPECT_EQ(Prompt->ModeValue->text(), c.Value);
    EXPECT_EQ(Prompt->New->toolTip(), c.NewHint);
    Prompt->CancelClick();
  }
}

TEST_F(CB_PromptTest, AppendWithNothingToAppendToTimesOutAsCancel) {
  Prefs.CB_DfltPromptAction = paAppend;
  Prefs.CB_LastPromptAction = paNew;
  AppendAvailable = false;  // the list holds one empty article
  Prompt->show();
  EXPECT_FALSE(Prompt->Append->isEnabled());
  EXPECT_EQ(Prompt->DefaultButton(), TPromptButton::Cancel);
  EXPECT_TRUE(Prompt->Cancel->isDefault());
  EXPECT_FALSE(Prompt->Append->isDefault());
  ASSERT_TRUE(Prompt->Timer1->isActive());
  EXPECT_EQ(Prompt->Timer1->interval(), 3000);
  Prompt->Timer1Timer();
  EXPECT_FALSE(Prompt->isVisible());
  EXPECT_FALSE(Prompt->Timer1->isActive());
  EXPECT_TRUE(Copied.empty());
  EXPECT_EQ(Prefs.CB_LastPromptAction, paCancel);
}

TEST_F(CB_PromptTest, RememberLastDefaultsToTheLastAnswerWhileAppendIsPossible) {
  Prefs.CB_DfltPromptAction = paRememberLast;
  Prompt->show();
  EXPECT_EQ(Prompt->DefaultButton(), TPromptButton::Cancel);
  QTest::mouseClick(Prompt->New, Qt::LeftButton);
  EXPECT_EQ(Prefs.CB_LastPromptAction, paNew);
  EXPECT_EQ(Copied, std::vector<quint8>{paNew});
  EXPECT_FALSE(Prompt->isVisible());

  Prompt->show();
  EXPECT_EQ(Prompt->DefaultButton(), TPromptButton::New);
  EXPECT_TRUE(Prompt->New->isDefault());
  QTest::mouseClick(Prompt->Append, Qt::LeftButton);
  EXPECT_EQ(Prefs.CB_LastPromptAction, paAppend);

  Prompt->show();
  EXPECT_EQ(Prompt->DefaultButton(), TPromptButton::Append);
  Prompt->Timer1Timer();  // the countdown answers with the default
  EXPECT_EQ(Copied, (std::vector<quint8>{paNew, paAppend, paAppend}));

  AppendAvailable = false;
  Prompt->show();
  EXPECT_EQ(Prompt->DefaultButton(), TPromptButton::Cancel);
  Prompt->CancelClick();
}

TEST_F(CB_PromptTest, EscapeAndEnterAnswerAsTheButtonsDo) {
  Prefs.CB_DfltPromptAction = paNew;
  Prompt->show();
  QTest::keyClick(Prompt.get(), Qt::Key_Escape);
  EXPECT_FALSE(Prompt->isVisible());
  EXPECT_TRUE(Copied.empty());
  EXPECT_EQ(Prefs.CB_LastPromptAction, paCancel);

  Prompt->show();
  Prompt->activateWindow();
  QTest::keyClick(Prompt.get(), Qt::Key_Return);
  EXPECT_EQ(Copied, std::vector<quint8>{paNew});
  // A disabled Append reached some other way appends nothing.
  AppendAvailable = false;
  Prompt->show();
  Prompt->AppendClick();
  EXPECT_EQ(Copied, std::vector<quint8>{paNew});
}

TEST_F(CB_PromptTest, TheCountdownRunsOnlyWhileShownAndOnlyWithADelay) {
  Prefs.CB_PromptDelay = 0;
  Prompt->show();
  EXPECT_FALSE(Prompt->Timer1->isActive());  // waits for the user
  Prompt->CancelClick();

  Prefs.CB_PromptDelay = 1;
  Prefs.CB_DfltPromptAction = paNew;
  Prompt->show();
  ASSERT_TRUE(Prompt->Timer1->isActive());
  Prompt->hide();
  EXPECT_FALSE(Prompt->Timer1->isActive());

  // The real countdown answers by itself.
  Prompt->show();
  EXPECT_TRUE(QTest::qWaitFor([this] { return !Prompt->isVisible(); }, 10000));
  EXPECT_EQ(Copied, std::vector<quint8>{paNew});
}

TEST_F(CB_PromptTest, StandsWhereThePreferencesPutIt) {
  Prefs.CB_PromptLeft = 40;
  Prefs.CB_PromptTop = 30;
  Prompt->show();
  EXPECT_EQ(Prompt->pos(), QPoint(40, 30));
  Prompt->CancelClick();
  // The program never stores where the prompt stood.
  EXPECT_EQ(Prefs.CB_PromptLeft, 40);
}
