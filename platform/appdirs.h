#pragma once
// The program folder. The program's own files (the template tables, help,
// sounds) sit beside the executable; daybooks and the machine store sit there
// too unless that folder is not writable (an installed copy), in which case
// they go to the user's data folder.
#include <QString>

namespace appdirs {
// The folder of the executable, ending with '/'.
QString programDir();
// Where daybooks and the remembered user name live, ending with '/'.
QString dataDir();
// Tests put the program folder into a temporary directory.
void setForTesting(const QString& programDir, const QString& dataDir);
void resetForTesting();
}  // namespace appdirs
