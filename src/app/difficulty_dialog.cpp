#include "app/difficulty_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialog_text.h"
#include "app/level_manager.h"

namespace quillex {

namespace {

// Per difficulty, Beginner … Edit: the label's and the edit's control ids.
constexpr std::array<std::pair<int, int>, kDifficultyCount> kControls = {
    {{139, 137}, {131, 135}, {132, 92}, {133, 90}, {134, 94}, {141, 113}}};

} // namespace

DifficultyDialog::DifficultyDialog(Editor& editor, int gameType, int focused, QWidget* parent)
    : QDialog(parent), editor_(editor), gameType_(gameType) {
    setWindowTitle("Difficulty");
    editor.store().setModified(true);
    const auto fields = ratingFields(editor.store(), editor.meters(), gameType);
    auto* form = new QFormLayout;
    for (int d = 0; d < kDifficultyCount; ++d) {
        const auto i = static_cast<std::size_t>(d);
        auto* label = named(new QLabel(qtText(difficultySmName(d)) + ":", this), kControls[i].first);
        edits_[i] = lineEdit(kControls[i].second, fields[i].text, this);
        label->setBuddy(edits_[i]);
        label->setEnabled(fields[i].enabled);
        edits_[i]->setEnabled(fields[i].enabled);
        form->addRow(label, edits_[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(qtText(gameTypeLabel(gameType)), this));
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (focused >= 0 && focused < kDifficultyCount) {
        edits_[static_cast<std::size_t>(focused)]->setFocus();
        edits_[static_cast<std::size_t>(focused)]->selectAll();
    }
}

void DifficultyDialog::accept() {
    std::array<std::string, kDifficultyCount> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = stdText(edits_[i]->text());
    if (const auto refused = applyRatings(texts, editor_.store(), editor_.meters(), gameType_)) {
        editor_.messages().show(kRatingRefusedMessage);
        QLineEdit* edit = edits_[static_cast<std::size_t>(*refused)];
        edit->setFocus();
        edit->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace quillex
