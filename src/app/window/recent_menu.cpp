#include "app/window/recent_menu.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "app/shell/shell.h"

namespace quillex {

namespace {

// "&3 Song.sm  (~/songs/Pack/Song)": the file's name first, its folder after, the
// home folder shortened; an '&' in a name is shown, not taken as a mnemonic.
QString entryText(int number, const std::string& path) {
    const QFileInfo file(QString::fromStdString(path));
    QString folder = QDir::toNativeSeparators(file.path());
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + '/'))
        folder = "~" + folder.mid(home.size());
    QString text = file.fileName() + "  (" + folder + ")";
    text.replace('&', "&&");
    return (number < 10 ? "&" + QString::number(number) : QString::number(number)) + " " + text;
}

} // namespace

RecentMenu::RecentMenu(QAction* openAction, Shell& shell)
    : QObject(openAction),
      menu_(new QMenu("Open &Recent", qobject_cast<QWidget*>(openAction->parent()))),
      shell_(shell) {
    auto* fileMenu = qobject_cast<QMenu*>(openAction->parent());
    const QList<QAction*> actions = fileMenu->actions();
    const qsizetype open = actions.indexOf(openAction);
    fileMenu->insertMenu(open + 1 < actions.size() ? actions.at(open + 1) : nullptr, menu_);
    connect(menu_, &QMenu::aboutToShow, this, &RecentMenu::fill);
    fill();
}

void RecentMenu::fill() {
    menu_->clear();
    const std::vector<std::string>& files = shell_.recentFiles.files();
    if (files.empty()) {
        menu_->addAction("(No recent files)")->setEnabled(false);
        return;
    }
    int number = 1;
    for (const std::string& path : files) {
        QAction* action = menu_->addAction(entryText(number++, path));
        action->setToolTip(QString::fromStdString(path));
        // Queued: the menu closes before the save-changes question or the file opens.
        connect(action, &QAction::triggered, this, [this, path] {
            QMetaObject::invokeMethod(
                this, [this, path] { shell_.openRecent(path); }, Qt::QueuedConnection);
        });
    }
}

} // namespace quillex
