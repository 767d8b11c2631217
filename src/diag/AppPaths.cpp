#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString& ShareOverride() {
  static QString dir;
  return dir;
}
QString& DataOverride() {
  static QString dir;
  return dir;
}
QString& ConfigOverride() {
  static QString dir;
  return dir;
}

QString FromEnvironment(const char* name) {
  return QDir::cleanPath(qEnvironmentVariable(name));
}

// Creates the folder on first use; a failure shows up later as a failed write.
QString Ensured(const QString& dir) {
  QDir().mkpath(dir);
  return dir;
}

QString ProgramDir() {
  if (QCoreApplication::instance() != nullptr) {
    return QCoreApplication::applicationDirPath();
  }
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

}  // namespace

QString AppPaths::ShareDir() {
  if (!ShareOverride().isEmpty()) {
    return ShareOverride();
  }
  if (qEnvironmentVariableIsSet("VERBALUNE_SHARE_DIR")) {
    return FromEnvironment("VERBALUNE_SHARE_DIR");
  }
  // The build tree mirrors the installed layout: bin/ beside share/verbalune/.
  const QString besideProgram =
      QDir::cleanPath(ProgramDir() + QStringLiteral("/../share/verbalune"));
  if (QFileInfo(besideProgram).isDir()) {
    return besideProgram;
  }
  const QString installed =
      QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("verbalune"),
                             QStandardPaths::LocateDirectory);
  return installed.isEmpty() ? besideProgram : installed;
}

QString AppPaths::DataDir() {
  return Ensured(DataDirPath());
}

QString AppPaths::DataDirPath() {
  if (!DataOverride().isEmpty()) {
    return DataOverride();
  }
  if (qEnvironmentVariableIsSet("VERBALUNE_DATA_DIR")) {
    return FromEnvironment("VERBALUNE_DATA_DIR");
  }
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/verbalune");
}

QString AppPaths::ConfigDir() {
  return Ensured(ConfigDirPath());
}

QString AppPaths::ConfigDirPath() {
  if (!ConfigOverride().isEmpty()) {
    return ConfigOverride();
  }
  if (qEnvironmentVariableIsSet("VERBALUNE_CONFIG_DIR")) {
    return FromEnvironment("VERBALUNE_CONFIG_DIR");
  }
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/verbalune");
}

QString AppPaths::SharedFile(const QString& name) {
  return ShareDir() + u'/' + name;
}

QString AppPaths::DataFile(const QString& name) {
  return DataDir() + u'/' + name;
}

QString AppPaths::TraceBaseName() {
  return DataDir() + QStringLiteral("/verbalune");
}

QString AppPaths::ProgramFileName() {
  return QFileInfo(ProgramPath()).fileName();
}

QString AppPaths::ProgramPath() {
  if (QCoreApplication::instance() != nullptr) {
    return QCoreApplication::applicationFilePath();
  }
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

void AppPaths::SetShareDir(const QString& dir) {
  ShareOverride() = dir;
}
void AppPaths::SetDataDir(const QString& dir) {
  DataOverride() = dir;
}
void AppPaths::SetConfigDir(const QString& dir) {
  ConfigOverride() = dir;
}

void AppPaths::Reset() {
  ShareOverride().clear();
  DataOverride().clear();
  ConfigOverride().clear();
}
