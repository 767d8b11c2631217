#pragma once

#include <QObject>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class TForm1;
class TPreferences;
class TRadioGroup;

// The option pages of the main window: the Single-Article and Multi-Article
// pages and the Clipboard, File Options and Misc tabs. Every control writes
// its preference the moment the user changes it; loading a control from the
// preferences never writes back.
class TOptionsPages final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TOptionsPages)

 public:
  // Builds the controls into the main window's option containers and loads
  // the values shown from the start.
  TOptionsPages(TForm1& form, TPreferences& preferences);
  ~TOptionsPages() override;

  // The preference values an edit may hold.
  static QString DirectoryFromEdit(const QString& text);
  static int BitRateOfItem(const QString& itemText);

  void LoadStartValues();
  void SIOptionsSheetShow();
  void MIOptionsSheetShow();
  void MiscSheetShow();
  // The Misc tab's default voice list from the main window's favourites.
  void FillDefaultVoiceList();

  void VoiceGrpClick(int index);
  void ODestGrpClick(int index);
  void AutoDeleteCBClick();
  void ThreshHoldEditChange();
  void PromptDelayEditChange();
  void FileFormatRGrpClick(int index);
  void AudioQltyCbxChange(int index);
  void OutDirEditChange();
  void Button1Click();
  void DfltVoiceCBChange(int index);
  void HighlightPosnClick();

  // Single-Article page.
  TRadioGroup* SIVoiceGrp;
  QCheckBox* AutoSpeakCB;
  QCheckBox* AutoTitleCB;
  // Multi-Article page.
  TRadioGroup* MIVoiceGrp;
  TRadioGroup* ODestGrp;
  QCheckBox* AutoDeleteCB;
  // Clipboard tab.
  QCheckBox* MonitorCB;
  QCheckBox* ClearClipboardCB;
  QLineEdit* ThreshHoldEdit;
  QCheckBox* PromptCkbx;
  QLineEdit* PromptDelayEdit;
  QComboBox* PromptDfltActCBox;
  // File Options tab.
  TRadioGroup* FileFormatRGrp;
  QComboBox* AudioQltyCbx;
  QLineEdit* OutDirEdit;
  QPushButton* Button1;
  // Misc tab.
  QComboBox* DfltVoiceCB;
  QComboBox* ToolbarMinCB;
  QCheckBox* TBOnTopCB;
  QCheckBox* HighlightCB;
  QCheckBox* AutoStartAppCB;
  QCheckBox* FilterCB;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildSingleArticlePage();
  void BuildMultiArticlePage();
  void BuildClipboardTab();
  void BuildFileOptionsTab();
  void BuildMiscTab();
  void EnableQualityControls();
  // A whole-number edit's text as its preference, or the preference back
  // into the edit when the text is no number.
  void NumberEditChange(QLineEdit* edit, qint32& preference);
  void NumberEditDone(QLineEdit* edit, const qint32& preference);

  TForm1& FForm;
  // Compared with in the event filter, which also sees the events of the
  // window's destruction, when the window itself is no longer whole.
  QObject* FSISheet;
  QObject* FMISheet;
  QObject* FMiscSheet;
  TPreferences& FPreferences;
};

// The option pages of the main window, when they have been built.
TOptionsPages* OptionsPagesOf(const TForm1& form);
