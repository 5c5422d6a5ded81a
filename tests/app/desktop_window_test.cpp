// The program as a desktop citizen: its files under the user's folders, songs saved
// into another folder that still open, the crash recovery copy, and no frames drawn
// while nothing changes.
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/window/main_window.h"
#include "app/window/recovery_offer.h"
#include "cli/song_tool.h"
#include "app/window/user_folders.h"
#include "audio/platform/sndfile_decoder.h"
#include "audio/silent_output.h"
#include "view/editor_view.h"
#include "window_fixture.h"

namespace quillex {
namespace {

TEST(UserFolders, FollowTheBaseDirectoryVariables) {
    test::TempFolder folder;
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("quillex");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(folder.file("config")));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(folder.file("data")));
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(folder.file("state")));
    const ShellPaths paths = userShellPaths("/opt/quillex");
    QCoreApplication::setApplicationName(name);
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
        qunsetenv(variable);
    EXPECT_EQ(paths.options(), folder.file("config/quillex/options.ini"));
    EXPECT_EQ(paths.noteskins(), folder.file("config/quillex/noteskin.ini"));
    EXPECT_EQ(paths.window(), folder.file("config/quillex/window.ini"));
    EXPECT_EQ(paths.backupFolder(), folder.file("data/quillex/backup"));
    EXPECT_EQ(paths.recoveryFolder(), folder.file("state/quillex/recovery"));
    EXPECT_EQ(paths.programFolder, "/opt/quillex");
}

class DesktopWindowTest : public test::WindowFixture {
  protected:
    DesktopWindowTest() {
        folder.write("options.ini", "");
        startFile = QUILLEX_EXAMPLES_DIR "/demo/demo.sm";
    }
    void answerSaveAs(const std::string& path) {
        QTimer::singleShot(0, [path] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            dialog->selectFile(QString::fromStdString(path));
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        });
    }
    // A beat added before the first one, as Shift+N does in sync mode.
    void edit() {
        Dispatcher& dispatcher = window->shell().dispatcher;
        if (window->editor().store().layerOn(Layer::Arrow)) // notes shown: not in sync mode
            dispatcher.dispatch(CommandId::SyncMode);
        dispatcher.dispatch(CommandId::PrevBeatAtStart);
        ASSERT_TRUE(window->editor().store().modified());
    }
};

std::string notesOf(const std::string& path) {
    AudioBackend audio;
    audio.makeDecoder = [] { return std::make_unique<SndfileDecoder>(); };
    audio.output = std::make_unique<SilentOutput>();
    std::ostringstream out, err;
    EXPECT_EQ(runSongTool({"notes", path}, out, err, std::move(audio)), 0) << err.str();
    return out.str();
}

TEST_F(DesktopWindowTest, SaveAsIntoAnotherFolderStillFindsTheMusic) {
    std::filesystem::create_directories(folder.file("elsewhere/deeper"));
    const std::string saved = folder.file("elsewhere/deeper/copy.sm");
    answerSaveAs(saved);
    window->shell().dispatcher.dispatch(CommandId::SaveAs);
    const std::string text = folder.read("elsewhere/deeper/copy.sm");
    EXPECT_NE(text.find("#MUSIC:"), std::string::npos);
    EXPECT_EQ(text.find("#MUSIC:demo.ogg;"), std::string::npos) << "a bare name would not be found";
    const std::string original = notesOf(QUILLEX_EXAMPLES_DIR "/demo/demo.sm");
    EXPECT_FALSE(original.empty());
    EXPECT_EQ(notesOf(saved), original);
    // The next Save As starts at the song's own file.
    EXPECT_EQ(window->shell().saveFlow.saveAsStart().path, folder.file("elsewhere/deeper/copy"));
}

TEST_F(DesktopWindowTest, RecoveryCopyFollowsChangesAndGoesWithASave) {
    RecoveryCopy& recovery = window->recovery();
    EXPECT_FALSE(recovery.update()) << "an unmodified song needs no copy";
    edit();
    ASSERT_TRUE(recovery.update());
    recovery.wait();
    EXPECT_TRUE(recovery.exists());
    EXPECT_FALSE(recovery.update()) << "nothing changed since the last copy";
    edit();
    EXPECT_TRUE(recovery.update());
    recovery.wait();
    const std::string copied = notesOf(recovery.songPath()); // it finds its music

    answerSaveAs(folder.file("saved.qx"));
    window->shell().dispatcher.dispatch(CommandId::SaveAs);
    EXPECT_FALSE(recovery.exists());
    EXPECT_EQ(copied, notesOf(folder.file("saved.qx"))) << "the copy holds the edits";
    EXPECT_NE(copied, notesOf(QUILLEX_EXAMPLES_DIR "/demo/demo.sm"));
}

TEST_F(DesktopWindowTest, ARestoredCopyOpensModifiedWithoutAFileOfItsOwn) {
    namespace fs = std::filesystem;
    RecoveryCopy& recovery = window->recovery();
    edit();
    ASSERT_TRUE(recovery.update());
    recovery.wait();
    const fs::path copy = recovery.songPath();
    // Kept beside the recovery folder, at its depth, so the copy's relative #MUSIC
    // still finds the music wherever the checkout lies.
    const fs::path kept = copy.parent_path().parent_path() / "kept";
    fs::create_directories(kept);
    const std::string left = (kept / "left.qx").string();
    fs::copy_file(copy, left);
    fs::copy_file(fs::path(copy).replace_extension(".qxx"), kept / "left.qxx");
    window->editor().store().setModified(false); // the changes declined
    window->shell().dispatcher.dispatch(CommandId::Close);
    EXPECT_FALSE(recovery.exists()) << "a close removes the copy";

    // The copy as a killed run leaves it, and Yes to the offer.
    fs::copy_file(left, copy);
    fs::copy_file(kept / "left.qxx", fs::path(copy).replace_extension(".qxx"));
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        box->button(QMessageBox::Yes)->click();
    });
    ASSERT_TRUE(
        offerRecoveryCopy(window.get(), recovery, window->shell(), window->editor(), false));
    EXPECT_TRUE(window->editor().store().modified());
    EXPECT_FALSE(window->shell().saveFlow.ownFormat()) << "Save asks where";
    answerSaveAs(folder.file("restored.sm"));
    window->shell().dispatcher.dispatch(CommandId::Save);
    EXPECT_EQ(notesOf(folder.file("restored.sm")), notesOf(left));
    EXPECT_FALSE(recovery.exists());
}

TEST_F(DesktopWindowTest, NoFrameWhileNothingChangesAndOneAfterAKey) {
    // The status panels the song's opening lit have faded (the frames step them when
    // drawn; here nothing is drawn).
    for (int step = 0; step < 200; ++step)
        window->view().status().fadeStep();
    QTest::qWait(400);
    const int resting = window->framesDrawn();
    QTest::qWait(300);
    EXPECT_EQ(window->framesDrawn(), resting);
    QTest::keyClick(window->centralWidget(), Qt::Key_Down);
    QTest::qWait(100);
    EXPECT_GT(window->framesDrawn(), resting);
}

} // namespace
} // namespace quillex
