// `quillex-tool straighten SONG --from-beat A --to-beat B -o OUT`: the markers from
// beat A to beat B (sub-beats between them included) put on the one constant tempo
// that fits them best, as Straighten Beats does on a selection.
#include "cli/analysed_music.h"
#include "cli/analysis_commands.h"
#include "cli/song_tool.h"
#include "cli/tool_editor.h"
#include "tools/straighten.h"
#include "tools/sync_dialog_models.h"

namespace quillex {

namespace {

std::optional<std::int64_t> beatNumber(const ToolArguments& parsed, std::string_view name) {
    const std::string* text = parsed.option(name);
    const auto n = text ? typedWholeNumber(*text) : std::nullopt;
    if (n && *n >= 1 && *n <= 1000000)
        return n;
    return std::nullopt;
}

int runStraighten(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                  AudioBackend audio) {
    (void)out;
    const auto parsed = parseToolArguments(arguments, {"--from-beat", "--to-beat", "-o"}, err);
    if (!parsed)
        return kToolUsage;
    const auto from = beatNumber(*parsed, "--from-beat");
    const auto to = beatNumber(*parsed, "--to-beat");
    const std::string* output = parsed->option("-o");
    if (!from || !to || *to <= *from || !output) {
        err << "quillex-tool: straighten needs --from-beat A --to-beat B (beat numbers from 1, "
               "A below B) and -o OUT\n";
        return kToolUsage;
    }
    ToolEditor tool(err, std::move(audio), MissingMusic::Locate);
    Editor& editor = tool.editor;
    if (!openFile(editor, tool.files, parsed->file, err))
        return kToolFailed;
    ItemStore& store = editor.store();
    store.refresh();
    store.clearAllSelection();
    for (EditItem& b : store.beatList().edit())
        b.selected = b.beat >= *from && (b.beat < *to || (b.beat == *to && b.fraction == 0));
    const auto plan = planStraighten(store);
    if (const auto* refusal = std::get_if<std::string_view>(&plan)) {
        editor.messages().show(*refusal);
        return kToolFailed;
    }
    applyMove(store, std::get<BeatMove>(plan));
    return tool.files.writeSong(*output, false, editor.song().perBeatBpm()) ? kToolSuccess
                                                                            : kToolFailed;
}

} // namespace

const ToolCommand kStraightenCommand = {
    "straighten", "       quillex-tool straighten SONG --from-beat A --to-beat B -o OUT\n",
    runStraighten};

} // namespace quillex
