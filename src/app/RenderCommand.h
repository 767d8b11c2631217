#pragma once

#include <QStringList>

// verbalune --render [options] FILE...: reads text files to WAV or MP3 files
// through the reading run, without a window.
bool IsRenderCommand(const QStringList& arguments);
// Runs it; argc and argv are the program's. Returns the exit status.
int RunRenderCommand(int& argc, char** argv);
