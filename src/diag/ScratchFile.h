#pragma once

#include <QString>

// A hidden working file beside the user's files: on the same file system, so
// it becomes one of them by a rename, and under a name made unique when it is
// created exclusively, so it can never be a file of the user's or of another
// run. It is locked while this object holds it and removed when the object
// goes; a program killed meanwhile leaves it unlocked, and
// RemoveStaleScratchFiles clears it away later.
class TScratchFile final {
 public:
  TScratchFile() = default;
  ~TScratchFile();
  TScratchFile(const TScratchFile&) = delete;
  TScratchFile& operator=(const TScratchFile&) = delete;

  // Creates directory/.verbalune-XXXXXX<suffix>. False with ErrorString.
  bool Create(const QString& directory, const QString& suffix);
  // Empty when none is held.
  QString Path() const { return FPath; }
  // Deletes the file (a file already gone is fine).
  void Remove();
  // Gives the file the name path, replacing a file of that name; it is then
  // the caller's and no longer removed.
  bool KeepAs(const QString& path);
  QString ErrorString() const { return FError; }
  // Only the system's reason for the last failure, e.g. "No space left on device".
  QString ErrorReason() const { return FReason; }

 private:
  void Release();
  bool Fail(const QString& what);

  QString FPath;
  QString FError;
  QString FReason;
  int FFd = -1;
};

// Removes the working files in directory that no living run holds (left by a
// run that was killed). Returns how many went.
int RemoveStaleScratchFiles(const QString& directory);
