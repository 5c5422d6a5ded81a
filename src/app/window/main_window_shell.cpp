// The main window's own side: the menu bar built from the command table and kept
// enabled as the commands allow, the window's own state (minimised, active, moved,
// resized, closed), and the return of the keyboard to the editor when a dialog closes.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>

#include "app/commands/command_table.h"
#include "app/window/dialog_commands.h"
#include "app/window/dialogs/dialog_text.h"
#include "app/window/file_dialogs.h"
#include "app/window/main_window.h"
#include "app/window/recent_menu.h"
#include "view/editor_view.h"
#include "view/paint/editor_widget.h"

namespace quillex {

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
        QMenu* menu = menuFor(qtText(entry.path));
        if (entry.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(qtText(entry.caption));
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

// ---------------------------------------------------------------- dialogs

void MainWindow::setDialogsUnattended(bool on) {
    dialogCommands_->unattended = on;
    waveFilter_->unattended = on;
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

} // namespace quillex
