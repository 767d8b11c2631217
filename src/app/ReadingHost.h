#pragma once

#include <QString>

#include "MainWindow.h"

class QLabel;
class QProgressBar;
class TMemoEntry;
class TMemoListBox;

// What a reading run needs of the window it runs in: the article list, the
// run state with its controls, the status line, the progress bar and the
// run's file names. The main window answers through its adapter; the command
// line's rendering answers with a window that is never shown.
class TReadingHost {
 public:
  virtual ~TReadingHost() = default;

  virtual TMemoListBox* Articles() const = 0;
  virtual TRunState RunState() const = 0;
  virtual void SetRunState(TRunState state) = 0;
  // Reading controls that SpeakText switches off after SetRunState.
  virtual void DisableSkipGroup() = 0;
  virtual void ShowStatus(const QString& message) = 0;
  virtual void ResetStatus() = 0;
  virtual QString ArticleCountText() const = 0;
  virtual QProgressBar* ProgressGauge() const = 0;
  virtual QLabel* StatusPanel1() const = 0;
  // Whether the main window is on screen; RestoreWindow brings it back.
  virtual bool WindowVisible() const = 0;
  virtual void RestoreWindow() = 0;
  // False where no editor is ever seen, so the caret need not follow the
  // spoken words.
  virtual bool FollowsWords() const { return true; }
  virtual TMemoEntry* AddNew() = 0;
  // A run into files has written its last file into folder.
  virtual void FileRunFinished(const QString& folder) { Q_UNUSED(folder); }
  virtual bool ExportArticles() = 0;

  // The run's state, kept with the window because its status line shows it.
  virtual TReadDestination& ReadDestination() = 0;
  virtual int& ReadStart() = 0;
  virtual QString& WavePath() = 0;
  virtual QString& Wave44Path() = 0;
  virtual QString& Mp3Path() = 0;
};
