// The Level Manager's logic without Qt: what it shows for a game type (the song's
// beats, sub-beats and stops, each difficulty's rating and note counts), choosing the
// game type and noteskins, launching a chart or sync mode, and the Difficulty
// dialog's ratings.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/commands/dispatcher.h"
#include "app/session/editor.h"
#include "settings/noteskin_settings.h"

namespace quillex {

inline constexpr std::string_view kBrowseForMusicMessage = "Please browse for your music now.";
inline constexpr std::string_view kRatingRefusedMessage =
    "A difficulty rating must be a whole number of at least 1.";

// The Level Manager's Game menu, in game-type order.
inline constexpr std::array<int, kGameTypeCount> kGameMenuIds = {20070, 20071, 20089, 20091,
                                                                 20115, 20117, 20121, 20119};
// Its Noteskin menu: the game type, whether the item is the enhanced skin, its id.
struct NoteskinMenuItem {
    int gameType;
    bool enhanced;
    int id;
};
inline constexpr std::array<NoteskinMenuItem, 11> kNoteskinMenu = {{
    {0, false, 20067},
    {0, true, 20066},
    {1, false, 20068},
    {1, true, 20069},
    {2, false, 20094},
    {2, true, 20096},
    {3, false, 20099},
    {4, false, 20103},
    {5, false, 20106},
    {6, false, 20109},
    {7, false, 20112},
}};
inline constexpr int kLevelManagerProperties = 447;
inline constexpr int kLevelManagerAbout = 448;

// "[dance-single]" … "[pump-couple]"; pump-halfdb reads "[pump-halfdouble]".
std::string gameTypeLabel(int gameType);

struct NoteCounts {
    int taps = 0;
    int holds = 0; // holds and rolls
    int mines = 0; // mines and lifts
};
NoteCounts countNotes(const ItemList& notes);

// One difficulty's line of the dialog.
struct DifficultyLine {
    std::string rating;
    std::string counts;
    std::string statistics; // notes per second and stream ("" for an empty chart)
    bool textsEnabled = false;
    bool launchEnabled = false;
    bool ratingEnabled = false; // its "Difficulty..." button
};

struct LevelManagerView {
    std::string label;
    std::array<DifficultyLine, kDifficultyCount> lines;
    std::string stops;
    std::string beats;
    // The charts of every game type kept as read, a line each ("dance-single Edit "b":
    // kept as read, own timing"); empty when there are none.
    std::string keptCharts;
    // Per line of keptCharts, the index of its chart, and whether it can be moved onto
    // the song's timing.
    std::vector<std::pair<std::size_t, bool>> keptChartChoices;
};

LevelManagerView levelManagerView(const ItemStore& store, const MeterTable& meters, int gameType,
                                  const KeptSongData& kept = {});

// The Difficulty dialog's edits of one difficulty: the rating, or "no data" (disabled)
// for an empty chart, and the chart's description.
struct RatingField {
    std::string text;
    std::string description;
    bool enabled = false;
};
std::array<RatingField, kDifficultyCount>
ratingFields(const ItemStore& store, const MeterTable& meters, const Song& song, int gameType);
// What the user typed for one difficulty.
struct DifficultyEntry {
    std::string rating;
    std::string description;
};
// The first entry OK refused: its difficulty and its message.
struct RefusedEntry {
    int difficulty;
    bool description; // the description, not the rating
    std::string message;
};
// OK of the Difficulty dialog: every enabled rating must be a whole number from 1 up
// (kRatingRefusedMessage otherwise) and no description may hold the symbols a song's
// texts cannot; the first refused entry, and nothing kept. Accepted, the ratings and
// descriptions are kept (empty charts' ratings become 1).
std::optional<RefusedEntry>
applyRatings(const std::array<DifficultyEntry, kDifficultyCount>& entries, const ItemStore& store,
             MeterTable& meters, Song& song, int gameType);

class LevelManager {
  public:
    LevelManager(Editor& editor, Dispatcher& dispatcher, NoteskinChoice& noteskins,
                 std::string noteskinPath);

    int gameType() const { return gameTypeOfLevel(dispatcher_.currentLevel()); }
    LevelManagerView view() const;

    // Arrow layer on, the difficulty of the current game type current, the tick
    // indices pointed at the position.
    void launch(int difficulty);
    // Notes hidden; without music, the song is left unmodified and Open runs after
    // kBrowseForMusicMessage.
    void launchSync();
    // The same difficulty of the previous or next game type; nothing at either end.
    void previousGameType();
    void nextGameType();
    // Beginner of a game type.
    void chooseGameType(int gameType);
    // Moves kept chart `index` onto the song's timing in one undo entry ("Use Song
    // Timing"); false, with the reason shown, when it cannot be.
    bool useSongTiming(std::size_t index);
    void chooseNoteskin(int gameType, bool enhanced);
    // The noteskin item's mark: the chosen skin of each type (Standard-only items always).
    bool noteskinMarked(const NoteskinMenuItem& item) const {
        return noteskins_.enhancedFor(item.gameType) == item.enhanced;
    }

    // Told when a game type's noteskin changed, so the drawing follows.
    std::function<void(int gameType, bool enhanced)> noteskinChanged = [](int, bool) {};

  private:
    // Makes a level current without changing whether notes are shown, then writes
    // noteskin.ini and draws a frame, as after every game-type or noteskin command.
    void switchLevel(LevelIndex level);
    void settingsChanged();

    Editor& editor_;
    Dispatcher& dispatcher_;
    NoteskinChoice& noteskins_;
    std::string noteskinPath_;
};

} // namespace quillex
