// The main window's side of the shell: the menu bar built from the command table, the
// window's own state (minimised, active, moved, resized, closed), the hooks the core
// calls on it and the questions it asks through it (file dialogs, the save prompt),
// and the return of the keyboard to the editor when a dialog closes.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>

#include "app/commands/command_table.h"
#include "app/window/dialog_commands.h"
#include "app/window/file_dialogs.h"
#include "app/window/main_window.h"
#include "app/window/recent_menu.h"
#include "view/editor_view.h"
#include "view/paint/editor_widget.h"

namespace quillex {

namespace {

QString qstr(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

// ---------------------------------------------------------------- menus

void MainWindow::buildMenus() {
    QHash<QString, QMenu*> menus;
    std::function<QMenu*(const QString&)> menuFor = [&](const QString& path) -> QMenu* {
        if (QMenu* menu = menus.value(path))
            return menu;
        const qsizetype slash = path.lastIndexOf('/');
        QMenu* menu = slash < 0 ? menuBar()->addMenu(path)
                                : menuFor(path.left(slash))->addMenu(path.mid(slash + 1));
        menus.insert(path, menu);
        return menu;
    };
    for (const MenuEntry& entry : mainMenu()) {
        QMenu* menu = menuFor(qstr(entry.path));
        if (entry.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(qstr(entry.caption));
        const CommandId id = entry.id;
        if (entry.checkable()) {
            action->setCheckable(true);
            // The owner of each setting sets the marks; a click only runs the command.
            connect(action, &QAction::triggered, action,
                    [action](bool on) { action->setChecked(!on); });
        }
        connect(action, &QAction::triggered, this, [this, id] { shell_->dispatcher.dispatch(id); });
        actions_.insert(toInt(id), action);
    }
    recentMenu_ = new RecentMenu(action(CommandId::Open), *shell_);
    refreshEnabledCommands();
}

void MainWindow::refreshEnabledCommands() {
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it)
        if (!ownerEnabled_.contains(it.key()))
            it.value()->setEnabled(shell_->dispatcher.available(static_cast<CommandId>(it.key())));
}

// ---------------------------------------------------------------- window state

void MainWindow::updateSuspended() {
    shell_->state.suspended = minimised_ || blocked_;
    if (surface_)
        surface_->setSuspended(shell_->state.suspended.load());
}

void MainWindow::updateEditorScreenRect() {
    const QPoint topLeft = editorWidget_->mapToGlobal(QPoint(0, 0));
    shell_->state.editorScreenRect = {topLeft.x(), topLeft.y(),
                                      topLeft.x() + editorWidget_->width(),
                                      topLeft.y() + editorWidget_->height()};
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        const bool wasMaximised = shell_->state.maximised;
        minimised_ = isMinimized();
        updateSuspended();
        if (!minimised_) {
            shell_->state.maximised = isMaximized();
            if (isMaximized() || wasMaximised)
                layoutChanged();
        }
    } else if (event->type() == QEvent::ActivationChange) {
        shell_->state.active = isActiveWindow();
        if (!isActiveWindow())
            shell_->keysDown.releaseAll(); // the releases would go elsewhere
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::moveEvent(QMoveEvent* event) {
    updateEditorScreenRect();
    QMainWindow::moveEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    settleTimer_.start(); // a drag-resize is laid out once, when it settles
    QMainWindow::resizeEvent(event);
}

int MainWindow::windowHeight() const {
    return editorWidget_ ? editorWidget_->height() : 0;
}

WindowGeometry MainWindow::currentGeometry() const {
    return WindowGeometry{x(), y(), width(), height(), isMaximized()};
}

void MainWindow::closeEvent(QCloseEvent* event) {
    writeWindowGeometry(shell_->paths().window(), currentGeometry());
    if (editor_->store().modified() && isMinimized())
        showNormal();
    if (!shell_->dispatcher.confirmQuit()) {
        event->ignore();
        return;
    }
    closing_ = true;
    recovery_->discard(); // a normal end: the song was saved or its changes declined
    frameTimer_.stop();
    shell_->stopInputTimer();
    editor_->player().pause();
    event->accept();
    QCoreApplication::quit();
}

// ---------------------------------------------------------------- hooks

void MainWindow::setWindowTitle(std::string_view title) {
    QMainWindow::setWindowTitle(qstr(title));
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
        item->setText(qstr(caption));
        item->setEnabled(enabled);
    }
}

void MainWindow::postCommand(CommandId command) {
    QMetaObject::invokeMethod(
        this, [this, command] { shell_->dispatcher.dispatch(command); }, Qt::QueuedConnection);
}

// ---------------------------------------------------------------- dialogs

void MainWindow::setDialogsUnattended(bool on) {
    dialogCommands_->unattended = on;
    waveFilter_->unattended = on;
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

// The last dialog or message box over the window has closed: the window takes the
// keyboard back and the editor has it, so the column keys and every shortcut work at
// once, not after a click. Queued, because the box is still being hidden now; a box
// opened meanwhile (the Level Manager after a file dialog, say) keeps it instead.
void MainWindow::returnFocusToEditor() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (QApplication::activeModalWidget() || closing_)
                return;
            activateWindow();
            editorWidget_->setFocus(Qt::ActiveWindowFocusReason);
        },
        Qt::QueuedConnection);
}

void MainWindow::setWaitCursor(bool waiting) {
    if (waiting)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace quillex
