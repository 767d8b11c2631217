#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "RegistryTypes.h"

class TRegKeyNode;

// What loading or saving a registry file found wrong. The store never shows or
// traces anything itself (it sits below the trace layer); it hands these to the
// problem handler its owner installed.
struct TRegistryProblem {
  // pkSaveRecovered: a save succeeded after one had failed.
  enum TKind { pkDamagedFile, pkUnreadableFile, pkSaveFailed, pkSaveRecovered };
  TKind Kind = pkDamagedFile;
  QString FilePath;    // the registry file
  QString KeptAsPath;  // where the damaged file was moved (empty if it could not be)
  int BadLines = 0;    // lines that could not be used
  QString Detail;      // first problem, or the save error
  QString Reason;      // of a failed save: only why, in the system's words
};

// A hierarchical store of keys and typed values for one registry root. Key and
// value names are compared ignoring letter case and keep the case they were
// created with; values and subkeys enumerate in creation order.
//
// With a file bound, every change is written to it atomically (temporary file,
// fsync, rename) unless a batch is open, in which case the file is written once
// when the outermost batch ends. Paths are backslash-separated key names below
// the root, without a leading backslash; "" is the root itself.
class TRegistryStore final {
 public:
  using TProblemHandler = std::function<void(const TRegistryProblem&)>;

  TRegistryStore();
  ~TRegistryStore();
  TRegistryStore(const TRegistryStore&) = delete;
  TRegistryStore& operator=(const TRegistryStore&) = delete;

  // Name of the root as it appears in the file, e.g. "HKEY_CURRENT_USER".
  void SetRootName(const QString& name) { FRootName = name; }
  QString RootName() const { return FRootName; }

  // Forgets everything, then loads path (a missing file is an empty store) and
  // writes every later change back to it. A damaged or unreadable file is moved
  // aside and reported; every value that parsed is kept and written back at once.
  // An empty path makes the store memory-only.
  void BindFile(const QString& path);
  QString FilePath() const { return FFilePath; }
  void SetProblemHandler(TProblemHandler handler) { FProblemHandler = std::move(handler); }

  bool KeyExists(const QString& path) const;
  // Creates every missing key on the way; false for an invalid path.
  bool CreateKey(const QString& path);
  // Deletes a key and everything below it.
  bool DeleteKey(const QString& path);
  QStringList SubKeyNames(const QString& path) const;

  std::optional<TRegValue> Value(const QString& path, const QString& name) const;
  // False when the key does not exist.
  bool SetValue(const QString& path, const QString& name, const TRegValue& value);
  // False when the key or the value does not exist.
  bool DeleteValue(const QString& path, const QString& name);
  // Value names in creation order; empty for a missing key.
  QStringList ValueNames(const QString& path) const;

  // Batching: changes made while a batch is open are written once at its end.
  void BeginBatch() { ++FBatchDepth; }
  bool EndBatch();
  // Writes the file now when anything changed since the last write.
  bool Flush();
  // How many times the file has been written since it was bound (for tests and benchmarks).
  int FileWrites() const { return FFileWrites; }

  // The whole store in the registry text format, and back. Parse keeps every
  // line it understands and reports the rest through badLines / firstProblem.
  QByteArray Serialize() const;
  void Parse(const QByteArray& text, int* badLines = nullptr, QString* firstProblem = nullptr);
  void Clear();

 private:
  TRegKeyNode* Find(const QString& path) const;
  bool CreateKeyQuietly(const QString& path);
  void Changed();
  void Report(const TRegistryProblem& problem) const;

  std::unique_ptr<TRegKeyNode> FRoot;
  QString FRootName = QStringLiteral("HKEY_CURRENT_USER");
  QString FFilePath;
  TProblemHandler FProblemHandler;
  int FBatchDepth = 0;
  int FFileWrites = 0;
  bool FDirty = false;
  bool FSaveFailing = false;
  bool FPersist = false;  // off when the bound file could neither be read nor moved aside
};

// Opens a batch on a store for its lifetime.
class TRegistryBatch final {
 public:
  explicit TRegistryBatch(TRegistryStore& store) : FStore(store) { FStore.BeginBatch(); }
  ~TRegistryBatch() { FStore.EndBatch(); }
  TRegistryBatch(const TRegistryBatch&) = delete;
  TRegistryBatch& operator=(const TRegistryBatch&) = delete;

 private:
  TRegistryStore& FStore;
};

// The one store of each root. Only HKEY_CURRENT_USER is ever bound to a file
// (by the settings layer); the other roots live in memory. Returns nullptr for
// a value that is not a root.
TRegistryStore* RegistryRootStore(HKEY root);
QString RegistryRootName(HKEY root);
