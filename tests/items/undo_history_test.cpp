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

} // namespace
} // namespace quillex
