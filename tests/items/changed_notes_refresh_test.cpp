#include <gtest/gtest.h>

#include <functional>

#include "items/undo_history.h"
#include "support/store_fixture.h"

namespace quillex {
namespace {

using Items = ItemList::Items;

// A chart long enough to be held in many chunks: 13,000 notes five rows apart over 1,500
// beats, with a short hold at note 100.
struct LongChart : test::StoreFixture {
    LongChart() {
        addBeats(1500, 1000, 1000);
        for (int k = 0; k < 13000; ++k)
            addNote(0, k % 4, 48 + 5 * k, k == 100 ? 10 : 0);
        store.refresh();
    }
    std::int32_t rowOf(std::size_t i) const { return store.notes(0)[i].row(); }
    // The index one past chunk c's last note.
    std::size_t chunkEnd(std::size_t c) const {
        std::size_t end = 0;
        for (std::size_t k = 0; k <= c; ++k)
            end += store.notes(0).chunk(k).size();
        return end;
    }
};

// An edit of a long chart is refreshed by what it changed where it can and by the whole
// list where it must; either way the result is what refreshing the edited list from
// scratch gives, and undo and redo bring back both lists exactly.
TEST(ChangedNotesRefresh, GivesWhatARefreshFromScratchGives) {
    struct Case {
        const char* what;
        std::function<void(LongChart&)> edit;
        bool byChanges; // most of the list stays shared with the list before
    };
    const Case cases[] = {
        {"a note at the front", [](LongChart& c) { c.addNote(0, 1, 1); }, true},
        {"a note where two chunks meet",
         [](LongChart& c) { c.addNote(0, 2, c.rowOf(c.chunkEnd(0)) - 1); }, true},
        {"notes around a chunk's last item",
         [](LongChart& c) {
             for (int d : {-1, 1, 2})
                 c.addNote(0, 3, c.rowOf(c.chunkEnd(1) - 1) + d);
         },
         true},
        {"a note after the last one", [](LongChart& c) { c.addNote(0, 0, 70000); }, true},
        {"a note past the last beat", [](LongChart& c) { c.addNote(0, 0, 80000); }, true},
        {"a moved note", [](LongChart& c) { c.store.noteList(0).editAt(3000).beat += 2; }, true},
        {"a removed note", [](LongChart& c) { c.store.noteList(0).splice(4000, 4001, {}); }, true},
        {"a note on a taken spot", [](LongChart& c) { c.addNote(0, 0, 48); }, false},
        {"a note under a hold", [](LongChart& c) { c.addNote(0, 0, 550); }, false},
        {"a hold over notes", [](LongChart& c) { c.addNote(0, 1, 1000, 40); }, false},
    };
    for (const Case& test : cases) {
        LongChart quick;
        const ItemList before = quick.store.notes(0);
        UndoHistory history;
        history.open("Edit", {quick.store.snapshot()});
        test.edit(quick);
        LongChart scratch; // refreshes the same edited list with nothing to go by
        scratch.store.noteList(0).replace(quick.store.notes(0));
        quick.store.refresh();
        scratch.store.refresh();
        const ItemList after = quick.store.notes(0);
        EXPECT_EQ(after, Items(scratch.store.notes(0))) << test.what;

        std::size_t shared = 0;
        for (std::size_t c = 0; c < after.chunkCount(); ++c)
            for (std::size_t b = 0; b < before.chunkCount(); ++b)
                shared += after.sharesChunk(c, before, b) ? 1 : 0;
        EXPECT_EQ(shared * 2 > after.chunkCount(), test.byChanges) << test.what;

        history.commit({quick.store.snapshot()});
        const auto undone = history.undo({quick.store.snapshot()});
        EXPECT_EQ(undone->items.notes[0], before) << test.what;
        EXPECT_EQ(history.redo(*undone)->items.notes[0], after) << test.what;
    }
}

} // namespace
} // namespace quillex
