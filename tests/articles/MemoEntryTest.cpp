#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include "ArticleTestSupport.h"
#include "MemoEntryUnit.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

namespace {

TEST(MemoEntryTest, MakeTitleKeepsTitleCharactersAndCollapsesTheRest) {
  struct Case {
    QString text;
    QString title;
  };
  const Case cases[] = {
      {QString(), QString()},
      {QStringLiteral("  ...Hi"), QStringLiteral("Hi")},
      {QStringLiteral("abcdefghijklmnopqrstuvwxyzABCD"), QStringLiteral("abcdefghijklmnopqrst")},
      {QStringLiteral("a--b"), QStringLiteral("a_b")},
      {QStringLiteral("Hello, world! This is a test"), QStringLiteral("Hello_world_This_is")},
      {QStringLiteral("line\r\nnext"), QStringLiteral("line_next")},
      {QStringLiteral("caf\u00e9 au lait"), QStringLiteral("caf_au_lait")},
      {QStringLiteral("..."), QString()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TMemoEntry::MakeTitle(c.text, 20), c.title) << c.text.toStdString();
  }
}

class TEntryFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Entry = new TMemoEntry(&Voices, &Window);
    Window.resize(700, 200);
    Entry->resize(700, 200);
    Window.show();
    Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
  }

  TFakeVoices Voices;
  QWidget Window;
  TMemoEntry* Entry = nullptr;
  TBeepCounter Beeps;
  TMessageRecorder Messages;
};

TEST_F(TEntryFixture, TitleEditRefusesTypedNonTitleCharacters) {
  QLineEdit* edit = Entry->Properties->TitleEdit;
  edit->setFocus();
  QTest::keyClicks(edit, QStringLiteral("ab c-d_9"));
  EXPECT_EQ(edit->text(), QStringLiteral("abcd_9"));
  EXPECT_EQ(Beeps.Count, 2);

  // Typing in the middle removes only the typed character.
  edit->setCursorPosition(2);
  QTest::keyClick(edit, Qt::Key_Minus);
  EXPECT_EQ(edit->text(), QStringLiteral("abcd_9"));
  EXPECT_EQ(edit->cursorPosition(), 2);
}

TEST_F(TEntryFixture, PastedTitleIsCheckedOnlyBeforeTheCaret) {
  QLineEdit* edit = Entry->Properties->TitleEdit;
  edit->setFocus();
  QApplication::clipboard()->setText(QStringLiteral("a b"));
  edit->paste();
  EXPECT_EQ(edit->text(), QStringLiteral("a b"));
  EXPECT_EQ(Beeps.Count, 0);

  // A set title without the focus is taken as it is.
  Entry->Editor->setFocus();
  Entry->SetTitle(QStringLiteral("x-"));
  EXPECT_EQ(Entry->Title(), QStringLiteral("x-"));
}

TEST_F(TEntryFixture, VoiceBoxOffersFavouritesAndKeepsTheEntrysOwnVoice) {
  QComboBox* box = Entry->Properties->VoiceBox;
  // At creation: favourites, whatever their engine.
  QStringList items;
  for (int i = 0; i < box->count(); ++i) {
    items << box->itemText(i);
  }
  EXPECT_EQ(items,
            (QStringList{QStringLiteral("Mary"), QStringLiteral("Mike"), QStringLiteral("Robot")}));

  // The entry's voice stays listed and selected when it stops being a
  // favourite or its engine is disabled.
  Entry->SelectVoice(QStringLiteral("Mike"));
  Voices.Voices[1].Favorite = false;
  Entry->Properties->FillVoices();
  EXPECT_EQ(Entry->VoiceName(), QStringLiteral("Mike"));
  items.clear();
  for (int i = 0; i < box->count(); ++i) {
    items << box->itemText(i);
  }
  EXPECT_EQ(items, (QStringList{QStringLiteral("Mary"), QStringLiteral("Mike")}));

  Entry->SelectVoice(QStringLiteral("Mary"));
  Voices.Voices[0].EngineEnabled = false;
  Voices.Voices[1].Favorite = true;
  Entry->ChangeVoice();
  EXPECT_EQ(Entry->VoiceName(), QStringLiteral("Mary"));
  EXPECT_EQ(box->count(), 2);

  // Once filled, the list stays until the focus leaves the panel.
  Voices.Voices[2].Favorite = true;
  Entry->Properties->FillVoices();
  EXPECT_EQ(box->count(), 2);
  Entry->Editor->setFocus();
  EXPECT_FALSE(Entry->Properties->VoicesFilled);

  // A voice that no longer exists: the first item after the next click.
  Voices.Voices[0].Name = QStringLiteral("Gone");
  QTest::mouseClick(Entry->Properties->TitleLabel, Qt::LeftButton);
  EXPECT_EQ(box->currentIndex(), 0);
  EXPECT_EQ(Entry->VoiceName(), QStringLiteral("Mike"));
}

