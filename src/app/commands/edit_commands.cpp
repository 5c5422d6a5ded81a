#include "app/commands/edit_commands.h"

#include "items/clipboard.h"
#include "items/selection.h"
#include "tools/note_transforms.h"

namespace quillex {

namespace {

// Select Notes by type: the command ids of the 4th … 192nd notes and of mines/lifts,
// with the division class each selects.
constexpr std::pair<int, std::int32_t> kNotesOfClass[] = {
    {391, 0}, {392, 1}, {401, 2}, {393, 3}, {394, 4},
    {395, 5}, {396, 6}, {397, 7}, {428, 8}, {400, kMineDivisionClass},
};
constexpr std::pair<int, Turn> kTurns[] = {
    {386, Turn::Left},           {387, Turn::Right},       {388, Turn::Mirror},
    {389, Turn::MirrorLeftRight}, {390, Turn::MirrorUpDown},
};
// Scale Notes: command id, numerator, denominator.
constexpr std::array<int, 3> kScales[] = {
    {406, 1, 2}, {402, 2, 3}, {403, 3, 4}, {404, 4, 3}, {405, 3, 2}, {399, 2, 1},
};
constexpr int kSelectAll = 243, kSelectNone = 244, kInvertSelection = 245;
constexpr int kSelectWhite = 320, kSelectBlue = 321, kSelectLocked = 324, kRegion = 328;
constexpr int kCut = 325, kCopy = 326, kPaste = 327;
constexpr int kChangeNoteType = 433, kSetSongPreview = 356;

} // namespace

std::string clearHistoryText(std::size_t allocated, std::size_t active) {
    return "The Undo/Redo History has " + std::to_string(allocated) + " item(s), " +
           std::to_string(active) +
           " active.\nAre you sure you want to clear the Undo/Redo History?";
}

EditCommands::EditCommands(Editor& editor, Dispatcher& dispatcher, EditQuestions& questions)
    : editor_(editor), dispatcher_(dispatcher), questions_(questions) {}

void EditCommands::registerAll() {
    registerHistory();
    registerSelection();
    registerClipboard();
    registerTransforms();
    updateUndoMenu();
}

void EditCommands::updateUndoMenu() {
    const UndoMenuState menu = editor_.history().menuState();
    editor_.shell().setMenuItem(toInt(CommandId::Undo), menu.undoCaption, menu.canUndo);
    editor_.shell().setMenuItem(toInt(CommandId::Redo), menu.redoCaption, menu.canRedo);
}

void EditCommands::clearHistory() {
    editor_.history().clear();
    editor_.openEntries().reset();
    resetEditFlags();
    updateUndoMenu();
}

// While a recording or drag entry is open it takes every change: no entry of its own.
void EditCommands::openEntry(std::string_view label) {
    if (dispatcher_.recordingEntryOpen())
        return;
    editor_.history().open(label, editor_.editState());
    updateUndoMenu();
}

void EditCommands::commitEntry() {
    if (!dispatcher_.recordingEntryOpen() && editor_.history().pending())
        editor_.history().commit(editor_.editState());
}

// Copies a stored state back: play position, the lists, their level, then note mode;
// the counter keeps the input timer off the lists meanwhile.
void EditCommands::restore(const EditState& state) {
    BusyGuard busy(editor_.busyCounter());
    editor_.player().seek(state.cursor);
    // The stored lists carry their own selection, so the level is made current without
    // clearing one (which would only copy lists about to be replaced).
    editor_.store().restore(state.items);
    dispatcher_.showLevel(state.level); // menu marks, note size and layout of the level
    editor_.store().setLayer(Layer::Arrow, state.arrowLayerOn);
    editor_.shell().setMenuCheck(toInt(CommandId::ArrowLayer), state.arrowLayerOn);
    editor_.store().refresh();
    editor_.openEntries().reset();
    resetEditFlags();
    updateUndoMenu();
}

void EditCommands::registerHistory() {
    dispatcher_.openUndoEntry = [this](std::string_view label) { openEntry(label); };
    dispatcher_.recordingEntryOpen = [this] { return editor_.openEntries().any(); };
    dispatcher_.commitUndoEntry = [this] { commitEntry(); };
    dispatcher_.registerHandler(toInt(CommandId::Undo), [this](int) {
        if (editor_.openEntries().any() || recordingOrDragging())
            return;
        if (auto state = editor_.history().undo(editor_.editState()))
            restore(*state);
    });
    dispatcher_.registerHandler(toInt(CommandId::Redo), [this](int) {
        if (editor_.openEntries().any() || recordingOrDragging())
            return;
        if (auto state = editor_.history().redo(editor_.editState()))
            restore(*state);
    });
    dispatcher_.registerHandler(toInt(CommandId::ClearHistory), [this](int) {
        const UndoHistory& h = editor_.history();
        if (questions_.confirmClearHistory(clearHistoryText(h.allocatedCount(), h.activeCount())))
            clearHistory();
    });
}

void EditCommands::registerSelection() {
    ItemStore& store = editor_.store();
    for (auto [id, change] : {std::pair{kSelectAll, SelectionChange::Set},
                              std::pair{kSelectNone, SelectionChange::Clear},
                              std::pair{kInvertSelection, SelectionChange::Toggle}})
        dispatcher_.registerHandler(id, [&store, change = change](int) { changeSelection(store, change); });
    for (auto [id, group] : {std::pair{kSelectWhite, BeatGroup::White},
                             std::pair{kSelectBlue, BeatGroup::Blue},
                             std::pair{kSelectLocked, BeatGroup::Locked}})
        dispatcher_.registerHandler(id, [&store, group = group](int) { toggleBeats(store, group); });
    for (auto [id, divisionClass] : kNotesOfClass)
        dispatcher_.registerHandler(
            id, [&store, divisionClass = divisionClass](int) { toggleNotesOfClass(store, divisionClass); });
    dispatcher_.registerHandler(kRegion, [this](int) {
        editor_.region().press(editor_.store(), editor_.player().position());
    });
}

void EditCommands::registerClipboard() {
    for (auto [id, cut] : {std::pair{kCut, true}, std::pair{kCopy, false}})
        dispatcher_.registerHandler(id, [this, cut = cut](int) {
            if (!editor_.clipboard().copy(editor_.store(), cut))
                editor_.messages().show(kOneKindToCutMessage);
        });
    dispatcher_.registerHandler(
        kPaste,
        [this](int) {
            if (!pasteAvailable())
                return;
            openEntry("Paste");
            const bool allFit = editor_.clipboard().paste(
                editor_.store(), editor_.player().position(), editor_.player().musicLength());
            commitEntry();
            if (!allFit)
                editor_.messages().show(kNotesDoNotFitMessage);
        },
        [this] { return pasteAvailable(); });
    dispatcher_.registerHandler(toInt(CommandId::Delete), [this](int) {
        switch (checkDelete(editor_.store())) {
        case DeleteCheck::LockedBeatSelected:
            editor_.messages().show(kLockedBeatSelectedMessage);
            return;
        case DeleteCheck::NothingSelected: return;
        case DeleteCheck::Deletable: break;
        }
        openEntry("Delete");
        deleteSelection(editor_.store());
    });
}

void EditCommands::bracketed(std::string_view label, bool ready, std::string_view refusal,
                             const std::function<void()>& edit) {
    editor_.store().setModified(true);
    if (!ready) {
        editor_.messages().show(refusal);
        return;
    }
    openEntry(label);
    edit();
}

void EditCommands::registerTransforms() {
    ItemStore& store = editor_.store();
    for (int division : kQuantizeDivisions)
        dispatcher_.registerHandler(division, [this, &store, division](int) {
            bracketed("Quantize", anySelectedNote(store), kNothingToQuantizeMessage,
                      [&store, division] { quantizeSelection(store, division); });
        });
    for (auto [id, turn] : kTurns)
        dispatcher_.registerHandler(id, [this, &store, turn = turn](int) {
            bracketed("Turn", anySelectedNote(store), kNothingToTurnMessage,
                      [&store, turn] { turnSelection(store, turn); });
        });
    for (const auto& [id, numerator, denominator] : kScales)
        dispatcher_.registerHandler(id, [this, &store, p = numerator, q = denominator](int) {
            if (!questions_.confirmScale(kScaleWarning))
                return;
            bracketed("Scale", anyActiveSelectedNote(store), kNothingToScaleMessage,
                      [&store, p, q] { scaleSelection(store, p, q); });
            commitEntry();
        });
    dispatcher_.registerHandler(kChangeNoteType, [this, &store](int) {
        if (!anySelectedNoteInAnyLevel(store)) {
            editor_.messages().show(kNothingToChangeTypeMessage);
            return;
        }
        bracketed("Change Note Type", true, {}, [&store] { changeTypeOfSelection(store); });
    });
    dispatcher_.registerHandler(kSetSongPreview, [this](int) {
        const auto range = previewFromSelection(editor_.store(), editor_.region());
        if (!range) {
            editor_.messages().show(kNoPreviewSourceMessage);
            return;
        }
        editor_.player().setPreviewStart(range->begin);
        editor_.player().setPreviewEnd(range->end);
        editor_.store().setModified(true);
        editor_.messages().show(kPreviewSetMessage);
    });
}

} // namespace quillex
