#include "cli/analysed_music.h"

#include <algorithm>

#include "app/session/editor.h"

namespace quillex {

const std::string* ToolArguments::option(std::string_view name) const {
    for (const auto& [key, value] : options)
        if (key == name)
            return &value;
    return nullptr;
}

std::optional<ToolArguments> parseToolArguments(const std::vector<std::string>& arguments,
                                                std::initializer_list<std::string_view> allowed,
                                                std::ostream& err) {
    ToolArguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a.rfind("-", 0) != 0) {
            if (!parsed.file.empty()) {
                err << "quillex-tool: one file at a time: " << a << '\n';
                return std::nullopt;
            }
            parsed.file = a;
            continue;
        }
        if (std::find(allowed.begin(), allowed.end(), a) == allowed.end()) {
            err << "quillex-tool: unknown option " << a << '\n';
            return std::nullopt;
        }
        if (i + 1 == arguments.size()) {
            err << "quillex-tool: " << a << " needs a value\n";
            return std::nullopt;
        }
        parsed.options.emplace_back(a, arguments[++i]);
    }
    if (parsed.file.empty()) {
        err << "quillex-tool: a file is needed\n";
        return std::nullopt;
    }
    return parsed;
}

std::optional<MusicAnalysis> analyseLoadedMusic(Editor& editor, std::ostream& err) {
    const auto music = editor.player().decodedMusic();
    if (!music || music->frames() == 0) {
        err << "quillex-tool: no music to analyse\n";
        return std::nullopt;
    }
    const AnalysisCache cache(defaultAnalysisCacheDirectory());
    auto analysis = analyseMusic(*music, &cache, {});
    if (!analysis || !analysis->rhythmFound()) {
        editor.messages().show(kNoRhythmMessage);
        return std::nullopt;
    }
    return analysis;
}

} // namespace quillex
