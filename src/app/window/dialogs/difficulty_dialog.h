// The Level Manager's Difficulty dialog: the ratings and descriptions of the current
// game type's six charts, empty charts greyed.
#pragma once

#include <array>

#include <QDialog>

#include "app/session/editor.h"

class QLineEdit;

namespace quillex {

class DifficultyDialog : public QDialog {
    Q_OBJECT
  public:
    // `focused`: the difficulty whose edit has the focus, its text selected.
    DifficultyDialog(Editor& editor, int gameType, int focused, QWidget* parent);
    void accept() override;

  private:
    Editor& editor_;
    int gameType_;
    std::array<QLineEdit*, kDifficultyCount> edits_{};
    std::array<QLineEdit*, kDifficultyCount> descriptions_{};
};

} // namespace quillex
