// Program entry: the window placed where it was last, then start-up (which shows it
// once its pictures are loaded) and the event loop.
// `quillex FILE` opens FILE instead of showing the Open dialog. QUILLEX_SMOKE_FRAMES=N
// closes the window after N frames (the smoke test).
#include <QApplication>
#include <QDir>
#include <QScreen>

#include "app/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("quillex");

    quillex::ShellPaths paths{QDir::currentPath().toStdString(),
                              QCoreApplication::applicationDirPath().toStdString()};

    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const quillex::WindowGeometry place = quillex::readWindowGeometry(
        paths.window(),
        {available.left(), available.top(), available.right() + 1, available.bottom() + 1});

    // The pictures and sounds are installed beside the program.
    quillex::MainWindow window(paths, QCoreApplication::applicationDirPath());
    const int smokeFrames = qEnvironmentVariableIntValue("QUILLEX_SMOKE_FRAMES");
    window.setFrameLimit(smokeFrames);
    window.setUnattended(smokeFrames > 0);
    window.resize(place.width, place.height);
    window.move(place.left, place.top);

    const QStringList args = QCoreApplication::arguments();
    if (!window.start(args.size() > 1 ? args.at(1) : QString(), place.maximised))
        return 1;
    return app.exec();
}
