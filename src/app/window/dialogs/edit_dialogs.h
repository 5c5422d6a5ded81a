// The confirmations of the edit commands as Qt dialogs over the main window: Clear
// History (Yes / No) and the Scale Notes warning (OK / Cancel). Any modal dialog
// suspends the frame loop, so nothing else is needed here.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/commands/edit_commands.h"

namespace quillex {

class QtEditQuestions : public EditQuestions {
  public:
    explicit QtEditQuestions(QWidget* owner) : owner_(owner) {}
    bool confirmClearHistory(std::string_view text) override;
    bool confirmScale(std::string_view text) override;

  private:
    QPointer<QWidget> owner_;
};

} // namespace quillex
