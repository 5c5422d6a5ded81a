// Tools ▸ Statistics: the current chart's counts, notes per second and stream
// breakdown.
#pragma once

#include <QDialog>

#include "app/session/editor.h"

namespace quillex {

class StatisticsDialog : public QDialog {
    Q_OBJECT
  public:
    StatisticsDialog(const Editor& editor, QWidget* parent);
};

} // namespace quillex
