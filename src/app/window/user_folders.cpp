#include "app/window/user_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace quillex {

namespace {

// Qt names no state folder before 6.7: $XDG_STATE_HOME, else ~/.local/state, as the
// base directory conventions say, with the program's own folder under it.
QString stateFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + "/.local/state";
    return base + "/" + QCoreApplication::applicationName();
}

} // namespace

ShellPaths userShellPaths(const QString& programFolder) {
    return ShellPaths{
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString(),
        stateFolder().toStdString(), programFolder.toStdString()};
}

} // namespace quillex
