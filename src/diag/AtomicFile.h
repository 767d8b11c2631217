#pragma once

#include <QByteArray>
#include <QString>

#include "ScratchFile.h"

// Writes a file the user depends on so that a crash, a kill or a full disk at
// any moment leaves either the old file or the complete new one: the data goes
// to a temporary file in the same folder, is flushed to disk, and only then
// renamed over the target (and the folder entry flushed too).
class TAtomicFileWriter final {
 public:
  // Where the data waits for the rename. Files in the user's own folders
  // (audio output) wait in a hidden working file that a later run sweeps away
  // if this one is killed; private files keep a name beside their target.
  enum class TTemporary { BesideTarget, WorkingFile };

  // permissions: mode of the new file (e.g. 0600 for private settings).
  explicit TAtomicFileWriter(QString path, int permissions = 0644,
                             TTemporary temporary = TTemporary::BesideTarget);
  ~TAtomicFileWriter();  // discards the temporary file unless committed
  TAtomicFileWriter(const TAtomicFileWriter&) = delete;
  TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

  bool Open();
  bool Write(const char* data, qint64 size);
  bool Write(const QByteArray& data) { return Write(data.constData(), data.size()); }
  // Flushes, syncs and renames. False (with ErrorString) leaves the target as it was.
  bool Commit();
  void Discard();
  QString ErrorString() const { return FError; }
  // Only the system's reason for the failure, e.g. "No space left on device".
  QString ErrorReason() const { return FReason; }
  QString TempPath() const { return FTempPath; }

 private:
  bool Fail(const QString& what);

  QString FPath;
  QString FTempPath;
  QString FError;
  QString FReason;
  int FPermissions;
  TTemporary FTemporary;
  TScratchFile FWorkingFile;
  int FFd = -1;
};

// Convenience: the whole content at once. Returns false and leaves the target
// untouched on any failure; error receives the reason when given.
bool WriteFileAtomically(const QString& path, const QByteArray& data, int permissions = 0644,
                         QString* error = nullptr);
