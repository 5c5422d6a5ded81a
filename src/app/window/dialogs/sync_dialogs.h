// The sync commands' dialogs as Qt dialogs over the main window: Edit Sub-Beat
// Fraction, Grow/Smooth Selected Region and Autofill Beats. Each is a thin form over
// its model (tools/sync_dialog_models.h): OK hands the typed texts to the model, and a
// refusal is shown as a "Tip" with the dialog left open.
#pragma once

#include <QPointer>
#include <QWidget>

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

  private:
    // Runs `dialog` modally; OK closes it only when `refusal` returns nothing, and
    // otherwise shows what it returns.
    bool runChecked(QDialog& dialog, QDialogButtonBox& buttons,
                    const std::function<std::optional<std::string>()>& refusal);

    QPointer<QWidget> owner_;
    Messages& messages_;
};

} // namespace quillex
