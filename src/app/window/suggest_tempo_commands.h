// Tools ▸ "Suggest Tempo...": analyses the loaded music behind the dialog's progress
// bar and lists the tempo candidates; Apply fills the markers at the chosen tempo as
// one undo step.
// The analysis reports are posted to this object on the main thread; closing the
// dialog any other way than Apply cancels the run and waits for its worker.
#pragma once

#include <QObject>
#include <optional>

#include "analysis/analysis_runner.h"
#include "app/commands/autosync_commands.h"

class QWidget;

namespace quillex {

class SuggestTempoCommands : public QObject {
  public:
    SuggestTempoCommands(QWidget* owner, Editor& editor, AutosyncCommands& autosync);
    ~SuggestTempoCommands() override;
    void registerCommand(Dispatcher& dispatcher);
    // Analyses the music behind the dialog and returns the row chosen at Apply;
    // nothing when the user cancels, or after the message saying there is no music or
    // no rhythm in it. The Autofill dialog's "Suggest" button fills its fields from it.
    std::optional<TempoCandidate> chooseCandidate();

  private:
    void suggest();

    QWidget* owner_;
    Editor& editor_;
    AutosyncCommands& autosync_;
    AnalysisRunner runner_;
};

} // namespace quillex
