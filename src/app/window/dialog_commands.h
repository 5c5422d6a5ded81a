// The commands that open the dialogs around the editor: Level Manager, Properties,
// Options, Go To, About and Statistics. Each handler makes its dialog over the main window, runs
// it modally and applies what it chose.
#pragma once

#include <functional>

#include <QDialog>
#include <QString>
#include <QWidget>

#include "app/forms/level_manager.h"
#include "app/shell/shell.h"

namespace quillex {

class EditorView;

struct DialogContext {
    QWidget* owner;
    Editor& editor;
    Shell& shell;
    EditorView& view;
    // Hands confirmed options to their owners.
    std::function<void(const Options&)> applyOptions;
    // Loads the song's banner and background again (their names changed).
    std::function<void()> reloadPictures;
    // The read-me About shows.
    QString readmePath;
};

class DialogCommands {
  public:
    explicit DialogCommands(DialogContext context);
    void registerAll();
    // Unattended runs close each dialog as soon as it shows, as if cancelled.
    bool unattended = false;

  private:
    void run(QDialog& dialog);
    void levelManager();
    void properties();
    void options();
    void goTo();
    void about();

    DialogContext c_;
    LevelManager manager_;
};

} // namespace quillex
