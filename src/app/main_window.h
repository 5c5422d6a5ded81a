// The program's one top-level window.
#pragma once

#include <QMainWindow>

#include "app/editor.h"

namespace quillex {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Editor& editor);

private:
    Editor& editor_;
};

} // namespace quillex
