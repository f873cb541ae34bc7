#pragma once
// The shell's "open" for a file: hands it to the desktop's program for its type.
#include <QString>

// Starts the desktop's program for the file, in the working folder when one is
// given. False when the desktop has no program for the file's type or nothing
// could be started; the file is then left alone.
bool openWithDesktop(const QString& file, const QString& workingDir = {});
