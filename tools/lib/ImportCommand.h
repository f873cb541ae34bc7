#pragma once
// halvorra-db import: listings or customers from a spreadsheet, for a scripted
// migration. Prints what it does with each row and the counts; returns the exit code.
#include <QStringList>

namespace ImportCommand
{

// `args` are the words after "import".
int run(const QStringList& args);
const char* usage();

} // namespace ImportCommand
