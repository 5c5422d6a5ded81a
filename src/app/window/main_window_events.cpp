// The main window's event forwarding: keys to the key table and the shortcuts, the
// editor's mouse buttons and wheel to the dispatcher and mouse editing, dropped files,
// and modal boxes suspending the window.
#include <QApplication>
#include <QMimeData>

#include "app/commands/command_table.h"
#include "app/window/key_map.h"
#include "app/window/main_window.h"

namespace quillex {

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        paths.push_back(url.toLocalFile().toStdString());
    event->acceptProposedAction();
    shell_->dispatcher.dropFiles(paths);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    idle_.noteEvent(*event);
    switch (event->type()) {
    case QEvent::WindowBlocked:
    case QEvent::WindowUnblocked:
        // Any modal dialog or message box over the window suspends the frame loop
        // and the input timer's key handling.
        if (watched == this) {
            blocked_ = event->type() == QEvent::WindowBlocked;
            if (blocked_)
                shell_->keysDown.releaseAll(); // their releases go to the dialog
            else
                returnFocusToEditor();
            updateSuspended();
        }
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return handleKey(watched, static_cast<QKeyEvent*>(event));
    case QEvent::Wheel:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        return watched == editorWidget_ && handleEditorMouse(event);
    default:
        return false;
    }
}

void MainWindow::recordKey(VirtualKey key, bool down) {
    if (key == 0)
        return;
    shell_->keysDown.setDown(key, down);
    shell_->timer.wake();
    if (key == kVkLShift || key == kVkRShift)
        shell_->keysDown.setDown(kVkShift, down);
    if (key == kVkLControl || key == kVkRControl)
        shell_->keysDown.setDown(kVkControl, down);
}

bool MainWindow::handleKey(QObject* watched, QKeyEvent* event) {
    const VirtualKey key = virtualKeyOf(*event);
    // A release counts whoever receives it: a key pressed in the editor may come up
    // while a menu is open, and the input timer would otherwise keep acting on it.
    if (event->type() == QEvent::KeyRelease) {
        if (!event->isAutoRepeat())
            recordKey(key, false);
        return false;
    }
    // Each key event passes the filter once per receiver; take it at the widget, and
    // only while the main window has the keyboard (no dialog or open menu).
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != this)
        return false;
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return false;
    if (event->type() == QEvent::KeyPress && !event->isAutoRepeat())
        recordKey(key, true);
    std::optional<CommandId> command = findKeyAccelerator(key, modifiersOf(event->modifiers()));
    if (!command && event->text().size() == 1)
        command = findTypedAccelerator(event->text().front().toLatin1());
    if (!command)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept(); // the key is ours: no menu mnemonic takes it
        return true;
    }
    shell_->dispatcher.dispatch(*command);
    return true;
}

bool MainWindow::handleEditorMouse(QEvent* event) {
    Dispatcher& dispatcher = shell_->dispatcher;
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const Qt::KeyboardModifiers mods = wheel->modifiers();
        dispatcher.wheel(wheel->angleDelta().y(), MouseKeys{mods.testFlag(Qt::ShiftModifier),
                                                            mods.testFlag(Qt::ControlModifier),
                                                            wheel->buttons() != Qt::NoButton});
        return true;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    const Qt::KeyboardModifiers mods = mouse->modifiers();
    const bool otherButtons = (mouse->buttons() & ~mouse->button()) != Qt::NoButton;
    const MouseKeys keys{mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier),
                         otherButtons};
    // The second press of a quick double click is a press of its own to the left button.
    if (event->type() == QEvent::MouseButtonDblClick && mouse->button() != Qt::LeftButton)
        return false;
    if (event->type() != QEvent::MouseButtonRelease) {
        switch (mouse->button()) {
        case Qt::RightButton:
            dispatcher.rightButtonDown(keys);
            return true;
        case Qt::MiddleButton:
            dispatcher.middleButtonDown({global.x(), global.y()});
            return true;
        case Qt::LeftButton: {
            shell_->state.middleAutoscroll = false;
            const QPoint at = mouse->position().toPoint();
            mouse_->press(at.x(), at.y(), MouseEditing::ctrlHeld(keys));
            return true;
        }
        default:
            return false;
        }
    }
    if (mouse->button() == Qt::MiddleButton) {
        dispatcher.middleButtonUp({global.x(), global.y()});
        return true;
    }
    if (mouse->button() == Qt::LeftButton) {
        mouse_->release();
        return true;
    }
    return false;
}

} // namespace quillex
