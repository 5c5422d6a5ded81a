// `quillex-tool tempo MUSIC [--top N]`: the tempo suggestions, one line per candidate,
// best first: BPM (three decimals), the first beat in seconds on the music's timeline
// as quillex plays it, and the confidence, separated by tabs.
#include "analysis/tempo_candidates.h"
#include "cli/analysed_music.h"
#include "cli/analysis_commands.h"
#include "cli/song_tool.h"
#include "cli/tool_editor.h"
#include "base/number_format.h"
#include "tools/sync_dialog_models.h"

namespace quillex {

namespace {

constexpr std::int64_t kMostCandidates = 20;

int runTempo(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
             AudioBackend audio) {
    const auto parsed = parseToolArguments(arguments, {"--top"}, err);
    if (!parsed)
        return kToolUsage;
    std::int64_t top = static_cast<std::int64_t>(kSuggestedTempos);
    if (const std::string* text = parsed->option("--top")) {
        const auto n = typedWholeNumber(*text);
        if (!n || *n < 1 || *n > kMostCandidates) {
            err << "quillex-tool: --top takes a number from 1 to " << kMostCandidates << '\n';
            return kToolUsage;
        }
        top = *n;
    }
    ToolEditor tool(err, std::move(audio), MissingMusic::Locate);
    if (!openFile(tool.editor, tool.files, parsed->file, err))
        return kToolFailed;
    const auto analysis = analyseLoadedMusic(tool.editor, err);
    if (!analysis)
        return kToolFailed;
    const auto candidates = static_cast<std::size_t>(top) <= analysis->candidates.size()
                                ? analysis->candidates
                                : suggestTempos(analysis->features, static_cast<std::size_t>(top));
    for (std::size_t i = 0; i < candidates.size() && i < static_cast<std::size_t>(top); ++i)
        out << formatFixed(candidates[i].bpm, 3) << '\t'
            << formatFixed(candidates[i].firstBeatSeconds, 6) << '\t'
            << formatFixed(candidates[i].confidence, 3) << '\n';
    return kToolSuccess;
}

} // namespace

const ToolCommand kTempoCommand = {"tempo", "       quillex-tool tempo MUSIC [--top N]\n",
                                   runTempo};

} // namespace quillex
