#include "app/window/box_messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <cstdio>

namespace quillex {

void BoxMessages::show(std::string_view text, std::string_view caption) {
    if (unattended_) {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                     static_cast<int>(text.size()), text.data());
        return;
    }
    const QString body = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QString title = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    auto showBox = [owner = owner_, body, title] {
        QMessageBox box(QMessageBox::NoIcon, title, body, QMessageBox::Ok, owner.data());
        box.exec();
    };
    if (QThread::currentThread() == qApp->thread())
        showBox();
    else
        QMetaObject::invokeMethod(qApp, showBox, Qt::QueuedConnection);
}

bool BoxMessages::ask(std::string_view question, std::string_view caption) {
    if (unattended_ || QThread::currentThread() != qApp->thread()) {
        show(question, caption);
        return false;
    }
    const QString body =
        QString::fromUtf8(question.data(), static_cast<qsizetype>(question.size()));
    const QString title = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    QMessageBox box(QMessageBox::Question, title, body, QMessageBox::Yes | QMessageBox::No,
                    owner_.data());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

} // namespace quillex
