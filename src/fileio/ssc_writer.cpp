#include "fileio/ssc_writer.h"

#include <algorithm>
#include <array>

#include "base/number_format.h"
#include "fileio/song_paths.h"

namespace quillex {

namespace {

bool sameKey(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x >= 'a' && x <= 'z' ? x - 'a' + 'A' : x) ==
                      (y >= 'a' && y <= 'z' ? y - 'a' + 'A' : y);
           });
}

// The song's own timing statements, the values fitted to the markers, in the order
// the header writes them.
class TimingValues {
  public:
    explicit TimingValues(const SmTempoText& tempo)
        : values_{{{"#OFFSET", tempo.offset},
                   {"#BPMS", tempo.bpms},
                   {"#STOPS", tempo.stops},
                   {"#DELAYS", tempo.delays},
                   {"#WARPS", tempo.warps}}} {}

    std::string_view offset() const { return values_[0].second; }
    // The value the song writes for a timing key, or nothing for another key.
    const std::string_view* of(std::string_view key) const {
        for (const auto& [timingKey, value] : values_)
            if (sameKey(key, timingKey))
                return &value;
        return nullptr;
    }
    const auto& all() const { return values_; }

  private:
    std::array<std::pair<std::string_view, std::string_view>, 5> values_;
};

void appendHeader(std::string& out, const SmWriteInput& in, const TimingValues& timing) {
    appendStatement(out, "#VERSION", kSscVersion);
    for (const std::string& line : songHeaderLines(in))
        appendFileLine(out, line);
    const double rate = in.sampleRate;
    appendStatement(out, "#OFFSET", timing.offset());
    appendStatement(out, "#SAMPLESTART", formatFixed3(in.previewStart / rate));
    appendStatement(out, "#SAMPLELENGTH",
                    formatFixed3(in.previewEnd / rate - in.previewStart / rate));
    for (const auto& [key, value] : timing.all())
        if (key != "#OFFSET")
            appendStatement(out, key, value);
}

const KeptStatement* findStatement(const std::vector<KeptStatement>& statements,
                                   std::string_view key) {
    const auto it = std::find_if(statements.begin(), statements.end(),
                                 [&](const KeptStatement& s) { return sameKey(s.key, key); });
    return it == statements.end() ? nullptr : &*it;
}

std::string joinedRadarValues(const std::vector<std::string>& values) {
    std::string text;
    for (const std::string& v : values)
        text += (text.empty() ? "" : ",") + v;
    return text;
}

// One level's chart section: the fields the editor keeps first, in the usual order,
// then the other statements read with the chart (its timing ones carrying the song's
// values), then the notes.
void appendLevelChart(std::string& out, const SmWriteInput& in, const SongFileLayout& layout,
                      const TimingValues& timing, LevelIndex level) {
    const std::vector<KeptStatement>& kept =
        in.song.kept().levelStatements[static_cast<std::size_t>(level)];
    const ChartTexts& texts = in.song.chartTexts()[static_cast<std::size_t>(level)];
    const auto keptValue = [&](std::string_view key, std::string_view otherwise) {
        const KeptStatement* s = findStatement(kept, key);
        return s ? std::string_view(s->value) : otherwise;
    };
    const std::string radar = joinedRadarValues(texts.radarValues);
    appendStatement(out, "#NOTEDATA", "");
    appendStatement(out, "#CHARTNAME", keptValue("#CHARTNAME", ""));
    appendStatement(out, "#STEPSTYPE", gameTypeInfo(gameTypeOfLevel(level)).smName);
    appendStatement(out, "#DESCRIPTION", texts.description);
    appendStatement(out, "#CHARTSTYLE", keptValue("#CHARTSTYLE", ""));
    appendStatement(out, "#DIFFICULTY", difficultySmName(difficultyOfLevel(level)));
    appendStatement(out, "#METER", std::to_string(in.meters.get(level)));
    appendStatement(out, "#RADARVALUES", keptValue("#RADARVALUES", radar));
    appendStatement(out, "#CREDIT", keptValue("#CREDIT", ""));
    for (const KeptStatement& s : kept) {
        if (sameKey(s.key, "#CHARTNAME") || sameKey(s.key, "#CHARTSTYLE") ||
            sameKey(s.key, "#RADARVALUES") || sameKey(s.key, "#CREDIT"))
            continue;
        const std::string_view* songValue = timing.of(s.key);
        appendStatement(out, s.key, songValue ? *songValue : std::string_view(s.value));
    }
    appendFileLine(out, "#NOTES:");
    layout.appendMeasures(out, level);
}

void appendKeptChart(std::string& out, const KeptChart& chart) {
    out.append(chart.sectionText);
    if (!chart.sectionText.empty() && chart.sectionText.back() != '\n' &&
        chart.sectionText.back() != '\r')
        out.append(kFileLineBreak);
}

} // namespace

std::string sscSongText(const SmWriteInput& in) {
    std::string out;
    const SongFileLayout layout(in, true);
    const SmTempoText& tempo = layout.tempo();
    const TimingValues timing(tempo);
    appendHeader(out, in, timing);
    appendKeptSongStatements(out, in.song);
    for (const ChartSlot& slot : layout.charts()) {
        if (slot.kept)
            appendKeptChart(out, in.song.kept().charts[static_cast<std::size_t>(slot.index)]);
        else
            appendLevelChart(out, in, layout, timing, slot.index);
    }
    return out;
}

} // namespace quillex
