// The main window as the core's ports: the hooks the core calls on it (title, menu
// marks and captions, status texts, posted commands) and the questions it asks through
// it (file dialogs, the save prompt, the wait cursor).
#include <QAction>
#include <QApplication>

#include "app/window/dialogs/dialog_text.h"
#include "app/window/file_dialogs.h"
#include "app/window/main_window.h"
#include "view/editor_view.h"

namespace quillex {

void MainWindow::setWindowTitle(std::string_view title) {
    QMainWindow::setWindowTitle(qtText(title));
}

void MainWindow::setMenuCheck(CommandId command, bool checked) {
    if (QAction* item = action(command))
        item->setChecked(checked);
}

void MainWindow::setStatusText(int slot, std::string_view text) {
    // The player reports a missing audio device while the editor is being made,
    // before the view exists; the text waits for it.
    if (!view_) {
        earlyStatusTexts_.emplace_back(slot, std::string(text));
        return;
    }
    view_->status().setSlot(slot, text);
}

void MainWindow::startSaveNotice(SaveNotice notice) {
    view_->status().startSaveNotice(notice);
}

void MainWindow::setPositionBar(int length, bool enabled) {
    view_->positionBar().setRange(0, length);
    view_->positionBar().setEnabled(enabled);
}

void MainWindow::setMenuItem(CommandId command, std::string_view caption, bool enabled) {
    if (QAction* item = action(command)) {
        ownerEnabled_.insert(toInt(command));
        item->setText(qtText(caption));
        item->setEnabled(enabled);
    }
}

void MainWindow::postCommand(CommandId command) {
    QMetaObject::invokeMethod(
        this, [this, command] { shell_->dispatcher.dispatch(command); }, Qt::QueuedConnection);
}

std::optional<std::string> MainWindow::askOpenPath() {
    return runOpenDialog(this);
}

std::optional<std::string> MainWindow::askMusicFile(const std::string& folder) {
    return runMusicOpenDialog(this, folder);
}

std::optional<SaveTarget> MainWindow::askSavePath(const SaveTarget& start) {
    return runSaveAsDialog(this, start);
}

SavePromptAnswer MainWindow::askToSaveChanges(const std::string& songName) {
    if (isMinimized())
        showNormal();
    return runSavePrompt(this, songName);
}

void MainWindow::setWaitCursor(bool waiting) {
    if (waiting)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace quillex
