// A fresh editor with settable music, and shorthands to fill its item store.
#pragma once

#include <initializer_list>

#include "app/session/editor.h"
#include "ports/messages.h"

namespace quillex::test {

struct StoreFixture {
    RecordingMessages messages;
    FixedMusicInfo music{44100, 44100 * 600};
    Editor editor{messages, music};
    ItemStore& store = editor.store();

    void addBeat(SamplePosition sample, bool white = false, bool locked = false) {
        store.addBeat(sample, {.locked = locked, .white = white});
    }
    void addSubBeat(SamplePosition sample, std::int32_t beat, std::int32_t fraction) {
        store.addBeatAtRow(sample, {beat, fraction});
    }
    // Regular beats every `spacing` samples from `first`, then a refresh.
    void addBeats(int count, SamplePosition first, SamplePosition spacing) {
        for (int i = 0; i < count; ++i)
            addBeat(first + i * spacing);
        store.refresh();
    }
    void addPause(std::int32_t startRow, std::int32_t lengthRows) {
        store.addPause(RowPosition::fromRow(startRow), RowPosition::fromRow(lengthRows));
    }
    void addNote(LevelIndex level, int column, std::int32_t row, std::int32_t lengthRows = 0,
                 bool mine = false) {
        store.addNote(level, column, RowPosition::fromRow(row), RowPosition::fromRow(lengthRows),
                      mine ? NoteKind::Mine : NoteKind::Tap);
    }
    std::vector<std::int32_t> noteRows(LevelIndex level) const {
        std::vector<std::int32_t> rows;
        for (const EditItem& n : store.notes(level))
            rows.push_back(n.row());
        return rows;
    }
    std::vector<SamplePosition> beatSamples() const {
        std::vector<SamplePosition> samples;
        for (const EditItem& b : store.beats())
            samples.push_back(b.sample);
        return samples;
    }
};

} // namespace quillex::test
