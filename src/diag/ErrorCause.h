#pragma once

#include <QString>

// Words for a failure the system reported through errno, so a message can say
// what failed, where and why instead of only a code.

// The system's reason for an errno value ("Permission denied", "No space left
// on device", "File name too long"), in the user's language when the C
// library has it.
QString SystemReasonText(int errnum);

// One line for the end of a message: failed + " \"" + path + "\": " + reason,
// for example: Cannot create file "/home/ann/Files/News.wav": Permission denied.
// Without an errno (0) the reason is left out.
QString FileFailureText(const QString& failed, const QString& path, int errnum);
