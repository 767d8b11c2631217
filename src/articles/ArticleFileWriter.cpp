#include "ArticleFileWriter.h"

#include "ArticleFileFormat.h"

TArticleFileWriter::TArticleFileWriter(std::function<void()> resultsReady)
    : FResultsReady(std::move(resultsReady)) {}

TArticleFileWriter::~TArticleFileWriter() {
  {
    std::lock_guard lock(FMutex);
    FStop = true;
  }
  FWork.notify_one();
  if (FThread.joinable()) {
    FThread.join();
  }
}

void TArticleFileWriter::Write(const QString& path, QByteArray bytes) {
  {
    std::lock_guard lock(FMutex);
    if (!FQueue.empty() && FQueue.back().Path == path) {
      FQueue.back().Bytes = std::move(bytes);
    } else {
      FQueue.push_back({path, std::move(bytes)});
    }
    if (!FThread.joinable()) {
      FThread = std::thread(&TArticleFileWriter::Run, this);
    }
  }
  FWork.notify_one();
}

void TArticleFileWriter::Wait() {
  std::unique_lock lock(FMutex);
  FDone.wait(lock, [this] { return FQueue.empty() && !FWriting; });
}

QList<TArticleFileWriter::TResult> TArticleFileWriter::TakeResults() {
  std::lock_guard lock(FMutex);
  return std::exchange(FResults, {});
}

void TArticleFileWriter::Run() {
  std::unique_lock lock(FMutex);
  while (true) {
    // Stopping still writes what was asked for: it is the last list at exit.
    FWork.wait(lock, [this] { return FStop || !FQueue.empty(); });
    if (FQueue.empty()) {
      return;
    }
    TJob job = std::move(FQueue.front());
    FQueue.pop_front();
    FWriting = true;
    lock.unlock();

    TResult result;
    result.Path = job.Path;
    result.Ok = SaveArticleBytes(job.Path, job.Bytes, &result.Error, &result.Reason);
    job.Bytes.clear();

    lock.lock();
    FResults.append(std::move(result));
    FWriting = false;
    if (FResultsReady) {
      lock.unlock();
      FResultsReady();
      lock.lock();
    }
    FDone.notify_all();
  }
}