TEST_F(TEntryFixture, SelectVoiceKeepsAnInstalledVoiceThatIsNoFavourite) {
  Entry->SelectVoice(QStringLiteral("Sam"));
  EXPECT_EQ(Entry->VoiceName(), QStringLiteral("Sam"));
  Entry->SelectVoice(QStringLiteral("Nobody"));
  EXPECT_EQ(Entry->VoiceName(), QString());
  EXPECT_EQ(Entry->Properties->VoiceBox->currentIndex(), -1);
  Entry->SelectVoice(QStringLiteral("mary"));  // letter case counts
  EXPECT_EQ(Entry->VoiceName(), QString());
}

TEST_F(TEntryFixture, ButtonsAppearWithTheMultiArticleLayoutAndFireTheirHandlers) {
  TPropertyPanel* panel = Entry->Properties;
  EXPECT_TRUE(panel->ReadButton->isHidden());
  EXPECT_EQ(panel->VoiceLabel->x(), 250);
  // Unset handlers are simply not called.
  panel->MultiLayout();
  panel->ReadButton->click();

  EXPECT_FALSE(panel->ReadButton->isHidden());
  EXPECT_FALSE(panel->DeleteButton->isHidden());
  EXPECT_EQ(panel->VoiceLabel->x(), 180);
  EXPECT_EQ(panel->VoiceBox->x(), 180 + panel->VoiceLabel->width());
  EXPECT_EQ(panel->ReadButton->x(), panel->VoiceBox->x() + panel->VoiceBox->width() + 15);
  EXPECT_EQ(panel->ReadToFileButton->x(), panel->ReadButton->x() + panel->ReadButton->width() + 2);
  EXPECT_EQ(panel->DeleteButton->x(),
            panel->ReadToFileButton->x() + panel->ReadToFileButton->width() + 2);
  EXPECT_EQ(panel->height(), 25);
  EXPECT_EQ(panel->ReadButton->height(), 23);

  QStringList fired;
  auto record = [&](const QString& what) {
    return [&fired, what, this](TMemoEntry* sender) {
      fired << (sender == Entry ? what : QStringLiteral("wrong sender"));
    };
  };
  Entry->OnRead = record(QStringLiteral("read"));
  Entry->OnReadToFile = record(QStringLiteral("file"));
  Entry->OnDelete = record(QStringLiteral("delete"));
  QTest::mouseClick(panel->ReadButton, Qt::LeftButton);
  QTest::mouseClick(panel->ReadToFileButton, Qt::LeftButton);
  QTest::mouseClick(panel->DeleteButton, Qt::LeftButton);
  EXPECT_EQ(fired, (QStringList{QStringLiteral("read"), QStringLiteral("file"),
                                QStringLiteral("delete")}));
}

TEST_F(TEntryFixture, FocusComingInFiresOnEnterOnce) {
  int entered = 0;
  Entry->OnEnter = [&](TMemoEntry*) { ++entered; };
  QLineEdit outside(&Window);
  outside.show();
  outside.setFocus();
  Entry->Editor->setFocus();
  Entry->Properties->TitleEdit->setFocus();  // moving inside is no new entering
  EXPECT_EQ(entered, 1);
  outside.setFocus();
  Entry->Properties->VoiceBox->setFocus();
  EXPECT_EQ(entered, 2);
}

