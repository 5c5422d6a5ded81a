#include "cli/song_tool.h"

#include <array>
#include <locale>
#include <string_view>

#include "app/commands/key_list.h"
#include "app/session/editor.h"
#include "app/session/editor_ports.h"
#include "base/number_format.h"
#include "cli/analysis_commands.h"
#include "cli/sync_command.h"
#include "cli/tool_editor.h"
#include "cli/transform_command.h"
#include "fileio/kept_chart_conversion.h"
#include "fileio/kept_chart_statistics.h"
#include "fileio/open_routing.h"
#include "fileio/ssc_timeline.h"
#include "model/note_kind.h"
#include "settings/settings_syntax.h"

namespace quillex {

namespace {

constexpr std::string_view kUsage =
    "usage: quillex-tool --help | --version\n"
    "       quillex-tool info FILE\n"
    "       quillex-tool beats FILE\n"
    "       quillex-tool pauses FILE\n"
    "       quillex-tool notes FILE\n"
    "       quillex-tool convert IN OUT [--single-bpm] [--keep-duplicate-bpms] [--lossy]\n"
    "       quillex-tool use-song-timing IN OUT CHART\n"
    "       quillex-tool keys [DOCUMENT...]\n";

std::string usage() {
    std::string text = std::string(kUsage) + kTransformUsage + kSyncUsage;
    for (const ToolCommand& c : analysisCommands())
        text += c.usage;
    return text;
}

// Prints the key list, or writes it into each document between its marker lines.
int writeKeyLists(const std::vector<std::string>& documents, std::ostream& out, std::ostream& err) {
    const std::string keys = keyListText();
    if (documents.empty())
        out << keys;
    for (const std::string& path : documents) {
        const std::optional<std::string> text = readWholeFile(path);
        if (!text) {
            err << "quillex-tool: cannot read " << path << '\n';
            return kToolFailed;
        }
        if (text->find(kKeyListBegin) == std::string::npos) {
            err << "quillex-tool: " << path << " has no key list markers\n";
            return kToolFailed;
        }
        if (!writeFileWhole(path, withKeyList(*text, keys))) {
            err << "quillex-tool: cannot write " << path << '\n';
            return kToolFailed;
        }
    }
    return kToolSuccess;
}

std::string seconds(SamplePosition sample, int rate) {
    return formatFixed(rate > 0 ? static_cast<double>(sample) / rate : 0.0, 6);
}

void printInfo(const Editor& editor, std::ostream& out) {
    const SongProperties& p = editor.song().properties();
    const MusicPlayer& player = editor.player();
    const ItemStore& store = editor.store();
    const TimingMap timing = store.timing();
    std::size_t subBeats = 0;
    for (const EditItem& b : store.beats())
        subBeats += b.isSubBeat;
    out << "title\t" << p.title << '\n'
        << "artist\t" << p.artist << '\n'
        << "music\t" << player.musicPath() << '\n'
        << "sample rate\t" << player.sampleRate() << '\n'
        << "length\t" << player.musicLength() << '\n'
        << "beat markers\t" << store.beats().size() - subBeats << '\n'
        << "sub-beats\t" << subBeats << '\n'
        << "pauses\t" << store.pauses().size() << '\n'
        << "delays\t" << store.delays().size() << '\n'
        << "warps\t" << store.warps().size() << '\n';
    if (store.beats().size() >= 2)
        out << "lowest bpm\t" << formatFixed3(timing.lowestBpm()) << '\n'
            << "highest bpm\t" << formatFixed3(timing.highestBpm()) << '\n';
    else
        out << "lowest bpm\t-\nhighest bpm\t-\n";
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        const ItemList& notes = store.notes(level);
        if (notes.empty())
            continue;
        std::array<int, 5> counts{};
        for (const EditItem& n : notes)
            ++counts[static_cast<int>(noteKindOf(n))];
        out << "chart\t" << level << '\t' << gameTypeInfo(gameTypeOfLevel(level)).smName << ' '
            << difficultySmName(difficultyOfLevel(level)) << "\tmeter "
            << editor.meters().get(level);
        for (NoteKind kind :
             {NoteKind::Tap, NoteKind::Hold, NoteKind::Roll, NoteKind::Mine, NoteKind::Lift})
            out << '\t' << counts[static_cast<int>(kind)] << ' ' << noteKindName(kind);
        out << '\n';
    }
    for (const KeptChart& chart : editor.song().kept().charts)
        out << "kept chart\t" << keptChartLabel(chart) << (chart.ownTiming ? "\town timing" : "")
            << '\n';
}

void printBeats(const Editor& editor, std::ostream& out) {
    const int rate = editor.player().sampleRate();
    for (const EditItem& b : editor.store().beats())
        out << b.row() << '\t' << b.sample << '\t' << seconds(b.sample, rate) << '\t'
            << (b.isSubBeat ? "sub" : "beat") << '\t' << (b.locked ? "locked" : "-") << '\t'
            << (b.colour == kWhiteMarker ? "white" : "blue") << '\n';
}

void printPauses(const Editor& editor, std::ostream& out) {
    const TimingMap timing = editor.store().timing();
    for (const EditItem& p : editor.store().pauses())
        out << p.row() << '\t' << p.lengthRows() << '\t' << formatFixed(timing.pauseSeconds(p), 6)
            << '\n';
}

// Every chart's notes that are played: a note inside a warp is left out. A chart kept
// as read follows, as "kept N", with its file rows and its own times.
void printNotes(const Editor& editor, std::ostream& out) {
    const int rate = editor.player().sampleRate();
    const TimingMap timing = editor.store().timing();
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        for (const EditItem& n : editor.store().notes(level))
            if (!timing.insideWarp(n.row()))
                out << level << '\t' << n.row() << '\t' << n.column << '\t'
                    << noteKindName(noteKindOf(n)) << '\t' << (n.isHold ? n.lengthRows() : 0)
                    << '\t' << seconds(n.sample, rate) << '\n';
    const KeptSongData& kept = editor.song().kept();
    const SscTiming songTiming = timingOfStatements(kept.songTiming);
    for (std::size_t k = 0; k < kept.charts.size(); ++k) {
        const KeptChart& chart = kept.charts[k];
        for (const KeptNote& n :
             keptChartNotes(chart.sectionText, keptChartColumns(chart), songTiming))
            if (n.seconds)
                out << "kept " << k << '\t' << n.row << '\t' << n.column << '\t'
                    << noteKindName(noteKindFromSmHead(n.character).value_or(NoteKind::Tap)) << '\t'
                    << n.lengthRows << '\t' << formatFixed(*n.seconds, 6) << '\n';
    }
}

} // namespace

int runSongTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                AudioBackend audio) {
    // Integers too are written without the grouping a global C++ locale could add.
    out.imbue(std::locale::classic());
    err.imbue(std::locale::classic());
    if (arguments.empty()) {
        err << usage();
        return kToolUsage;
    }
    const std::string& command = arguments[0];
    if (command == "--version") {
        out << "quillex-tool " << QUILLEX_VERSION << '\n';
        return kToolSuccess;
    }
    if (command == "--help") {
        out << usage();
        return kToolSuccess;
    }
    if (command == "keys")
        return writeKeyLists({arguments.begin() + 1, arguments.end()}, out, err);
    if (command == "use-song-timing") {
        if (arguments.size() != 4) {
            err << usage();
            return kToolUsage;
        }
        ToolEditor tool(err, std::move(audio), MissingMusic::StandIn);
        if (!openFile(tool.editor, tool.files, arguments[1], err))
            return kToolFailed;
        SongFileContext files = songFileContext(tool.editor);
        const bool converted =
            convertKeptChart(files, static_cast<std::size_t>(std::max(textToInt(arguments[3]), 0)));
        return converted && tool.files.writeSong(arguments[2], false, true) ? kToolSuccess
                                                                            : kToolFailed;
    }
    if (command == "transform") {
        const auto request = parseTransformRequest({arguments.begin() + 1, arguments.end()}, err);
        if (!request) {
            err << usage();
            return kToolUsage;
        }
        ToolEditor tool(err, std::move(audio), MissingMusic::StandIn);
        if (!openFile(tool.editor, tool.files, request->song, err))
            return kToolFailed;
        return runTransform(tool.editor, tool.files, *request) ? kToolSuccess : kToolFailed;
    }
    if (isSyncCommand(command)) {
        const auto request =
            parseSyncRequest(command, {arguments.begin() + 1, arguments.end()}, err);
        if (!request) {
            err << usage();
            return kToolUsage;
        }
        ToolEditor tool(err, std::move(audio), MissingMusic::Locate);
        if (!openFile(tool.editor, tool.files, request->input, err))
            return kToolFailed;
        return runSync(tool.editor, tool.files, *request) ? kToolSuccess : kToolFailed;
    }
    for (const ToolCommand& c : analysisCommands()) {
        if (command != c.name)
            continue;
        const int status =
            c.run({arguments.begin() + 1, arguments.end()}, out, err, std::move(audio));
        if (status == kToolUsage)
            err << usage();
        return status;
    }
    const bool listing =
        command == "info" || command == "beats" || command == "pauses" || command == "notes";
    bool singleBpm = false;
    bool keepDuplicates = false;
    bool lossy = false;
    std::vector<std::string> files;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (command == "convert" && arguments[i] == "--single-bpm")
            singleBpm = true;
        else if (command == "convert" && arguments[i] == "--keep-duplicate-bpms")
            keepDuplicates = true;
        else if (command == "convert" && arguments[i] == "--lossy")
            lossy = true;
        else if (arguments[i].rfind("--", 0) == 0) {
            err << "quillex-tool: unknown option " << arguments[i] << '\n' << usage();
            return kToolUsage;
        } else
            files.push_back(arguments[i]);
    }
    if (!(listing && files.size() == 1) && !(command == "convert" && files.size() == 2)) {
        err << usage();
        return kToolUsage;
    }

    ToolEditor tool(err, std::move(audio), MissingMusic::StandIn);
    Editor& editor = tool.editor;
    if (!openFile(editor, tool.files, files[0], err))
        return kToolFailed;

    if (command == "info")
        printInfo(editor, out);
    else if (command == "beats")
        printBeats(editor, out);
    else if (command == "pauses")
        printPauses(editor, out);
    else if (command == "notes")
        printNotes(editor, out);
    else {
        editor.song().setRemoveDuplicateBpms(!keepDuplicates);
        // A .sm file that cannot hold the whole song is written only when asked for.
        tool.messages.answerYes = lossy;
        if (!tool.files.writeSong(files[1], false, !singleBpm))
            return kToolFailed;
    }
    return kToolSuccess;
}

} // namespace quillex
