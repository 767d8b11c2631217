#include "ToolBarForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include "AppIcons.h"
#include "BaseUtils.h"
#include "PreferenceUnit.h"

TToolBarForm* ToolBarForm = nullptr;

namespace {

constexpr Qt::WindowFlags kFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

}  // namespace

TToolBarForm::TToolBarForm(QWidget* parent) : QWidget(parent, kFlags) {
  setObjectName(QStringLiteral("ToolBarForm"));
  setWindowTitle(QStringLiteral("Verbalune MP3 Toolbar"));
  setWindowIcon(AppIcon(QStringLiteral("verbalune")));
  setFixedSize(kClientWidth, kClientHeight);

  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setGeometry(0, 0, kClientWidth, 42);
  ToolBar1->setIconSize(QSize(24, 24));
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolBar1->setMovable(false);
  ToolBar1->setStyleSheet(
      QStringLiteral("QToolBar { border-top: 1px solid palette(mid); "
                     "border-bottom: 1px solid palette(mid); spacing: 0px; }"));
  PlayToolBtn = AddButton(QStringLiteral("PlayToolBtn"), QStringLiteral("aloud"),
                          QStringLiteral("Read text aloud"));
  PlayFileBtn = AddButton(QStringLiteral("PlayFileBtn"), QStringLiteral("file"),
                          QStringLiteral("Read text to file"));
  PauseBtn = AddButton(QStringLiteral("PauseBtn"), QStringLiteral("pause"),
                       QStringLiteral("Pause / Resume"));
  SkipBtn = AddButton(QStringLiteral("SkipBtn"), QStringLiteral("skip"),
                      QStringLiteral("Skip to next article"));
  StopBtn =
      AddButton(QStringLiteral("StopBtn"), QStringLiteral("stop"), QStringLiteral("Stop Reading"));
  ToolBar1->addSeparator();
  RestoreBtn = AddButton(QStringLiteral("RestoreBtn"), QStringLiteral("verbalune"),
                         QStringLiteral("Restore main window"));

  StatusLabel = new QLabel(this);
  StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
  StatusLabel->setGeometry(2, 42, 113, 13);
  QFont small = StatusLabel->font();
  small.setPixelSize(11);
  StatusLabel->setFont(small);

  Gauge1 = new QProgressBar(this);
  Gauge1->setObjectName(QStringLiteral("Gauge1"));
  Gauge1->setGeometry(kClientWidth - 120, 42, 120, 13);
  Gauge1->setTextVisible(false);
  Gauge1->setRange(0, 100);

  FormCreate();
}

TToolBarForm::~TToolBarForm() {
  FormDestroy();
  if (ToolBarForm == this) {
    ToolBarForm = nullptr;
  }
}

QToolButton* TToolBarForm::AddButton(const QString& name, const QString& icon,
                                     const QString& hint) {
  auto* button = new QToolButton(ToolBar1);
  button->setObjectName(name);
  button->setIcon(AppIcon(icon));
  button->setToolTip(hint);
  button->setFixedSize(39, 38);
  button->setAutoRaise(true);
  ToolBar1->addWidget(button);
  return button;
}

void TToolBarForm::FormCreate() {
  PlaceByDefault();
  if (Preferences != nullptr) {
    Preferences->RestoreWindowPlacement(*this);
    // The toolbar's size is its design, whatever was stored.
    resize(kClientWidth, kClientHeight);
  }
  Gauge1->hide();
}

void TToolBarForm::PlaceByDefault() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return;
  }
  // Near the top right corner, out of the way of most windows' contents.
  const QRect area = screen->availableGeometry();
  move(area.right() - kClientWidth - 40, area.top() + 60);
}

void TToolBarForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow();
}

void TToolBarForm::FormShow() {
  if (!FApplyingOnTop) {
    emit Shown();
  }
}

void TToolBarForm::ShowNormal() {
  setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
  show();
  raise();
  // Without a window manager nothing else would activate it.
  activateWindow();
  FormActivate();
}

bool TToolBarForm::StaysOnTop() const {
  return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TToolBarForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    FormActivate();
  }
}

void TToolBarForm::FormActivate() {
  raise();
  const bool onTop = Preferences != nullptr && Preferences->ToolbarOnTop;
  if (onTop == StaysOnTop() || FApplyingOnTop) {
    return;
  }
  // Changing the hint makes a new native window, which must be shown again
  // where the old one stood.
  FApplyingOnTop = true;
  const QPoint at = pos();
  const bool shown = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  move(at);
  if (shown) {
    show();
  }
  FApplyingOnTop = false;
}

void TToolBarForm::closeEvent(QCloseEvent* event) {
  if (FExiting) {
    event->accept();
    return;
  }
  // Closing hides: the toolbar lives as long as the program.
  event->ignore();
  FormClose();
}

void TToolBarForm::CloseForExit() {
  FExiting = true;
  close();
}

void TToolBarForm::FormClose() {
  hide();
  emit ClosedByUser();
}

void TToolBarForm::FormDestroy() {
  if (FDestroyed) {
    return;
  }
  FDestroyed = true;
  if (Preferences != nullptr) {
    Preferences->SaveWindowPlacement(*this);
  }
}

void TToolBarForm::SetStatusText(const QString& text) {
  StatusLabel->setText(text);
}
