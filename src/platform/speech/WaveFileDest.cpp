#include "WaveFileDest.h"

#include <sys/stat.h>

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "ErrorCause.h"

namespace {
constexpr quint32 kHeaderBytes = 44;
// The RIFF sizes are 32-bit; stop before they would wrap.
constexpr quint64 kMaxDataBytes = 0xFFFFFFFFull - kHeaderBytes;
}  // namespace

TWaveFileDest::~TWaveFileDest() {
  std::lock_guard lock(FLock);
  CloseFile();
}

HRESULT TWaveFileDest::Set(const QString& fileName, quint32 flags) {
  Q_UNUSED(flags);
  std::lock_guard lock(FLock);
  const HRESULT previous = CloseFile();
  const QString previousCause = FCause;
  FFileName = fileName;
  const HRESULT hr = OpenFile();
  if (Failed(previous)) {
    SetErrorInfo(previous, previousCause);
    return previous;
  }
  return Reported(hr);
}

void TWaveFileDest::Fail(const QString& failed, int errnum) {
  if (FError == S_OK) {
    FError = TTSERR_DISKERROR;
    FCause = FileFailureText(failed, FFileName, errnum);
    FReason = errnum != 0 ? SystemReasonText(errnum) : QString();
  }
}

HRESULT TWaveFileDest::Reported(HRESULT hr) const {
  if (Failed(hr)) {
    SetErrorInfo(hr, FCause);
  }
  return hr;
}

HRESULT TWaveFileDest::OpenFile() {
  FDataBytes = 0;
  FError = S_OK;
  FCause.clear();
  FReason.clear();
  FStarted = false;
  if (FFileName.isEmpty()) {
    return E_INVALIDARG;
  }
  FFile = std::fopen(QFile::encodeName(FFileName).constData(), "wb");
  if (FFile == nullptr) {
    Fail(QStringLiteral("Cannot create file"), errno);
    return FError;
  }
  std::setvbuf(FFile, nullptr, _IOFBF, 1 << 16);
  // Room for the header; its sizes are written when the file is complete.
  if (!WriteHeader(0)) {
    Fail(QStringLiteral("Cannot write file"), errno);
    std::fclose(FFile);
    FFile = nullptr;
    return FError;
  }
  return S_OK;
}

bool TWaveFileDest::WriteHeader(quint32 dataBytes) {
  const int channels = std::max(1, FFormat.Channels);
  const auto rate = static_cast<quint32>(FFormat.SampleRate);
  unsigned char h[kHeaderBytes];
  auto put32 = [&](int at, quint32 v) { qToLittleEndian<quint32>(v, h + at); };
  auto put16 = [&](int at, quint16 v) { qToLittleEndian<quint16>(v, h + at); };
  std::memcpy(h, "RIFF", 4);
  put32(4, 36 + dataBytes);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  put32(16, 16);
  put16(20, 1);  // PCM
  put16(22, static_cast<quint16>(channels));
  put32(24, rate);
  put32(28, rate * static_cast<quint32>(channels) * 2);
  put16(32, static_cast<quint16>(channels * 2));
  put16(34, 16);
  std::memcpy(h + 36, "data", 4);
  put32(40, dataBytes);
  return std::fseek(FFile, 0, SEEK_SET) == 0 && std::fwrite(h, 1, sizeof h, FFile) == sizeof h;
}

