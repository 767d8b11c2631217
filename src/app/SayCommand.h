#pragma once

#include <QStringList>

// `verbalune --say TEXT [--to-wav FILE]`: speaks TEXT with the engine's default
// voice on the default device, or writes the speech into FILE, without any
// window. Returns the exit status; failures are reported through the message
// seam (stderr on the command line).
int RunSayCommand(const QStringList& arguments);
// Whether the arguments ask for it.
bool IsSayCommand(const QStringList& arguments);
