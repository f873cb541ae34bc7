#pragma once
// Splitting the "column;caption" lines a caller offers to the condition builder
// into the column names and the captions shown to the operator.
#include <QStringList>

// Adds the text before the first ";" of each line to target. Stops with false at
// the first line that has no ";" or begins with it (earlier lines stay added).
bool SplitNames(const QStringList& lines, QStringList& target);

// Adds the text after the first ";" of each line (the whole line when it has no
// ";") to target. Stops with false at the first line where nothing follows the
// ";", which includes an empty line.
bool SplitCaptions(const QStringList& lines, QStringList& target);
