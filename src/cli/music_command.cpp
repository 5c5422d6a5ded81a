// `quillex-tool set-music`: gives a song the music file it plays, as Properties does
// for a song kept over silence when its music was not found. The markers and notes keep
// their times in seconds, whatever the new music's rate.
#include "cli/analysed_music.h"
#include "cli/analysis_commands.h"
#include "cli/song_tool.h"
#include "cli/tool_editor.h"
#include "fileio/song_music.h"

namespace quillex {

namespace {

int setMusic(const std::vector<std::string>& arguments, std::ostream& err, AudioBackend audio) {
    const auto parsed = parseToolArguments(arguments, {"--music", "-o"}, err);
    if (!parsed)
        return kToolUsage;
    if (!parsed->option("--music") || !parsed->option("-o")) {
        err << "quillex-tool: needs --music FILE and -o OUT\n";
        return kToolUsage;
    }
    ToolEditor tool(err, std::move(audio), MissingMusic::StandIn);
    Editor& editor = tool.editor;
    if (!openFile(editor, tool.files, parsed->file, err))
        return kToolFailed;
    SongFileContext context = songFileContext(editor);
    if (!giveSongMusic(context, *parsed->option("--music")))
        return kToolFailed;
    return tool.files.writeSong(*parsed->option("-o"), false, editor.song().perBeatBpm())
               ? kToolSuccess
               : kToolFailed;
}

} // namespace

const ToolCommand kSetMusicCommand = {
    "set-music", "       quillex-tool set-music SONG --music FILE -o OUT\n",
    [](const std::vector<std::string>& a, std::ostream&, std::ostream& err, AudioBackend audio) {
        return setMusic(a, err, std::move(audio));
    }};

} // namespace quillex
