#pragma once

#include <QStringList>

class QTextStream;

// `verbalune --list-voices`: prints the name of every voice the speech
// controller offers, one a line in list order (the names --voice accepts),
// without any window. Returns the exit status; failures are reported through
// the message seam (stderr on the command line).
int RunListVoicesCommand(QTextStream& out);
// Whether the arguments ask for it.
bool IsListVoicesCommand(const QStringList& arguments);
