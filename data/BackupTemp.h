#pragma once
// The temporary file a backup is written into before it gets its chosen name:
// beside the target (so that the rename cannot cross file systems), named after
// the target, the workstation and the process, e.g. "2003.mdb.pc1-4711.备份未完成".
#include <QString>

namespace BackupTemp
{

// The temporary name for a backup to `target` made by this process.
QString nameFor(const QString& target);

// Removes what interrupted backups to `target` left behind (the file and the
// engine's journal beside it): those of this workstation whose process has ended,
// and those of other workstations untouched for an hour (a backup still running
// writes on).
void removeLeftovers(const QString& target);

} // namespace BackupTemp
