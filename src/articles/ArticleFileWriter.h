#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Writes saved-articles files on a thread of its own, so the flush to disk
// that makes a save safe never holds up typing. Writes happen one at a time in
// the order they were asked for, so an older list never lands over a newer
// one; a write still waiting when a newer one for the same file comes is
// dropped, since the newer one holds everything it would have saved.
class TArticleFileWriter final {
 public:
  struct TResult {
    QString Path;
    bool Ok = true;
    QString Error;   // what failed and where
    QString Reason;  // only why, in the system's words
  };

  // resultsReady runs on the writing thread after each write; it should only
  // hand over to the owner's thread, which then calls TakeResults.
  explicit TArticleFileWriter(std::function<void()> resultsReady = {});
  // Finishes every write asked for before it returns.
  ~TArticleFileWriter();
  TArticleFileWriter(const TArticleFileWriter&) = delete;
  TArticleFileWriter& operator=(const TArticleFileWriter&) = delete;

  void Write(const QString& path, QByteArray bytes);
  // Returns once every write asked for so far is on disk or has failed.
  void Wait();
  // Results of the writes done since the last call, oldest first.
  QList<TResult> TakeResults();

 private:
  struct TJob {
    QString Path;
    QByteArray Bytes;
  };
  void Run();

  std::mutex FMutex;
  std::condition_variable FWork;
  std::condition_variable FDone;
  std::deque<TJob> FQueue;
  QList<TResult> FResults;
  bool FWriting = false;
  bool FStop = false;
  std::function<void()> FResultsReady;
  std::thread FThread;
};
