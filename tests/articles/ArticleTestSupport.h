#pragma once

#include <QIODevice>
#include <QStringList>

#include "ArticleBeep.h"
#include "ArticleVoices.h"

// A voice list as the speech controller would give it.
class TFakeVoices final : public TArticleVoiceSource {
 public:
  QList<TArticleVoice> ArticleVoices() const override { return Voices; }
  QStringList Names() const {
    QStringList names;
    for (const TArticleVoice& v : Voices) {
      names << v.Name;
    }
    return names;
  }
  QList<TArticleVoice> Voices = {
      {QStringLiteral("Mary"), true, true},
      {QStringLiteral("Mike"), true, true},
      {QStringLiteral("Sam"), false, true},    // installed, no favourite
      {QStringLiteral("Robot"), true, false},  // favourite of a disabled engine
  };
};

// Counts beeps instead of sounding them, for its lifetime.
class TBeepCounter final {
 public:
  TBeepCounter() {
    SetArticleBeepHandler([this] { ++Count; });
  }
  ~TBeepCounter() { SetArticleBeepHandler({}); }
  TBeepCounter(const TBeepCounter&) = delete;
  TBeepCounter& operator=(const TBeepCounter&) = delete;
  int Count = 0;
};

// A device that delivers its bytes and then fails to read, like a disk error.
class TFailingDevice final : public QIODevice {
 public:
  explicit TFailingDevice(QByteArray data) : FData(std::move(data)) { open(QIODevice::ReadOnly); }
  bool isSequential() const override { return true; }
  bool atEnd() const override { return false; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    if (FPos >= FData.size()) {
      setErrorString(QStringLiteral("Input/output error"));
      return -1;
    }
    const qint64 n = qMin<qint64>(maxSize, FData.size() - FPos);
    memcpy(data, FData.constData() + FPos, static_cast<size_t>(n));
    FPos += n;
    return n;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  QByteArray FData;
  qint64 FPos = 0;
};
