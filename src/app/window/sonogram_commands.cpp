#include "app/window/sonogram_commands.h"

#include "app/window/dialogs/wave_filter_dialog.h"
#include "view/editor_view.h"

namespace quillex {

SpectrogramCommands::SpectrogramCommands(
    QWidget* owner, Editor& editor, EditorView& view,
    std::function<std::optional<WaveFilterSettings>()> activeFilter)
    : owner_(owner), editor_(editor), view_(view), activeFilter_(std::move(activeFilter)),
      runner_([this](std::function<void()> task) {
          // Queued to this object: tasks still waiting when it is destroyed are dropped.
          QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
      }) {}

SpectrogramCommands::~SpectrogramCommands() {
    // The worker must be gone before the object its reports are posted to.
    runner_.cancel();
}

void SpectrogramCommands::registerCommand(Dispatcher& dispatcher) {
    dispatcher.registerHandler(CommandId::SpectrogramLayer, [this](int) { toggle(); });
}

void SpectrogramCommands::toggle() {
    view_.spectrogramOn = !view_.spectrogramOn;
    editor_.shell().setMenuCheck(CommandId::SpectrogramLayer, view_.spectrogramOn);
    if (view_.spectrogramOn && (!pyramid_ || builtWith_ != activeFilter_()))
        build();
}

void SpectrogramCommands::discard() {
    runner_.cancel();
    pyramid_.reset();
}

void SpectrogramCommands::sourceChanged() {
    if (builtWith_ != activeFilter_())
        discard();
    if (view_.spectrogramOn && !pyramid_)
        build();
}

void SpectrogramCommands::build() {
    pyramid_.reset();
    if (!editor_.player().loaded())
        return;
    FilterProgressDialog progress(owner_);
    progress.setMessage("Building Spectrogram...");
    bool finished = false;
    builtWith_ = activeFilter_();
    runner_.start(editor_.player().decodedMusic(), builtWith_,
                  {[&progress](int percent) { progress.setPercent(percent); },
                   [&](std::shared_ptr<const TfPyramid> pyramid) {
                       pyramid_ = std::move(pyramid);
                       finished = true;
                       progress.accept();
                   }});
    progress.exec();
    if (finished)
        return;
    // Cancelled (the button, Esc or the window's close box): stop and wait for the
    // worker, and take the layer down, since it has nothing to show.
    runner_.cancel();
    view_.spectrogramOn = false;
    editor_.shell().setMenuCheck(CommandId::SpectrogramLayer, false);
}

} // namespace quillex
