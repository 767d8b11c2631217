#pragma once

#include <QIcon>
#include <QString>

// The program's icons: the desktop's icon theme when it has a fitting icon,
// else the 32x32 pictures shipped in the icons folder of the shared data.
QIcon AppIcon(const QString& name);
// The shipped file of an icon (shared data folder + "/icons/" + name + ".png").
QString AppIconFile(const QString& name);
