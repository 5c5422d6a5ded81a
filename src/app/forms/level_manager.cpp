#include "app/forms/level_manager.h"

#include "app/forms/properties_form.h"
#include "app/forms/statistics_form.h"
#include "base/number_parse.h"
#include "fileio/kept_chart_conversion.h"
#include "fileio/kept_chart_statistics.h"
#include "fileio/statement_text.h"
#include "model/note_kind.h"

namespace quillex {

namespace {

constexpr std::string_view kEmptyChartCounts = "------Click Launch to Begin------";
constexpr std::string_view kNoBeatsCounts = "---------------------------------";

} // namespace

std::string gameTypeLabel(int gameType) {
    if (static_cast<GameType>(gameType) == GameType::PumpHalfDouble)
        return "[pump-halfdouble]";
    return "[" + std::string(gameTypeInfo(gameType).smName) + "]";
}

NoteCounts countNotes(const ItemList& notes) {
    NoteCounts counts;
    for (const EditItem& note : notes) {
        switch (noteKindOf(note)) {
        case NoteKind::Hold:
        case NoteKind::Roll:
            ++counts.holds;
            break;
        case NoteKind::Mine:
        case NoteKind::Lift:
            ++counts.mines;
            break;
        case NoteKind::Tap:
            ++counts.taps;
            break;
        }
    }
    return counts;
}

LevelManagerView levelManagerView(const ItemStore& store, const MeterTable& meters, int gameType,
                                  const KeptSongData& kept) {
    LevelManagerView view;
    view.label = gameTypeLabel(gameType);
    const SscTiming songTiming = timingOfStatements(kept.songTiming);
    for (std::size_t i = 0; i < kept.charts.size(); ++i) {
        const KeptChart& chart = kept.charts[i];
        if (!writtenAsRead(chart, store))
            continue;
        view.keptCharts += (view.keptCharts.empty() ? "" : "\n") + keptChartLabel(chart) +
                           ": kept as read" + (chart.ownTiming ? ", own timing" : "") + "   " +
                           statisticsSummary(keptChartStatistics(chart, songTiming));
        view.keptChartChoices.emplace_back(i, chart.ownTiming && chart.level &&
                                                  store.notes(*chart.level).empty());
    }
    if (store.beats().size() < 2) {
        for (DifficultyLine& line : view.lines)
            line = {"--", std::string(kNoBeatsCounts), "", false, false, false};
        view.stops = "--";
        view.beats = std::string(kEmptyChartCounts);
        return view;
    }
    for (int d = 0; d < kDifficultyCount; ++d) {
        const LevelIndex level = levelIndex(gameType, d);
        const ItemList& notes = store.notes(level);
        DifficultyLine& line = view.lines[static_cast<std::size_t>(d)];
        line.textsEnabled = line.launchEnabled = true;
        if (notes.empty()) {
            line.rating = "--";
            line.counts = std::string(kEmptyChartCounts);
            continue;
        }
        const NoteCounts counts = countNotes(notes);
        line.ratingEnabled = true;
        line.rating = std::to_string(meters.get(level));
        line.counts = "Tap(s)/Hold(s)/Mine(s):  " + std::to_string(counts.taps) + "/" +
                      std::to_string(counts.holds) + "/" + std::to_string(counts.mines);
    }
    std::size_t subBeats = 0;
    for (const EditItem& beat : store.beats())
        subBeats += beat.isSubBeat;
    view.stops = "Stop(s):  " + std::to_string(store.pauses().size());
    // Delays and warps (from a .ssc) are named only when the song has them.
    if (!store.delays().empty())
        view.stops += "   Delay(s):  " + std::to_string(store.delays().size());
    if (!store.warps().empty())
        view.stops += "   Warp(s):  " + std::to_string(store.warps().size());
    view.beats = "Beat(s)/Sub-beat(s):  " + std::to_string(store.beats().size() - subBeats) + "/" +
                 std::to_string(subBeats);
    return view;
}

std::array<RatingField, kDifficultyCount>
ratingFields(const ItemStore& store, const MeterTable& meters, const Song& song, int gameType) {
    std::array<RatingField, kDifficultyCount> fields;
    for (int d = 0; d < kDifficultyCount; ++d) {
        const LevelIndex level = levelIndex(gameType, d);
        const bool hasNotes = !store.notes(level).empty();
        fields[static_cast<std::size_t>(d)] = {
            hasNotes ? std::to_string(meters.get(level)) : "no data",
            song.chartTexts()[static_cast<std::size_t>(level)].description, hasNotes};
    }
    return fields;
}

std::optional<RefusedEntry>
applyRatings(const std::array<DifficultyEntry, kDifficultyCount>& entries, const ItemStore& store,
             MeterTable& meters, Song& song, int gameType) {
    std::array<std::int32_t, kDifficultyCount> ratings{};
    for (int d = 0; d < kDifficultyCount; ++d) {
        const DifficultyEntry& entry = entries[static_cast<std::size_t>(d)];
        if (store.notes(levelIndex(gameType, d)).empty()) {
            ratings[static_cast<std::size_t>(d)] = 1;
            continue;
        }
        const std::optional<std::int64_t> value = parseWhole(entry.rating);
        if (!value || *value < 1 || *value > INT32_MAX)
            return RefusedEntry{d, false, std::string(kRatingRefusedMessage)};
        if (auto refused = refusedSymbolsIn(entry.description, "description"))
            return RefusedEntry{d, true, *refused};
        ratings[static_cast<std::size_t>(d)] = static_cast<std::int32_t>(*value);
    }
    for (int d = 0; d < kDifficultyCount; ++d) {
        const LevelIndex level = levelIndex(gameType, d);
        meters.set(level, ratings[static_cast<std::size_t>(d)]);
        if (!store.notes(level).empty())
            song.chartTexts()[static_cast<std::size_t>(level)].description =
                std::string(trimBlanks(entries[static_cast<std::size_t>(d)].description));
    }
    return std::nullopt;
}

LevelManager::LevelManager(Editor& editor, Dispatcher& dispatcher, NoteskinChoice& noteskins,
                           std::string noteskinPath)
    : editor_(editor), dispatcher_(dispatcher), noteskins_(noteskins),
      noteskinPath_(std::move(noteskinPath)) {}

LevelManagerView LevelManager::view() const {
    LevelManagerView view =
        levelManagerView(editor_.store(), editor_.meters(), gameType(), editor_.song().kept());
    for (int d = 0; d < kDifficultyCount; ++d) {
        const LevelIndex level = levelIndex(gameType(), d);
        if (view.lines[static_cast<std::size_t>(d)].ratingEnabled)
            view.lines[static_cast<std::size_t>(d)].statistics =
                statisticsSummary(levelStatistics(editor_.store(), editor_.song(), level));
    }
    return view;
}

void LevelManager::launch(int difficulty) {
    dispatcher_.selectLevel(levelIndex(gameType(), difficulty));
    editor_.player().resetTickIndices(editor_.player().position());
}

bool LevelManager::useSongTiming(std::size_t index) {
    const std::string refusal = conversionRefusal(editor_.song(), editor_.store(), index);
    if (!refusal.empty()) {
        editor_.messages().show(refusal);
        return false;
    }
    editor_.history().open("Use Song Timing", editor_.editState());
    SongFileContext files = songFileContext(editor_);
    convertKeptChart(files, index);
    editor_.history().commit(editor_.editState());
    editor_.store().setModified(true);
    return true;
}

void LevelManager::launchSync() {
    dispatcher_.dispatch(CommandId::SyncMode);
    if (editor_.player().loaded())
        return;
    editor_.store().setModified(false);
    editor_.messages().show(kBrowseForMusicMessage);
    dispatcher_.dispatch(CommandId::Open);
}

void LevelManager::previousGameType() {
    const LevelIndex level = dispatcher_.currentLevel() - kDifficultyCount;
    if (level >= 0)
        switchLevel(level);
}

void LevelManager::nextGameType() {
    const LevelIndex level = dispatcher_.currentLevel() + kDifficultyCount;
    if (level < kLevelCount)
        switchLevel(level);
}

void LevelManager::chooseGameType(int type) {
    if (type >= 0 && type < kGameTypeCount)
        switchLevel(levelIndex(type, 0));
}

void LevelManager::chooseNoteskin(int type, bool enhanced) {
    if (type >= 0 && type < static_cast<int>(noteskins_.enhanced.size())) {
        noteskins_.enhanced[static_cast<std::size_t>(type)] = enhanced;
        noteskinChanged(type, enhanced);
    }
    settingsChanged();
}

void LevelManager::switchLevel(LevelIndex level) {
    const bool notesShown = editor_.store().layerOn(Layer::Arrow);
    dispatcher_.selectLevel(level);
    if (!notesShown)
        dispatcher_.dispatch(CommandId::SyncMode);
    settingsChanged();
}

void LevelManager::settingsChanged() {
    writeNoteskins(noteskinPath_, noteskins_);
    editor_.shell().drawFrame();
}

} // namespace quillex
