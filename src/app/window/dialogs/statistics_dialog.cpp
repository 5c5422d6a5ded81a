#include "app/window/dialogs/statistics_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/forms/statistics_form.h"
#include "app/window/dialogs/dialog_text.h"

namespace quillex {

StatisticsDialog::StatisticsDialog(const Editor& editor, QWidget* parent) : QDialog(parent) {
    const StatisticsView view = statisticsView(editor);
    setWindowTitle("Statistics");
    auto* layout = new QVBoxLayout(this);
    auto* chart = new QLabel(qtText(view.chart), this);
    QFont bold = chart->font();
    bold.setBold(true);
    chart->setFont(bold);
    layout->addWidget(chart);
    auto* form = new QFormLayout;
    for (const StatisticsField& field : view.fields) {
        // Each value is named by its key, so tests find it.
        auto* value = new QLabel(qtText(field.value), this);
        value->setObjectName(qtText(field.key));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(qtText(field.label) + ":", value);
    }
    layout->addLayout(form);
    auto* legend = new QLabel(qtText(view.legend), this);
    legend->setWordWrap(true);
    layout->addWidget(legend);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace quillex
