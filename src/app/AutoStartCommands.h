#pragma once

// Start at login for this program: the value "Verbalune", the program's path
// with "-auto", so a login start goes straight to the notification area.

// What the Misc tab's "Start Verbalune at Login" does when clicked.
void AutoStartAppCBClick(bool checked);
// Whether the check box shows checked when the Misc tab is shown.
bool AutoStartAppEnabled();
// At every start: an existing entry is written again with the current program
// path, so a moved program still starts at login.
void RefreshAutoStartEntry();
