#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "AppPaths.h"

namespace {
std::unique_ptr<QTemporaryDir> gHome;
}

void TTestEnvironment::SetUp() {
  QStandardPaths::setTestModeEnabled(true);
  gHome = std::make_unique<QTemporaryDir>();
  const QString home = gHome->path();
  qputenv("HOME", home.toUtf8());
  qputenv("XDG_DATA_HOME", (home + QStringLiteral("/share")).toUtf8());
  qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/config")).toUtf8());
  AppPaths::SetDataDir(home + QStringLiteral("/data"));
  AppPaths::SetConfigDir(home + QStringLiteral("/config/verbalune"));
}

void TTestEnvironment::TearDown() {
  AppPaths::Reset();
  gHome.reset();
}

TTempFolders::TTempFolders() : FRoot(std::make_unique<QTemporaryDir>()) {
  QDir(FRoot->path()).mkpath(QStringLiteral("data"));
  QDir(FRoot->path()).mkpath(QStringLiteral("config"));
  AppPaths::SetDataDir(DataDir());
  AppPaths::SetConfigDir(ConfigDir());
}

TTempFolders::~TTempFolders() {
  AppPaths::SetDataDir(QString());
  AppPaths::SetConfigDir(QString());
}

QString TTempFolders::DataDir() const {
  return FRoot->path() + QStringLiteral("/data");
}
QString TTempFolders::ConfigDir() const {
  return FRoot->path() + QStringLiteral("/config");
}
QString TTempFolders::Path(const QString& name) const {
  return DataDir() + u'/' + name;
}

QString TestDataDir() {
  const QString dir = qEnvironmentVariable("VERBALUNE_TEST_DATA");
  return dir.isEmpty() ? QStringLiteral("tests/data") : dir;
}

QByteArray ReadWholeFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteWholeFile(const QString& path, const QByteArray& data) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}
