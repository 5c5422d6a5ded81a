// Tools ▸ "Suggest Tempo...": a progress bar while the music is analysed (Cancel stops
// it), then the tempo candidates in a table with ×2 and ÷2 on the selected row, and
// Apply, which closes the dialog accepted with that row chosen.
#pragma once

#include <QDialog>
#include <optional>

#include "analysis/tempo_suggestion_model.h"

class QProgressBar;
class QPushButton;
class QTableWidget;

namespace quillex {

class SuggestTempoDialog : public QDialog {
  public:
    explicit SuggestTempoDialog(QWidget* parent);

    void setPercent(int percent);
    // The analysis has ended: its candidates are listed, the first one selected.
    void showCandidates(TempoSuggestionModel model);
    // The row chosen at Apply.
    std::optional<TempoCandidate> chosen() const;

  private:
    void fillTable();
    void changeRow(bool doubled);

    std::optional<TempoSuggestionModel> model_;
    QProgressBar* progress_;
    QTableWidget* table_;
    QPushButton* doubleButton_;
    QPushButton* halveButton_;
    QPushButton* applyButton_;
};

} // namespace quillex
