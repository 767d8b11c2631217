#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class TPronunciationList;
struct TPronunciation;

// The editor of the user's pronunciation list: rows of written form and
// what to say instead, whole word or anywhere, letter case counting or not,
// for every voice or one engine. Each change is saved at once.
class TPronunciationEditorForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TPronunciationEditorForm)

 public:
  // list: edited in place and saved to path after every change. engines:
  // the engine vendors one can limit an entry to; voices: the voices Test
  // can speak with, the first one selected.
  TPronunciationEditorForm(QWidget* parent, TPronunciationList& list, QString path,
                           const QStringList& engines, const QStringList& voices);
  ~TPronunciationEditorForm() override;

  void AddBtnClick();
  void ChangeBtnClick();
  void DeleteBtnClick();
  void TestBtnClick();
  void ImportBtnClick();
  void ExportBtnClick();

  // Speaks a text with a voice (by name); the program's one-off reading.
  std::function<void(const QString& text, const QString& voiceName)> SpeakText;
  // Ask for the file to import from / export to; empty when cancelled.
  std::function<QString()> AskImportFile;
  std::function<QString()> AskExportFile;

  QTableWidget* ListTW;
  QLineEdit* WrittenEdit;
  QLineEdit* SayAsEdit;
  QCheckBox* WholeWordCB;
  QCheckBox* MatchCaseCB;
  QComboBox* EngineCB;
  QComboBox* VoiceCB;
  QPushButton* AddBtn;
  QPushButton* ChangeBtn;
  QPushButton* DeleteBtn;
  QPushButton* TestBtn;
  QPushButton* ImportBtn;
  QPushButton* ExportBtn;
  QPushButton* CloseBtn;

 private:
  void FillList(int select);
  void ListSelectionChanged();
  // The entry the fields describe; false (after telling the user) when it
  // has no written form.
  bool EntryFromFields(TPronunciation& entry) const;
  // Index of the entry with the same written form and engine, or -1.
  int SameEntry(const TPronunciation& entry, int except) const;
  int SelectedRow() const;
  void Save();
  void UpdateButtons();

  TPronunciationList& FList;
  QString FPath;
};
