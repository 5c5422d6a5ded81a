// The left mouse button through the window's own events: a beat of the demo song
// dragged with the mouse moves, and Undo puts it back in one step.
#include <QAction>
#include <QCursor>
#include <QTest>

#include <gtest/gtest.h>

#include "../settings/temp_folder.h"
#include "app/window/main_window.h"
#include "view/editor_view.h"

namespace quillex {
namespace {

std::vector<SamplePosition> beatSamples(const ItemStore& store) {
    std::vector<SamplePosition> out;
    for (const EditItem& b : store.beats())
        out.push_back(b.sample);
    return out;
}

TEST(MouseWindowTest, DraggingABeatMovesItAndUndoPutsItBack) {
    test::TempFolder folder;
    folder.write("options.ini", "");
    MainWindow window(ShellPaths::inFolder(folder.path()), QString());
    window.setUnattended(true);
    window.resize(800, 600);
    ASSERT_TRUE(window.start(QUILLEX_EXAMPLES_DIR "/demo/demo.sm"));
    window.view().setLayer(Layer::Arrow, false);
    ItemStore& store = window.editor().store();
    const std::vector<SamplePosition> before = beatSamples(store);

    // A beat well inside the editor, grabbed left of the note columns.
    QWidget* editor = window.centralWidget();
    const ViewGeometry view = window.view().geometry(window.editor().player().position());
    auto beat = std::find_if(before.begin(), before.end(),
                             [&](SamplePosition s) { return view.rowOfSample(s) > 150; });
    ASSERT_NE(beat, before.end());
    QPoint at(110, view.rowOfSample(*beat));
    auto moveTo = [&](QPoint p) {
        QCursor::setPos(editor->mapToGlobal(p)); // the frame loop reads the cursor
        QTest::mouseMove(editor, p);
        QTest::qWait(60);
    };
    moveTo(at);
    QTest::mousePress(editor, Qt::LeftButton, Qt::NoModifier, at);
    for (int step = 0; step < 4; ++step)
        moveTo(at += QPoint(0, 10));
    QTest::mouseRelease(editor, Qt::LeftButton, Qt::NoModifier, at);

    const std::vector<SamplePosition> after = beatSamples(store);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[static_cast<std::size_t>(beat - before.begin())],
              *beat + 40 * window.editor().waveView().samplesPerRow());
    EXPECT_EQ(window.action(CommandId::Undo)->text(), "Undo Drag Item(s)\tCtrl+Z");
    window.action(CommandId::Undo)->trigger();
    EXPECT_EQ(beatSamples(store), before);
    store.setModified(false);
    window.close();
}

} // namespace
} // namespace quillex
