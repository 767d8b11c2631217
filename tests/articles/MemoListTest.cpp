#include <gtest/gtest.h>

#include <QBuffer>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "ArticleFileFormat.h"

#include "ArticleTestSupport.h"
#include "MemoListUnit.h"
#include "MessageRecorder.h"
#include "PreferenceUnit.h"

namespace {

class TListFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    List = new TMemoListBox(&Voices, &Window);
    Window.resize(800, 600);
    List->setGeometry(0, 0, 800, 600);
    Window.show();
    Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
  }

  // Texts of the shown entries on screen, in list order.
  QStringList OnScreen() const {
    QStringList texts;
    for (TMemoEntry* e : List->Entries()) {
      if (!e->isHidden()) {
        texts << e->EditorText();
      }
    }
    return texts;
  }

  QStringList Texts() const {
    QStringList texts;
    for (TMemoEntry* e : List->Entries()) {
      texts << e->EditorText();
    }
    return texts;
  }

  void Multi(int visible) {
    List->ListMode = TMemoListBox::lmMultiArticle;
    List->SetVisibleEntries(visible);
  }

  TFakeVoices Voices;
  QWidget Window;
  TMemoListBox* List = nullptr;
  TBeepCounter Beeps;
  TMessageRecorder Messages;
};

TEST_F(TListFixture, AddingASixthOfFivePagesToTheLastThree) {
  Multi(3);
  for (int i = 1; i <= 5; ++i) {
    List->Add(QStringLiteral("text %1").arg(i), QStringLiteral("Mary"));
  }
  TMemoEntry* sixth = List->Add(QStringLiteral("text 6"), QStringLiteral("Mike"));
  EXPECT_EQ(OnScreen(), (QStringList{QStringLiteral("text 4"), QStringLiteral("text 5"),
                                     QStringLiteral("text 6")}));
  EXPECT_EQ(List->ScrollBar->value(), 3);
  EXPECT_EQ(List->ScrollBar->maximum(), 3);
  EXPECT_EQ(List->ScrollBar->pageStep(), 3);
  EXPECT_FALSE(List->ScrollBar->isHidden());
  EXPECT_EQ(List->CurrentEntry(), sixth);
  EXPECT_EQ(sixth->Title(), QStringLiteral("text_6"));
  EXPECT_EQ(sixth->VoiceName(), QStringLiteral("Mike"));
  EXPECT_TRUE(sixth->Editor->hasFocus());

  List->ScrollToTop(1);
  EXPECT_EQ(OnScreen(), (QStringList{QStringLiteral("text 1"), QStringLiteral("text 2"),
                                     QStringLiteral("text 3")}));
  EXPECT_EQ(List->ScrollBar->value(), 0);
  // Stacked from the top with one height, the client width beside the bar.
  const int height = List->Entries()[0]->height();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(List->Entries()[i]->geometry(),
              QRect(0, i * height, List->ClientArea->width(), height));
  }
  EXPECT_EQ(List->ClientArea->width() + List->ScrollBar->width(), 800);

  // Moving the scroll bar scrolls the list.
  List->ScrollBar->setValue(2);
  EXPECT_EQ(OnScreen(), (QStringList{QStringLiteral("text 3"), QStringLiteral("text 4"),
                                     QStringLiteral("text 5")}));
}

TEST_F(TListFixture, FewerEntriesThanThePageShareTheHeightRoundedHalfToEven) {
  Multi(3);
  List->Add(QStringLiteral("a"), QString());
  List->Add(QStringLiteral("b"), QString());
  EXPECT_TRUE(List->ScrollBar->isHidden());
  EXPECT_EQ(List->ClientArea->width(), 800);
  EXPECT_EQ(List->Entries()[0]->height(), 300);
  EXPECT_EQ(List->Entries()[1]->y(), 300);

  struct Case {
    int clientHeight;
    int entryHeight;
  };
  // 301/2 = 150.5 -> 150, 303/2 = 151.5 -> 152, 302/2 = 151.
  for (const Case c : {Case{301, 150}, Case{303, 152}, Case{302, 151}}) {
    List->resize(800, c.clientHeight);
    List->ScrollToTop(1);
    EXPECT_EQ(List->Entries()[1]->height(), c.entryHeight) << c.clientHeight;
  }
}

