#include "app/window/wave_filter_commands.h"

#include <QTimer>

#include "app/window/dialogs/wave_filter_dialog.h"
#include "view/editor_view.h"

namespace quillex {

WaveFilterCommands::WaveFilterCommands(QWidget* owner, Editor& editor, EditorView& view)
    : owner_(owner), editor_(editor), view_(view), filter_([this](std::function<void()> task) {
          // Queued to this object: tasks still waiting when it is destroyed are dropped.
          QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
      }) {}

WaveFilterCommands::~WaveFilterCommands() {
    // The worker must be gone before the object its reports are posted to.
    filter_.cancel();
}

void WaveFilterCommands::registerCommand(Dispatcher& dispatcher) {
    dispatcher.registerHandler(CommandId::WaveFilter, [this](int) { openDialog(); });
}

void WaveFilterCommands::openDialog() {
    if (!editor_.player().loaded()) {
        editor_.messages().show(kNoWavesMessage);
        return;
    }
    WaveFilterDialog dialog(settings_, owner_);
    if (unattended)
        QTimer::singleShot(0, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return;
    settings_ = dialog.settings();
    filterOn_ = settings_.enabled;
    view_.filteredWaveAlone = settings_.filteredAlone;
    if (settings_.enabled)
        run();
    else
        filter_.discard();
    filterChanged();
}

void WaveFilterCommands::musicOpened() {
    if (filterOn_ && editor_.player().loaded())
        run();
}

void WaveFilterCommands::run() {
    FilterProgressDialog progress(owner_);
    std::optional<FilterResult> result;
    filter_.start(editor_.player().decodedMusic(), settings_,
                  {[&progress](std::string_view text) { progress.setMessage(text); },
                   [&progress](int percent) { progress.setPercent(percent); },
                   [&](FilterResult r) {
                       result = r;
                       progress.accept();
                   }});
    progress.exec();
    if (!result) {
        // Cancelled (the button, Esc or the window's close box): stop and wait for the
        // worker before the box's owner goes on.
        filter_.cancel();
        return;
    }
    if (*result == FilterResult::Warning)
        editor_.messages().show(kFilterWarningMessage);
    else if (*result == FilterResult::Failed)
        editor_.messages().show(kFilterFailedMessage);
}

} // namespace quillex
