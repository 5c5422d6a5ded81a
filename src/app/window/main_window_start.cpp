// The main window's start-up: the pictures, the first layout, the start-up defaults
// through their owners, the settings, the input timer and frame timer, and the first
// song (a recovery copy, the file given or the Open dialog).
#include <QScreen>

#include <cstdio>

#include "app/window/main_window.h"
#include "app/window/option_effects.h"
#include "app/window/recovery_offer.h"
#include "view/editor_view.h"
#include "view/paint/renderer.h"

namespace quillex {

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
    shell_->initialise();
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

} // namespace quillex
