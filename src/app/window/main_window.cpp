#include "app/window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QMimeData>
#include <QScreen>
#include <QWindow>

#include <cstdio>

#include "app/commands/command_table.h"
#include "app/commands/player_commands.h"
#include "app/commands/view_commands.h"
#include "app/window/dialog_commands.h"
#include "app/window/key_map.h"
#include "app/window/option_effects.h"
#include "app/window/recovery_offer.h"
#include "audio/platform/platform_audio.h"
#include "view/editor_view.h"
#include "view/paint/editor_widget.h"
#include "view/paint/frame_painter.h"
#include "view/paint/renderer.h"
#include "view/player_bridge.h"

namespace quillex {

namespace {

constexpr int kResizeSettleMs = 150;

} // namespace

MainWindow::MainWindow(ShellPaths paths, const QString& dataFolder) : dataFolder_(dataFolder) {
    QMainWindow::setWindowTitle("quillex");
    messages_.setOwner(this);
    editor_ = std::make_unique<Editor>(messages_, *this, makePlatformAudio());
    editor_->player().setTitleProvider([this] { return editor_->song().properties().title; });
    files_ = std::make_unique<EditorSongFiles>(*editor_);
    transport_ = std::make_unique<PlayerTransport>(editor_->player());
    shell_ = std::make_unique<Shell>(Shell::Parts{editor_->store(), editor_->busyCounter(),
                                                  messages_, *this, *this, *files_, *transport_},
                                     std::move(paths));
    recovery_ = std::make_unique<RecoveryCopy>(*editor_, shell_->paths().recoveryFolder());
    shell_->dispatcher.afterCommand = [this](CommandId) {
        refreshEnabledCommands();
        if (!editor_->store().modified()) // saved, closed or replaced
            recovery_->discard();
    };
    view_ = std::make_unique<EditorView>(editor_->store(), editor_->waveView(), *this);
    registerPlayerCommands(shell_->dispatcher, editor_->player(), editor_->store(),
                           view_->status());
    for (const auto& [slot, text] : earlyStatusTexts_)
        view_->status().setSlot(slot, text);
    earlyStatusTexts_.clear();
    registerViewCommands(shell_->dispatcher, *view_);
    editCommands_ = std::make_unique<EditCommands>(*editor_, shell_->dispatcher, editQuestions_);
    editCommands_->registerAll();
    syncCommands_ = std::make_unique<SyncCommands>(*editor_, shell_->dispatcher, syncDialogs_,
                                                   shell_->keysDown);
    syncCommands_->registerAll(*editCommands_);
    keyboard_ = std::make_unique<KeyboardInput>(*editor_, *shell_, *editCommands_);
    view_->judgement = &keyboard_->judgementDisplay();
    dialogCommands_ = std::make_unique<DialogCommands>(DialogContext{
        this, *editor_, *shell_, *view_,
        [this](const Options& o) { applyOptions(o, *editor_, *shell_, *view_, renderer_.get()); },
        [this] { files_->announceSongPictures(shell_->dispatcher.songFolder()); },
        QString::fromStdString(shell_->paths().programFolder + "/readme.txt")});
    dialogCommands_->registerAll();
    waveFilter_ = std::make_unique<WaveFilterCommands>(this, *editor_, *view_);
    waveFilter_->registerCommand(shell_->dispatcher);
    shell_->dispatcher.musicOpened = [this] { waveFilter_->musicOpened(); };
    mouse_ = std::make_unique<MouseEditing>(*editor_, *view_, shell_->dispatcher);
    // The effect sounds are data beside the program, like the pictures.
    if (!dataFolder_.isEmpty())
        editor_->player().loadEffectSounds((dataFolder_ + "/sounds").toStdString());
    shell_->saveFlow.setBannerMode = [this](int mode) { view_->status().setBannerMode(mode); };
    shell_->dispatcher.bannerMode = [this](int mode) {
        if (mode == kBannerOpening)
            view_->status().clearSaveNotices();
        view_->status().setBannerMode(mode);
    };

    if (dataFolder_.isEmpty()) {
        auto* surface = new QWidget(this);
        surface->setAutoFillBackground(true);
        QPalette palette = surface->palette();
        palette.setColor(QPalette::Window, Qt::black);
        surface->setPalette(palette);
        editorWidget_ = surface;
    } else {
        renderer_ = std::make_unique<Renderer>();
        files_->songPicturesChanged = [this](const std::string& banner,
                                             const std::string& background) {
            const QFileInfo bannerFile(QString::fromStdString(banner));
            renderer_->setSongBanner(bannerFile.absolutePath(),
                                     banner.empty() ? QString() : bannerFile.fileName());
            const QFileInfo backgroundFile(QString::fromStdString(background));
            renderer_->setSongBackground(backgroundFile.absolutePath(),
                                         background.empty() ? QString() : backgroundFile.fileName(),
                                         messages_);
        };
        auto transport = [this] { return transportStateOf(editor_->player()); };
        if (hardwareOpenGlAvailable()) {
            auto* widget = new EditorWidget(*view_, *renderer_, transport, this);
            connect(widget, &QOpenGLWidget::frameSwapped, this, &MainWindow::countFrame);
            surface_ = widget;
        } else {
            auto* widget = new RasterEditorWidget(*view_, *renderer_, transport, this);
            connect(widget, &RasterEditorWidget::frameDrawn, this, &MainWindow::countFrame);
            surface_ = widget;
        }
        surface_->setFilteredPeaks([this] { return waveFilter_->peaks(); });
        editorWidget_ = surface_->widget();
    }
    editorWidget_->setFocusPolicy(Qt::StrongFocus);
    editorWidget_->setMouseTracking(true);
    editorWidget_->installEventFilter(this);
    setCentralWidget(editorWidget_);

    buildMenus();
    setAcceptDrops(true);
    qApp->installEventFilter(this);

    settleTimer_.setSingleShot(true);
    settleTimer_.setInterval(kResizeSettleMs);
    connect(&settleTimer_, &QTimer::timeout, this, &MainWindow::layoutChanged);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, &MainWindow::frameUpdate);
    connect(&recoveryTimer_, &QTimer::timeout, this, [this] { recovery_->update(); });
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    shell_->stopInputTimer();
    frameTimer_.stop();
    // The editor widget draws from the view and the renderer: it goes before them.
    delete takeCentralWidget();
}

