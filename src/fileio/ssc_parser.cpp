#include "fileio/ssc_parser.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/game_type.h"

namespace quillex {

namespace {

constexpr std::string_view kSectionKey = "#NOTEDATA";

// The statements of a chart section the reader takes apart; the others are kept.
constexpr std::array<std::string_view, 7> kInterpretedChartKeys = {
    "#NOTEDATA", "#STEPSTYPE", "#DIFFICULTY", "#METER", "#DESCRIPTION", "#NOTES", "#NOTES2"};

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& keys, std::string_view key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

bool startsSection(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    return toUpper(line.substr(i, kSectionKey.size())) == kSectionKey;
}

// Where each chart section starts in the file: a line that begins with "#NOTEDATA".
std::vector<std::size_t> sectionStarts(std::string_view content) {
    std::vector<std::size_t> starts;
    std::size_t pos = 0;
    while (pos < content.size()) {
        const std::size_t end = content.find_first_of("\r\n", pos);
        const std::size_t lineEnd = end == std::string_view::npos ? content.size() : end;
        if (startsSection(content.substr(pos, lineEnd - pos)))
            starts.push_back(pos);
        pos = lineEnd + 1;
    }
    return starts;
}

// One piece of the file joined and split into statements, with whether each one
// ended without its ";".
struct PieceStatement {
    std::string key; // upper-case, trimmed
    Statement statement;
    bool unclosed = false;
};
struct Piece {
    std::string joined;
    std::vector<std::size_t> addedClosings;
    std::vector<PieceStatement> statements;
};

void splitPiece(std::string_view text, Piece& piece) {
    piece.joined = joinLines(text, TextKind::Song, &piece.addedClosings);
    for (const Statement& s : splitStatements(piece.joined))
        piece.statements.push_back({toUpper(trimBlanks(s.key)), s,
                                    statementUnclosed(s, piece.joined, piece.addedClosings)});
}

bool isTimingKey(std::string_view key) {
    return key == "#OFFSET" || key == "#BPMS" || key == "#STOPS" || key == "#DELAYS" ||
           key == "#WARPS";
}

// Adds a timing statement to `timing`; false when the key is no timing key.
bool addTimingStatement(const std::string& key, std::string_view value, SscTiming& timing) {
    std::vector<SmTimedValue>* list = key == "#BPMS"     ? &timing.bpms
                                      : key == "#STOPS"  ? &timing.stops
                                      : key == "#DELAYS" ? &timing.delays
                                      : key == "#WARPS"  ? &timing.warps
                                                         : nullptr;
    if (list) {
        appendTimedValues(value, *list);
        timing.any = true;
        return true;
    }
    if (key != "#OFFSET")
        return false;
    // An empty offset in a chart section means the chart has none of its own.
    if (!trimBlanks(value).empty()) {
        timing.offsetSeconds = textToDouble(value);
        timing.any = true;
    }
    return true;
}

// The timing statements a section names itself.
SscTiming ownTimingOf(const Piece& piece) {
    SscTiming own;
    for (const PieceStatement& s : piece.statements)
        addTimingStatement(s.key, s.statement.value, own);
    return own;
}

// A chart that names any timing of its own plays by its own lists alone (those it does
// not name are empty), from the song's offset unless it gives one; a chart that names
// none plays by the song's timing.
SscTiming mergedTiming(const SscTiming& own, const SscTiming& song) {
    if (!own.any)
        return song;
    SscTiming timing = own;
    if (!timing.offsetSeconds)
        timing.offsetSeconds = song.offsetSeconds;
    return timing;
}

// A list as the game plays it: each beat on its 48th, in row order.
std::vector<std::pair<double, double>> byRow(const std::vector<SmTimedValue>& list) {
    std::vector<std::pair<double, double>> rows;
    for (const SmTimedValue& v : list)
        rows.emplace_back(std::round(v.beat * kRowsPerBeat), v.value);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return rows;
}

// Whether two timings play alike: many files repeat the song's timing in every chart.
bool sameTiming(const SscTiming& a, const SscTiming& b) {
    return a.offsetSeconds.value_or(0) == b.offsetSeconds.value_or(0) &&
           byRow(a.bpms) == byRow(b.bpms) && byRow(a.stops) == byRow(b.stops) &&
           byRow(a.delays) == byRow(b.delays) && byRow(a.warps) == byRow(b.warps);
}

// The fields of a chart section the reader takes apart.
struct ChartFields {
    std::string stepsType;  // as spelled, trimmed
    std::string difficulty; // as spelled, trimmed
    std::string chartName;
    std::string_view description;
    std::string_view meter;
    std::vector<std::string> radarValues;
    const PieceStatement* notes = nullptr;
};

ChartFields chartFieldsOf(const Piece& piece) {
    ChartFields fields;
    for (const PieceStatement& s : piece.statements) {
        const std::string_view value = trimBlanks(s.statement.value);
        if (s.key == "#STEPSTYPE")
            fields.stepsType = std::string(value);
        else if (s.key == "#DIFFICULTY")
            fields.difficulty = std::string(value);
        else if (s.key == "#CHARTNAME")
            fields.chartName = std::string(value);
        else if (s.key == "#DESCRIPTION")
            fields.description = value;
        else if (s.key == "#METER")
            fields.meter = value;
        else if (s.key == "#RADARVALUES")
            for (std::string_view r : splitNonEmpty(value, ','))
                fields.radarValues.emplace_back(trimBlanks(r));
        else if (s.key == "#NOTES" || s.key == "#NOTES2")
            fields.notes = &s;
    }
    return fields;
}

std::optional<LevelIndex> levelOf(const ChartFields& fields) {
    const std::optional<int> type = gameTypeFromSmName(toLower(fields.stepsType));
    const std::optional<int> difficulty = difficultyFromName(fields.difficulty);
    if (!type || !difficulty)
        return std::nullopt;
    return levelIndex(*type, *difficulty);
}

std::vector<KeptStatement> keptChartStatements(const Piece& piece) {
    std::vector<KeptStatement> kept;
    for (const PieceStatement& s : piece.statements)
        if (!contains(kInterpretedChartKeys, s.key) && s.key.starts_with('#'))
            kept.push_back(
                {std::string(trimBlanks(s.statement.key)), std::string(s.statement.value)});
    return kept;
}

// Files older than version 0.70 repeat the song's timing in their charts, and the game
// plays every chart of such a file by the song's timing.
constexpr double kFirstVersionWithChartTiming = 0.70;

class SectionReader {
  public:
    SectionReader(SscFileContent& content, bool chartTimingCounts)
        : content_(content), chartTimingCounts_(chartTimingCounts) {}

