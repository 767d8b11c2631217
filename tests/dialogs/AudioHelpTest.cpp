// Spoken help topics from AudioHelp.chl.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "DialogTestRig.h"
#include "GrabBaseClassUnit.h"
#include "TAudioHelpUnit.h"

namespace {

QStringList Captions(const QMenu& menu) {
  QStringList captions;
  for (const QAction* action : menu.actions()) {
    captions << action->data().toString();
  }
  return captions;
}

TEST(AudioHelp, TopicsBecomeMenuItemsInFileOrderAndClicksReportTheirItem) {
  TShareFolder share;
  ASSERT_TRUE(
      share.Write(QStringLiteral("AudioHelp.chl"),
                  QStringLiteral("<HelpTopics>3</HelpTopics>\n"
                                 "<HelpTopics0>What is it?</HelpTopics0>\n"
                                 "<HelpTopics1>Tips & Tricks</HelpTopics1>\n"
                                 "<HelpTopics2>No text here</HelpTopics2>\n"
                                 "<What is it?>A reader.</What is it?>\n"
                                 "<Tips & Tricks>Copy text.\nIt is read.</Tips & Tricks>\n")));
  QMenu menu;
  QObject owner;
  QStringList clicked;
  TAudioHelp::AddTopicsToMenu(&menu, &owner,
                              [&clicked](QAction* item) { clicked << item->data().toString(); });
  EXPECT_EQ(Captions(menu),
            (QStringList{QStringLiteral("What is it?"), QStringLiteral("Tips & Tricks"),
                         QStringLiteral("No text here")}));
  // An ampersand stays visible instead of becoming a shortcut.
  EXPECT_EQ(menu.actions().at(1)->text(), QStringLiteral("Tips && Tricks"));
  EXPECT_EQ(menu.actions().at(0)->parent(), &owner);
  menu.actions().at(1)->trigger();
  EXPECT_EQ(clicked, QStringList{QStringLiteral("Tips & Tricks")});

  EXPECT_EQ(TAudioHelp::GetTopicText(QStringLiteral("What is it?")), QStringLiteral("A reader."));
  EXPECT_FALSE(TAudioHelp::GetTopicText(QStringLiteral("Tips & Tricks")).isEmpty());
  EXPECT_TRUE(TAudioHelp::GetTopicText(QStringLiteral("No text here")).isEmpty());
}

TEST(AudioHelp, MissingOrDamagedFilesGiveNoTopicsAndNoText) {
  TMessageRecorder messages;
  for (const QString& content :
       {QString(), QStringLiteral("<HelpTopics>many</HelpTopics><HelpTopics0>X</HelpTopics0>"),
        QStringLiteral("<Other>1</Other>")}) {
    TShareFolder share;
    if (!content.isEmpty()) {
      ASSERT_TRUE(share.Write(QStringLiteral("AudioHelp.chl"), content));
    }
    QMenu menu;
    TAudioHelp::AddTopicsToMenu(&menu, &menu, [](QAction*) {});
    EXPECT_TRUE(menu.actions().isEmpty()) << content.toStdString();
    EXPECT_TRUE(TAudioHelp::GetTopicText(QStringLiteral("X")).isEmpty());
  }
  EXPECT_TRUE(messages.All.isEmpty());
}

// The shipped file: every topic has a text that reads as spoken English.
TEST(AudioHelp, ShippedTopicsAllHaveTheirText) {
  QMenu menu;
  TAudioHelp::AddTopicsToMenu(&menu, &menu, [](QAction*) {});
  const QStringList topics = Captions(menu);
  EXPECT_GE(topics.size(), 6);
  for (const QString& topic : topics) {
    const QString text = TAudioHelp::GetTopicText(topic);
    EXPECT_GT(text.size(), 200) << topic.toStdString();
    // The engine reads what it gets: no markup or symbols it would spell out.
    EXPECT_FALSE(text.contains(u'<') || text.contains(u'>') || text.contains(u'&'))
        << topic.toStdString();
  }
}

}  // namespace
