// The main window over a fresh settings folder, with no "Tip" box or dialog waiting
// for a person, started on a file. A test sets the folder's files, the start file,
// the size and whether dialogs show in its constructor; SetUp starts the window.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QSize>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../settings/temp_folder.h"
#include "app/window/main_window.h"

namespace quillex::test {

class WindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(ShellPaths::inFolder(folder.path()), dataFolder);
        window->setUnattended(true);
        window->setDialogsUnattended(!dialogsShow);
        if (size.isValid())
            window->resize(size);
        ASSERT_TRUE(window->start(QString::fromStdString(startFile)));
    }
    void TearDown() override {
        window->editor().store().setModified(false);
        window->close();
    }

    // A key pressed and released on the editor.
    void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent down(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(window->centralWidget(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(window->centralWidget(), &up);
    }

    TempFolder folder;
    // A file of no supported type: start-up opens it instead of the Open dialog.
    std::string startFile = folder.file("none.txt");
    bool dialogsShow = false;
    QString dataFolder; // empty: a plain surface that draws nothing
    QSize size;         // invalid: the window's own size
    std::unique_ptr<MainWindow> window;
};

} // namespace quillex::test
