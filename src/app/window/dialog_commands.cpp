#include "app/window/dialog_commands.h"

#include <QTimer>

#include "app/window/dialogs/about_dialog.h"
#include "app/window/dialogs/go_to_dialog.h"
#include "app/window/dialogs/level_manager_dialog.h"
#include "app/window/dialogs/options_dialog.h"
#include "app/window/dialogs/properties_dialog.h"
#include "app/window/dialogs/statistics_dialog.h"
#include "view/editor_view.h"

namespace quillex {

DialogCommands::DialogCommands(DialogContext context)
    : c_(std::move(context)),
      manager_(c_.editor, c_.shell.dispatcher, c_.shell.noteskins, c_.shell.paths().noteskins()) {
    manager_.noteskinChanged = [this](int gameType, bool enhanced) {
        c_.view.setEnhancedNoteskin(gameType, enhanced);
    };
}

void DialogCommands::registerAll() {
    Dispatcher& dispatcher = c_.shell.dispatcher;
    dispatcher.registerHandler(CommandId::LevelManager, [this](int) { levelManager(); });
    dispatcher.registerHandler(CommandId::Properties, [this](int) { properties(); });
    dispatcher.registerHandler(CommandId::Options, [this](int) { options(); });
    dispatcher.registerHandler(CommandId::GoTo, [this](int) { goTo(); });
    dispatcher.registerHandler(CommandId::About, [this](int) { about(); });
    dispatcher.registerHandler(CommandId::Statistics, [this](int) {
        StatisticsDialog dialog(c_.editor, c_.owner);
        run(dialog);
    });
}

void DialogCommands::run(QDialog& dialog) {
    if (unattended)
        QTimer::singleShot(0, &dialog, &QDialog::reject);
    dialog.exec();
}

void DialogCommands::levelManager() {
    LevelManagerDialog dialog(
        manager_, c_.editor, [this](CommandId id) { c_.shell.dispatcher.dispatch(id); }, c_.owner);
    run(dialog);
    if (const std::optional<int> launched = dialog.launched()) {
        if (*launched == kSyncLaunch)
            manager_.launchSync();
        else
            manager_.launch(*launched);
    }
}

void DialogCommands::properties() {
    PropertiesDialog dialog(c_.editor, c_.reloadPictures, c_.owner);
    run(dialog);
}

void DialogCommands::options() {
    OptionsDialog dialog(c_.shell.options, c_.shell.paths().options(), c_.editor.player(),
                         c_.editor.messages(), c_.applyOptions, c_.owner);
    run(dialog);
}

void DialogCommands::goTo() {
    GoToDialog dialog(c_.editor, c_.owner);
    run(dialog);
}

void DialogCommands::about() {
    AboutDialog dialog(c_.readmePath, c_.owner);
    run(dialog);
}

} // namespace quillex
