// `quillex-tool autosync MUSIC-OR-SONG [--bpm B] -o OUT`: a marker on every beat the
// analysis finds, from the start of the music to its end. A song's markers are
// replaced (locked ones kept) and its charts keep their rows, as autofill does.
#include "analysis/beat_tracker.h"
#include "cli/analysed_music.h"
#include "cli/analysis_commands.h"
#include "cli/song_tool.h"
#include "cli/tool_editor.h"
#include "tools/autosync.h"
#include "tools/sync_dialog_models.h"

namespace quillex {

namespace {

int runAutosync(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                AudioBackend audio) {
    (void)out;
    const auto parsed = parseToolArguments(arguments, {"--bpm", "-o"}, err);
    if (!parsed)
        return kToolUsage;
    const std::string* output = parsed->option("-o");
    if (!output) {
        err << "quillex-tool: autosync needs -o OUT\n";
        return kToolUsage;
    }
    ToolEditor tool(err, std::move(audio), MissingMusic::Locate);
    Editor& editor = tool.editor;
    std::optional<double> bpm;
    if (const std::string* text = parsed->option("--bpm")) {
        bpm = typedNumber(*text);
        if (const auto refusal = bpmRefusal(bpm)) {
            editor.messages().show(*refusal);
            return kToolFailed;
        }
    }
    if (!openFile(editor, tool.files, parsed->file, err))
        return kToolFailed;
    const auto analysis = analyseLoadedMusic(editor, err);
    if (!analysis)
        return kToolFailed;
    const std::vector<double> beats = trackBeats(analysis->features, bpm);
    if (beats.empty()) {
        editor.messages().show(kNoRhythmMessage);
        return kToolFailed;
    }
    editor.store().refresh();
    placeFoundBeats(editor.store(), -1, beats);
    return tool.files.writeSong(*output, false, editor.song().perBeatBpm()) ? kToolSuccess
                                                                            : kToolFailed;
}

} // namespace

const ToolCommand kAutosyncCommand = {
    "autosync", "       quillex-tool autosync MUSIC-OR-SONG [--bpm B] -o OUT\n", runAutosync};

} // namespace quillex
