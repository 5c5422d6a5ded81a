#include "app/window/dialogs/suggest_tempo_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quillex {

SuggestTempoDialog::SuggestTempoDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Suggest Tempo");
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    table_ = new QTableWidget(0, 3, this);
    table_->setHorizontalHeaderLabels({"BPM", "First beat (s)", "Confidence"});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->hide();
    doubleButton_ = new QPushButton("\u00d72", this);
    halveButton_ = new QPushButton("\u00f72", this);
    applyButton_ = new QPushButton("Apply", this);
    auto* cancel = new QPushButton("Cancel", this);
    for (QPushButton* b : {doubleButton_, halveButton_, applyButton_})
        b->setEnabled(false);
    applyButton_->setDefault(true);
    connect(doubleButton_, &QPushButton::clicked, this, [this] { changeRow(true); });
    connect(halveButton_, &QPushButton::clicked, this, [this] { changeRow(false); });
    connect(applyButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {doubleButton_, halveButton_})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(applyButton_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(progress_);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(420, 260);
}

void SuggestTempoDialog::setPercent(int percent) {
    progress_->setValue(percent);
}

void SuggestTempoDialog::showCandidates(TempoSuggestionModel model) {
    model_ = std::move(model);
    progress_->hide();
    table_->show();
    fillTable();
    table_->selectRow(0);
    for (QPushButton* b : {doubleButton_, halveButton_, applyButton_})
        b->setEnabled(true);
}

void SuggestTempoDialog::fillTable() {
    table_->setRowCount(static_cast<int>(model_->rows()));
    for (std::size_t row = 0; row < model_->rows(); ++row) {
        const std::string texts[] = {model_->bpmText(row), model_->firstBeatText(row),
                                     model_->confidenceText(row)};
        for (int column = 0; column < 3; ++column)
            table_->setItem(static_cast<int>(row), column,
                            new QTableWidgetItem(QString::fromStdString(texts[column])));
    }
}

void SuggestTempoDialog::changeRow(bool doubled) {
    const int row = table_->currentRow();
    if (!model_ || row < 0)
        return;
    if (doubled)
        model_->doubleRow(static_cast<std::size_t>(row));
    else
        model_->halveRow(static_cast<std::size_t>(row));
    fillTable();
    table_->selectRow(row);
}

std::optional<TempoCandidate> SuggestTempoDialog::chosen() const {
    const int row = table_->currentRow();
    if (!model_ || row < 0 || static_cast<std::size_t>(row) >= model_->rows())
        return std::nullopt;
    return model_->candidate(static_cast<std::size_t>(row));
}

} // namespace quillex