TEST_F(TEntryFixture, EditorTextKeepsEveryCharacterWithOrWithoutWidgets) {
  const QString text =
      QStringLiteral("non\u00a0breaking\n\nGr\u00fc\u00dfe \U0001F600\u2029para\u2028line\n");
  const QString kept =
      QStringLiteral("non\u00a0breaking\n\nGr\u00fc\u00dfe \U0001F600\npara\nline\n");
  for (const bool release : {false, true}) {
    SCOPED_TRACE(release ? "released" : "with widgets");
    if (release) {
      Entry->ReleaseWidgets();
      ASSERT_FALSE(Entry->HasWidgets());
    }
    Entry->SetEditorText(text);
    EXPECT_EQ(Entry->EditorText(), kept);
    Entry->SetEditorText(QStringLiteral("a\r\nb\rc"));
    EXPECT_EQ(Entry->EditorText(), QStringLiteral("a\nb\nc"));
    Entry->SetDefaultTitle(20);
    EXPECT_EQ(Entry->Title(), QStringLiteral("a_b_c"));
    Entry->SetEditorText(QStringLiteral(" \t\n"));
    EXPECT_TRUE(Entry->IsBlank());
    Entry->SetEditorText(text);
    EXPECT_FALSE(Entry->IsBlank());
  }
  // Made again, the editor holds exactly what the entry kept.
  ASSERT_FALSE(Entry->HasWidgets());
  EXPECT_EQ(Entry->Editor->document()->characterCount(), kept.size() + 1);
  EXPECT_EQ(Entry->EditorText(), kept);
}

TEST_F(TEntryFixture, ALongArticleKeepsEveryLineItsCaretAndWhatIsTypedIntoIt) {
  // Long enough for the editor to take it in blocks of many lines.
  QString text;
  for (int i = 0; text.size() < 3 * TArticleEditor::kFewerBlocksFrom; ++i) {
    text += QStringLiteral("line %1 of a long article").arg(i);
    text += i % 7 == 6 ? QStringLiteral("\n\n") : QStringLiteral("\n");
  }
  text += QStringLiteral("last");
  const QString first = QStringLiteral("first");
  QString expected;
  enum class THow {
    Set,
    SetWithoutWidgets,
    Loaded,
    AppendedToText,
    AppendedWithoutWidgets,
    Pasted,
    PastedAfterText
  };
  for (const THow how : {THow::Set, THow::SetWithoutWidgets, THow::Loaded, THow::AppendedToText,
                         THow::AppendedWithoutWidgets, THow::Pasted, THow::PastedAfterText}) {
    SCOPED_TRACE(static_cast<int>(how));
    const bool appended = how == THow::AppendedToText || how == THow::AppendedWithoutWidgets;
    Entry->SetEditorText(appended || how == THow::PastedAfterText ? first : QString());
    if (how == THow::SetWithoutWidgets || how == THow::AppendedWithoutWidgets) {
      Entry->ReleaseWidgets();
    }
    if (how == THow::Set || how == THow::SetWithoutWidgets) {
      Entry->SetEditorText(text);
    } else if (how == THow::Pasted || how == THow::PastedAfterText) {
      QApplication::clipboard()->setText(QString(text).replace(u'\n', QStringLiteral("\r\n")));
      Entry->Editor->SetSelStart(1);
      Entry->Editor->SetSelLength(how == THow::PastedAfterText ? 3 : 0);
      Entry->Editor->paste();
    } else {
      QBuffer device;
      device.setData(text.toUtf8() + "\r\n");
      ASSERT_TRUE(device.open(QIODevice::ReadOnly));
      Entry->LoadFromDevice(device);
    }
    expected = appended ? first + u'\n' + text : text;
    if (how == THow::PastedAfterText) {
      expected = QStringLiteral("f") + text + QStringLiteral("t");
    }
    EXPECT_EQ(Entry->EditorText(), expected);
    TArticleEditor* editor = Entry->Editor;
    EXPECT_EQ(editor->document()->characterCount(), expected.size() + 1);

    // Typed text is what the entry gives from then on, with or without widgets.
    const int middle = static_cast<int>(expected.indexOf(QStringLiteral("line 2000 ")));
    editor->setFocus();
    editor->SetSelStart(middle);
    QTest::keyClicks(editor, QStringLiteral("xy"));
    QTest::keyClick(editor, Qt::Key_Return);
    expected.insert(middle, QStringLiteral("xy\n"));
    EXPECT_EQ(Entry->EditorText(), expected);
    // What is copied has line feeds, whatever the document keeps.
    editor->SetSelStart(middle - 100);
    editor->SetSelLength(200);
    editor->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), expected.mid(middle - 100, 200));
    editor->SetSelStart(middle + 3);
    editor->SetSelLength(9);
    Entry->ReleaseWidgets();
    EXPECT_EQ(Entry->EditorText(), expected);
    // Made again: the same text and selection.
    EXPECT_EQ(Entry->Editor->SelStart(), middle + 3);
    EXPECT_EQ(Entry->Editor->SelLength(), 9);
    EXPECT_EQ(Entry->Editor->textCursor().selectedText(), QStringLiteral("line 2000"));
    EXPECT_EQ(Entry->EditorText(), expected);
    QTest::keyClick(Entry->Editor, Qt::Key_Delete);
    expected.remove(middle + 3, 9);
    EXPECT_EQ(Entry->EditorText(), expected);
  }
  // The article being read takes no long paste either.
  Entry->Locked = true;
  Entry->Editor->paste();
  Entry->Locked = false;
  EXPECT_EQ(Entry->EditorText(), expected);
}

