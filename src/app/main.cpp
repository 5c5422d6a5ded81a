// Program entry: the window placed where it was last, then start-up (which shows it
// once its pictures are loaded) and the event loop.
// `quillex FILE` opens FILE instead of showing the Open dialog. QUILLEX_SMOKE_FRAMES=N
// closes the window after N frames (the smoke test), playing the song meanwhile;
// QUILLEX_UNATTENDED prints the "Tip" boxes and closes the dialogs without a frame
// limit; QUILLEX_RECOVERY_SECONDS shortens the recovery copy's interval. `--help`
// and `--version` print and end before any window or display is touched.
#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <cstring>

#include "app/window/main_window.h"
#include "app/window/user_folders.h"

namespace {

constexpr const char* kHelp =
    "usage: quillex [FILE]\n"
    "       quillex --help | --version\n"
    "\n"
    "Edits the step charts of a song. FILE is a song (.qx, .sm) or a music file\n"
    "(.ogg, .mp3, .wav) to open; without one the Open dialog shows.\n"
    "Settings are kept in $XDG_CONFIG_HOME/quillex (~/.config/quillex), backups in\n"
    "$XDG_DATA_HOME/quillex/backup, the crash recovery copy in\n"
    "$XDG_STATE_HOME/quillex/recovery.\n";

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("quillex %s\n", QUILLEX_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("quillex");

    quillex::ShellPaths paths = quillex::userShellPaths(QCoreApplication::applicationDirPath());

    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const quillex::WindowGeometry place = quillex::readWindowGeometry(
        paths.window(),
        {available.left(), available.top(), available.right() + 1, available.bottom() + 1});

    // The pictures and sounds are installed beside the program.
    quillex::MainWindow window(paths, QCoreApplication::applicationDirPath());
    const int smokeFrames = qEnvironmentVariableIntValue("QUILLEX_SMOKE_FRAMES");
    window.setFrameLimit(smokeFrames);
    window.setUnattended(smokeFrames > 0 || qEnvironmentVariableIsSet("QUILLEX_UNATTENDED"));
    window.resize(place.width, place.height);
    window.move(place.left, place.top);

    const QStringList args = QCoreApplication::arguments();
    if (!window.start(args.size() > 1 ? args.at(1) : QString(), place.maximised))
        return 1;
    return app.exec();
}
