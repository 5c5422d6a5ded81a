// File ▸ Properties: the song's texts, its music file (a song kept over silence is
// given its music here), the BPM display, the preview region and the names of its
// pictures. Opening it marks the song modified; OK checks, keeps and has
// a renamed banner or background loaded again.
#pragma once

#include <functional>

#include <QDialog>

#include "app/forms/properties_form.h"
#include "app/session/editor.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace quillex {

class PropertiesDialog : public QDialog {
    Q_OBJECT
  public:
    // `picturesRenamed` is told when OK changed the banner's or background's name.
    PropertiesDialog(Editor& editor, std::function<void()> picturesRenamed, QWidget* parent);
    void accept() override;

  private:
    QLineEdit* textEdit(int id, const std::string& text);
    void showMode(DisplayBpmMode mode);
    DisplayBpmMode chosenMode() const;

    Editor& editor_;
    std::function<void()> picturesRenamed_;
    QLineEdit *title_, *subtitle_, *artist_, *genre_, *credit_;
    QLineEdit *bpmLow_, *bpmHigh_, *previewBegin_, *previewEnd_;
    QLineEdit *background_, *banner_, *cdTitle_;
    QCheckBox* selectable_;
    QRadioButton *defaultMode_, *customMode_, *randomMode_;
    QLabel *range_, *converted_, *bpmUnit_, *to_, *randomNote_;
};

} // namespace quillex
