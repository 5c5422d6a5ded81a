// Grow/Smooth Selected Region: grow the region to one average BPM (optionally filling
// beats on to the end of the song), or smooth it with a running average.
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/window/dialogs/sync_dialogs.h"

namespace quillex {

bool QtSyncDialogs::growSmooth(GrowSmoothModel& model) {
    QDialog dialog(owner_.data());
    dialog.setWindowTitle("Grow/Smooth Selected Region");
    auto* layout = new QVBoxLayout(&dialog);

    auto* growBox = new QGroupBox("Grow Beats to a Single Avg. BPM");
    auto* growMode = new QRadioButton("Choose This Mode");
    auto* bpm = new QLineEdit(QString::fromStdString(model.bpmText()));
    bpm->setObjectName("bpm");
    auto* suggestAverage = new QPushButton("Suggest Average BPM of Grow Region");
    auto* suggestFirst = new QPushButton("Suggest First BPM of Grow Region");
    auto* fill = new QCheckBox("Fill beats to the end of the song");
    auto* growGrid = new QGridLayout(growBox);
    growGrid->addWidget(growMode, 0, 0, 1, 3);
    growGrid->addWidget(new QLabel("Grow to: "), 1, 0);
    growGrid->addWidget(bpm, 1, 1);
    growGrid->addWidget(new QLabel("new avg. BPM"), 1, 2);
    growGrid->addWidget(suggestAverage, 2, 0, 1, 3);
    growGrid->addWidget(suggestFirst, 3, 0, 1, 3);
    growGrid->addWidget(fill, 4, 0, 1, 3);
    layout->addWidget(growBox);

    auto* smoothBox = new QGroupBox("Smooth Beats");
    auto* smoothMode = new QRadioButton("Choose This Mode");
    auto* window = new QLineEdit(QString::fromStdString(model.windowText()));
    window->setObjectName("window");
    auto* smoothGrid = new QGridLayout(smoothBox);
    smoothGrid->addWidget(smoothMode, 0, 0, 1, 3);
    smoothGrid->addWidget(new QLabel("Window:"), 1, 0);
    smoothGrid->addWidget(window, 1, 1);
    smoothGrid->addWidget(new QLabel("beats"), 1, 2);
    layout->addWidget(smoothBox);

    layout->addWidget(new QLabel("No Beats Selected:\n    Region = current position to end of song\n"
                                 "One Beat Selected:\n    Region = selected beat to end of song\n"
                                 "Two Beats+ Selected:\n    Region = first and last selected beats"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);

    const auto showMode = [=](bool grow) {
        growMode->setChecked(grow);
        smoothMode->setChecked(!grow);
        for (QWidget* w : {static_cast<QWidget*>(bpm), static_cast<QWidget*>(suggestAverage),
                           static_cast<QWidget*>(suggestFirst)})
            w->setEnabled(grow);
        fill->setEnabled(grow && model.fillBoxEnabled());
        fill->setChecked(grow && model.fillBoxEnabled());
        window->setEnabled(!grow);
    };
    showMode(model.growMode());
    QObject::connect(growMode, &QRadioButton::clicked, &dialog, [=] { showMode(true); });
    QObject::connect(smoothMode, &QRadioButton::clicked, &dialog, [=] { showMode(false); });
    QObject::connect(suggestAverage, &QPushButton::clicked, &dialog,
                     [=, &model] { bpm->setText(QString::fromStdString(model.averageBpmText())); });
    QObject::connect(suggestFirst, &QPushButton::clicked, &dialog,
                     [=, &model] { bpm->setText(QString::fromStdString(model.firstBpmText())); });
    return runChecked(dialog, *buttons, [&] {
        return model.accept(growMode->isChecked(), bpm->text().toStdString(),
                            window->text().toStdString(), fill->isChecked());
    });
}

} // namespace quillex
