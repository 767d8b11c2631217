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

namespace {
constexpr int kStatusBarChrome = 24;
}  // namespace

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
  const int client = width();
  const int panel0 = qRound(client * 0.75);
  StatusPanel0->setFixedWidth(panel0);
  // The size grip and the bar's margins take the last few pixels.
  StatusPanel1->setFixedWidth(std::max(client - panel0 - kStatusBarChrome, 0));
  if (ProgressGauge != nullptr) {
    ProgressGauge->setGeometry(0, 2, StatusPanel1->width(), 15);
  }
}
