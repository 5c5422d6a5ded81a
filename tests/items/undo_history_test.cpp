#include <gtest/gtest.h>

#include "items/undo_history.h"

namespace quillex {
namespace {

// States told apart by their play position.
EditState at(SamplePosition cursor) {
    EditState s;
    s.cursor = cursor;
    return s;
}

TEST(UndoHistory, UndoAndRedoWalkTheChainOfStates) {
    UndoHistory h;
    h.open("Insert Beat", at(0));
    h.commit(at(1));
    h.open("Paste", at(1));
    h.commit(at(2));
    EXPECT_EQ(h.undo(at(2))->cursor, 1);
    EXPECT_EQ(h.undo(at(1))->cursor, 0);
    EXPECT_FALSE(h.undo(at(0)));
    EXPECT_EQ(h.redo(at(0))->cursor, 1);
    EXPECT_EQ(h.redo(at(1))->cursor, 2);
    EXPECT_FALSE(h.redo(at(2)));
}

TEST(UndoHistory, MenuCaptionsNameTheEntryAndKeepTheSpaceWhenGreyed) {
    UndoHistory h;
    EXPECT_EQ(h.menuState().undoCaption, "Undo \tCtrl+Z");
    EXPECT_FALSE(h.menuState().canUndo);
    h.open("Insert Beat", at(0));
    h.commit(at(1));
    UndoMenuState m = h.menuState();
    EXPECT_EQ(m.undoCaption, "Undo Insert Beat\tCtrl+Z");
    EXPECT_TRUE(m.canUndo);
    EXPECT_FALSE(m.canRedo);
    h.undo(at(1));
    m = h.menuState();
    EXPECT_EQ(m.undoCaption, "Undo \tCtrl+Z");
    EXPECT_EQ(m.redoCaption, "Redo Insert Beat\tCtrl+Y");
    EXPECT_TRUE(m.canRedo);
}

TEST(UndoHistory, ANewEditDropsTheRedoTailButKeepsItsEntriesAllocated) {
    UndoHistory h;
    h.open("Insert Beat", at(0));
    h.commit(at(1));
    h.open("Insert Beat", at(1));
    h.commit(at(2));
    h.undo(at(2));
    h.undo(at(1));
    h.open("Insert Pause", at(0));
    h.commit(at(3));
    EXPECT_FALSE(h.menuState().canRedo);
    EXPECT_EQ(h.allocatedCount(), 2u);
    EXPECT_EQ(h.activeCount(), 1u);
    EXPECT_EQ(h.undo(at(3))->cursor, 0);
    h.clear();
    EXPECT_EQ(h.allocatedCount(), 0u);
    EXPECT_FALSE(h.menuState().canUndo);
}

TEST(UndoHistory, AnEntryLeftOpenIsCommittedBeforeTheNextStep) {
    // A held column key opens "Edit Note"; pasting meanwhile must not leave that entry
    // empty, or undoing it would restore a state nobody stored.
    UndoHistory h;
    h.open("Edit Note", at(0));
    h.open("Paste", at(5));
    h.commit(at(6));
    EXPECT_EQ(h.undo(at(6))->cursor, 5);
    EXPECT_EQ(h.undo(at(5))->cursor, 0);

    UndoHistory g;
    g.open("Edit Note", at(0));
    EXPECT_EQ(g.undo(at(7))->cursor, 0);
    EXPECT_EQ(g.redo(at(0))->cursor, 7);
}

TEST(UndoHistory, RecommittingTheLastEntryGroupsSteps) {
    UndoHistory h;
    h.open("Nudge", at(0));
    h.commit(at(1));
    h.commit(at(2));
    EXPECT_EQ(h.activeCount(), 1u);
    EXPECT_EQ(h.undo(at(2))->cursor, 0);
    EXPECT_EQ(h.redo(at(0))->cursor, 2);
}

// States of one long chart: the history keeps older ones as patches against newer ones,
// and every state must come back exactly, through undo, redo and a dropped redo tail.
TEST(UndoHistory, LongListsComeBackExactlyFromTheirPatches) {
    std::vector<ItemList::Items> charts(1);
    for (int i = 0; i < 200; ++i) {
        EditItem n;
        n.kind = ItemKind::Note;
        n.beat = i;
        charts[0].push_back(n);
    }
    auto edited = [&](auto change) {
        ItemList::Items next = charts.back();
        change(next);
        charts.push_back(next);
    };
    edited([](auto& c) { c.insert(c.begin() + 50, c[10]); });
    edited([](auto& c) { c[120].column = 3; });
    edited([](auto& c) { c.erase(c.begin() + 5, c.begin() + 9); });
    edited([](auto& c) { for (auto& n : c) n.selected = true; }); // every item changed

    auto stateOf = [](const ItemList::Items& chart) {
        EditState s;
        s.items.notes[7].replace(chart);
        return s;
    };
    UndoHistory h;
    for (std::size_t k = 1; k < charts.size(); ++k) {
        h.open("Edit", stateOf(charts[k - 1]));
        h.commit(stateOf(charts[k]));
    }
    for (std::size_t k = charts.size() - 1; k-- > 0;)
        EXPECT_EQ(h.undo(stateOf(charts[k + 1]))->items.notes[7].items(), charts[k]) << k;
    for (std::size_t k = 1; k < charts.size(); ++k)
        EXPECT_EQ(h.redo(stateOf(charts[k - 1]))->items.notes[7].items(), charts[k]) << k;

    h.undo(stateOf(charts[4]));
    h.undo(stateOf(charts[3]));
    h.open("Edit", stateOf(charts[2]));
    h.commit(stateOf(charts[0]));
    EXPECT_EQ(h.undo(stateOf(charts[0]))->items.notes[7].items(), charts[2]);
    EXPECT_EQ(h.undo(stateOf(charts[2]))->items.notes[7].items(), charts[1]);
    EXPECT_EQ(h.undo(stateOf(charts[1]))->items.notes[7].items(), charts[0]);
}

} // namespace
} // namespace quillex
