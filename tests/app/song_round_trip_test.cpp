// The whole road of a song through the window: open the demo, save it as each file
// type through the Save As dialog, save again in place, and the title and flags that
// follow.
#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/window/main_window.h"
#include "settings/settings_syntax.h"
#include "window_fixture.h"

namespace quillex {
namespace {

class SongRoundTripTest : public test::WindowFixture {
  protected:
    SongRoundTripTest() {
        folder.write("options.ini", "");
        startFile = QUILLEX_EXAMPLES_DIR "/demo/demo.sm";
    }

    // Answers the next Save As dialog with `name` in the folder and file type `type`.
    void answerSaveAs(const std::string& name, int type) {
        QTimer::singleShot(0, [this, name, type] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            dialog->selectNameFilter(dialog->nameFilters().at(type - 1));
            dialog->selectFile(QString::fromStdString(folder.file(name)));
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        });
    }
    int bpmEntries(const std::string& name) {
        std::string text = folder.read(name);
        size_t start = text.find("#BPMS:");
        std::string bpms = text.substr(start, text.find(';', start) - start);
        return 1 + static_cast<int>(std::count(bpms.begin(), bpms.end(), ','));
    }
};

TEST_F(SongRoundTripTest, DemoOpensWithItsBeatsAndMusic) {
    EXPECT_TRUE(window->editor().player().loaded());
    EXPECT_GE(window->editor().store().beats().size(), 2u);
    EXPECT_FALSE(window->editor().store().modified());
    EXPECT_FALSE(window->shell().saveFlow.ownFormat());

    window->shell().dispatcher.dispatch(CommandId::PlayPause);
    EXPECT_TRUE(window->editor().player().playing());
    window->shell().dispatcher.dispatch(CommandId::PlayPause);
    EXPECT_FALSE(window->editor().player().playing());
}

TEST_F(SongRoundTripTest, SaveAsTypesAndSaveInPlace) {
    Dispatcher& dispatcher = window->shell().dispatcher;
    window->editor().store().setModified(true);
    answerSaveAs("single.sm", 3);
    dispatcher.dispatch(CommandId::Save); // an .sm song: Save is Save As
    EXPECT_EQ(bpmEntries("single.sm"), 1);
    EXPECT_FALSE(window->editor().store().modified());
    EXPECT_EQ(window->windowTitle(), "quillex - [quillex demo]");

    answerSaveAs("perbeat.sm", 2);
    dispatcher.dispatch(CommandId::SaveAs);
    EXPECT_GT(bpmEntries("perbeat.sm"), 1) << "another type restores per-beat BPMs";

    answerSaveAs("song.qx", 1);
    dispatcher.dispatch(CommandId::SaveAs);
    EXPECT_FALSE(folder.read("song.qx").empty());
    EXPECT_FALSE(folder.read("song.qxx").empty());

    std::filesystem::remove(folder.file("song.qx"));
    window->editor().store().setModified(true);
    dispatcher.dispatch(CommandId::Save); // now in place, no dialog
    EXPECT_FALSE(folder.read("song.qx").empty());
    EXPECT_FALSE(window->editor().store().modified());
}

TEST_F(SongRoundTripTest, AnSscSongKeepsItsDelayWhenTheWarpAfterItIsUndone) {
    Dispatcher& dispatcher = window->shell().dispatcher;
    answerSaveAs("demo.ssc", 4);
    dispatcher.dispatch(CommandId::SaveAs);
    dispatcher.openPath(folder.file("demo.ssc"));
    ItemStore& store = window->editor().store();
    ASSERT_TRUE(window->editor().player().loaded());
    const auto selectBeats = [&store](std::size_t first, std::size_t last) {
        store.clearAllSelection();
        auto& beats = store.beatList().edit();
        beats[first].selected = beats[last].selected = true;
    };
    selectBeats(2, 3);
    dispatcher.dispatch(CommandId::InsertDelay);
    selectBeats(6, 8);
    dispatcher.dispatch(CommandId::InsertWarp);
    ASSERT_EQ(store.warps().size(), 1u);
    dispatcher.dispatch(CommandId::Undo);
    EXPECT_TRUE(store.warps().empty());
    ASSERT_EQ(store.delays().size(), 1u);
    const std::size_t markers = store.beats().size();
    const SamplePosition delayEnd = store.timing().rowToSample(
        store.delays()[0].start().plusRows(store.delays()[0].lengthRows()));

    answerSaveAs("saved.ssc", 4);
    dispatcher.dispatch(CommandId::Save); // a song read from .ssc: Save is Save As
    const std::string saved = folder.read("saved.ssc");
    EXPECT_EQ(saved.find("#DELAYS:;"), std::string::npos) << saved.substr(0, 600);
    EXPECT_NE(saved.find("#WARPS:;"), std::string::npos);
    dispatcher.openPath(folder.file("saved.ssc"));
    ASSERT_EQ(store.delays().size(), 1u);
    EXPECT_EQ(store.beats().size(), markers);
    EXPECT_NEAR(store.timing().rowToSample(
                    store.delays()[0].start().plusRows(store.delays()[0].lengthRows())),
                delayEnd, 0.1e-3 * window->editor().player().sampleRate());
}

TEST_F(SongRoundTripTest, CloseEmptiesTheEditor) {
    window->shell().dispatcher.dispatch(CommandId::Close);
    EXPECT_FALSE(window->editor().player().loaded());
    EXPECT_TRUE(window->editor().store().beats().empty());
    EXPECT_FALSE(window->editor().store().modified());
}

} // namespace
} // namespace quillex
