#include "DesktopShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QRegularExpression>

#include "BaseUtils.h"

QUrl ShellTargetUrl(const QString& target) {
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  if (scheme.match(target).hasMatch()) {
    return QUrl(target, QUrl::TolerantMode);
  }
  return QUrl::fromLocalFile(QDir::cleanPath(target));
}

void InstallDesktopShellHandler() {
  UtilsClass::SetShellHandler([](const QString& target) {
    const QUrl url = ShellTargetUrl(target);
    UtilsClass::Trace(QStringLiteral("Opening ") + url.toString());
    return url.isValid() && QDesktopServices::openUrl(url);
  });
}
