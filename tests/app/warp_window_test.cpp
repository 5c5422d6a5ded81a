// Delays and warps through the window: inserted from the menu over the selected
// beats, undone and redone, and saved in the own format.
#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/window/main_window.h"
#include "window_fixture.h"

namespace quillex {
namespace {

class WarpWindowTest : public test::WindowFixture {
  protected:
    WarpWindowTest() {
        folder.write("options.ini", "");
        startFile = QUILLEX_EXAMPLES_DIR "/demo/demo.sm";
    }
    ItemStore& store() { return window->editor().store(); }
    void selectBeats(std::size_t first, std::size_t last) {
        store().clearAllSelection();
        auto& beats = store().beatList().edit();
        beats[first].selected = beats[last].selected = true;
    }
    std::vector<SamplePosition> noteSamples() {
        std::vector<SamplePosition> samples;
        for (const EditItem& n : store().notes(store().currentLevel()))
            samples.push_back(n.sample);
        return samples;
    }
};

TEST_F(WarpWindowTest, DelayAndWarpAreInsertedUndoneAndSaved) {
    Dispatcher& dispatcher = window->shell().dispatcher;
    ASSERT_GE(store().beats().size(), 12u);
    const std::vector<SamplePosition> before = noteSamples();

    selectBeats(2, 3);
    dispatcher.dispatch(CommandId::InsertDelay);
    ASSERT_EQ(store().delays().size(), 1u);
    EXPECT_EQ(store().delays()[0].row(), store().beats()[2].row());
    EXPECT_EQ(store().delays()[0].lengthRows(), kRowsPerBeat);

    selectBeats(6, 8);
    dispatcher.dispatch(CommandId::InsertWarp);
    ASSERT_EQ(store().warps().size(), 1u);
    EXPECT_EQ(store().warps()[0].lengthRows(), 2 * kRowsPerBeat);
    EXPECT_EQ(noteSamples(), before) << "a new warp moves no note in time";

    dispatcher.dispatch(CommandId::Undo);
    EXPECT_TRUE(store().warps().empty());
    EXPECT_EQ(store().delays().size(), 1u);
    dispatcher.dispatch(CommandId::Undo);
    EXPECT_TRUE(store().delays().empty());
    dispatcher.dispatch(CommandId::Redo);
    dispatcher.dispatch(CommandId::Redo);
    EXPECT_EQ(store().warps().size(), 1u);
    EXPECT_EQ(store().delays().size(), 1u);

    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        dialog->selectNameFilter(dialog->nameFilters().at(0));
        dialog->selectFile(QString::fromStdString(folder.file("warped.qx")));
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    });
    dispatcher.dispatch(CommandId::SaveAs);
    const std::string companion = folder.read("warped.qxx");
    EXPECT_NE(companion.find("#DELAYROWS:"), std::string::npos);
    EXPECT_NE(companion.find("#WARPROWS:"), std::string::npos);
}

} // namespace
} // namespace quillex