bool MainWindow::start(const QString& file, bool maximised) {
    // The pictures load before the window appears: without them there is no window.
    if (renderer_ && !renderer_->initialise(dataFolder_)) {
        std::fprintf(stderr, "quillex: %s\n", qPrintable(renderer_->errorText()));
        return false;
    }
    if (maximised)
        showMaximized();
    else
        show();
    const QRect client = editorWidget_->geometry();
    view_->setWindowSize(client.width(), client.height());
    shell_->state.lastWidth = width();
    shell_->state.lastHeight = height();
    shell_->state.maximised = isMaximized();
    updateEditorScreenRect();
    editCommands_->updateUndoMenu(); // greyed, without a label
    // The start-up defaults, set through their owners so the menu marks follow.
    MusicPlayer& player = editor_->player();
    player.setSpeed(100);
    player.setTimeFormat(kTimeSeconds);
    player.setSnap(0, true);
    player.setVolume(100);
    player.setBeatTickOff(true);
    player.setNoteTickOff(true);
    view_->chooseGrid(GridChoice::None);
    shell_->initialise(client.height());
    applyOptions(shell_->options, *editor_, *shell_, *view_, renderer_.get());
    for (int gameType = 0; gameType < 3; ++gameType)
        view_->setEnhancedNoteskin(gameType, shell_->noteskins.enhancedFor(gameType));
    // From now on a level change shows the level's names in the free status slots (set
    // after start-up so a notice in slot 0, such as a missing audio device, stays).
    shell_->dispatcher.levelChanged = [this](LevelIndex level) {
        view_->status().setSlot(0, gameTypeInfo(gameTypeOfLevel(level)).shortName);
        view_->status().setSlot(1, difficultySmName(difficultyOfLevel(level)));
    };
    keyboard_->start([this](CommandId id) { postCommand(id); },
                     [this](std::function<void()> task) {
                         QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
                     });

    const qreal rate = screen() ? screen()->refreshRate() : 60.0;
    frameTimer_.start(static_cast<int>(1000.0 / (rate > 1.0 ? rate : 60.0)));

    recoveryTimer_.start(recoveryIntervalMs());
    // A restored song takes the place of the Open dialog or the file given.
    const bool restored =
        offerRecoveryCopy(this, *recovery_, *shell_, *editor_, messages_.unattended());
    if (!restored && file.isEmpty())
        shell_->dispatcher.dispatch(CommandId::Open);
    else if (!restored)
        shell_->dispatcher.openPath(file.toStdString());
    refreshEnabledCommands();
    if (frameLimit_ > 0) // an unattended run plays the song while it counts frames
        postCommand(CommandId::PlayPause);
    return true;
}

