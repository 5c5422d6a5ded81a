// `quillex-tool insert-delay`, `insert-warp`, `delete-delay` and `delete-warp`: the
// Insert Delay and Insert Warp commands and the deletion of one delay or warp on a song
// file. Beats are the editor's beat numbers (beat 1 is the first marker) and may carry
// a fraction; they are rounded to the nearest row.
#include <cmath>

#include "cli/analysed_music.h"
#include "cli/analysis_commands.h"
#include "cli/song_tool.h"
#include "cli/tool_editor.h"
#include "items/warp_edits.h"
#include "tools/stretch_spans.h"
#include "tools/sync_dialog_models.h"

namespace quillex {

namespace {

std::optional<RowPosition> beatOption(const ToolArguments& parsed, std::string_view name) {
    const std::string* text = parsed.option(name);
    const auto beat = text ? typedNumber(*text) : std::nullopt;
    if (!beat || !(*beat >= 0) || *beat > 1000000)
        return std::nullopt;
    return RowPosition::fromRow(std::llround(*beat * kRowsPerBeat));
}

enum class Stretch { Delay, Warp };

// Opens the song, makes the edit (false when it is refused, with the message shown) and
// writes the output.
template <typename Edit>
int editSong(const ToolArguments& parsed, std::ostream& err, AudioBackend audio, Edit edit) {
    ToolEditor tool(err, std::move(audio), MissingMusic::Locate);
    Editor& editor = tool.editor;
    if (!openFile(editor, tool.files, parsed.file, err))
        return kToolFailed;
    editor.store().refresh();
    if (!edit(editor))
        return kToolFailed;
    editor.store().refresh();
    return tool.files.writeSong(*parsed.option("-o"), false, editor.song().perBeatBpm())
               ? kToolSuccess
               : kToolFailed;
}

int insertStretch(Stretch kind, const std::vector<std::string>& arguments, std::ostream& err,
                  AudioBackend audio) {
    const auto parsed = parseToolArguments(arguments, {"--beat", "--length", "-o"}, err);
    if (!parsed)
        return kToolUsage;
    const auto start = beatOption(*parsed, "--beat");
    const auto length = beatOption(*parsed, "--length");
    if (!start || !length || !parsed->option("-o")) {
        err << "quillex-tool: needs --beat B --length L (in beats) and -o OUT\n";
        return kToolUsage;
    }
    return editSong(*parsed, err, std::move(audio), [&](Editor& editor) {
        ItemStore& store = editor.store();
        const RowSpan asked{*start, *length};
        const auto span =
            kind == Stretch::Delay ? checkedDelaySpan(store, asked) : checkedWarpSpan(store, asked);
        if (const auto* refusal = std::get_if<std::string_view>(&span)) {
            editor.messages().show(*refusal);
            return false;
        }
        const RowSpan& s = std::get<RowSpan>(span);
        if (kind == Stretch::Delay)
            store.addDelay(s.start, s.length);
        else
            openWarpRows(store, s.start, s.length.row());
        return true;
    });
}

int deleteStretch(Stretch kind, const std::vector<std::string>& arguments, std::ostream& err,
                  AudioBackend audio) {
    const auto parsed = parseToolArguments(arguments, {"--beat", "-o"}, err);
    if (!parsed)
        return kToolUsage;
    const auto start = beatOption(*parsed, "--beat");
    if (!start || !parsed->option("-o")) {
        err << "quillex-tool: needs --beat B (where it starts) and -o OUT\n";
        return kToolUsage;
    }
    return editSong(*parsed, err, std::move(audio), [&](Editor& editor) {
        ItemStore& store = editor.store();
        const ItemList& list = kind == Stretch::Delay ? store.delays() : store.warps();
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].start() != *start)
                continue;
            if (kind == Stretch::Delay)
                store.delayList().splice(i, i + 1, {});
            else
                closeWarpRows(store, i);
            return true;
        }
        err << "quillex-tool: no " << (kind == Stretch::Delay ? "delay" : "warp")
            << " starts on that beat\n";
        return false;
    });
}

} // namespace

const ToolCommand kInsertDelayCommand = {
    "insert-delay", "       quillex-tool insert-delay SONG --beat B --length L -o OUT\n",
    [](const std::vector<std::string>& a, std::ostream&, std::ostream& err, AudioBackend audio) {
        return insertStretch(Stretch::Delay, a, err, std::move(audio));
    }};
const ToolCommand kInsertWarpCommand = {
    "insert-warp", "       quillex-tool insert-warp SONG --beat B --length L -o OUT\n",
    [](const std::vector<std::string>& a, std::ostream&, std::ostream& err, AudioBackend audio) {
        return insertStretch(Stretch::Warp, a, err, std::move(audio));
    }};
const ToolCommand kDeleteDelayCommand = {
    "delete-delay", "       quillex-tool delete-delay SONG --beat B -o OUT\n",
    [](const std::vector<std::string>& a, std::ostream&, std::ostream& err, AudioBackend audio) {
        return deleteStretch(Stretch::Delay, a, err, std::move(audio));
    }};
const ToolCommand kDeleteWarpCommand = {
    "delete-warp", "       quillex-tool delete-warp SONG --beat B -o OUT\n",
    [](const std::vector<std::string>& a, std::ostream&, std::ostream& err, AudioBackend audio) {
        return deleteStretch(Stretch::Warp, a, err, std::move(audio));
    }};

} // namespace quillex
