// Tools ▸ Wave Filter (I): the settings dialog, then a filtering run behind the modal
// "Processing..." box. Owns the filter, so the window asks it for the filtered wave
// to draw and has it discard the wave when the music changes; music opened while the
// filter is on is filtered again. The run's reports are
// posted to this object on the main thread; closing the box any other way than by
// the run's end cancels the run and waits for its worker before anything goes on.
#pragma once

#include <QObject>

#include "app/commands/autosync_commands.h"
#include "app/commands/dispatcher.h"
#include "app/session/editor.h"
#include "audio/wave_filter.h"

class QWidget;

namespace quillex {

class EditorView;

inline constexpr std::string_view kNoWavesMessage = kNoMusicMessage;

class WaveFilterCommands : public QObject {
    Q_OBJECT
  public:
    WaveFilterCommands(QWidget* owner, Editor& editor, EditorView& view);
    ~WaveFilterCommands() override;
    void registerCommand(Dispatcher& dispatcher);

    // The filtered wave to draw, null when none is available.
    const PeakPyramid* peaks() const { return filter_.peaks(); }
    // Stops any run and frees the filtered wave (a music load or unload).
    void discard() { filter_.discard(); }
    // A song or music was opened: while the filter is on (the dialog's last OK had it
    // enabled), the new music is filtered with the same settings.
    void musicOpened();
    bool running() const { return filter_.running(); }
    // The settings the filtered wave was made with; nothing when there is none.
    std::optional<WaveFilterSettings> activeFilter() const {
        return filter_.peaks() ? std::optional(settings_) : std::nullopt;
    }
    // Called after the dialog's OK has run the filter or switched it off.
    std::function<void()> filterChanged = [] {};

    // Unattended runs close the settings dialog as soon as it shows.
    bool unattended = false;

  private:
    void openDialog();
    void run();

    QWidget* owner_;
    Editor& editor_;
    EditorView& view_;
    WaveFilterSettings settings_;
    bool filterOn_ = false; // the dialog's last OK had the filter enabled
    WaveFilter filter_;
};

} // namespace quillex
