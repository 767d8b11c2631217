#pragma once

#include <QString>
#include <memory>

#include "WaveFormat.h"

class QFile;
class QIODevice;

// Reads a RIFF WAVE file: its format and the contents of its "data" chunk, in
// pieces. Chunks may come in any order and unknown ones are skipped. A file
// that is not a wave file, whose sizes point past its end or that ends early
// raises EWaveError with a text for the user; nothing is ever read past the
// sample data.
class TWaveFileReader final {
 public:
  TWaveFileReader();
  ~TWaveFileReader();
  TWaveFileReader(const TWaveFileReader&) = delete;
  TWaveFileReader& operator=(const TWaveFileReader&) = delete;

  // Opens a file by name and reads its header. Throws EWaveError.
  void Open(const QString& path);
  // Reads from an open device (not owned) instead; name appears in messages.
  void Open(QIODevice* device, const QString& name);

  const TWaveFormat& Format() const { return FFormat; }
  // Size in bytes of the sample data.
  qint64 DataSize() const { return FDataSize; }
  // Sample bytes not read yet.
  qint64 Remaining() const { return FDataSize - FDataRead; }

  // Reads up to maxBytes of sample data and returns how many were read (0 at
  // the end of the data). Throws EWaveError when the file gives fewer bytes
  // than it promised.
  qint64 Read(char* buffer, qint64 maxBytes);

 private:
  void ReadHeader();
  void ParseFormat(const QByteArray& body);
  [[noreturn]] void Fail(const QString& text) const;

  std::unique_ptr<QFile> FFile;
  QIODevice* FDevice = nullptr;
  QString FName;
  TWaveFormat FFormat;
  qint64 FDataOffset = 0;
  qint64 FDataSize = 0;
  qint64 FDataRead = 0;
};
