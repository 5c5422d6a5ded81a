#include "app/commands/sync_commands.h"

#include "app/commands/stretch_commands.h"

#include <algorithm>

#include "tools/autofill.h"
#include "tools/beat_insertion.h"
#include "tools/beat_moves.h"

namespace quillex {

namespace {

constexpr int kGrowByStep = 1, kShrinkByStep = 2, kGrowToBpm = 3;
constexpr int kQuickStep = 2;
// The nudge menu items and keys, each the nudge command with its variant.
constexpr std::pair<CommandId, int> kNudgeItems[] = {
    {CommandId::NudgeAwayMore, 0},
    {CommandId::NudgeAway, 1},
    {CommandId::NudgeCloser, 2},
    {CommandId::NudgeCloserMore, 3},
};

// Beat commands refused while the notes are edited, with what they say; the beat
// properties' entries are committed by the dispatcher after the handler.
const CommandRules kInsertBeats{.refusedInNoteMode = kInsertBeatsGuard};
const CommandRules kInsertSubBeats{.refusedInNoteMode = kInsertSubBeatsGuard};
const CommandRules kNudges{.refusedInNoteMode = kNudgeGuard};
const CommandRules kGrows{.refusedInNoteMode = kGrowGuard};
const CommandRules kCommitsAfter{.commitsAfter = true};

template <typename T> const T* planned(const std::variant<T, std::string_view>& plan) {
    return std::get_if<T>(&plan);
}

} // namespace

SyncCommands::SyncCommands(Editor& editor, Dispatcher& dispatcher, SyncDialogs& dialogs,
                           const KeyDownTable& keys)
    : editor_(editor), dispatcher_(dispatcher), dialogs_(dialogs), keys_(keys) {}

void SyncCommands::registerAll(EditCommands& edit) {
    edit.resetEditFlags = [this, previous = edit.resetEditFlags] {
        previous();
        groupOpen_ = false;
    };
    registerInsertion();
    registerProperties();
    registerMoves();
    registerAutofill();
}

void SyncCommands::frameUpdate() {
    if (recording() || !groupOpen_ || keys_.shiftDown() || keys_.ctrlDown())
        return;
    groupOpen_ = false;
    commit();
}

void SyncCommands::openGroup(std::string_view label) {
    if (recording() || groupOpen_)
        return;
    groupOpen_ = true;
    open(label);
}

void SyncCommands::sortBeats() {
    const ItemList& beats = editor_.store().beats();
    if (!std::is_sorted(beats.begin(), beats.end(),
                        [](const EditItem& a, const EditItem& b) { return a.sample < b.sample; }))
        editor_.store().refresh();
}

void SyncCommands::refreshUnlessPlaying() {
    if (!editor_.player().playing())
        editor_.store().refresh();
}

void SyncCommands::resetTicks() {
    editor_.player().resetTickIndices(editor_.player().position());
}

// ---------------------------------------------------------------- insertion

void SyncCommands::registerInsertion() {
    dispatcher_.registerHandler(
        CommandId::InsertBeat, [this](int) { insertBeat(); }, kInsertBeats);
    dispatcher_.registerHandler(
        CommandId::NextBeatAtEnd, [this](int) { insertBeatBeyond(BeatEnd::Next); }, kInsertBeats);
    dispatcher_.registerHandler(
        CommandId::PrevBeatAtStart, [this](int) { insertBeatBeyond(BeatEnd::Previous); },
        kInsertBeats);
    dispatcher_.registerHandler(
        CommandId::InsertSubBeat, [this](int) { insertSubBeat(); }, kInsertSubBeats);
    dispatcher_.registerHandler(CommandId::InsertPause, [this](int) { insertPause(); });
    registerStretchCommands(editor_, dispatcher_);
}

// Insert Beat commits before its refresh, which waits while playing: taps then go in
// as fast as they come and the list is sorted when playback stops.
void SyncCommands::insertBeat() {
    if (groupOpen_)
        return;
    if (keys_.shiftDown()) {
        dispatcher_.dispatch(CommandId::InsertSubBeat);
        return;
    }
    ItemStore& store = editor_.store();
    store.setLayer(Layer::Beat, true);
    open("Insert Beat");
    store.addBeat(editor_.player().position());
    commit();
    refreshUnlessPlaying();
    resetTicks();
}

void SyncCommands::insertBeatBeyond(BeatEnd end) {
    if (groupOpen_)
        return;
    ItemStore& store = editor_.store();
    store.clearAllSelection();
    if (store.beats().size() < 2) {
        editor_.messages().show(end == BeatEnd::Next ? kNextBeatNeedsTwoMessage
                                                     : kPrevBeatNeedsTwoMessage);
        return;
    }
    const auto sample = beatBeyondEnd(store.beats(), end, editor_.player().musicLength());
    if (!sample)
        return;
    editor_.player().seek(*sample);
    store.setLayer(Layer::Beat, true);
    open(end == BeatEnd::Next ? "Insert Next Beat" : "Insert Prev Beat");
    store.addBeat(*sample, {.selected = true});
    commit();
    refreshUnlessPlaying();
    resetTicks();
}

void SyncCommands::insertSubBeat() {
    if (groupOpen_)
        return;
    sortBeats();
    ItemStore& store = editor_.store();
    const SamplePosition cursor = editor_.player().position();
    const auto row = subBeatRowAt(store.timing(), cursor);
    if (const auto* refusal = std::get_if<std::string_view>(&row)) {
        editor_.messages().show(*refusal);
    } else {
        store.setLayer(Layer::Beat, true);
        open("Insert Subbeat");
        store.addBeatAtRow(cursor, std::get<RowPosition>(row));
        commit();
    }
    refreshUnlessPlaying();
    resetTicks();
}

void SyncCommands::insertPause() {
    ItemStore& store = editor_.store();
    store.refresh();
    const auto span = pauseSpan(store, editor_.region());
    if (const auto* refusal = std::get_if<std::string_view>(&span)) {
        editor_.messages().show(*refusal);
        return;
    }
    const auto [start, length] = std::get<PauseSpan>(span);
    store.setLayer(Layer::Beat, true);
    open("Insert Pause");
    store.addPause(start, length);
    store.refresh();
    commit();
    editor_.region().reset();
    store.setModified(true);
}

// ---------------------------------------------------------------- properties

void SyncCommands::registerProperties() {
    for (auto [id, colour] : {std::pair{CommandId::MakeBeatWhite, kWhiteMarker},
                              std::pair{CommandId::MakeBeatBlue, kBlueMarker}})
        dispatcher_.registerHandler(
            id,
            [this, colour = colour](int) {
                if (auto refusal = colourRefusal(editor_.store())) {
                    editor_.messages().show(*refusal);
                    return;
                }
                open("Beat Color");
                colourSelectedBeats(editor_.store(), colour);
            },
            kCommitsAfter);
    dispatcher_.registerHandler(
        CommandId::LockUnlock,
        [this](int) {
            if (!anyActiveSelectedBeat(editor_.store())) {
                editor_.messages().show(kNoBeatToLockMessage);
                return;
            }
            open("Lock/Unlock");
            toggleLockOfSelectedBeats(editor_.store());
        },
        kCommitsAfter);
    dispatcher_.registerHandler(CommandId::SubBeatFraction, [this](int) { editFraction(); });
}

void SyncCommands::editFraction() {
    ItemStore& store = editor_.store();
    const auto index = onlySelectedSubBeat(store);
    if (!index) {
        editor_.messages().show(kSelectOneSubBeatMessage);
        editor_.shell().drawFrame();
        return;
    }
    store.setLayer(Layer::Beat, true);
    editor_.shell().drawFrame();
    store.setModified(true);
    SubBeatFractionModel model(store.beats()[*index].fraction,
                               allowedFractions(store.beats(), *index));
    if (!dialogs_.editSubBeatFraction(model))
        return;
    open("Subbeat Fraction");
    store.beatList().edit()[*index].fraction = model.fraction();
    store.refresh();
    commit();
}

// ---------------------------------------------------------------- nudge and grow

void SyncCommands::registerMoves() {
    dispatcher_.registerHandler(
        CommandId::Nudge, [this](int variant) { nudge(variant); }, kNudges);
    for (auto [id, variant] : kNudgeItems)
        dispatcher_.registerHandler(id, [this, variant = variant](int) {
            dispatcher_.dispatch(CommandId::Nudge, variant);
        });
    // F12 and F11: a small nudge of every marker, as if the cursor were at the start.
    for (auto [id, variant] : {std::pair{CommandId::NudgeCloserFromStart, 2},
                               std::pair{CommandId::NudgeAwayFromStart, 1}})
        dispatcher_.registerHandler(id, [this, variant = variant](int) {
            MusicPlayer& player = editor_.player();
            const SamplePosition cursor = player.position();
            player.seek(0);
            dispatcher_.dispatch(CommandId::Nudge, variant);
            player.seek(cursor);
        });
    dispatcher_.registerHandler(CommandId::Grow, [this](int kind) { grow(kind); });
    dispatcher_.registerHandler(
        CommandId::QuickGrow, [this](int) { dispatcher_.dispatch(CommandId::Grow, kGrowByStep); },
        kGrows);
    dispatcher_.registerHandler(
        CommandId::QuickShrink,
        [this](int) { dispatcher_.dispatch(CommandId::Grow, kShrinkByStep); }, kGrows);
    dispatcher_.registerHandler(
        CommandId::GrowRegion, [this](int) { growOrSmoothRegion(); }, kGrows);
}

std::optional<GrowRegion> SyncCommands::growRegionHere() {
    ItemStore& store = editor_.store();
    store.refresh();
    auto region = growRegion(store, editor_.player().position());
    if (const auto* refusal = std::get_if<std::string_view>(&region)) {
        editor_.messages().show(*refusal);
        return std::nullopt;
    }
    return std::get<GrowRegion>(region);
}

void SyncCommands::growOrSmoothRegion() {
    ItemStore& store = editor_.store();
    const std::optional<GrowRegion> region = growRegionHere();
    if (!region)
        return;
    const auto selected = std::count_if(store.beats().begin(), store.beats().end(),
                                        [](const EditItem& b) { return b.selected; });
    GrowSmoothModel model(growMemory_, *region, selected > 1, editor_.player().sampleRate());
    if (!dialogs_.growSmooth(model))
        return;
    store.setModified(true);
    growBpm_ = model.bpm();
    if (model.growMode()) {
        dispatcher_.dispatch(CommandId::Grow, kGrowToBpm);
        return;
    }
    const auto plan = planSmooth(store, *region, model.window());
    if (const auto* move = planned(plan)) {
        open("Smooth");
        applyMove(store, *move);
        commit();
    } else {
        editor_.messages().show(std::get<std::string_view>(plan));
    }
}

void SyncCommands::nudge(int variant) {
    ItemStore& store = editor_.store();
    store.setLayer(Layer::Beat, true);
    sortBeats();
    if (store.beats().size() >= 2)
        store.setModified(true);
    const int delta =
        nudgeDelta(variant, store.options().nudgeBasedOnZoom, editor_.waveView().samplesPerRow());
    const auto plan = planNudge(store, editor_.player().position(), delta);
    if (const auto* move = planned(plan)) {
        openGroup("Nudge");
        applyMove(store, *move);
    } else {
        editor_.messages().show(std::get<std::string_view>(plan));
    }
}

void SyncCommands::grow(int kind) {
    ItemStore& store = editor_.store();
    const std::optional<GrowRegion> region = growRegionHere();
    if (!region)
        return;
    const GrowRegion& r = *region;
    const auto plan = kind == kGrowToBpm
                          ? planGrowTo(store, r, growBpm_, growMemory_.fillToEnd)
                          : planQuickGrow(store, r, kind == kGrowByStep ? kQuickStep : -kQuickStep);
    if (const auto* move = planned(plan)) {
        store.setLayer(Layer::Beat, true);
        openGroup("Grow");
        applyMove(store, *move);
    } else {
        editor_.messages().show(std::get<std::string_view>(plan));
    }
}

// ---------------------------------------------------------------- autofill

void SyncCommands::registerAutofill() {
    dispatcher_.registerHandler(CommandId::AutofillBeats, [this](int) { autofill(); });
}

void SyncCommands::autofill() {
    ItemStore& store = editor_.store();
    store.refresh();
    store.setLayer(Layer::Beat, true);
    editor_.shell().drawFrame();
    store.setModified(true);
    const auto selected = std::count_if(store.beats().begin(), store.beats().end(),
                                        [](const EditItem& b) { return b.selected; });
    if (selected < 2) {
        if (!store.beats().empty())
            for (EditItem& b : store.beatList().edit())
                b.selected = true;
    }
    AutofillModel model(autofillMemory_, store.timing());
    if (!dialogs_.autofill(model))
        return;
    store.refresh();
    if (model.averageMode()) {
        open("Autofill Avg.BPM");
        fillAtAverageBpm(store, model.bpm(), model.offsetSeconds());
    } else {
        open("Autofill Insertion");
        insertBetweenSelected(store, model.count());
    }
    commit();
    resetTicks();
}

} // namespace quillex
