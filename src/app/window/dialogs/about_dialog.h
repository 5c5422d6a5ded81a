// Help ▸ About: the program's name and version and the read-me beside the program.
#pragma once

#include <QDialog>

namespace quillex {

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    // `readmePath`: the read-me to show; the text box stays empty without one.
    AboutDialog(const QString& readmePath, QWidget* parent);
};

} // namespace quillex
