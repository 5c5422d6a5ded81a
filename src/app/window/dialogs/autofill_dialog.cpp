// Autofill Beats: an even grid at one average BPM from a first-beat time, or a number
// of beats inserted between consecutive selected beats.
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analysis/tempo_suggestion_model.h"
#include "app/window/dialogs/sync_dialogs.h"

namespace quillex {

bool QtSyncDialogs::autofill(AutofillModel& model) {
    QDialog dialog(owner_.data());
    dialog.setWindowTitle("Autofill Beats");
    auto* layout = new QVBoxLayout(&dialog);
    const auto text = [](const std::string& s) { return QString::fromStdString(s); };

    auto* averageBox = new QGroupBox("Single Average BPM");
    auto* averageMode = new QRadioButton("Choose This Mode");
    auto* bpm = new QLineEdit(text(model.bpmText()));
    bpm->setObjectName("bpm");
    auto* offset = new QLineEdit(text(model.offsetText()));
    offset->setObjectName("offset");
    auto* averageNote = new QLabel("This mode gives the offset and average BPM based on existing "
                                   "beat markers, if you are returning to this dialog.");
    averageNote->setWordWrap(true);
    auto* averageGrid = new QGridLayout(averageBox);
    averageGrid->addWidget(averageMode, 0, 0, 1, 3);
    averageGrid->addWidget(new QLabel("Avg. BPM:"), 1, 0);
    averageGrid->addWidget(bpm, 1, 1);
    averageGrid->addWidget(new QLabel("SM Offset: -"), 2, 0);
    averageGrid->addWidget(offset, 2, 1);
    averageGrid->addWidget(new QLabel("seconds"), 2, 2);
    averageGrid->addWidget(averageNote, 3, 0, 1, 3);
    QPushButton* suggest = nullptr;
    if (suggester_) {
        suggest = new QPushButton("Suggest");
        suggest->setObjectName("suggest");
        suggest->setToolTip("Hear the tempo and the first beat in the music");
        averageGrid->addWidget(suggest, 1, 2);
    }
    layout->addWidget(averageBox);

    auto* insertBox = new QGroupBox("Insertion Mode");
    auto* insertMode = new QRadioButton("Choose This Mode");
    auto* count = new QLineEdit(text(model.countText()));
    count->setObjectName("count");
    auto* insertNote =
        new QLabel("Inserted beats are equally spaced. Use this mode for advanced editing.");
    insertNote->setWordWrap(true);
    auto* insertGrid = new QGridLayout(insertBox);
    insertGrid->addWidget(insertMode, 0, 0, 1, 3);
    insertGrid->addWidget(new QLabel("Insert"), 1, 0);
    insertGrid->addWidget(count, 1, 1);
    insertGrid->addWidget(new QLabel("new beat(s) between consecutive selected beats."), 1, 2);
    insertGrid->addWidget(insertNote, 2, 0, 1, 3);
    insertMode->setEnabled(model.insertionAvailable());
    layout->addWidget(insertBox);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);

    const auto showMode = [=](bool average) {
        averageMode->setChecked(average);
        insertMode->setChecked(!average);
        bpm->setEnabled(average);
        offset->setEnabled(average);
        count->setEnabled(!average);
    };
    showMode(model.averageMode());
    QObject::connect(averageMode, &QRadioButton::clicked, &dialog, [=] { showMode(true); });
    QObject::connect(insertMode, &QRadioButton::clicked, &dialog, [=] { showMode(false); });
    if (suggest)
        QObject::connect(suggest, &QPushButton::clicked, &dialog, [=, this] {
            const auto candidate = suggester_();
            if (!candidate)
                return;
            bpm->setText(text(tempoText(*candidate)));
            offset->setText(text(firstBeatSecondsText(*candidate)));
            showMode(true);
        });
    return runChecked(dialog, *buttons, [&] {
        return model.accept(averageMode->isChecked(), bpm->text().toStdString(),
                            offset->text().toStdString(), count->text().toStdString());
    });
}

} // namespace quillex
