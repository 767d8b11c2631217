// The voice edit dialog: working values, Reset, Test and the two ways out.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "DialogTestRig.h"
#include "TTSEngineUnit.h"
#include "VoiceEditUnit.h"

namespace {

class VoiceEdit : public ::testing::Test {
 protected:
  VoiceEdit() {
    Voice = Rig.Controller->FindVoice(QStringLiteral("Adam"));
    Form.EditVoice = Voice;
    Form.ShowStatus = [this](const QString& status) { Statuses << status; };
    Form.SpeakText = [this](const QString& text, const QString& voiceName) {
      const TVoiceEntry* spoken = Rig.Controller->FindVoice(voiceName);
      Spoken.push_back({text, voiceName, spoken->Pitch, spoken->Speed});
    };
  }

  // Drags a slider to a position and lets go of it.
  static void Drag(QSlider* slider, int position) {
    slider->setSliderDown(true);
    slider->setValue(position);
    slider->setSliderDown(false);
  }

  struct TSpoken {
    QString Text;
    QString Voice;
    qint32 Pitch;
    qint32 Speed;
  };

  TScriptedController Rig;
  TVoiceEditForm Form;
  TVoiceEntry* Voice = nullptr;
  QStringList Statuses;
  std::vector<TSpoken> Spoken;
};

TEST_F(VoiceEdit, ShowingAsksTheEngineForLimitsOnceAndShowsThem) {
  ASSERT_NE(Voice, nullptr);
  ASSERT_EQ(Voice->MinPitch, -1);
  Form.FormShow();
  EXPECT_EQ(Form.VoiceCaptionLbl->text(), QStringLiteral("Adam"));
  EXPECT_EQ(Voice->MinPitch, 0);
  EXPECT_EQ(Voice->MaxSpeed, 450);
  // A voice without its own values speaks at the engine's defaults.
  EXPECT_EQ(Form.PitchSlider->minimum(), 0);
  EXPECT_EQ(Form.PitchSlider->maximum(), 100);
  EXPECT_EQ(Form.PitchSlider->value(), 50);
  EXPECT_EQ(Form.SpeedSlider->value(), 175);
  const QStringList labels{Form.PitchMinLbl->text(), Form.PitchMaxLbl->text(),
                           Form.PitchValLbl->text(), Form.SpeedMinLbl->text(),
                           Form.SpeedMaxLbl->text(), Form.SpeedValLbl->text()};
  EXPECT_EQ(labels,
            (QStringList{QStringLiteral("0"), QStringLiteral("100"), QStringLiteral("50"),
                         QStringLiteral("80"), QStringLiteral("450"), QStringLiteral("175")}));
  EXPECT_EQ(Form.WorkPitch, 50);
  EXPECT_EQ(Form.WorkSpeed, 175);
}

TEST_F(VoiceEdit, OnlyAFinishedMoveChangesTheWorkingValues) {
  Form.FormShow();
  Form.PitchSlider->setSliderDown(true);
  Form.PitchSlider->setValue(70);
  EXPECT_EQ(Form.PitchValLbl->text(), QStringLiteral("70"));
  EXPECT_EQ(Form.WorkPitch, 50) << "still dragging";
  Form.PitchSlider->setSliderDown(false);
  EXPECT_EQ(Form.WorkPitch, 70);

  // A key press is a whole move by itself.
  Form.SpeedSlider->setFocus();
  QTest::keyClick(Form.SpeedSlider, Qt::Key_Right);
  EXPECT_EQ(Form.WorkSpeed, 176);
  EXPECT_EQ(Form.SpeedValLbl->text(), QStringLiteral("176"));
}

TEST_F(VoiceEdit, OkTakesTheWorkingValuesAndCancelOrResetThenCancelKeepsTheVoice) {
  Form.FormShow();
  Drag(Form.PitchSlider, 20);
  Drag(Form.SpeedSlider, 300);
  Form.CancelBtnClick();
  EXPECT_EQ(Form.result(), QDialog::Rejected);
  EXPECT_EQ(Voice->Pitch, 50);
  EXPECT_EQ(Voice->Speed, 175);

  // A second showing starts from the voice, not from the abandoned moves.
  Form.FormShow();
  EXPECT_EQ(Form.PitchSlider->value(), 50);
  EXPECT_EQ(Form.WorkSpeed, 175);

  Drag(Form.PitchSlider, 20);
  Drag(Form.SpeedSlider, 300);
  Form.OkBtnClick();
  EXPECT_EQ(Form.result(), QDialog::Accepted);
  EXPECT_EQ(Voice->Pitch, 20);
  EXPECT_EQ(Voice->Speed, 300);

  Form.FormShow();
  Form.ResetBtnClick();
  EXPECT_EQ(Form.WorkPitch, 50);
  EXPECT_EQ(Form.WorkSpeed, 175);
  EXPECT_EQ(Form.PitchSlider->value(), 50);
  EXPECT_EQ(Form.SpeedSlider->value(), 175);
  Form.CancelBtnClick();
  EXPECT_EQ(Voice->Pitch, 20);
  EXPECT_EQ(Voice->Speed, 300);
}

TEST_F(VoiceEdit, PitchZeroOfTheEngineStaysZeroThroughShowingAndCancel) {
  Form.FormShow();
  Drag(Form.PitchSlider, 0);
  Form.OkBtnClick();
  EXPECT_EQ(Voice->Pitch, kPitchZero);
  // Showing the dialog again must not turn the 0 into the default.
  Form.FormShow();
  EXPECT_EQ(Form.PitchSlider->value(), 0);
  EXPECT_EQ(Form.PitchValLbl->text(), QStringLiteral("0"));
  Form.CancelBtnClick();
  EXPECT_EQ(Voice->Pitch, kPitchZero);
  Form.FormShow();
  Form.TestBtnClick();
  ASSERT_EQ(Spoken.size(), 1u);
  EXPECT_EQ(Spoken[0].Pitch, kPitchZero);
}

TEST_F(VoiceEdit, TestSpeaksWithTheMovedValuesAndTheVoiceKeepsItsOwn) {
  Form.FormShow();
  Drag(Form.PitchSlider, 90);
  Drag(Form.SpeedSlider, 120);
  Form.TestBtnClick();
  ASSERT_EQ(Spoken.size(), 1u);
  EXPECT_EQ(Spoken[0].Voice, QStringLiteral("Adam"));
  EXPECT_EQ(Spoken[0].Pitch, 90);
  EXPECT_EQ(Spoken[0].Speed, 120);
  EXPECT_EQ(Spoken[0].Text, TestMessage(*Voice->Engine).trimmed());
  EXPECT_FALSE(Spoken[0].Text.isEmpty());
  EXPECT_EQ(Statuses, QStringList{QStringLiteral("Reading Test Message")});
  EXPECT_EQ(Voice->Pitch, 50);
  EXPECT_EQ(Voice->Speed, 175);
}

TEST_F(VoiceEdit, AnEngineWithoutATestTextReadsTheProgramsSentence) {
  TShareFolder share;
  ASSERT_TRUE(share.Write(QStringLiteral("AudioTest.chl"),
                          QStringLiteral("<deu>Hallo</deu>\n<eng>   </eng>\n")));
  const TVoiceEntry* german = Rig.Controller->FindVoice(QStringLiteral("Max (German)"));
  ASSERT_NE(german, nullptr);
  EXPECT_EQ(TVoiceEditForm::TestText(*german), QStringLiteral("Hallo"));
  // A blank text counts as none.
  EXPECT_EQ(TVoiceEditForm::TestText(*Voice), QStringLiteral("Thanks for trying Verbalune MP3"));
}

TEST_F(VoiceEdit, AVoiceWhoseEngineCannotOpenIsShownButNotEditable) {
  Rig.Engine->FailCall(QStringLiteral("Select"), E_FAIL);
  Form.FormShow();
  EXPECT_EQ(Rig.Messages.Errors.size(), 1);
  EXPECT_FALSE(Form.OkBtn->isEnabled());
  EXPECT_FALSE(Form.PitchSlider->isEnabled());
  Form.CancelBtnClick();
  EXPECT_EQ(Voice->Pitch, 0);
}

// A session that never opened the dialog must not store the unplaced corner
// as its place; one that did keeps where the user left it.
TEST_F(VoiceEdit, OnlyAShownDialogStoresItsPlace) {
  { TVoiceEditForm unopened; }
  EXPECT_FALSE(Rig.Prefs.RestoreWindowPlacement(QStringLiteral("VoiceEditForm")).has_value());
  QRect placed;
  {
    TVoiceEditForm opened;
    opened.show();
    opened.move(140, 150);
    placed = opened.geometry();
    opened.hide();
  }
  const auto placement = Rig.Prefs.RestoreWindowPlacement(QStringLiteral("VoiceEditForm"));
  ASSERT_TRUE(placement.has_value());
  EXPECT_EQ(QPoint(placement->Left, placement->Top), placed.topLeft());
}

}  // namespace
