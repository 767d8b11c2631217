#pragma once

#include <QString>
#include <cstdio>
#include <mutex>

#include "SpeechInterfaces.h"

// Writes the engine's audio into a RIFF WAVE file (16-bit PCM in the engine's
// rate). Marks are reported as soon as their audio is written. The header's
// sizes are completed by Flush; a failed write is kept and reported there, so
// a short file never passes for a complete one, and the header never counts
// sample bytes that did not reach the file.
class TWaveFileDest final : public IAudioFile {
 public:
  TWaveFileDest() = default;
  ~TWaveFileDest() override;
  TWaveFileDest(const TWaveFileDest&) = delete;
  TWaveFileDest& operator=(const TWaveFileDest&) = delete;

  HRESULT Set(const QString& fileName, quint32 flags) override;
  HRESULT Flush() override;
  HRESULT Claim(const TPcmFormat& format, TListener listener) override;
  void Unclaim() override;
  bool Write(const qint16* frames, long count, quint64 generation) override;
  void Mark(quint64 tag, quint64 generation) override;
  void EndOfStream(quint64 generation) override;
  void SetPaused(bool paused) override;
  void Reset(quint64 newGeneration) override;
  HRESULT WriteError() const override;
  QString ErrorText() const override;

 private:
  HRESULT OpenFile();
  HRESULT CloseFile();
  bool WriteHeader(quint32 dataBytes);
  // Keeps the first failure and its cause in words; later ones follow from it.
  void Fail(const QString& failed, int errnum);
  // Leaves the cause of a failed result for the caller's message.
  HRESULT Reported(HRESULT hr) const;

  mutable std::mutex FLock;
  QString FFileName;
  std::FILE* FFile = nullptr;
  TPcmFormat FFormat;
  bool FClaimed = false;
  TListener FListener;
  quint64 FGeneration = 0;
  quint64 FDataBytes = 0;
  bool FStarted = false;
  HRESULT FError = S_OK;
  QString FCause;
  QString FReason;
};