HRESULT TWaveFileDest::CloseFile() {
  if (FFile == nullptr) {
    return S_OK;
  }
  // What stdio still buffers may not fit on the disk either; the header
  // counts only the sample bytes the file really holds.
  if (std::fflush(FFile) != 0) {
    Fail(QStringLiteral("Cannot write file"), errno);
  }
  quint64 dataBytes = FDataBytes;
  struct stat held {};
  if (::fstat(fileno(FFile), &held) != 0) {
    Fail(QStringLiteral("Cannot complete file"), errno);
    dataBytes = 0;
  } else {
    const quint64 onDisk =
        static_cast<quint64>(std::max<off_t>(0, held.st_size - static_cast<off_t>(kHeaderBytes)));
    const quint64 frameBytes = static_cast<quint64>(std::max(1, FFormat.Channels)) * 2;
    dataBytes = std::min(dataBytes, onDisk - onDisk % frameBytes);
  }
  // No fsync: an audio file can be made again, and forcing hundreds of
  // megabytes to disk would double the time of a long rendering.
  if (!WriteHeader(static_cast<quint32>(dataBytes)) || std::fflush(FFile) != 0) {
    Fail(QStringLiteral("Cannot complete file"), errno);
  }
  // A file whose folder was removed while it was written is gone with it.
  struct stat named {};
  if (::stat(QFile::encodeName(FFileName).constData(), &named) != 0) {
    Fail(QStringLiteral("Cannot complete file"), errno);
  } else if (named.st_ino != held.st_ino || named.st_dev != held.st_dev) {
    Fail(QStringLiteral("Cannot complete file"), ENOENT);
  }
  if (std::fclose(FFile) != 0) {
    Fail(QStringLiteral("Cannot complete file"), errno);
  }
  FFile = nullptr;
  return FError;
}

HRESULT TWaveFileDest::Flush() {
  std::lock_guard lock(FLock);
  if (FFile == nullptr) {
    return Reported(FError);
  }
  return Reported(CloseFile());
}

HRESULT TWaveFileDest::Claim(const TPcmFormat& format, TListener listener) {
  std::lock_guard lock(FLock);
  FFormat = format;
  FListener = std::move(listener);
  FClaimed = true;
  if (FFile == nullptr) {
    Fail(QStringLiteral("Cannot write file"), 0);
  }
  return FFile != nullptr ? S_OK : Reported(FError);
}

void TWaveFileDest::Unclaim() {
  std::lock_guard lock(FLock);
  FClaimed = false;
  FListener = nullptr;
}

bool TWaveFileDest::Write(const qint16* frames, long count, quint64 generation) {
  std::unique_lock lock(FLock);
  if (!FClaimed || generation != FGeneration) {
    return false;
  }
  if (FFile == nullptr || FError != S_OK) {
    Fail(QStringLiteral("Cannot write file"), 0);
    return false;
  }
  const auto bytes = static_cast<quint64>(count) * std::max(1, FFormat.Channels) * 2;
  if (FDataBytes + bytes > kMaxDataBytes) {
    // A wave file cannot describe more than 4 GB of sound.
    Fail(QStringLiteral("Cannot write file"), EFBIG);
    return false;
  }
  if (std::fwrite(frames, 1, bytes, FFile) != bytes) {
    Fail(QStringLiteral("Cannot write file"), errno);
    return false;
  }
  FDataBytes += bytes;
  if (!FStarted) {
    FStarted = true;
    TListener listener = FListener;
    lock.unlock();
    listener(TEventKind::Started, generation, 0);
  }
  return true;
}

void TWaveFileDest::Mark(quint64 tag, quint64 generation) {
  std::unique_lock lock(FLock);
  if (!FClaimed || generation != FGeneration) {
    return;
  }
  TListener listener = FListener;
  lock.unlock();
  listener(TEventKind::Mark, generation, tag);
}

void TWaveFileDest::EndOfStream(quint64 generation) {
  std::unique_lock lock(FLock);
  if (!FClaimed || generation != FGeneration) {
    return;
  }
  FStarted = false;
  TListener listener = FListener;
  lock.unlock();
  listener(TEventKind::Drained, generation, 0);
}

void TWaveFileDest::SetPaused(bool paused) {
  Q_UNUSED(paused);  // a file is written as fast as the engine speaks
}

void TWaveFileDest::Reset(quint64 newGeneration) {
  std::lock_guard lock(FLock);
  FGeneration = newGeneration;
  FStarted = false;
}

HRESULT TWaveFileDest::WriteError() const {
  std::lock_guard lock(FLock);
  return FError;
}

QString TWaveFileDest::ErrorText() const {
  std::lock_guard lock(FLock);
  return FReason;
}
