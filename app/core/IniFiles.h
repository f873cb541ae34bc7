#pragma once
// path.ini and Exp.ini: one-line text files beside the executable that remember
// the paths of the main and the exchange database file.
#include <QString>
#include <optional>

namespace IniFiles
{

// The folder that holds both files: the executable's folder, unless a test has
// pointed it elsewhere with setFolder().
QString folder();
// Tests only; an empty text returns to the executable's folder.
void setFolder(const QString& dir);

QString mainIni();     // <folder>/path.ini
QString exchangeIni(); // <folder>/Exp.ini

// The first line of a file, up to its line end (CR LF or LF), not trimmed;
// nothing when the file is missing or cannot be read.
std::optional<QString> readFirstLine(const QString& file);

// Replaces the file by one line ended by CR LF. Throws DbError when it cannot be written.
void writeLine(const QString& file, const QString& line);

} // namespace IniFiles
