// The main window's wiring: it makes the editor, the shell and the subsystems around
// them, registers their commands, connects the hooks between them and builds the
// editor surface, the menus and the timers. Start-up, the frame loop, the event
// forwarding and the hooks the core calls are in main_window_*.cpp beside it.
#include "app/window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QWindow>

#include "app/commands/player_commands.h"
#include "app/commands/view_commands.h"
#include "app/window/dialog_commands.h"
#include "app/window/option_effects.h"
#include "audio/platform/platform_audio.h"
#include "view/editor_view.h"
#include "view/paint/editor_widget.h"
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
    autosync_ = std::make_unique<AutosyncCommands>(
        *editor_, shell_->dispatcher,
        [this](std::function<void()> task) {
            // Queued to the window: tasks still waiting when it goes are dropped.
            QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
        },
        defaultAnalysisCacheDirectory());
    autosync_->registerAll();
    suggestTempo_ = std::make_unique<SuggestTempoCommands>(this, *editor_, *autosync_);
    suggestTempo_->registerCommand(shell_->dispatcher);
    syncDialogs_.setSuggester([this] { return suggestTempo_->chooseCandidate(); });
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
    spectrogram_ = std::make_unique<SpectrogramCommands>(
        this, *editor_, *view_, [this] { return waveFilter_->activeFilter(); });
    spectrogram_->registerCommand(shell_->dispatcher);
    waveFilter_->filterChanged = [this] { spectrogram_->sourceChanged(); };
    shell_->dispatcher.musicOpened = [this] {
        waveFilter_->musicOpened();
        spectrogram_->sourceChanged();
    };
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
        surface_->setSources([this] {
            return FrameSources{waveFilter_->peaks(), spectrogram_->pyramid()};
        });
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

} // namespace quillex
