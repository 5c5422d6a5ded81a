#include "app/commands/edit_commands.h"

#include <tuple>

#include "items/clipboard.h"
#include "items/selection.h"
#include "tools/note_transforms.h"

namespace quillex {

namespace {

// Select Notes by type: the commands of the 4th … 192nd notes and of mines/lifts, with
// the division class each selects.
constexpr std::pair<CommandId, std::int32_t> kNotesOfClass[] = {
    {CommandId::Select4thNotes, 0},   {CommandId::Select8thNotes, 1},
    {CommandId::Select12thNotes, 2},  {CommandId::Select16thNotes, 3},
    {CommandId::Select24thNotes, 4},  {CommandId::Select32ndNotes, 5},
    {CommandId::Select48thNotes, 6},  {CommandId::Select64thNotes, 7},
    {CommandId::Select192ndNotes, 8}, {CommandId::SelectMinesLifts, kMineDivisionClass},
};
// Quantize: the command of each division per measure.
constexpr std::pair<CommandId, int> kQuantizes[] = {
    {CommandId::QuantizeTo4th, 4},   {CommandId::QuantizeTo8th, 8},
    {CommandId::QuantizeTo12th, 12}, {CommandId::QuantizeTo16th, 16},
    {CommandId::QuantizeTo24th, 24}, {CommandId::QuantizeTo32nd, 32},
    {CommandId::QuantizeTo48th, 48}, {CommandId::QuantizeTo64th, 64},
};
constexpr std::pair<CommandId, Turn> kTurns[] = {
    {CommandId::TurnLeft, Turn::Left},
    {CommandId::TurnRight, Turn::Right},
    {CommandId::MirrorFull, Turn::Mirror},
    {CommandId::MirrorLeftRight, Turn::MirrorLeftRight},
    {CommandId::MirrorUpDown, Turn::MirrorUpDown},
};
// Scale Notes: command, numerator, denominator.
constexpr std::tuple<CommandId, int, int> kScales[] = {
    {CommandId::ScaleHalf, 1, 2},          {CommandId::ScaleTwoThirds, 2, 3},
    {CommandId::ScaleThreeQuarters, 3, 4}, {CommandId::ScaleFourThirds, 4, 3},
    {CommandId::ScaleThreeHalves, 3, 2},   {CommandId::ScaleDouble, 2, 1},
};
// The edits whose entry the dispatcher commits after the handler.
const CommandRules kCommitsAfter{.commitsAfter = true};

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
    editor_.shell().setMenuItem(CommandId::Undo, menu.undoCaption, menu.canUndo);
    editor_.shell().setMenuItem(CommandId::Redo, menu.redoCaption, menu.canRedo);
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
    editor_.shell().setMenuCheck(CommandId::ArrowLayer, state.arrowLayerOn);
    editor_.store().refresh();
    editor_.openEntries().reset();
    resetEditFlags();
    updateUndoMenu();
}

void EditCommands::registerHistory() {
    dispatcher_.openUndoEntry = [this](std::string_view label) { openEntry(label); };
    dispatcher_.recordingEntryOpen = [this] { return editor_.openEntries().any(); };
    dispatcher_.commitUndoEntry = [this] { commitEntry(); };
    dispatcher_.registerHandler(CommandId::Undo, [this](int) {
        if (editor_.openEntries().any() || recordingOrDragging())
            return;
        if (auto state = editor_.history().undo(editor_.editState()))
            restore(*state);
    });
    dispatcher_.registerHandler(CommandId::Redo, [this](int) {
        if (editor_.openEntries().any() || recordingOrDragging())
            return;
        if (auto state = editor_.history().redo(editor_.editState()))
            restore(*state);
    });
    dispatcher_.registerHandler(CommandId::ClearHistory, [this](int) {
        const UndoHistory& h = editor_.history();
        if (questions_.confirmClearHistory(clearHistoryText(h.allocatedCount(), h.activeCount())))
            clearHistory();
    });
}

void EditCommands::registerSelection() {
    ItemStore& store = editor_.store();
    for (auto [id, change] : {std::pair{CommandId::SelectAll, SelectionChange::Set},
                              std::pair{CommandId::SelectNone, SelectionChange::Clear},
                              std::pair{CommandId::InvertSelection, SelectionChange::Toggle}})
        dispatcher_.registerHandler(
            id, [&store, change = change](int) { changeSelection(store, change); });
    for (auto [id, group] : {std::pair{CommandId::SelectWhiteBeats, BeatGroup::White},
                             std::pair{CommandId::SelectBlueBeats, BeatGroup::Blue},
                             std::pair{CommandId::SelectLockedBeats, BeatGroup::Locked}})
        dispatcher_.registerHandler(id,
                                    [&store, group = group](int) { toggleBeats(store, group); });
    for (auto [id, divisionClass] : kNotesOfClass)
        dispatcher_.registerHandler(id, [&store, divisionClass = divisionClass](int) {
            toggleNotesOfClass(store, divisionClass);
        });
    dispatcher_.registerHandler(CommandId::RegionBeginEnd, [this](int) {
        editor_.region().press(editor_.store(), editor_.player().position());
    });
}

void EditCommands::registerClipboard() {
    for (auto [id, cut] : {std::pair{CommandId::Cut, true}, std::pair{CommandId::Copy, false}})
        dispatcher_.registerHandler(id, [this, cut = cut](int) {
            if (!editor_.clipboard().copy(editor_.store(), cut))
                editor_.messages().show(kOneKindToCutMessage);
        });
    dispatcher_.registerHandler(CommandId::Paste,
                                [this](int) {
                                    if (!pasteAvailable())
                                        return;
                                    openEntry("Paste");
                                    const bool allFit = editor_.clipboard().paste(
                                        editor_.store(), editor_.player().position(),
                                        editor_.player().musicLength());
                                    commitEntry();
                                    if (!allFit)
                                        editor_.messages().show(kNotesDoNotFitMessage);
                                },
                                {.enabledWhen = [this] { return pasteAvailable(); }});
    dispatcher_.registerHandler(
        CommandId::Delete,
        [this](int) {
            switch (checkDelete(editor_.store())) {
            case DeleteCheck::LockedBeatSelected:
                editor_.messages().show(kLockedBeatSelectedMessage);
                return;
            case DeleteCheck::NothingSelected:
                return;
            case DeleteCheck::Deletable:
                break;
            }
            openEntry("Delete");
            deleteSelection(editor_.store());
        },
        kCommitsAfter);
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
    for (auto [id, division] : kQuantizes)
        dispatcher_.registerHandler(
            id,
            [this, &store, division = division](int) {
                bracketed("Quantize", anySelectedNote(store), kNothingToQuantizeMessage,
                          [&store, division] { quantizeSelection(store, division); });
            },
            kCommitsAfter);
    for (auto [id, turn] : kTurns)
        dispatcher_.registerHandler(
            id,
            [this, &store, turn = turn](int) {
                bracketed("Turn", anySelectedNote(store), kNothingToTurnMessage,
                          [&store, turn] { turnSelection(store, turn); });
            },
            kCommitsAfter);
    for (const auto& [id, numerator, denominator] : kScales)
        dispatcher_.registerHandler(id, [this, &store, p = numerator, q = denominator](int) {
            if (!questions_.confirmScale(kScaleWarning))
                return;
            bracketed("Scale", anyActiveSelectedNote(store), kNothingToScaleMessage,
                      [&store, p, q] { scaleSelection(store, p, q); });
            commitEntry();
        });
    dispatcher_.registerHandler(
        CommandId::ChangeNoteType,
        [this, &store](int) {
            if (!anySelectedNoteInAnyLevel(store)) {
                editor_.messages().show(kNothingToChangeTypeMessage);
                return;
            }
            bracketed("Change Note Type", true, {}, [&store] { changeTypeOfSelection(store); });
        },
        kCommitsAfter);
    dispatcher_.registerHandler(CommandId::SetSongPreview, [this](int) {
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
