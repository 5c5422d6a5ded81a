// The user's own folders for what the program writes, as the desktop's conventions
// place them (the XDG base directories on Linux): settings under the configuration
// folder, backups under the data folder, the recovery copy under the state folder.
#pragma once

#include <QString>

#include "app/shell/shell.h"

namespace quillex {

// `programFolder` is where the program and its read-me are installed.
ShellPaths userShellPaths(const QString& programFolder);

} // namespace quillex