    void read(std::string_view sectionText) {
        Piece piece;
        splitPiece(sectionText, piece);
        const ChartFields fields = chartFieldsOf(piece);
        const std::optional<LevelIndex> level = levelOf(fields);
        const bool ownTiming =
            chartTimingCounts_ &&
            !sameTiming(mergedTiming(ownTimingOf(piece), content_.songTiming), content_.songTiming);
        if (!level || ownTiming || taken_[*level] || !fields.notes ||
            hasNoteAnnotations(fields.notes->statement.value)) {
            keep(sectionText, fields, level, ownTiming);
            return;
        }
        taken_[*level] = true;
        SmLevelData& data = content_.timing.levels[*level];
        const std::int32_t meter = textToInt(fields.meter);
        data.meter = meter < 1 ? 1 : meter;
        data.measures = splitMeasures(trimBlanks(fields.notes->statement.value));
        const int skipped =
            emptyMeasuresThatAreNotNoteRows(data.measures, columnCountOfLevel(*level));
        content_.chartTexts[*level] = {std::string(fields.description), fields.radarValues};
        content_.kept.levelStatements[*level] = keptChartStatements(piece);
        content_.kept.chartOrder.push_back({false, *level});
        if (skipped > 0 || fields.notes->unclosed)
            content_.damage.push_back({chartDamageName(level, fields.stepsType, fields.difficulty),
                                       fields.notes->unclosed, skipped});
    }

  private:
    void keep(std::string_view sectionText, const ChartFields& fields,
              std::optional<LevelIndex> level, bool ownTiming) {
        content_.kept.chartOrder.push_back({true, static_cast<int>(content_.kept.charts.size())});
        content_.kept.charts.push_back({std::string(sectionText), fields.stepsType,
                                        fields.difficulty, fields.chartName, ownTiming, level});
    }

