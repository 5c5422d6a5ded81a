#include "app/window/dialogs/about_dialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUrl>
#include <QVBoxLayout>

#include "app/window/dialogs/dialog_text.h"

#ifndef QUILLEX_VERSION
#define QUILLEX_VERSION "unknown"
#endif

namespace quillex {

AboutDialog::AboutDialog(const QString& readmePath, QWidget* parent) : QDialog(parent) {
    setWindowTitle("About quillex");
    auto* name = new QLabel("<b>quillex</b>", this);
    auto* version = new QLabel("Version " QUILLEX_VERSION, this);
    auto* credits = new QLabel("A step chart editor for dance and pump rhythm games.", this);
    // Where the read-me lives, as an address the user can copy.
    auto* address = named(new QLineEdit(QUrl::fromLocalFile(readmePath).toString(), this), 143);
    address->setReadOnly(true);

    auto* readme = named(new QPlainTextEdit(this), 210);
    readme->setReadOnly(true);
    readme->setLineWrapMode(QPlainTextEdit::NoWrap);
    readme->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    readme->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QFile file(readmePath);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        readme->setPlainText(QString::fromUtf8(file.readAll()));
    // Wide enough for the read-me's 80-column lines.
    readme->setMinimumSize(readme->fontMetrics().horizontalAdvance(QString(84, 'M')), 320);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : {static_cast<QWidget*>(name), static_cast<QWidget*>(version),
                       static_cast<QWidget*>(credits), static_cast<QWidget*>(address)})
        layout->addWidget(w);
    layout->addWidget(new QLabel("Read Me", this));
    layout->addWidget(readme, 1);
    layout->addWidget(buttons);
}

} // namespace quillex
