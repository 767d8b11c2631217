#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;
class QSlider;
class TTTSForm;
class TVoiceEntry;

// "Voice Edit": pitch and speed of one voice on two sliders, with a test of
// the values before they are accepted. One instance lives for the whole run;
// each showing starts from the voice's current values.
class TVoiceEditForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TVoiceEditForm)

 public:
  // controller: the speech controller that knows the voice's limits; the
  // global one when null.
  explicit TVoiceEditForm(QWidget* parent = nullptr, TTTSForm* controller = nullptr);
  ~TVoiceEditForm() override;

  // What the test button reads for a voice: its language's test text, or the
  // program's own sentence when there is none.
  static QString TestText(const TVoiceEntry& voice);

  void FormShow();
  void ResetBtnClick();
  void TestBtnClick();
  void OkBtnClick();
  void CancelBtnClick();

  // Set by the caller before showing.
  TVoiceEntry* EditVoice = nullptr;
  qint32 WorkPitch = 0;
  qint32 WorkSpeed = 0;

  // The main window's status line and one-off reading; the dialog cannot
  // speak by itself without bypassing the run state.
  std::function<void(const QString& message)> ShowStatus;
  std::function<void(const QString& text, const QString& voiceName)> SpeakText;

  QLabel* Label1;
  QLabel* VoiceCaptionLbl;
  QLabel* Label3;
  QSlider* PitchSlider;
  QLabel* PitchMinLbl;
  QLabel* PitchMaxLbl;
  QLabel* PitchValLbl;
  QLabel* Label4;
  QSlider* SpeedSlider;
  QLabel* SpeedMinLbl;
  QLabel* SpeedMaxLbl;
  QLabel* SpeedValLbl;
  QPushButton* OkBtn;
  QPushButton* ResetBtn;
  QPushButton* TestBtn;
  QPushButton* CancelBtn;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TTTSForm* Controller() const;
  // Moves a slider without counting it as the user's move.
  void PlaceSlider(QSlider* slider, int position);
  void SliderChange(QSlider* slider, QLabel* valueLabel, qint32& work);

  TTTSForm* FController;
  bool FPlacing = false;
  // Placed on screen at least once this session: only then is its geometry
  // the user's choice rather than the unplaced corner at 0,0.
  bool FWasShown = false;
};

// The one voice edit dialog; null before start-up created it.
extern TVoiceEditForm* VoiceEditForm;
