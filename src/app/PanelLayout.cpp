// Showing and hiding the option panels and the toolbar; status bar widths.
#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include "MainWindow.h"
#include "PreferenceUnit.h"

void TForm1::MMLabel1Click() {
  const int full = FullPanelHeight(qRound(screen()->logicalDotsPerInch()));
  const bool show = !Preferences->ShowOptions;
  OptionsBtn->setChecked(show);
  ShowOptionsMItm->setChecked(show);
  Preferences->ShowOptions = show;
  Panel3->setVisible(show);
  Panel2->setFixedHeight(Panel2Height(Preferences->ShowToolbar, show, full));
}

void TForm1::ShowToolbarMItmClick() {
  // The same full height as the Options button: a fixed 257 would cut the
  // option panels short on a 120 dpi screen.
  const int full = FullPanelHeight(qRound(screen()->logicalDotsPerInch()));
  Preferences->ShowToolbar = !Preferences->ShowToolbar;
  ShowToolbarMItm->setChecked(Preferences->ShowToolbar);
  ToolBar1->setVisible(Preferences->ShowToolbar);
  Panel2->setFixedHeight(Panel2Height(Preferences->ShowToolbar, Preferences->ShowOptions, full));
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (Initialized) {
    FormResize();
  }
}

void TForm1::FormResize() {
  // The status bar's layout splits it three to one; the gauge fills panel 1.
  if (ProgressGauge != nullptr) {
    ProgressGauge->setGeometry(0, 2, StatusPanel1->width(), 15);
  }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  // The status bar lays its panels out after the window's own resize (and
  // once more when it is first shown), so the gauge follows panel 1 itself
  // rather than the window.
  if (watched == StatusPanel1 && event->type() == QEvent::Resize && ProgressGauge != nullptr) {
    ProgressGauge->setGeometry(0, 2, StatusPanel1->width(), 15);
  }
  return QMainWindow::eventFilter(watched, event);
}
