#include "RunKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "DesktopEntry.h"

namespace {

QString& AutostartDirOverride() {
  static QString dir;
  return dir;
}

QByteArray ReadEntry(const QString& path) {
  QFile file(path);
  // An autostart entry is a few hundred bytes; anything huge is not ours.
  if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024) {
    return {};
  }
  return file.readAll();
}

QByteArray EntryText(const QString& valueName, const QString& program,
                     const QStringList& arguments) {
  QString text;
  text += u"[Desktop Entry]\n";
  text += u"Type=Application\n";
  text += QStringLiteral("Name=") + valueName + u'\n';
  text += QStringLiteral("Exec=") + DesktopExecLine(program, arguments) + u'\n';
  text += u"Icon=verbalune\n";
  text += u"Terminal=false\n";
  text += u"X-GNOME-Autostart-enabled=true\n";
  return text.toUtf8();
}

bool WriteEntry(const QString& path, const QByteArray& data) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
    return false;
  }
  // QSaveFile writes a temporary file, flushes it to disk and renames it over
  // the entry, so a crash never leaves the desktop half an entry to start.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    return false;
  }
  if (file.write(data) != data.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace

QString AutostartDir() {
  if (!AutostartDirOverride().isEmpty()) {
    return AutostartDirOverride();
  }
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) {
    base = QDir::homePath() + QStringLiteral("/.config");
  }
  return base + QStringLiteral("/autostart");
}

void SetAutostartDir(const QString& dir) {
  AutostartDirOverride() = dir;
}

QString RunKeyFileName(const QString& valueName) {
  QString name = valueName.toLower();
  // The value name becomes a file name: no folder may be smuggled in.
  name.replace(u'/', u'_');
  if (name.isEmpty() || name == u"." || name == u"..") {
    name.prepend(u'_');
  }
  return AutostartDir() + u'/' + name + QStringLiteral(".desktop");
}

bool SetRunKeyValue(const QString& valueName, const QString& program, const QStringList& arguments,
                    bool enable) {
  const QString path = RunKeyFileName(valueName);
  if (!enable) {
    return !QFileInfo::exists(path) || QFile::remove(path);
  }
  const QByteArray wanted = EntryText(valueName, program, arguments);
  if (ReadEntry(path) == wanted) {
    return true;
  }
  return WriteEntry(path, wanted);
}

bool RunKeyValueExists(const QString& valueName) {
  const QByteArray text = ReadEntry(RunKeyFileName(valueName));
  const TDesktopEntryKeys keys = ParseDesktopEntry(text);
  if (!keys.HasGroup) {
    return false;
  }
  return keys.Value(QStringLiteral("Hidden")) != u"true" &&
         keys.Value(QStringLiteral("X-GNOME-Autostart-enabled")) != u"false";
}

QStringList RunKeyValueCommand(const QString& valueName) {
  const TDesktopEntryKeys keys = ParseDesktopEntry(ReadEntry(RunKeyFileName(valueName)));
  return ParseDesktopExecLine(keys.Value(QStringLiteral("Exec"))).value_or(QStringList());
}