// ---------------------------------------------------------------- frame loop

void MainWindow::frameUpdate() {
    if (shell_->state.suspended.load() || closing_)
        return;
    ShellState& state = shell_->state;
    MusicPlayer& player = editor_->player();
    const FrameRequest request =
        idle_.next({player.playing(), mouse_->buttonDown(), state.middleAutoscroll,
                    renderer_ && frameAnimating(*view_, *renderer_), view_->status().fading()});
    if (request == FrameRequest::None)
        return; // nothing moves and nothing changed: no frame
    const QPoint cursor = QCursor::pos();
    state.cursorPos = {cursor.x(), cursor.y()};
    // While the left button drags, a cursor outside the editor scrolls it.
    const ScreenPoint outside = mouse_->buttonDown()
                                    ? dragScrollDistance(state.editorScreenRect, state.cursorPos)
                                    : ScreenPoint{};
    state.dragScrollDx = outside.x;
    state.dragScrollDy = outside.y;
    if (outside.y != 0)
        player.seek(player.position() + editor_->waveView().samplesPerRow() * outside.y);
    mouse_->motion(cursor.x() - state.editorScreenRect.left,
                   cursor.y() - state.editorScreenRect.top, outside.y);
    player.pollPosition();
    syncCommands_->frameUpdate();
    keyboard_->frame();
    view_->recording = keyboard_->recording().recordingArrows();
    view_->practiceMode = shell_->inputFlags.practice;
    if (state.middleAutoscroll) {
        const int rows = middleAutoscrollRows(state.middleAnchor, state.cursorPos);
        player.seek(player.position() + editor_->waveView().samplesPerRow() * rows);
        const EditorScreenRect& rect = state.editorScreenRect;
        view_->autoscrollMark =
            std::pair(state.middleAnchor.x - rect.left, state.middleAnchor.y - rect.top);
    } else {
        view_->autoscrollMark.reset();
    }
    if (request == FrameRequest::StatusPanels && surface_)
        surface_->updateStatusPanels();
    else
        editorWidget_->update();
    state.halfRateToggle = !state.halfRateToggle;
    if (!surface_)
        countFrame(); // without drawing, every pass counts as a frame
}

void MainWindow::countFrame() {
    ++framesDrawn_;
    if (frameLimit_ > 0 && framesDrawn_ == frameLimit_) {
        std::fprintf(stderr, "quillex: %d frames drawn\n", framesDrawn_);
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void MainWindow::drawFrame() {
    if (editorWidget_)
        editorWidget_->repaint();
}

void MainWindow::layoutChanged() {
    idle_.wake();
    updateEditorScreenRect();
    ShellState& state = shell_->state;
    if (width() == state.lastWidth && height() == state.lastHeight)
        return;
    state.lastWidth = width();
    state.lastHeight = height();
    ItemStore& store = editor_->store();
    store.geometry().windowHeight = editorWidget_->height();
    store.layoutRegions();
    view_->setWindowSize(editorWidget_->width(), editorWidget_->height());
    store.refresh();
}

// ---------------------------------------------------------------- input

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
