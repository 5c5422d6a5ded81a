#include "app/window/dialogs/go_to_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/window/dialogs/dialog_text.h"
#include "app/forms/go_to.h"

namespace quillex {

GoToDialog::GoToDialog(Editor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setWindowTitle("Go To");
    const MusicPlayer& player = editor.player();
    edit_ = lineEdit(70, goToText(player.position(), player.timeFormat(), editor.store().timing()),
                     this);
    edit_->setMaxLength(255);
    edit_->selectAll();
    auto* form = new QFormLayout;
    form->addRow("&Go to:", edit_);
    auto* usage = new QLabel("12.345\t(Time in seconds)\n12:00\t(Time in beats)\n"
                             "12345\t(Time in samples)",
                             this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(usage);
    layout->addWidget(buttons);
}

void GoToDialog::accept() {
    const GoToTarget target = goToTarget(stdText(edit_->text()), editor_.store().timing());
    if (!target.sample) {
        editor_.messages().show(target.refusal);
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    editor_.player().seek(*target.sample);
    QDialog::accept();
}

} // namespace quillex
