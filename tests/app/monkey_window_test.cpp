// A randomised editing session on real songs, as an impatient author would have it:
// column keys pressed, held across drawn frames and released, mines, clicks and drags,
// commands, playing, undo and redo, with the density graph and the spectrogram drawn in
// every frame. After every step the lists must be in order; whenever no key is held
// they must also be tidy, and agree with a model kept beside them: a tap on a free spot
// adds one note, a tap on a note removes it, and Undo or Redo brings back exactly the
// lists the model saw at that point of the history.
// QUILLEX_MONKEY_SEED and QUILLEX_MONKEY_STEPS change the run, QUILLEX_MONKEY_TRACE
// prints every step; a failure names the seed and the step.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "app/window/main_window.h"
#include "items/note_order.h"
#include "model/note_kind.h"
#include "view/editor_view.h"
#include "window_fixture.h"

namespace quillex {
namespace {

struct NoteFact {
    int level, row, column, length, kind;
    friend bool operator==(const NoteFact&, const NoteFact&) = default;
};

// What Undo and Redo must bring back: every note of every chart and every marker.
struct ListsSeen {
    std::vector<NoteFact> notes;
    std::vector<SamplePosition> beats;
    friend bool operator==(const ListsSeen&, const ListsSeen&) = default;
};

unsigned long environmentNumber(const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    return text ? std::strtoul(text, nullptr, 10) : fallback;
}

class MonkeyWindowTest : public test::WindowFixture,
                         public ::testing::WithParamInterface<const char*> {
  protected:
    MonkeyWindowTest() {
        folder.write("options.ini", "");
        dataFolder = QUILLEX_DATA_DIR;
        size = QSize(900, 700);
        startFile = GetParam();
    }

    ItemStore& store() { return window->editor().store(); }
    Dispatcher& dispatcher() { return window->shell().dispatcher; }

    void frames(int count) {
        for (int i = 0; i < count; ++i)
            window->stepFrame();
    }
    void key(int column, bool down, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const int qtKey = column == 9 ? Qt::Key_0 : Qt::Key_1 + column;
        QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, qtKey, mods,
                        QString(QChar(column == 9 ? '0' : '1' + column)));
        QApplication::sendEvent(window->centralWidget(), &event);
        held_[static_cast<std::size_t>(column)] = down;
    }
    bool anyHeld() const { return std::find(held_.begin(), held_.end(), true) != held_.end(); }
    void click(QPoint at, Qt::KeyboardModifiers mods, QPoint dragBy) {
        QWidget* editor = window->centralWidget();
        const auto send = [&](QEvent::Type type, QPoint p, Qt::MouseButtons buttons) {
            QMouseEvent event(type, p, editor->mapToGlobal(p), Qt::LeftButton, buttons, mods);
            QApplication::sendEvent(editor, &event);
        };
        send(QEvent::MouseButtonPress, at, Qt::LeftButton);
        frames(1);
        if (dragBy != QPoint()) {
            send(QEvent::MouseMove, at + dragBy, Qt::LeftButton);
            frames(1);
        }
        send(QEvent::MouseButtonRelease, at + dragBy, Qt::NoButton);
        frames(1);
    }

    ListsSeen lists() {
        ListsSeen seen;
        for (LevelIndex level = 0; level < kLevelCount; ++level)
            for (const EditItem& n : store().notes(level))
                seen.notes.push_back({level, n.row(), n.column, n.isHold ? n.lengthRows() : 0,
                                      static_cast<int>(noteKindOf(n))});
        for (const EditItem& b : store().beats())
            seen.beats.push_back(b.sample);
        return seen;
    }

