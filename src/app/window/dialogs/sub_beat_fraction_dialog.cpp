// Edit Sub-Beat Fraction, and the OK handling the three sync dialogs share.
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/window/dialogs/sync_dialogs.h"

namespace quillex {

bool QtSyncDialogs::runChecked(QDialog& dialog, QDialogButtonBox& buttons,
                               const std::function<std::optional<std::string>()>& refusal) {
    QObject::connect(&buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        if (auto message = refusal())
            messages_.show(*message);
        else
            dialog.accept();
    });
    QObject::connect(&buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return dialog.exec() == QDialog::Accepted;
}

bool QtSyncDialogs::editSubBeatFraction(SubBeatFractionModel& model) {
    QDialog dialog(owner_.data());
    dialog.setWindowTitle("Edit Sub-Beat Fraction");
    auto* layout = new QVBoxLayout(&dialog);
    auto* row = new QGridLayout;
    auto* fraction = new QLineEdit(QString::fromStdString(model.fractionText()));
    fraction->setObjectName("fraction");
    row->addWidget(new QLabel("Sub-Beat Fraction:"), 0, 0);
    row->addWidget(fraction, 0, 1);
    row->addWidget(new QLabel("/48"), 0, 2);
    layout->addLayout(row);
    auto* about = new QLabel(
        "There are 48 possible sub-beats in a normal beat.  This option allows you to sync to "
        "notes other than quarter notes.  Use the hints below to find the desired fraction for "
        "the sub-beat you have selected:");
    about->setWordWrap(true);
    layout->addWidget(about);
    layout->addWidget(new QLabel("8th Notes: 24\n12th Notes: 16, 32\n16th Notes: 12, 24, 36\netc..."));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    return runChecked(dialog, *buttons,
                      [&] { return model.accept(fraction->text().toStdString()); });
}

} // namespace quillex
