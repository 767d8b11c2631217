#pragma once

#include <QComboBox>
#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;
class TArticleVoiceSource;
class TMemoEntry;

// The voice drop-down; it refreshes its list just before it drops down.
class TVoiceBox final : public QComboBox {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TVoiceBox)

 public:
  using QComboBox::QComboBox;

 signals:
  void DroppingDown();

 public:
  void showPopup() override;
};

// The strip at the top of an article: title, voice and, in the Multi-Article
// layout, the article's own Read, Read to File and Delete buttons.
class TPropertyPanel final : public QFrame {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TPropertyPanel)

 public:
  static constexpr int kHeight = 25;

  TPropertyPanel(TMemoEntry* entry, const TArticleVoiceSource* voices, QWidget* parent);

  TMemoEntry* Entry() const { return FEntry; }

  // Rebuilds the voice list unless already done since the focus came in:
  // favourite voices of enabled engines, plus the current voice whatever it is.
  void FillVoices();
  // The focus has left the panel: the next click rebuilds the list.
  void ResetVoices() { VoicesFilled = false; }
  // Voice label at 180 and the three buttons shown.
  void MultiLayout();
  bool IsMultiLayout() const { return FMultiLayout; }

  QLabel* TitleLabel;
  QLineEdit* TitleEdit;
  QLabel* VoiceLabel;
  TVoiceBox* VoiceBox;
  QPushButton* ReadButton;
  QPushButton* ReadToFileButton;
  QPushButton* DeleteButton;
  bool VoicesFilled = false;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void TitleChange();
  void PlaceControls(int voiceLabelLeft);

  TMemoEntry* FEntry;
  const TArticleVoiceSource* FVoices;
  bool FMultiLayout = false;
};