    // True at every step, a key held or not: a list anyone can read is in order.
    void expectInOrder(const std::string& where) {
        for (LevelIndex level = 0; level < kLevelCount; ++level) {
            const ItemList& notes = store().notes(level);
            for (std::size_t i = 1; i < notes.size(); ++i)
                ASSERT_LE(noteKey(notes[i - 1]), noteKey(notes[i]))
                    << where << ": level " << level << " out of order at " << i;
        }
        const ItemList& beats = store().beats();
        for (std::size_t i = 1; i < beats.size(); ++i)
            ASSERT_LE(beats[i - 1].sample, beats[i].sample) << where << ": beat " << i;
    }

    // True whenever no key is held and nothing plays: what the refresh promises.
    void expectTidy(const std::string& where) {
        const TimingMap timing = store().timing();
        const ItemList& beats = store().beats();
        for (std::size_t i = 1; i < beats.size(); ++i)
            ASSERT_LT(beats[i - 1].row(), beats[i].row()) << where << ": beat " << i;
        for (LevelIndex level = 0; level < kLevelCount; ++level) {
            const ItemList& notes = store().notes(level);
            for (std::size_t i = 0; i < notes.size(); ++i) {
                const EditItem& n = notes[i];
                ASSERT_TRUE(i == 0 || noteKey(notes[i - 1]) < noteKey(n))
                    << where << ": two notes on one spot, level " << level << " row " << n.row();
                ASSERT_TRUE(n.fraction >= 0 && n.fraction < kRowsPerBeat && n.lengthRows() >= 0)
                    << where << ": a note off the grid";
                ASSERT_TRUE(!n.isHold || n.lengthRows() > 0) << where << ": a hold without length";
                ASSERT_EQ(n.sample, timing.rowToSample(n.start())) << where << ": a stale time";
                for (std::size_t j = i + 1;
                     n.isHold && j < notes.size() && notes[j].row() <= n.endRow(); ++j)
                    ASSERT_NE(notes[j].column, n.column)
                        << where << ": a hold over a note, level " << level << " row " << n.row();
            }
        }
    }

    void run(unsigned long seed, unsigned long steps);

