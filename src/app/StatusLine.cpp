// The status line and the enabled state of the reading controls.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QSystemTrayIcon>
#include <QToolButton>

#include "BaseUtils.h"
#include "MainWindow.h"
#include "MemoListUnit.h"
#include "TTS.h"
#include "TTSUnit.h"

namespace {

constexpr int kTrayTipLength = 63;

}  // namespace

void TForm1::SetRunState(TRunState state) {
  RunState = state;
  if (state == rsExiting) {
    return;
  }
  if (state == rsReading) {
    OpenFolderLabel->hide();
  }
  const bool idle = state == rsIdle;
  const bool active = state == rsReading || state == rsPaused;
  // A long conversion can be stopped, or skipped in a run, like the reading.
  const bool stoppable = active || state == rsConverting;
  const bool skip = (state == rsReading || state == rsConverting) && Articles != nullptr &&
                    Articles->ListMode == TMemoListBox::lmMultiArticle;
  for (QToolButton* b : {PlayToolBtn, PlayFileBtn}) {
    b->setEnabled(idle);
  }
  for (QAction* a : {PlaySpkrMItm, PlayPoNtry, PlayFileMItm, PlayFilePoNtry, SelAudioDevMItm,
                     PronunciationMItm}) {
    a->setEnabled(idle);
  }
  PauseBtn->setEnabled(active);
  PauseMItm->setEnabled(active);
  PausePoNtry->setEnabled(active);
  StopBtn->setEnabled(stoppable);
  StopMItm->setEnabled(stoppable);
  StopPoNtry->setEnabled(stoppable);
  SkipBtn->setEnabled(skip);
  SkipMItm->setEnabled(skip);
  SkipPoNtry->setEnabled(skip);
  // Pause decides on the caption, so it must follow every change of state,
  // also a new reading that replaces a paused one.
  const bool paused = state == rsPaused;
  PauseMItm->setText(paused ? QStringLiteral("&Resume") : QStringLiteral("&Pause"));
  PauseBtn->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
  PausePoNtry->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
  if (!paused && StatusPanel1->text() == u"Pause") {
    StatusPanel1->clear();
  }
  emit RunStateChanged(state);
}

QString TForm1::ArticleCountText() const {
  int count = Articles != nullptr ? Articles->VisibleCount() : 0;
  if (count == 1) {
    const TMemoEntry* only = Articles->Entries().value(0);
    if (only != nullptr && only->EditorText().trimmed().isEmpty()) {
      count = 0;
    }
  }
  if (count == 0) {
    return QStringLiteral("No articles");
  }
  if (count == 1) {
    return QStringLiteral("1 article");
  }
  return QString::number(count) + QStringLiteral(" articles");
}

void TForm1::ShowStatus(const QString& message) {
  QString longText;
  QString shortText;
  if (!message.trimmed().isEmpty()) {
    longText = shortText = message;
  } else if (RunState == rsReading) {
    const auto* article = TTSForm != nullptr && TTSForm->TTS1 != nullptr
                              ? reinterpret_cast<const TMemoEntry*>(TTSForm->TTS1->Tag)
                              : nullptr;
    const int position = Articles != nullptr ? Articles->FindEntry(article) : 0;
    const int count = Articles != nullptr ? Articles->VisibleCount() : 0;
    shortText = QStringLiteral("Article %1 of %2").arg(position).arg(count);
    const QString title = article != nullptr ? article->Title().trimmed() : QString();
    longText = title.isEmpty() ? shortText : shortText + QStringLiteral(" : ") + article->Title();
  } else if (RunState == rsConverting) {
    shortText = QStringLiteral("Converting to MP3");
    longText =
        QStringLiteral("Converting to MP3 format: ") + Mp3Path.section(u'/', -1).section(u'\\', -1);
  } else {
    longText = shortText = ArticleCountText();
  }
  StatusPanel0->setText(longText);
  if (TrayIcon != nullptr) {
    TrayIcon->setToolTip(longText.left(kTrayTipLength));
  }
  emit ShortStatusChanged(shortText);
  UtilsClass::Trace(longText);
}

void TForm1::ResetStatus() {
  StatusPanel0->clear();
  // The count even while a reading still counts as running (a single
  // reading resets the status before it turns idle).
  ShowStatus(ArticleCountText());
  ProgressGauge->hide();
  ProgressGauge->setValue(0);
  emit ProgressReset();
}

void TForm1::ShowOutputFolder(const QString& folder) {
  // The tip shows where the files went, and is where the link finds it.
  OpenFolderLabel->setToolTip(QDir(folder).absolutePath());
  OpenFolderLabel->show();
}
