#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TEngineEntry;
class TForm1;
class TPreferences;
class TTTSForm;
class TVoiceEntry;

// The "Engines / Voices" tab: one node per engine vendor with its voices
// below, where voices and vendors are enabled or excluded, the default voice
// is chosen, and a voice is tested or edited.
class TVoicesTree final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TVoicesTree)

 public:
  // Image indices of the nodes.
  enum TImage : int { imEnabled = 0, imDisabled = 1, imDefault = 2 };

  TVoicesTree(TForm1& form, TTTSForm& speech, TPreferences& preferences);
  ~TVoicesTree() override;

  void EngineVoicesTabShow();
  // Sets every node's image from the voices and engines.
  void RefreshImages();
  // The button states for the selected node.
  void EngineVoicesTVMouseDown(QTreeWidgetItem* node);
  void PopupMenu3Popup();
  void EnableItemClick();
  void EngineVoicesTVDblClick(QTreeWidgetItem* node);
  void SetDfltItemClick();
  void EditVoiceItemClick();
  void TestButtonClick();
  // The buttons beside the tree and the menu's Test do what their
  // counterparts do.
  void EnableBtnClick() { EnableItemClick(); }
  void SetDfltBtnClick() { SetDfltItemClick(); }
  void EditBtnClick() { EditVoiceItemClick(); }
  void TestItemClick() { TestButtonClick(); }
  // The test button is also one of the reading controls.
  void RunStateChanged();

  static TVoiceEntry* VoiceOf(const QTreeWidgetItem* node);
  static TEngineEntry* EngineOf(const QTreeWidgetItem* node);
  static int ImageOf(const QTreeWidgetItem* node);

  // A one-off reading and the status line of the main window.
  std::function<void(const QString& text, const QString& voiceName)> SpeakText;
  // Edits a voice in the voice edit dialog and applies the result.
  std::function<void(TVoiceEntry& voice)> EditVoice;

  QTreeWidget* EngineVoicesTV;
  std::array<QIcon, 3> ImageList2;
  QPushButton* EnableBtn;
  QPushButton* SetDfltBtn;
  QPushButton* EditBtn;
  QPushButton* TestButton;
  QLabel* VoicesLinkLbl;
  QMenu* PopupMenu3;
  QAction* EnableItem;
  QAction* SetDfltItem;
  QAction* EditVoiceItem;
  QAction* TestItem;
  QAction* PronunciationItem;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildTree();
  void SetImage(QTreeWidgetItem* node, int image);
  void ToggleVoice(TVoiceEntry& voice);
  // After any enable, disable or default change.
  void ChoicesChanged();
  QTreeWidgetItem* Selected() const;

  TForm1& FForm;
  // Compared with in the event filter, which also sees the events of the
  // window's destruction, when the window itself is no longer whole.
  QWidget* FTab;
  TTTSForm& FSpeech;
  TPreferences& FPreferences;
  bool FVoiceSelected = false;
};

// The Engines / Voices tab of the main window, when it has been built.
TVoicesTree* VoicesTreeOf(const TForm1& form);
