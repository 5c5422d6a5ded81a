#include "app/window/recovery_offer.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

#include "app/session/editor.h"
#include "app/session/recovery.h"
#include "app/shell/shell.h"

namespace quillex {

int recoveryIntervalMs() {
    const int seconds = qEnvironmentVariableIntValue("QUILLEX_RECOVERY_SECONDS");
    return (seconds > 0 ? seconds : 60) * 1000;
}

bool offerRecoveryCopy(QWidget* owner, RecoveryCopy& copy, Shell& shell, Editor& editor,
                       bool unattended) {
    if (!copy.exists())
        return false;
    const QString path = QString::fromStdString(copy.songPath());
    const QString question = "quillex did not close normally. A copy of the unsaved song from " +
                             QFileInfo(path).lastModified().toString("yyyy-MM-dd HH:mm") +
                             " was kept.\n\nDo you want to restore it? (No deletes the copy.)";
    bool restore = false;
    if (unattended) {
        std::fprintf(stderr, "quillex: %s [unattended: No]\n", qPrintable(question));
    } else {
        QMessageBox box(QMessageBox::Question, "quillex", question,
                        QMessageBox::Yes | QMessageBox::No, owner);
        box.button(QMessageBox::Yes)->setText("&Yes");
        box.button(QMessageBox::No)->setText("&No");
        restore = box.exec() == QMessageBox::Yes;
    }
    if (!restore) {
        copy.adoptExisting();
        copy.discard();
        return false;
    }
    shell.dispatcher.openPath(copy.songPath());
    shell.recentFiles.remove(copy.songPath()); // the copy goes once the song is saved
    if (!editor.player().loaded())
        return false; // its music is gone; the copy stays for another try
    // The restored song has no file of its own yet: Save asks where it goes.
    shell.saveFlow.songOpened("", false);
    editor.store().setModified(true);
    copy.adoptExisting();
    return true;
}

} // namespace quillex
