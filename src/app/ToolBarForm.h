#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QToolBar;
class QToolButton;

// "Verbalune MP3 Toolbar": a small window with the reading buttons, a short
// status and a progress bar, for while the main window is hidden. Closing it
// only hides it. It has a taskbar entry of its own, so it can always be found.
class TToolBarForm final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TToolBarForm)

 public:
  explicit TToolBarForm(QWidget* parent = nullptr);
  ~TToolBarForm() override;

  static constexpr int kClientWidth = 240;
  static constexpr int kClientHeight = 55;

  void FormCreate();
  void FormShow();
  void FormActivate();
  void FormClose();
  void FormDestroy();
  void SetStatusText(const QString& text);
  // The program is ending: from now on a close request really closes.
  void CloseForExit();
  // Shows the toolbar with its window state normal.
  void ShowNormal();
  // Whether the window now asks the desktop to keep it above the others.
  bool StaysOnTop() const;

  QToolBar* ToolBar1;
  QToolButton* PlayToolBtn;
  QToolButton* PlayFileBtn;
  QToolButton* PauseBtn;
  QToolButton* SkipBtn;
  QToolButton* StopBtn;
  QToolButton* RestoreBtn;
  QLabel* StatusLabel;
  QProgressBar* Gauge1;

 signals:
  // The toolbar appeared (the tray's "Show &Toolbar" is then not needed) or
  // was closed with its close box (it is needed again).
  void Shown();
  void ClosedByUser();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QToolButton* AddButton(const QString& name, const QString& icon, const QString& hint);
  void PlaceByDefault();

  bool FDestroyed = false;
  bool FApplyingOnTop = false;
  bool FExiting = false;
};

// The one floating toolbar; null before the main window made it.
extern TToolBarForm* ToolBarForm;
