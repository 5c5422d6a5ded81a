#include "app/input/keyboard_note_entry.h"

#include <algorithm>

#include "items/note_order.h"
#include "model/note_kind.h"

namespace quillex {

namespace {

// While playing, a key held for up to this many rows leaves a tap.
constexpr std::int32_t kLongestTapWhilePlaying = 12;
constexpr int kQuarterNotes = 1; // divisions per beat

} // namespace

KeyboardNoteEntry::KeyboardNoteEntry(Editor& editor, Dispatcher& dispatcher,
                                     const KeyDownTable& down, KeyStateTable& states,
                                     const ShellState& shell)
    : editor_(editor), dispatcher_(dispatcher), down_(down), presses_(down), states_(states),
      shell_(shell) {}

RowPosition KeyboardNoteEntry::positionRow() const {
    return editor_.player().snappedRowAt(editor_.player().position());
}

std::optional<std::size_t> KeyboardNoteEntry::noteOfPress(int column) const {
    const Press& p = pressOf_[static_cast<std::size_t>(column)];
    const ItemList& list = editor_.store().notes(editor_.store().currentLevel());
    // The list is in order; of notes on one spot the press's own is the last, as the
    // store puts a new note after those already there.
    const std::int64_t key = noteKey(p.noteRow.row(), column);
    const auto after =
        std::upper_bound(list.begin(), list.end(), key,
                         [](std::int64_t k, const EditItem& n) { return k < noteKey(n); });
    if (after == list.begin() || noteKey(*std::prev(after)) != key)
        return std::nullopt;
    return static_cast<std::size_t>(std::prev(after) - list.begin());
}

bool KeyboardNoteEntry::frame() {
    ItemStore& store = editor_.store();
    if (store.busyCounter().busy())
        return false; // presses wait in the key table's log
    if (down_.ctrlDown()) {
        presses_.skipAll();
        return false;
    }
    if (!shell_.active.load() || store.beats().size() < 2) {
        presses_.skipAll();
        return true;
    }
    const LevelIndex level = store.currentLevel();
    const int columns = columnCountOfLevel(level);
    const auto& keys = dispatcher_.columnKeys;
    std::array<KeyPressReader::Presses, kMaxColumns> presses;
    bool anyPressed = false;
    for (int j = 0; j < columns; ++j) {
        presses[static_cast<std::size_t>(j)] = presses_.take(keys[static_cast<std::size_t>(j)]);
        anyPressed = anyPressed || !presses[static_cast<std::size_t>(j)].empty();
    }
    presses_.skipAll(); // the other columns' keys and every other key
    const auto anyDown = [&](int count) {
        for (int j = 0; j < count; ++j)
            if (down_.isDown(keys[static_cast<std::size_t>(j)]))
                return true;
        return false;
    };

    if (!groupOpen_ && (anyPressed || anyDown(columns))) {
        dispatcher_.openUndoEntry("Edit Note");
        groupOpen_ = true;
    }
    for (int j = 0; j < columns; ++j) {
        const VirtualKey key = keys[static_cast<std::size_t>(j)];
        const KeyPressReader::Presses& pressed = presses[static_cast<std::size_t>(j)];
        for (const KeyPress& p : pressed) {
            if (states_.press(key) != KeyStateTable::kUp)
                release(j); // it went up and down again since the last frame
            press(j, p);
        }
        if (!down_.isDown(key)) {
            if (states_.release(key) != KeyStateTable::kUp)
                release(j);
            continue;
        }
        if (!pressed.empty())
            continue;
        switch (states_.hold(key)) {
        case KeyStateTable::kUp:
            break; // down since before entry could take it: no press
        case KeyStateTable::kPressed:
            break; // held from the next frame on
        default:
            drawHold(j);
            break;
        }
    }

    const bool anyKeyState = std::any_of(keys.begin(), keys.end(), [this](VirtualKey k) {
        return states_.get(k) != KeyStateTable::kUp;
    });
    if (!editor_.player().playing() && !anyKeyState) {
        if (needsRefresh_) {
            store.refresh();
            needsRefresh_ = false;
        }
        for (Press& p : pressOf_) {
            p.pressedHere = false;
            p.startRow = positionRow();
        }
    }
    if (groupOpen_ && !anyDown(columns)) {
        dispatcher_.commitUndoEntry();
        groupOpen_ = false;
    }
    return true;
}

void KeyboardNoteEntry::press(int column, const KeyPress& keyPress) {
    ItemStore& store = editor_.store();
    MusicPlayer& player = editor_.player();
    needsRefresh_ = true;
    if (player.snap(false) == 0)
        player.setSnap(kQuarterNotes, false);
    if (!player.playing())
        player.snapRow(store.timing().sampleToRow(player.position()));
    const LevelIndex level = store.currentLevel();
    dispatcher_.selectLevel(level);

    Press& p = pressOf_[static_cast<std::size_t>(column)];
    p = Press{};
    p.pressedHere = true;
    p.mine = keyPress.shift;
    // While playing, the row where the music was when the key went down.
    const SamplePosition pressedAt = keyPress.channel.value_or(player.position());
    p.pressRow = store.timing().sampleToRow(pressedAt).row();
    p.startRow = keyPress.channel ? player.snappedRowAt(pressedAt) : positionRow();
    p.noteRow = p.startRow;
    if (p.mine) {
        store.addNote(level, column, p.startRow, {}, NoteKind::Mine);
        return;
    }
    p.foundExisting = noteOfPress(column).has_value();
    if (!p.foundExisting)
        store.addNote(level, column, p.startRow, {}, NoteKind::Tap);
}

void KeyboardNoteEntry::drawHold(int column) {
    Press& p = pressOf_[static_cast<std::size_t>(column)];
    if (!p.pressedHere || p.mine)
        return;
    ItemStore& store = editor_.store();
    const ItemList& beats = store.beats();
    const std::int32_t first = beats[0].row();
    const std::int32_t last = beats.items().back().row();
    const std::int32_t c =
        std::clamp(store.timing().sampleToRow(editor_.player().position()).row(), first, last);
    const std::int32_t b = p.startRow.row();
    if (c == b)
        return;
    // While playing, a key counts as held once the music has gone more than 12 rows
    // past where the key went down: the snapped row may lie before that (or after it,
    // which the music has not reached yet), and a short press leaves a tap.
    const bool playing = editor_.player().playing();
    if (playing && (c < b || c - std::max(b, p.pressRow) <= kLongestTapWhilePlaying))
        return;
    const std::optional<std::size_t> index = noteOfPress(column);
    if (!index) { // the list was rebuilt under the press (an undo, a paste): let it go
        p.pressedHere = false;
        return;
    }
    const RowPosition start = RowPosition::fromRow(std::min(b, c));
    store.reshapeNote(store.currentLevel(), *index, start, RowPosition::fromRow(std::abs(c - b)));
    p.noteRow = start;
    p.drewHold = true;
}

void KeyboardNoteEntry::release(int column) {
    Press& p = pressOf_[static_cast<std::size_t>(column)];
    // A press on an existing note that drew nothing places the same tap again; the
    // refresh's duplicate rule then decides (both go when toggling deletes).
    if (p.pressedHere && !p.mine && p.foundExisting && !p.drewHold) {
        needsRefresh_ = true;
        editor_.store().addNote(editor_.store().currentLevel(), column, p.startRow, {},
                                NoteKind::Tap);
    }
    p.pressedHere = false;
}

} // namespace quillex