    std::array<bool, 10> held_{};
};

// Commands a person reaches by keys or menus without a dialog.
constexpr CommandId kCommands[] = {
    CommandId::NextRow,
    CommandId::PreviousRow,
    CommandId::PageUp,
    CommandId::PageDown,
    CommandId::ToStart,
    CommandId::ToEnd,
    CommandId::NextSnap,
    CommandId::PreviousSnap,
    CommandId::NextLevel,
    CommandId::PreviousLevel,
    CommandId::SelectAll,
    CommandId::SelectNone,
    CommandId::InvertSelection,
    CommandId::Delete,
    CommandId::Cut,
    CommandId::Copy,
    CommandId::Paste,
    CommandId::MirrorLeftRight,
    CommandId::TurnLeft,
    CommandId::QuantizeTo8th,
    CommandId::ScaleHalf,
    CommandId::ScaleDouble,
    CommandId::ChangeNoteType,
    CommandId::ZoomIn,
    CommandId::ZoomOut,
    CommandId::InsertBeat,
    CommandId::NudgeAway,
};

void MonkeyWindowTest::run(unsigned long seed, unsigned long steps) {
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::map<std::size_t, ListsSeen> seenAt; // by the history's position
    seenAt[window->editor().history().position()] = lists();

    for (unsigned long step = 0; step < steps; ++step) {
        const std::string where = "seed " + std::to_string(seed) + ", step " + std::to_string(step);
        const int columns = columnCountOfLevel(store().currentLevel());
        const std::size_t positionBefore = window->editor().history().position();
        bool undoOrRedo = false;
        std::optional<std::pair<std::size_t, int>> tapExpected; // level's note count, change
        const int choice = pick(100);
        if (choice < 30) { // a column key goes down or up, and the frames go on
            const int column = pick(columns);
            key(column, !held_[static_cast<std::size_t>(column)],
                pick(8) == 0 ? Qt::ShiftModifier : Qt::NoModifier);
            frames(1 + pick(4));
        } else if (choice < 45 && !anyHeld()) { // a tap, with what it must do
            const int column = pick(columns);
            MusicPlayer& player = window->editor().player();
            const RowPosition row = player.snappedRowAt(player.position());
            const ItemList& notes = store().notes(store().currentLevel());
            const bool onNote = std::any_of(notes.begin(), notes.end(), [&](const EditItem& n) {
                return n.column == column && n.row() == row.row();
            });
            const ItemList& beats = store().beats();
            if (beats.size() >= 2 && row.row() >= beats.front().row() &&
                row.row() <= beats.back().row())
                tapExpected = std::pair(notes.size(), onNote ? -1 : 1);
            key(column, true);
            frames(1 + pick(2));
            key(column, false);
            frames(1);
        } else if (choice < 60) { // moving while keys are held draws holds
            dispatcher().dispatch(pick(2) ? CommandId::NextRow : CommandId::PreviousRow);
            frames(1 + pick(3));
        } else if (choice < 75 && !anyHeld()) {
            dispatcher().dispatch(kCommands[pick(std::size(kCommands))]);
            frames(1);
        } else if (choice < 85 && !anyHeld()) {
            undoOrRedo = true;
            dispatcher().dispatch(pick(3) ? CommandId::Undo : CommandId::Redo);
            frames(1);
        } else if (choice < 93) {
            const QWidget* editor = window->centralWidget();
            click({pick(editor->width()), pick(editor->height())},
                  pick(4) == 0 ? Qt::ControlModifier : Qt::NoModifier,
                  pick(3) == 0 ? QPoint(0, pick(60) - 30) : QPoint());
        } else { // play a little, keys as they are, and stop
            dispatcher().dispatch(CommandId::PlayPause);
            frames(2 + pick(6));
            dispatcher().dispatch(CommandId::PlayPause);
            frames(1);
        }

        if (std::getenv("QUILLEX_MONKEY_TRACE"))
            std::fprintf(stderr, "%s: action %d, level %d, %zu notes\n", where.c_str(), choice,
                         store().currentLevel(), store().notes(store().currentLevel()).size());
        ASSERT_NO_FATAL_FAILURE(expectInOrder(where));
        if (anyHeld() || window->editor().player().playing())
            continue;
        frames(1); // the frame after the last release settles the entry
        ASSERT_NO_FATAL_FAILURE(expectTidy(where));
        if (tapExpected)
            ASSERT_EQ(static_cast<long>(store().notes(store().currentLevel()).size()),
                      static_cast<long>(tapExpected->first) + tapExpected->second)
                << where << ": a tap";
        const std::size_t position = window->editor().history().position();
        const ListsSeen now = lists();
        if (undoOrRedo && seenAt.count(position)) {
            ASSERT_TRUE(seenAt[position] == now) << where << ": Undo/Redo to " << position;
        } else {
            if (position != positionBefore) // a new entry drops the redo tail
                seenAt.erase(seenAt.upper_bound(position), seenAt.end());
            seenAt[position] = now;
        }
    }
}

TEST_P(MonkeyWindowTest, RandomEditingKeepsTheListsInOrderTidyAndUndoable) {
    dispatcher().dispatch(CommandId::SpectrogramLayer);
    frames(2);
    window->activateWindow(); // the column keys act only in the active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_TRUE(window->shell().state.active.load());
    const unsigned long seed = environmentNumber("QUILLEX_MONKEY_SEED", 20261208);
    const unsigned long steps = environmentNumber("QUILLEX_MONKEY_STEPS", 1500);
    run(seed, steps);
    for (int column = 0; column < 10; ++column)
        if (held_[static_cast<std::size_t>(column)])
            key(column, false);
    frames(2);
}

INSTANTIATE_TEST_SUITE_P(RealSongs, MonkeyWindowTest,
                         ::testing::Values(QUILLEX_EXAMPLES_DIR "/demo/demo.sm",
                                           QUILLEX_CHECK_CORPUS "/music/r01-goin-under.sm"));

} // namespace
} // namespace quillex
