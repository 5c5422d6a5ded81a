// Edit ▸ Go To: moves the cursor to a time typed in seconds, beats or samples.
#pragma once

#include <QDialog>

#include "app/session/editor.h"

class QLineEdit;

namespace quillex {

class GoToDialog : public QDialog {
    Q_OBJECT
  public:
    GoToDialog(Editor& editor, QWidget* parent);
    void accept() override;

  private:
    Editor& editor_;
    QLineEdit* edit_;
};

} // namespace quillex
