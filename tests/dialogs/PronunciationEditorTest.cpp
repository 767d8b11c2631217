#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "MessageRecorder.h"
#include "PronunciationEditor.h"
#include "PronunciationList.h"
#include "TestEnvironment.h"

namespace {

class PronunciationEditor : public ::testing::Test {
 protected:
  PronunciationEditor()
      : Path(Folders.Path(QStringLiteral("pronunciations.txt"))),
        Editor(nullptr, List, Path, {QStringLiteral("eSpeak NG"), QStringLiteral("Flite")},
               {QStringLiteral("Adam"), QStringLiteral("Slt")}) {
    Editor.SpeakText = [this](const QString& text, const QString& voice) {
      Spoken << voice + u':' + text;
    };
  }

  void Fill(const QString& written, const QString& sayAs, bool wholeWord = true,
            bool matchCase = false, int engine = 0) {
    Editor.WrittenEdit->setText(written);
    Editor.SayAsEdit->setText(sayAs);
    Editor.WholeWordCB->setChecked(wholeWord);
    Editor.MatchCaseCB->setChecked(matchCase);
    Editor.EngineCB->setCurrentIndex(engine);
  }

  std::vector<TPronunciation> Saved() const {
    TPronunciationList saved;
    EXPECT_TRUE(saved.Load(Path));
    return saved.Items;
  }

  TTempFolders Folders;
  TMessageRecorder Messages;
  TPronunciationList List;
  QString Path;
  TPronunciationEditorForm Editor;
  QStringList Spoken;
};

TEST_F(PronunciationEditor, AddChangeDeleteAndTestAreSavedAtOnce) {
  EXPECT_FALSE(Editor.AddBtn->isEnabled());
  Fill(QStringLiteral("GUI"), QStringLiteral("gooey"));
  Editor.AddBtn->click();
  Fill(QStringLiteral("Kal"), QStringLiteral("Cal"), false, true, 2);
  Editor.AddBtn->click();
  const std::vector<TPronunciation> two = {
      {QStringLiteral("GUI"), QStringLiteral("gooey"), true, false, QString()},
      {QStringLiteral("Kal"), QStringLiteral("Cal"), false, true, QStringLiteral("Flite")}};
  EXPECT_EQ(List.Items, two);
  EXPECT_EQ(Saved(), two);
  EXPECT_EQ(Editor.ListTW->rowCount(), 2);

  // The same word for the same voices replaces its row.
  Fill(QStringLiteral("GUI"), QStringLiteral("gee you eye"));
  Editor.AddBtn->click();
  ASSERT_EQ(Saved().size(), 2u);
  EXPECT_EQ(Saved()[0].SayAs, QStringLiteral("gee you eye"));

  // Selecting a row shows it; Change rewrites it.
  Editor.ListTW->selectRow(1);
  EXPECT_EQ(Editor.WrittenEdit->text(), QStringLiteral("Kal"));
  EXPECT_EQ(Editor.EngineCB->currentText(), QStringLiteral("Flite"));
  EXPECT_FALSE(Editor.WholeWordCB->isChecked());
  Editor.SayAsEdit->setText(QStringLiteral("Kahl"));
  Editor.ChangeBtn->click();
  EXPECT_EQ(Saved()[1].SayAs, QStringLiteral("Kahl"));

  Editor.VoiceCB->setCurrentIndex(1);
  Editor.TestBtn->click();
  EXPECT_EQ(Spoken, QStringList{QStringLiteral("Slt:Kahl")});

  Editor.ListTW->selectRow(0);
  Editor.DeleteBtn->click();
  ASSERT_EQ(Saved().size(), 1u);
  EXPECT_EQ(Saved()[0].Written, QStringLiteral("Kal"));
  EXPECT_TRUE(Messages.All.isEmpty());
}

TEST_F(PronunciationEditor, ImportExportAndFailuresAreTold) {
  const QString in = Folders.Path(QStringLiteral("in.txt"));
  ASSERT_TRUE(WriteWholeFile(in, "NASA\tnassa\nno tab here\nSQL\tsequel\tword,case\n"));
  Editor.AskImportFile = [&] { return in; };
  Editor.ImportBtn->click();
  ASSERT_EQ(Saved().size(), 2u);
  ASSERT_EQ(Messages.Messages.size(), 1);
  EXPECT_EQ(Messages.Messages[0],
            QStringLiteral("2 pronunciations were imported from ") + in +
                QStringLiteral(".\n1 line could not be read and was left out (line 2)."));

  const QString out = Folders.Path(QStringLiteral("out.txt"));
  Editor.AskExportFile = [&] { return out; };
  Editor.ExportBtn->click();
  EXPECT_EQ(QString::fromUtf8(ReadWholeFile(out)), List.ToText());

  // A missing import file and a list that cannot be saved are both told;
  // the entry still applies for now.
  Editor.AskImportFile = [&] { return Folders.Path(QStringLiteral("missing.txt")); };
  Editor.ImportBtn->click();
  ASSERT_EQ(Messages.Errors.size(), 1);
  EXPECT_TRUE(Messages.Errors[0].contains(QStringLiteral("missing.txt")));
  // Nor is a file that is not text, though some of its lines hold a tab.
  const QString binary = Folders.Path(QStringLiteral("picture.png"));
  ASSERT_TRUE(WriteWholeFile(binary, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\tjunk\n", 22)));
  Editor.AskImportFile = [&] { return binary; };
  Editor.ImportBtn->click();
  ASSERT_EQ(Messages.Errors.size(), 2);
  EXPECT_TRUE(Messages.Errors[1].endsWith(u": it is not a text file"))
      << Messages.Errors[1].toStdString();
  EXPECT_EQ(Saved().size(), 2u);

  TPronunciationList other;
  TPronunciationEditorForm broken(nullptr, other, in + QStringLiteral("/cannot.txt"), {},
                                  {QStringLiteral("Adam")});
  broken.WrittenEdit->setText(QStringLiteral("x"));
  broken.AddBtn->click();
  ASSERT_EQ(Messages.Errors.size(), 3);
  EXPECT_TRUE(Messages.Errors[2].startsWith(u"Could not save the pronunciation list to "));
  EXPECT_EQ(other.Items.size(), 1u);
}

}  // namespace
