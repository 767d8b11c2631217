#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <memory>

// Points every per-user folder of the program at a fresh temporary folder for
// the whole test binary, so no test touches the real home folder.
class TTestEnvironment : public ::testing::Environment {
 public:
  void SetUp() override;
  void TearDown() override;
};

// A fixture base giving each test its own data and config folders.
class TTempFolders {
 public:
  TTempFolders();
  ~TTempFolders();
  QString DataDir() const;
  QString ConfigDir() const;
  QString Path(const QString& name) const;  // inside the data folder

 private:
  std::unique_ptr<QTemporaryDir> FRoot;
};

// Folder of the checked-in test fixtures (tests/data).
QString TestDataDir();
// Reads a whole file; empty on failure.
QByteArray ReadWholeFile(const QString& path);
// Writes a whole file; true on success.
bool WriteWholeFile(const QString& path, const QByteArray& data);