TEST_F(TEntryFixture, ALockedArticleCannotBeTypedOverButItsCaretMoves) {
  Entry->SetEditorText(QStringLiteral("one two three"));
  TArticleEditor* editor = Entry->Editor;
  editor->setFocus();
  Entry->Locked = true;
  EXPECT_TRUE(Entry->Locked);
  editor->SetSelStart(4);
  editor->SetSelLength(3);
  QTest::keyClicks(editor, QStringLiteral("xy"));
  QTest::keyClick(editor, Qt::Key_Backspace);
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  editor->paste();
  editor->cut();
  EXPECT_EQ(Entry->EditorText(), QStringLiteral("one two three"));
  editor->SetSelStart(8);
  EXPECT_EQ(editor->SelStart(), 8);

  // Unlocked, typing works again.
  Entry->Locked = false;
  QTest::keyClicks(editor, QStringLiteral("x"));
  EXPECT_EQ(Entry->EditorText(), QStringLiteral("one two xthree"));

  // An editor made while its article is locked starts read-only.
  Entry->ReleaseWidgets();
  Entry->Locked = true;
  EXPECT_TRUE(Entry->Editor->isReadOnly());
  Entry->ReleaseWidgets();  // refused: the reader follows the words in it
  EXPECT_TRUE(Entry->HasWidgets());
}

TEST_F(TEntryFixture, LoadFromFileAppendsTheLinesOfAnyEncodingAndLineEnd) {
  TTempFolders folders;
  EXPECT_FALSE(Entry->LoadFromFile(folders.Path(QStringLiteral("missing.txt"))));
  EXPECT_EQ(Entry->EditorText(), QString());

  const QString crlf = folders.Path(QStringLiteral("crlf.txt"));
  ASSERT_TRUE(WriteWholeFile(crlf, "one\r\ntwo\r\n"));
  ASSERT_TRUE(Entry->LoadFromFile(crlf));
  EXPECT_EQ(Entry->EditorText(), QStringLiteral("one\ntwo"));

  const QString cp1252 = folders.Path(QStringLiteral("old.txt"));
  ASSERT_TRUE(WriteWholeFile(cp1252, "caf\xE9\rit\x92s\n"));
  ASSERT_TRUE(Entry->LoadFromFile(cp1252));
  EXPECT_EQ(Entry->EditorText(), QStringLiteral("one\ntwo\ncaf\u00e9\nit\u2019s"));
  EXPECT_TRUE(Messages.All.isEmpty());
}

TEST_F(TEntryFixture, LoadedFileEndsWithItsLastLineAndKeepsInnerBlankLines) {
  // {file, what the empty article then holds, what it holds after "x" is loaded before}
  const struct {
    QByteArray File;
    QString Alone;
    QString After;
  } cases[] = {
      {"a\n\n", QStringLiteral("a\n"), QStringLiteral("x\na\n")},
      {"a\r\n\r\n", QStringLiteral("a\n"), QStringLiteral("x\na\n")},
      {"a\n\rb\r", QStringLiteral("a\n\nb"), QStringLiteral("x\na\n\nb")},
      {"\n", QString(), QStringLiteral("x\n")},
      {"", QString(), QStringLiteral("x")},
  };
  for (const auto& c : cases) {
    for (const bool after : {false, true}) {
      Entry->SetEditorText(after ? QStringLiteral("x") : QString());
      QBuffer device;
      device.setData(c.File);
      ASSERT_TRUE(device.open(QIODevice::ReadOnly));
      Entry->LoadFromDevice(device);
      EXPECT_EQ(Entry->EditorText(), after ? c.After : c.Alone) << c.File.toStdString();
    }
  }
}

TEST_F(TEntryFixture, ReadErrorKeepsTheLinesReadAndTellsTheUser) {
  TFailingDevice device("first\nsecond\nthi");
  Entry->LoadFromDevice(device);
  EXPECT_EQ(Entry->EditorText(), QStringLiteral("first\nsecond"));
  EXPECT_EQ(Messages.Messages, QStringList{QStringLiteral("Error reading input file")});
}

}  // namespace