TEST_F(TListFixture, AddFillsTheFirstBlankEntryAndKeepsItsVoiceAndPlace) {
  Multi(3);
  List->Add(QStringLiteral("first"), QStringLiteral("Mary"));
  TMemoEntry* blank = List->Add(QStringLiteral("second"), QStringLiteral("Mike"));
  List->Add(QStringLiteral("third"), QStringLiteral("Mary"));
  blank->SetEditorText(QStringLiteral("  \t\n "));
  TMemoEntry* filled = List->Add(QStringLiteral("new text"), QStringLiteral("Mary"));
  EXPECT_EQ(filled, blank);
  EXPECT_EQ(List->Entries().size(), 3);
  EXPECT_EQ(List->FindEntry(filled), 2);
  EXPECT_EQ(filled->VoiceName(), QStringLiteral("Mike"));
  EXPECT_EQ(filled->EditorText(), QStringLiteral("new text"));
  EXPECT_EQ(filled->Title(), QStringLiteral("new_text"));
  EXPECT_EQ(List->CurrentEntry(), filled);
}

TEST_F(TListFixture, SingleArticleModeReplacesTheArticle) {
  bool defaultTitles = false;
  List->SingleArticleDefaultTitles = [&] { return defaultTitles; };
  TMemoEntry* first = List->Add(QStringLiteral("old text"), QStringLiteral("Mary"));
  EXPECT_EQ(first->Title(), QStringLiteral(" "));  // LastTitle starts as a blank
  first->SetTitle(QStringLiteral("Kept_Title"));
  TMemoEntry* second = List->Add(QStringLiteral("new text"), QStringLiteral("Mike"));
  EXPECT_EQ(List->Entries(), QList<TMemoEntry*>{second});
  EXPECT_EQ(second->Title(), QStringLiteral("Kept_Title"));
  EXPECT_EQ(second->VoiceName(), QStringLiteral("Mike"));
  EXPECT_TRUE(second->Properties->ReadButton->isHidden());

  defaultTitles = true;
  EXPECT_EQ(List->Add(QStringLiteral("third one"), QString())->Title(),
            QStringLiteral("third_one"));

  // Without a query of its own the list follows the preferences.
  List->SingleArticleDefaultTitles = nullptr;
  TPreferences preferences;
  preferences.SI_DefaultTitles = false;
  Preferences = &preferences;
  const QString title = List->Add(QStringLiteral("fourth"), QString())->Title();
  Preferences = nullptr;
  EXPECT_EQ(title, QStringLiteral("third_one"));  // the title of the one it replaced
}

