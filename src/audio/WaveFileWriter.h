#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "AudioTags.h"
#include "WaveFormat.h"

class QFile;

// Writes a RIFF WAVE file: a "fmt " chunk holding an 18-byte WAVEFORMATEX and
// a "data" chunk. Create, Write the sample bytes, then Finish, which fills in
// the sizes. Every call reports failure by returning false, with the reason in
// ErrorString; a writer destroyed before Finish leaves an incomplete file.
class TWaveFileWriter final {
 public:
  // Sample bytes are gathered up to this size before they go to the file.
  static constexpr qint64 kBufferSize = 16384;

  TWaveFileWriter();
  ~TWaveFileWriter();
  TWaveFileWriter(const TWaveFileWriter&) = delete;
  TWaveFileWriter& operator=(const TWaveFileWriter&) = delete;

  // Creates (or truncates) the file and writes a header with empty sizes.
  bool Create(const QString& path, const TWaveFormat& format);
  bool Write(const char* data, qint64 size);
  bool Write(const QByteArray& data) { return Write(data.constData(), data.size()); }
  // Writes what is buffered, completes the header and closes the file.
  bool Finish();

  qint64 DataSize() const { return FDataSize; }
  QString ErrorString() const { return FError; }

 private:
  bool Flush();
  bool PutAt(qint64 offset, quint32 value);
  bool Fail(const QString& what);

  std::unique_ptr<QFile> FFile;
  QByteArray FBuffer;
  qint64 FDataSize = 0;
  QString FError;
};

// Adds a LIST/INFO chunk with the tags to the end of a finished wave file and
// counts it in the RIFF size. On failure the file is put back as it was.
bool AppendWaveInfo(const QString& path, const TAudioTags& tags, QString* error = nullptr);
