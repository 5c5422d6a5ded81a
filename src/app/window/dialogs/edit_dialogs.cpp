#include "app/window/dialogs/edit_dialogs.h"

#include <QMessageBox>
#include <QPushButton>

namespace quillex {

namespace {

bool ask(QWidget* owner, const char* title, std::string_view text, QMessageBox::StandardButton yes,
         const char* yesText, QMessageBox::StandardButton no, const char* noText) {
    QMessageBox box(QMessageBox::NoIcon, title,
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), yes | no,
                    owner);
    box.button(yes)->setText(yesText);
    box.button(no)->setText(noText);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    return box.exec() == yes;
}

} // namespace

bool QtEditQuestions::confirmClearHistory(std::string_view text) {
    return ask(owner_.data(), "Clear History", text, QMessageBox::Yes, "&Yes", QMessageBox::No,
               "&No");
}

bool QtEditQuestions::confirmScale(std::string_view text) {
    return ask(owner_.data(), "Scale Notes", text, QMessageBox::Ok, "OK", QMessageBox::Cancel,
               "Cancel");
}

} // namespace quillex