TEST_F(TListFixture, SingleArticleModeReplacesOnlyTheArticleOnScreen) {
  // Articles made in Multi-Article mode stay when new text comes in
  // Single-Article mode; they are there again in Multi-Article mode.
  Multi(3);
  for (const char* text : {"a", "b", "c"}) {
    List->Add(QString::fromLatin1(text), QString());
  }
  List->ListMode = TMemoListBox::lmSingleArticle;
  List->SetVisibleEntries(1);
  ASSERT_EQ(OnScreen(), QStringList{QStringLiteral("a")});
  List->Add(QStringLiteral("d"), QString());
  EXPECT_EQ(Texts(), (QStringList{QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
  EXPECT_EQ(OnScreen(), QStringList{QStringLiteral("d")});
  EXPECT_EQ(List->LastTitle, QStringLiteral("a"));
  List->Add(QStringLiteral("e"), QString());
  EXPECT_EQ(Texts(), (QStringList{QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("e")}));
}

TEST_F(TListFixture, OnlyThePageHoldsWidgetsAndEntriesKeepWhatTheyHeld) {
  Multi(2);
  QMenu popup;
  const QStringList voices = {QStringLiteral("Mary"), QStringLiteral("Sam"),
                              QStringLiteral("Nobody"), QStringLiteral("Mike"), QString()};
  for (int i = 0; i < 5; ++i) {
    TMemoEntry* entry = List->Add(QStringLiteral("text %1\nline").arg(i + 1), voices[i]);
    entry->SetPopupMenu(&popup);
  }
  auto withWidgets = [this] {
    QList<int> positions;
    for (int i = 0; i < List->Entries().size(); ++i) {
      if (List->Entries()[i]->HasWidgets()) {
        positions << i + 1;
      }
    }
    return positions;
  };
  EXPECT_EQ(withWidgets(), (QList<int>{4, 5}));
  const QStringList names = {QStringLiteral("Mary"), QStringLiteral("Sam"), QString(),
                             QStringLiteral("Mike"), QString()};
  for (int i = 0; i < 5; ++i) {
    TMemoEntry* entry = List->Entries()[i];
    EXPECT_EQ(entry->VoiceName(), names[i]) << i;
    EXPECT_EQ(entry->Title(), QStringLiteral("text_%1_line").arg(i + 1)) << i;
    EXPECT_EQ(entry->Color(), i == 4 ? List->CurrentColor : List->OtherColor) << i;
  }

  // What the user changed on screen survives the page going away and back.
  TMemoEntry* fifth = List->Entries()[4];
  fifth->SetTitle(QStringLiteral("Renamed"));
  fifth->SelectVoice(QStringLiteral("Sam"));
  fifth->Editor->SetSelStart(2);
  fifth->Editor->SetSelLength(3);
  List->Entries()[3]->Locked = true;  // being read: keeps its editor off the page
  List->ScrollToTop(1);
  EXPECT_EQ(withWidgets(), (QList<int>{1, 2, 4}));
  EXPECT_EQ(fifth->Title(), QStringLiteral("Renamed"));
  EXPECT_EQ(fifth->VoiceName(), QStringLiteral("Sam"));
  EXPECT_EQ(fifth->EditorText(), QStringLiteral("text 5\nline"));
  EXPECT_EQ(List->Entries()[0]->Properties->VoiceBox->currentText(), QStringLiteral("Mary"));
  EXPECT_EQ(List->Entries()[0]->Editor->palette().color(QPalette::Base), List->OtherColor);

  List->UnlockAllEntries();
  List->MarkEntry(5);
  EXPECT_EQ(withWidgets(), (QList<int>{4, 5}));
  EXPECT_EQ(fifth->Editor->SelStart(), 2);
  EXPECT_EQ(fifth->Editor->SelLength(), 3);
  EXPECT_EQ(fifth->Editor->PopupMenu(), &popup);
  EXPECT_FALSE(fifth->Properties->ReadButton->isHidden());
  EXPECT_EQ(fifth->Properties->TitleEdit->text(), QStringLiteral("Renamed"));
  EXPECT_EQ(fifth->Editor->palette().color(QPalette::Base), List->CurrentColor);

  // An import lays out only its last page.
  QByteArray file;
  for (int i = 0; i < 40; ++i) {
    file += FormatArticleRecord({QStringLiteral("T%1").arg(i), QStringLiteral("Mary"),
                                 QStringLiteral("imported %1").arg(i)});
  }
  QBuffer device(&file);
  device.open(QIODevice::ReadOnly);
  List->ImportFromDevice(device, &popup, {}, {}, {});
  EXPECT_EQ(withWidgets(), (QList<int>{44, 45}));
  EXPECT_EQ(OnScreen(),
            (QStringList{QStringLiteral("imported 38"), QStringLiteral("imported 39")}));
  EXPECT_EQ(List->ScrollBar->value(), 43);
  EXPECT_EQ(List->ScrollBar->maximum(), 43);
  EXPECT_EQ(List->Entries()[20]->Title(), QStringLiteral("T15"));
}

TEST_F(TListFixture, LockedEntriesRefuseDeletionAndNothingChanges) {
  Multi(3);
  List->Add(QStringLiteral("a"), QString());
  TMemoEntry* locked = List->Add(QStringLiteral("b"), QString());
  List->Add(QStringLiteral("c"), QString());
  locked->Locked = true;
  List->MarkEntry(2);
  const QStringList before = Texts();
  const QString lastTitle = List->LastTitle;

  EXPECT_THROW(List->DeleteMemoEntry(locked), EMemoEntryLocked);
  EXPECT_THROW(List->HideEntry(locked), EMemoEntryLocked);
  EXPECT_THROW(List->DeleteAll(), EMemoEntryLocked);
  EXPECT_THROW(List->DeleteSelected(), EMemoEntryLocked);
  try {
    List->DeleteAll();
  } catch (const EMemoEntryLocked& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Memo Entry Locked"));
  }
  EXPECT_EQ(Texts(), before);
  EXPECT_EQ(List->HiddenCount(), 0);
  EXPECT_EQ(List->CurrentEntry(), locked);
  EXPECT_EQ(List->LastTitle, lastTitle);

  // Single-Article mode cannot replace the article being read.
  List->ListMode = TMemoListBox::lmSingleArticle;
  EXPECT_THROW(List->Add(QStringLiteral("d"), QString()), EMemoEntryLocked);
  EXPECT_EQ(Texts(), before);

  List->UnlockAllEntries();
  List->DeleteAll();
  EXPECT_TRUE(List->Entries().isEmpty());
  EXPECT_EQ(List->CurrentEntry(), nullptr);
  EXPECT_EQ(List->LastTitle, QStringLiteral("c"));
}

TEST_F(TListFixture, DeleteBlankEntriesRemovesOnlyTrailingBlanks) {
  Multi(3);
  // Add reuses blanks, so the texts are set once all four exist.
  const QStringList texts = {QStringLiteral("a"), QString(), QStringLiteral("b"), QString()};
  for (int i = 0; i < 4; ++i) {
    List->Add(QStringLiteral("x"), QString());
  }
  for (int i = 0; i < 4; ++i) {
    List->Entries()[i]->SetEditorText(texts[i]);
  }
  ASSERT_EQ(Texts(), (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b"), QString()}));
  List->MarkEntry(4);
  List->DeleteBlankEntries();
  EXPECT_EQ(Texts(), (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
  EXPECT_EQ(List->CurrentEntry(), nullptr);
  EXPECT_EQ(OnScreen().size(), 3);
}

TEST_F(TListFixture, HiddenEntriesWaitAtTheEndUntilDeleted) {
  Multi(3);
  TMemoEntry* read = List->Add(QStringLiteral("read"), QString());
  List->Add(QStringLiteral("b"), QString());
  List->Add(QStringLiteral("c"), QString());
  List->MarkEntry(1);
  List->HideEntry(read);
  EXPECT_EQ(List->VisibleCount(), 2);
  EXPECT_EQ(List->HiddenCount(), 1);
  EXPECT_EQ(List->Entries().back(), read);
  EXPECT_TRUE(read->Hidden);
  EXPECT_TRUE(read->isHidden());
  EXPECT_EQ(List->CurrentEntry(), nullptr);
  List->HideEntry(read);  // twice is once
  EXPECT_EQ(List->HiddenCount(), 1);

  // New entries go before the hidden ones; hidden blanks are not reused.
  read->SetEditorText(QString());
  List->Add(QStringLiteral("d"), QString());
  EXPECT_EQ(Texts(), (QStringList{QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                                  QString()}));
  EXPECT_EQ(OnScreen(),
            (QStringList{QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));

  List->DeleteHiddenEntries();
  EXPECT_EQ(List->HiddenCount(), 0);
  EXPECT_EQ(List->FindEntry(read), 0);
  EXPECT_EQ(Texts().size(), 3);
}

TEST_F(TListFixture, DeleteSelectedWithoutACurrentEntryBeepsAndSaysSo) {
  List->ListMode = TMemoListBox::lmMultiArticle;
  List->Add(QStringLiteral("a"), QString());
  TMemoEntry* b = List->Add(QStringLiteral("b"), QString());
  List->DeleteSelected();
  EXPECT_EQ(List->FindEntry(b), 0);
  EXPECT_EQ(List->LastTitle, QStringLiteral("b"));
  EXPECT_EQ(Beeps.Count, 0);

  List->DeleteSelected();
  EXPECT_EQ(Texts(), QStringList{QStringLiteral("a")});
  EXPECT_EQ(Beeps.Count, 1);
  EXPECT_EQ(Messages.Messages, QStringList{QStringLiteral("No rows are currently selected")});
}

TEST_F(TListFixture, CurrentEntryHasTheWindowColourAndOthersTheButtonColour) {
  Multi(2);
  for (int i = 1; i <= 4; ++i) {
    List->Add(QStringLiteral("t%1").arg(i), QString());
  }
  ASSERT_NE(List->CurrentColor, List->OtherColor);
  List->MarkEntry(1);  // off screen: the list scrolls to it
  EXPECT_EQ(OnScreen(), (QStringList{QStringLiteral("t1"), QStringLiteral("t2")}));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(List->Entries()[i]->Color(), i == 0 ? List->CurrentColor : List->OtherColor) << i;
  }
  List->MarkEntry(4);
  EXPECT_EQ(OnScreen(), (QStringList{QStringLiteral("t3"), QStringLiteral("t4")}));
  EXPECT_EQ(List->CurrentEntry(), List->Entries()[3]);

  // Clicking into another entry makes it current.
  List->Entries()[2]->Editor->setFocus();
  EXPECT_EQ(List->CurrentEntry(), List->Entries()[2]);
  EXPECT_EQ(List->Entries()[2]->Color(), List->CurrentColor);
  EXPECT_EQ(List->Entries()[3]->Color(), List->OtherColor);
}

TEST_F(TListFixture, PageSizeChangesAndRelayoutKeepThePlace) {
  Multi(2);
  for (int i = 1; i <= 5; ++i) {
    List->Add(QStringLiteral("t%1").arg(i), QString());
  }
  List->ScrollToTop(2);
  List->resize(800, 400);
  EXPECT_EQ(OnScreen(), (QStringList{QStringLiteral("t2"), QStringLiteral("t3")}));
  EXPECT_EQ(List->Entries()[1]->height(), 200);

  List->SetVisibleEntries(1);
  EXPECT_EQ(OnScreen(), QStringList{QStringLiteral("t2")});
  EXPECT_EQ(List->ScrollBar->maximum(), 4);
  List->SetVisibleEntries(0);  // nonsense from the settings is one entry
  EXPECT_EQ(List->VisibleEntries(), 1);
  List->ShowProperties = false;
  List->SetVisibleEntries(3);
  EXPECT_EQ(OnScreen().size(), 3);
  EXPECT_TRUE(List->Entries()[1]->Properties->isHidden());
}

TEST_F(TListFixture, DeletingAnEntryScrollsToTheTopAndShrinksTheRange) {
  Multi(3);
  for (int i = 1; i <= 5; ++i) {
    List->Add(QStringLiteral("t%1").arg(i), QString());
  }
  EXPECT_EQ(List->ScrollBar->maximum(), 2);
  List->DeleteMemoEntry(List->Entries()[4]);
  EXPECT_EQ(List->ScrollBar->maximum(), 1);
  EXPECT_EQ(List->ScrollBar->value(), 0);
  EXPECT_EQ(OnScreen(),
            (QStringList{QStringLiteral("t1"), QStringLiteral("t2"), QStringLiteral("t3")}));
}

}  // namespace
