#include "AppIcons.h"

#include <QFileInfo>
#include <QHash>

#include "AppPaths.h"

namespace {

// Theme names from the freedesktop icon naming scheme.
QString ThemeName(const QString& name) {
  static const QHash<QString, QString> names = {
      {QStringLiteral("textfile"), QStringLiteral("document-open")},
      {QStringLiteral("paste"), QStringLiteral("edit-paste")},
      {QStringLiteral("aloud"), QStringLiteral("media-playback-start")},
      {QStringLiteral("pause"), QStringLiteral("media-playback-pause")},
      {QStringLiteral("skip"), QStringLiteral("media-skip-forward")},
      {QStringLiteral("stop"), QStringLiteral("media-playback-stop")},
  };
  return names.value(name);
}

}  // namespace

QString AppIconFile(const QString& name) {
  return AppPaths::SharedFile(QStringLiteral("icons/") + name + QStringLiteral(".png"));
}

QIcon AppIcon(const QString& name) {
  const QString file = AppIconFile(name);
  const QIcon shipped = QFileInfo(file).isFile() ? QIcon(file) : QIcon();
  const QString theme = ThemeName(name);
  return theme.isEmpty() ? shipped : QIcon::fromTheme(theme, shipped);
}
