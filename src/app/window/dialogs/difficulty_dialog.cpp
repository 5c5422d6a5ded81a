#include "app/window/dialogs/difficulty_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/window/dialogs/dialog_text.h"
#include "app/forms/level_manager.h"

namespace quillex {

namespace {

// Per difficulty, Beginner … Edit: the label's and the edit's control ids.
constexpr std::array<std::pair<int, int>, kDifficultyCount> kControls = {
    {{139, 137}, {131, 135}, {132, 92}, {133, 90}, {134, 94}, {141, 113}}};
// The description edit of difficulty d has the id kFirstDescriptionId + d.
constexpr int kFirstDescriptionId = 9100;

} // namespace

DifficultyDialog::DifficultyDialog(Editor& editor, int gameType, int focused, QWidget* parent)
    : QDialog(parent), editor_(editor), gameType_(gameType) {
    setWindowTitle("Difficulty");
    editor.store().setModified(true);
    const auto fields = ratingFields(editor.store(), editor.meters(), editor.song(), gameType);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Rating", this), 0, 1);
    grid->addWidget(new QLabel("Description", this), 0, 2);
    for (int d = 0; d < kDifficultyCount; ++d) {
        const auto i = static_cast<std::size_t>(d);
        auto* label =
            named(new QLabel(qtText(difficultySmName(d)) + ":", this), kControls[i].first);
        edits_[i] = lineEdit(kControls[i].second, fields[i].text, this);
        descriptions_[i] = lineEdit(kFirstDescriptionId + d, fields[i].description, this);
        label->setBuddy(edits_[i]);
        for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(edits_[i]),
                           static_cast<QWidget*>(descriptions_[i])})
            w->setEnabled(fields[i].enabled);
        grid->addWidget(label, d + 1, 0);
        grid->addWidget(edits_[i], d + 1, 1);
        grid->addWidget(descriptions_[i], d + 1, 2);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(qtText(gameTypeLabel(gameType)), this));
    layout->addLayout(grid);
    layout->addWidget(buttons);
    if (focused >= 0 && focused < kDifficultyCount) {
        edits_[static_cast<std::size_t>(focused)]->setFocus();
        edits_[static_cast<std::size_t>(focused)]->selectAll();
    }
}

void DifficultyDialog::accept() {
    std::array<DifficultyEntry, kDifficultyCount> entries;
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i] = {stdText(edits_[i]->text()), stdText(descriptions_[i]->text())};
    if (const auto refused =
            applyRatings(entries, editor_.store(), editor_.meters(), editor_.song(), gameType_)) {
        editor_.messages().show(refused->message);
        const auto i = static_cast<std::size_t>(refused->difficulty);
        QLineEdit* edit = refused->description ? descriptions_[i] : edits_[i];
        edit->setFocus();
        edit->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace quillex