    SscFileContent& content_;
    bool chartTimingCounts_;
    std::array<bool, kLevelCount> taken_{};
};

// A negative stop is the old way of writing a warp: the rows that its length would take
// at the tempo of its row are skipped. It becomes that warp, as the game plays it.
void negativeStopsToWarps(SscTiming& timing) {
    std::vector<SmTimedValue> tempos = timing.bpms;
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const SmTimedValue& a, const SmTimedValue& b) { return a.beat < b.beat; });
    for (const SmTimedValue& stop : timing.stops) {
        if (!(stop.value < 0) || tempos.empty())
            continue;
        double bpm = tempos.front().value;
        for (const SmTimedValue& t : tempos)
            if (std::round(t.beat * kRowsPerBeat) <= std::round(stop.beat * kRowsPerBeat))
                bpm = t.value;
        timing.warps.push_back({stop.beat, -stop.value * bpm / 60.0});
    }
    std::erase_if(timing.stops, [](const SmTimedValue& stop) { return stop.value < 0; });
}

} // namespace

SscFileContent parseSscText(std::string_view fileContent, TagMap& tags, Messages&) {
    SscFileContent content;
    const std::vector<std::size_t> starts = sectionStarts(fileContent);
    const std::size_t headerEnd = starts.empty() ? fileContent.size() : starts.front();

    Piece header;
    splitPiece(fileContent.substr(0, headerEnd), header);
    bool chartTimingCounts = false;
    for (const PieceStatement& s : header.statements) {
        if (s.key == "#VERSION")
            chartTimingCounts = textToDouble(s.statement.value) >= kFirstVersionWithChartTiming;
        content.songTagsFound = content.songTagsFound || isSongKey(s.key);
        if (addTimingStatement(s.key, s.statement.value, content.songTiming))
            content.kept.songTiming.push_back({s.key, std::string(s.statement.value)});
        if (isTimingKey(s.key) && s.key != "#OFFSET")
            continue;
        tags.add(s.statement.key, s.statement.value);
        keepSongStatement(s.statement, content.kept);
    }
    negativeStopsToWarps(content.songTiming);
    content.timing.bpms = content.songTiming.bpms;
    content.timing.stops = content.songTiming.stops;
    content.timing.delays = content.songTiming.delays;
    content.timing.warps = content.songTiming.warps;
    content.timing.offsetSeconds = content.songTiming.offsetSeconds.value_or(0);

    SectionReader sections(content, chartTimingCounts);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : fileContent.size();
        sections.read(fileContent.substr(starts[i], end - starts[i]));
    }
    content.songTagsFound = content.songTagsFound || !starts.empty();
    return content;
}

SscTiming timingOfStatements(const std::vector<KeptStatement>& statements) {
    SscTiming timing;
    for (const KeptStatement& s : statements)
        addTimingStatement(s.key, s.value, timing);
    return timing;
}

SscTiming chartTimingOf(std::string_view sectionText, const SscTiming& songTiming) {
    Piece piece;
    splitPiece(sectionText, piece);
    return mergedTiming(ownTimingOf(piece), songTiming);
}

ChartSectionTexts chartSectionTextsOf(std::string_view sectionText) {
    Piece piece;
    splitPiece(sectionText, piece);
    const ChartFields fields = chartFieldsOf(piece);
    ChartSectionTexts out;
    out.meter = std::max(textToInt(fields.meter), 1);
    out.meterText = std::string(fields.meter);
    out.texts = {std::string(fields.description), fields.radarValues};
    for (KeptStatement& s : keptChartStatements(piece))
        if (!isTimingKey(toUpper(s.key)))
            out.statements.push_back(std::move(s));
    return out;
}

std::vector<std::string> chartMeasuresOf(std::string_view sectionText) {
    Piece piece;
    splitPiece(sectionText, piece);
    const ChartFields fields = chartFieldsOf(piece);
    return fields.notes ? splitMeasures(trimBlanks(fields.notes->statement.value))
                        : std::vector<std::string>();
}

} // namespace quillex
