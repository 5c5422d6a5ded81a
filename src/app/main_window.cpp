#include "app/main_window.h"

namespace quillex {

MainWindow::MainWindow(Editor& editor) : editor_(editor) {
    setWindowTitle("quillex");
    resize(800, 600);
}

} // namespace quillex
