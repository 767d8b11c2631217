#pragma once

#include <QString>
#include <QUrl>

// The desktop hand-off of links, documents and mail: QDesktopServices, with no
// shell in between, so nothing needs quoting.

// What a shell target becomes: an address with a scheme stays an address (a
// mailto: link keeps its blanks as text); anything else is a local file.
QUrl ShellTargetUrl(const QString& target);

// Installs the hand-off as UtilsClass's shell handler.
void InstallDesktopShellHandler();
