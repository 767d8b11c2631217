#pragma once

#include <QString>
#include <QStringList>

// Start at login as a value of the "Run key": on Linux an XDG autostart entry
// $XDG_CONFIG_HOME/autostart/<value name in lower case>.desktop whose Exec
// line is the program and its arguments.

// The autostart folder: $XDG_CONFIG_HOME/autostart, ~/.config/autostart when
// the variable is unset or not absolute, or the folder set by SetAutostartDir.
QString AutostartDir();
// An empty dir goes back to the environment's folder.
void SetAutostartDir(const QString& dir);
// The entry file behind a value name ("Verbalune" -> .../verbalune.desktop).
QString RunKeyFileName(const QString& valueName);

// Writes the entry (enable) or removes it. The file is replaced atomically and
// only when its content changes; the autostart folder is made when missing.
// Failures are not the caller's concern (the check box shows the entry's
// presence next time); the result says whether the entry now is as asked.
bool SetRunKeyValue(const QString& valueName, const QString& program, const QStringList& arguments,
                    bool enable);
// True when the entry exists and the desktop has not been told to skip it
// (Hidden=true or X-GNOME-Autostart-enabled=false count as absent).
bool RunKeyValueExists(const QString& valueName);
// The program and arguments of the entry's Exec line; empty when there is none.
QStringList RunKeyValueCommand(const QString& valueName);
