// View ▸ Spectrogram Layer (Shift+F6): shows the music's spectrogram beside or instead
// of the wave. Owns the spectrogram, built on a worker behind the modal "Processing..."
// box the first time the layer shows a music, and again when the music changes or the
// wave filter is run or switched off, so the layer shows the filtered music while a
// filtered wave is available. Closing the box before the build ends cancels it, waits
// for the worker and switches the layer off.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

#include "analysis/tf_runner.h"
#include "app/commands/dispatcher.h"
#include "app/session/editor.h"

class QWidget;

namespace quillex {

class EditorView;

class SpectrogramCommands : public QObject {
    Q_OBJECT
  public:
    // `activeFilter` tells which wave filter the filtered wave was made with, nothing
    // when no filtered wave is available.
    SpectrogramCommands(QWidget* owner, Editor& editor, EditorView& view,
                        std::function<std::optional<WaveFilterSettings>()> activeFilter);
    ~SpectrogramCommands() override;
    void registerCommand(Dispatcher& dispatcher);

    // The spectrogram to draw, null while there is none.
    const TfPyramid* pyramid() const { return pyramid_.get(); }
    // Stops any build and frees the spectrogram (a music load or unload).
    void discard();
    // The music or the wave filter changed: a layer on shows the new one at once.
    void sourceChanged();

  private:
    void toggle();
    void build();

    QWidget* owner_;
    Editor& editor_;
    EditorView& view_;
    std::function<std::optional<WaveFilterSettings>()> activeFilter_;
    std::shared_ptr<const TfPyramid> pyramid_;
    std::optional<WaveFilterSettings> builtWith_; // the filter `pyramid_` shows
    SpectrogramRunner runner_;
};

} // namespace quillex
