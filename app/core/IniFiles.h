#pragma once
// path.ini and Exp.ini: one-line text files that remember the paths of the main
// and the exchange database file. They lie beside the executable; an installed
// program, whose folder the user cannot write, keeps them in the user's
// configuration folder instead (same names, same format).
#include <QString>
#include <optional>

namespace IniFiles
{

// The executable's folder (documents and help lie there too), unless a test has
// pointed it elsewhere with setFolder().
QString folder();
// Tests only; an empty text returns to the executable's folder.
void setFolder(const QString& dir);

// The user's configuration folder (QStandardPaths::AppConfigLocation).
QString userFolder();

// Where a configuration file of this name is read and written: beside the
// executable when it is there or that folder can be written, otherwise in the
// user's configuration folder.
QString location(const QString& fileName);
QString mainIni();     // location("path.ini")
QString exchangeIni(); // location("Exp.ini")

// The first line of a file, up to its line end (CR LF or LF), not trimmed;
// nothing when the file is missing or cannot be read.
std::optional<QString> readFirstLine(const QString& file);

// Replaces the file by one line ended by CR LF; the user's configuration folder
// is made when it does not exist yet. Throws DbError when it cannot be written.
void writeLine(const QString& file, const QString& line);

} // namespace IniFiles
