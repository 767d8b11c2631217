// The Engines / Voices tree: building, enabling and disabling with every
// rule, the default voice, and what the favourites list becomes.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>

#include "OptionsTestRig.h"

namespace {

using I = TVoicesTree;

class VoicesTree : public ::testing::Test {
 protected:
  VoicesTree() {
    EXPECT_TRUE(Rig.Started);
    Rig.Tree().EngineVoicesTabShow();
  }

  // Every name in the favourites is a favourite voice of an enabled engine,
  // and the Misc tab lists exactly them.
  void ExpectFavorites(const QStringList& expected) const {
    EXPECT_EQ(Rig.Form().FavoriteVoices, expected);
    EXPECT_EQ(Rig.DefaultVoiceList(), expected);
    EXPECT_EQ(Rig.Form().RoundRobinIndex, -1);
  }

  TOptionsRig Rig;
};

TEST_F(VoicesTree, BuildsOneNodePerVendorWithItsVoicesAndTheirImages) {
  QTreeWidget* tv = Rig.Tree().EngineVoicesTV;
  ASSERT_EQ(tv->topLevelItemCount(), 3);
  EXPECT_EQ(tv->topLevelItem(0)->text(0), QStringLiteral("eSpeak NG"));
  EXPECT_EQ(tv->topLevelItem(1)->text(0), QStringLiteral("Microsoft"));
  EXPECT_EQ(tv->topLevelItem(2)->text(0), QStringLiteral("Digalo"));
  // One vendor node for several engines of that vendor (two languages).
  EXPECT_EQ(tv->topLevelItem(0)->childCount(), 3);
  EXPECT_EQ(Rig.Image(QStringLiteral("Adam")), I::imDefault);
  EXPECT_EQ(Rig.Image(QStringLiteral("Linda")), I::imEnabled);
  EXPECT_EQ(Rig.Image(QStringLiteral("Max (German)")), I::imDisabled);
  EXPECT_EQ(Rig.Image(QStringLiteral("Zed")), I::imDisabled);
  EXPECT_EQ(Rig.Image(QStringLiteral("Microsoft")), I::imEnabled);
  // The first node is selected and no voice button applies to it yet.
  EXPECT_EQ(tv->currentItem(), tv->topLevelItem(0));
  EXPECT_EQ(Rig.Tree().EnableBtn->text(), QStringLiteral("Disable"));
  EXPECT_FALSE(Rig.Tree().SetDfltBtn->isEnabled());
  EXPECT_FALSE(Rig.Tree().EditBtn->isEnabled());
  EXPECT_FALSE(Rig.Tree().TestButton->isEnabled());
  EXPECT_TRUE(Rig.Form().VoicesTreeBuilt);
  ExpectFavorites({QStringLiteral("Adam"), QStringLiteral("Linda"), QStringLiteral("Mary"),
                   QStringLiteral("Mike"), QStringLiteral("Juliette (French)")});
}

TEST_F(VoicesTree, ButtonsAndMenuFollowTheSelectedNode) {
  struct TCase {
    const char16_t* Node;
    bool VoiceButtons;
    const char16_t* EnableCaption;
    bool EnableOn;
    const char16_t* MenuCaption;
    bool MenuEnableOn;
  };
  const TCase cases[] = {
      {u"Linda", true, u"Disable", true, u"Disable Voice", true},
      {u"Zed", true, u"Enable", true, u"Enable Voice", true},
      {u"Adam", true, u"Disable", false, u"Disable Voice", false},
      {u"Microsoft", false, u"Disable", true, u"Disable Engine", true},
  };
  for (const TCase& c : cases) {
    const QString node = QString::fromUtf16(c.Node);
    SCOPED_TRACE(node.toStdString());
    Rig.Select(node);
    EXPECT_EQ(Rig.Tree().TestButton->isEnabled(), c.VoiceButtons);
    EXPECT_EQ(Rig.Tree().SetDfltBtn->isEnabled(), c.VoiceButtons);
    EXPECT_EQ(Rig.Tree().EditBtn->isEnabled(), c.VoiceButtons);
    EXPECT_EQ(Rig.Tree().EnableBtn->text(), QString::fromUtf16(c.EnableCaption));
    EXPECT_EQ(Rig.Tree().EnableBtn->isEnabled(), c.EnableOn);
    Rig.Tree().PopupMenu3Popup();
    EXPECT_EQ(Rig.Tree().EnableItem->text(), QString::fromUtf16(c.MenuCaption));
    EXPECT_EQ(Rig.Tree().EnableItem->isEnabled(), c.MenuEnableOn);
    EXPECT_EQ(Rig.Tree().SetDfltItem->isEnabled(), c.VoiceButtons);
    EXPECT_EQ(Rig.Tree().EditVoiceItem->isEnabled(), c.VoiceButtons);
    EXPECT_EQ(Rig.Tree().TestItem->isEnabled(), c.VoiceButtons);
  }
  // Reading disables the test.
  Rig.Select(QStringLiteral("Linda"));
  Rig.Form().SetRunState(rsReading);
  EXPECT_FALSE(Rig.Tree().TestButton->isEnabled());
  Rig.Form().SetRunState(rsIdle);
  EXPECT_TRUE(Rig.Tree().TestButton->isEnabled());
}

TEST_F(VoicesTree, VendorSwitchesAllItsVoicesAndAVoiceSwitchesItsVendorOn) {
  Rig.Form().ChooseVoice();  // round robin has moved on
  Rig.Select(QStringLiteral("Microsoft"));
  Rig.Tree().EnableItemClick();
  EXPECT_EQ(Rig.Image(QStringLiteral("Microsoft")), I::imDisabled);
  for (const char16_t* voice : {u"Mary", u"Mike", u"Zed"}) {
    EXPECT_FALSE(Rig.Speech().FindVoice(QString::fromUtf16(voice))->Favorite);
    EXPECT_EQ(Rig.Image(QString::fromUtf16(voice)), I::imDisabled);
  }
  EXPECT_EQ(Rig.Tree().EnableBtn->text(), QStringLiteral("Enable"));
  ExpectFavorites(
      {QStringLiteral("Adam"), QStringLiteral("Linda"), QStringLiteral("Juliette (French)")});

  // Enabling the vendor again enables every voice of it, Zed too.
  Rig.Tree().EnableItemClick();
  for (const char16_t* voice : {u"Mary", u"Mike", u"Zed"}) {
    EXPECT_EQ(Rig.Image(QString::fromUtf16(voice)), I::imEnabled);
  }
  ExpectFavorites({QStringLiteral("Adam"), QStringLiteral("Linda"), QStringLiteral("Mary"),
                   QStringLiteral("Mike"), QStringLiteral("Zed"),
                   QStringLiteral("Juliette (French)")});

  // A voice enabled under a disabled vendor brings the vendor back.
  Rig.Select(QStringLiteral("Digalo"));
  Rig.Tree().EnableItemClick();
  ExpectFavorites({QStringLiteral("Adam"), QStringLiteral("Linda"), QStringLiteral("Mary"),
                   QStringLiteral("Mike"), QStringLiteral("Zed")});
  Rig.Select(QStringLiteral("Juliette (French)"));
  Rig.Tree().EnableItemClick();
  EXPECT_EQ(Rig.Image(QStringLiteral("Digalo")), I::imEnabled);
  EXPECT_TRUE(Rig.Speech().Engines->FindEngine(QStringLiteral("Digalo - French"))->Enabled);
  EXPECT_EQ(Rig.Form().FavoriteVoices.last(), QStringLiteral("Juliette (French)"));

  // Disabling a voice by double click; the settings are saved each time.
  Rig.Tree().EngineVoicesTVDblClick(Rig.Node(QStringLiteral("Linda")));
  EXPECT_EQ(Rig.Image(QStringLiteral("Linda")), I::imDisabled);
  EXPECT_FALSE(Rig.Form().FavoriteVoices.contains(QStringLiteral("Linda")));
  const TVoiceEntry* linda = Rig.Speech().FindVoice(QStringLiteral("Linda"));
  EXPECT_FALSE(Preferences->GetValue(QStringLiteral("FAV_") + linda->SettingsKey).toBool());

  // Round robin starts again with the first favourite.
  Preferences->ML_ListMode = 1;
  Preferences->MI_Voice = 2;
  EXPECT_EQ(Rig.Form().ChooseVoice(), QStringLiteral("Adam"));
}

TEST_F(VoicesTree, TheDefaultVoiceAndItsVendorStayEnabled) {
  Rig.Select(QStringLiteral("eSpeak NG"));
  Rig.Tree().EnableItemClick();
  ASSERT_EQ(Rig.Messages.Messages.size(), 1);
  EXPECT_EQ(Rig.Messages.Messages.at(0),
            QStringLiteral("This engine cannot be disabled because it contains the default "
                           "voice, [Adam]"));
  EXPECT_EQ(Rig.Image(QStringLiteral("eSpeak NG")), I::imEnabled);
  EXPECT_EQ(Rig.Image(QStringLiteral("Linda")), I::imEnabled);

  Rig.Tree().EngineVoicesTVDblClick(Rig.Node(QStringLiteral("Adam")));
  EXPECT_EQ(Rig.Messages.Messages.value(1), QStringLiteral("Adam is the default voice"));
  Rig.Select(QStringLiteral("Adam"));
  Rig.Tree().EnableItemClick();
  EXPECT_TRUE(Rig.Speech().FindVoice(QStringLiteral("Adam"))->Favorite);
  // A vendor double click does nothing.
  Rig.Tree().EngineVoicesTVDblClick(Rig.Node(QStringLiteral("Microsoft")));
  EXPECT_EQ(Rig.Image(QStringLiteral("Microsoft")), I::imEnabled);
  EXPECT_EQ(Rig.Messages.Messages.size(), 2);
}

TEST_F(VoicesTree, SetDefaultMovesTheImageAndEnablesVoiceAndVendor) {
  Rig.Select(QStringLiteral("Microsoft"));
  Rig.Tree().EnableItemClick();
  Rig.Select(QStringLiteral("Zed"));
  Rig.Tree().SetDfltItemClick();
  EXPECT_EQ(Preferences->TTS_DefaultVoiceName, QStringLiteral("Zed"));
  EXPECT_EQ(Rig.Image(QStringLiteral("Zed")), I::imDefault);
  EXPECT_EQ(Rig.Image(QStringLiteral("Adam")), I::imEnabled);
  EXPECT_EQ(Rig.Image(QStringLiteral("Microsoft")), I::imEnabled);
  EXPECT_EQ(Rig.Image(QStringLiteral("Mary")), I::imDisabled);
  EXPECT_FALSE(Rig.Tree().EnableBtn->isEnabled());
  ExpectFavorites({QStringLiteral("Adam"), QStringLiteral("Linda"), QStringLiteral("Zed"),
                   QStringLiteral("Juliette (French)")});
  EXPECT_EQ(Rig.Pages().DfltVoiceCB->currentText(), QStringLiteral("Zed"));
}

TEST_F(VoicesTree, ADefaultChosenOnTheMiscTabShowsInTheTreeNextTime) {
  QComboBox* list = Rig.Pages().DfltVoiceCB;
  const int linda = list->findText(QStringLiteral("Linda"));
  ASSERT_GE(linda, 0);
  list->setCurrentIndex(linda);
  emit list->activated(linda);
  EXPECT_EQ(Preferences->TTS_DefaultVoiceName, QStringLiteral("Linda"));
  Rig.Tree().EngineVoicesTabShow();
  EXPECT_EQ(Rig.Image(QStringLiteral("Linda")), I::imDefault);
  EXPECT_EQ(Rig.Image(QStringLiteral("Adam")), I::imEnabled);
}

TEST_F(VoicesTree, TestSpeaksTheEnginesTextOrTheProgramsSentence) {
  Rig.Select(QStringLiteral("Linda"));
  Rig.Tree().TestButtonClick();
  ASSERT_EQ(Rig.Spoken.size(), 1u);
  EXPECT_EQ(Rig.Spoken[0].Voice, QStringLiteral("Linda"));
  EXPECT_EQ(Rig.Spoken[0].Text,
            TestMessage(*Rig.Speech().FindVoice(QStringLiteral("Linda"))->Engine));
  EXPECT_EQ(Rig.Form().StatusPanel0->text(), QStringLiteral("Reading Test Message"));

  // No text for the language in the file.
  AppPaths::SetShareDir(Rig.Folders.DataDir());
  ASSERT_TRUE(
      WriteWholeFile(Rig.Folders.Path(QStringLiteral("AudioTest.chl")), "<deu>Hallo</deu>"));
  Rig.Select(QStringLiteral("Juliette (French)"));
  Rig.Tree().TestButtonClick();
  AppPaths::SetShareDir(QString());
  ASSERT_EQ(Rig.Spoken.size(), 2u);
  EXPECT_EQ(Rig.Spoken[1].Text, QStringLiteral("Thanks for trying Verbalune MP3"));
}

}  // namespace
