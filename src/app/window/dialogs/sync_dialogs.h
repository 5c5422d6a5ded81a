// The sync commands' dialogs as Qt dialogs over the main window: Edit Sub-Beat
// Fraction, Grow/Smooth Selected Region and Autofill Beats. Each is a thin form over
// its model (tools/sync_dialog_models.h): OK hands the typed texts to the model, and a
// refusal is shown as a "Tip" with the dialog left open. Autofill's "Suggest" button
// fills the BPM and offset with a tempo heard in the music.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

#include "analysis/tempo_candidates.h"
#include "app/commands/sync_commands.h"
#include "ports/messages.h"

class QDialog;
class QDialogButtonBox;

namespace quillex {

class QtSyncDialogs : public SyncDialogs {
  public:
    QtSyncDialogs(QWidget* owner, Messages& messages) : owner_(owner), messages_(messages) {}
    bool editSubBeatFraction(SubBeatFractionModel& model) override;
    bool growSmooth(GrowSmoothModel& model) override;
    bool autofill(AutofillModel& model) override;

    // What the Autofill dialog's "Suggest" button asks for: a tempo chosen from the
    // music, or nothing. Without one the button is not shown.
    using Suggester = std::function<std::optional<TempoCandidate>()>;
    void setSuggester(Suggester suggester) { suggester_ = std::move(suggester); }

  private:
    // Runs `dialog` modally; OK closes it only when `refusal` returns nothing, and
    // otherwise shows what it returns.
    bool runChecked(QDialog& dialog, QDialogButtonBox& buttons,
                    const std::function<std::optional<std::string>()>& refusal);

    QPointer<QWidget> owner_;
    Messages& messages_;
    Suggester suggester_;
};

} // namespace quillex
