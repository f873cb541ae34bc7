#pragma once
// Test programs never touch the real user's folders: the configuration folder
// (XDG_CONFIG_HOME, where an installed program keeps path.ini and Exp.ini) and
// the documents folder (where exported workbooks go) are redirected into a
// temporary folder for the whole run. Call before the application object exists.
#include <QString>

void useTemporaryUserFolders();
// The temporary documents folder of this run.
QString testDocumentsFolder();
