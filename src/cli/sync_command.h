// `quillex-tool autofill`, `nudge` and `grow`: the editor's sync tools on a song file,
// for the first grid of a new song and for shifting or re-timing whole songs (a pack
// moved by a fixed bias, say). They run the same checks and moves as the commands.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quillex {

class Editor;
class EditorSongFiles;

struct SyncRequest {
    enum class Kind { Autofill, Nudge, Grow } kind = Kind::Autofill;
    std::string input;
    std::string output;
    std::string bpm;         // autofill, grow: as typed in the dialogs
    std::string offset;      // autofill: seconds of the first beat
    double milliseconds = 0; // nudge: later when positive
    int fromBeat = 1;        // grow: the region's first beat
};

inline constexpr const char* kSyncUsage =
    "       quillex-tool autofill MUSIC-OR-SONG --bpm B --offset SECONDS -o OUT\n"
    "       quillex-tool nudge SONG --ms M -o OUT\n"
    "       quillex-tool grow SONG --bpm B [--from-beat N] -o OUT\n";

bool isSyncCommand(const std::string& command);
// Reads the arguments after the command name; nothing (with a reason on `err`) when
// they do not make one request.
std::optional<SyncRequest> parseSyncRequest(const std::string& command,
                                            const std::vector<std::string>& arguments,
                                            std::ostream& err);

// Runs the tool on the opened file and writes the output. False (with the editor's
// message on its Messages) when the values are refused or nothing was saved.
bool runSync(Editor& editor, EditorSongFiles& files, const SyncRequest& request);

} // namespace quillex
