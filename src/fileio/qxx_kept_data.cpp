#include "fileio/qxx_kept_data.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace quillex {

namespace {

// Before the hexadecimal form every field is "<decimal length>:<bytes>", so any byte
// may appear in a field.
class FieldWriter {
  public:
    void text(std::string_view s) { out_.append(std::to_string(s.size())).append(":").append(s); }
    void number(std::int64_t n) { text(std::to_string(n)); }
    void statements(const std::vector<KeptStatement>& list) {
        number(static_cast<std::int64_t>(list.size()));
        for (const KeptStatement& s : list) {
            text(s.key);
            text(s.value);
        }
    }
    const std::string& result() const { return out_; }

  private:
    std::string out_;
};

class FieldReader {
  public:
    explicit FieldReader(std::string_view in) : in_(in) {}

    std::optional<std::string> text() {
        const auto colon = in_.find(':');
        if (colon == std::string_view::npos || colon == 0 || colon > 12)
            return std::nullopt;
        std::size_t length = 0;
        for (char c : in_.substr(0, colon)) {
            if (c < '0' || c > '9')
                return std::nullopt;
            length = length * 10 + static_cast<std::size_t>(c - '0');
        }
        if (in_.size() - colon - 1 < length)
            return std::nullopt;
        std::string s(in_.substr(colon + 1, length));
        in_.remove_prefix(colon + 1 + length);
        return s;
    }
    // A whole number in [low, high].
    std::optional<std::int64_t> number(std::int64_t low, std::int64_t high) {
        const auto s = text();
        if (!s || s->empty() || s->size() > 12)
            return std::nullopt;
        std::int64_t n = 0;
        bool negative = (*s)[0] == '-';
        for (std::size_t i = negative ? 1 : 0; i < s->size(); ++i) {
            if ((*s)[i] < '0' || (*s)[i] > '9')
                return std::nullopt;
            n = n * 10 + ((*s)[i] - '0');
        }
        n = negative ? -n : n;
        if (n < low || n > high)
            return std::nullopt;
        return n;
    }
    bool statements(std::vector<KeptStatement>& list) {
        const auto count = number(0, 1'000'000);
        if (!count)
            return false;
        for (std::int64_t i = 0; i < *count; ++i) {
            auto key = text();
            auto value = text();
            if (!key || !value)
                return false;
            list.push_back({std::move(*key), std::move(*value)});
        }
        return true;
    }
    bool atEnd() const { return in_.empty(); }

  private:
    std::string_view in_;
};

constexpr char kHexDigits[] = "0123456789abcdef";

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool readChart(FieldReader& in, KeptChart& chart) {
    auto section = in.text(), type = in.text(), difficulty = in.text(), name = in.text();
    const auto ownTiming = in.number(0, 1), level = in.number(-1, kLevelCount - 1),
               converted = in.number(0, 1);
    if (!section || !type || !difficulty || !name || !ownTiming || !level || !converted)
        return false;
    chart.sectionText = std::move(*section);
    chart.stepsType = std::move(*type);
    chart.difficulty = std::move(*difficulty);
    chart.chartName = std::move(*name);
    chart.ownTiming = *ownTiming == 1;
    if (*level >= 0)
        chart.level = static_cast<LevelIndex>(*level);
    chart.converted = *converted == 1;
    return true;
}

} // namespace

std::string keptDataValue(const KeptSongData& kept) {
    if (kept.empty())
        return {};
    FieldWriter w;
    w.statements(kept.songStatements);
    w.statements(kept.songTiming);
    for (const auto& statements : kept.levelStatements)
        w.statements(statements);
    w.number(static_cast<std::int64_t>(kept.charts.size()));
    for (const KeptChart& c : kept.charts) {
        w.text(c.sectionText);
        w.text(c.stepsType);
        w.text(c.difficulty);
        w.text(c.chartName);
        w.number(c.ownTiming ? 1 : 0);
        w.number(c.level ? *c.level : -1);
        w.number(c.converted ? 1 : 0);
    }
    w.number(static_cast<std::int64_t>(kept.chartOrder.size()));
    for (const ChartSlot& slot : kept.chartOrder) {
        w.number(slot.kept ? 1 : 0);
        w.number(slot.index);
    }
    std::string hex;
    hex.reserve(w.result().size() * 2);
    for (unsigned char c : w.result()) {
        hex += kHexDigits[c >> 4];
        hex += kHexDigits[c & 15];
    }
    return hex;
}

KeptDataRead readKeptDataValue(std::string_view value) {
    // The bytes up to the first that the digits cannot give.
    std::string bytes;
    bytes.reserve(value.size() / 2);
    bool digitsWhole = value.size() % 2 == 0;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
        const int high = hexValue(value[i]), low = hexValue(value[i + 1]);
        if (high < 0 || low < 0) {
            digitsWhole = false;
            break;
        }
        bytes += static_cast<char>(high * 16 + low);
    }
    FieldReader in(bytes);
    KeptDataRead read;
    KeptSongData& kept = read.kept;
    const auto statementsLost = [&read] {
        read.kept = KeptSongData();
        read.lost = "the song statements and charts kept from the .ssc file could not be read";
        return read;
    };
    if (!in.statements(kept.songStatements) || !in.statements(kept.songTiming))
        return statementsLost();
    for (auto& statements : kept.levelStatements)
        if (!in.statements(statements))
            return statementsLost();
    const auto charts = in.number(0, 1'000'000);
    if (!charts)
        return statementsLost();
    for (std::int64_t i = 0; i < *charts; ++i) {
        KeptChart chart;
        if (!readChart(in, chart)) {
            read.lost = std::to_string(*charts - i) + " of the " + std::to_string(*charts) +
                        " charts kept from the .ssc file could not be read";
            break;
        }
        kept.charts.push_back(std::move(chart));
    }
    const std::int64_t chartsRead = static_cast<std::int64_t>(kept.charts.size());
    const auto slots = read.lost.empty() ? in.number(0, 1'000'000) : std::nullopt;
    for (std::int64_t i = 0; slots && i < *slots; ++i) {
        const auto isKept = in.number(0, 1);
        const auto index = in.number(0, std::max<std::int64_t>(kLevelCount, chartsRead));
        if (!isKept || !index || (*isKept == 1 ? *index >= chartsRead : *index >= kLevelCount))
            break;
        kept.chartOrder.push_back({*isKept == 1, static_cast<int>(*index)});
    }
    if (read.lost.empty() && (!slots || kept.chartOrder.size() != static_cast<std::size_t>(*slots)))
        read.lost = "the order of the .ssc file's charts could not be read";
    if (read.lost.empty() && (!in.atEnd() || !digitsWhole))
        read.lost = "it ends in text that is not part of it";
    // A kept chart missing from the order would never be written again: those the
    // order lost follow the others.
    std::vector<bool> placed(kept.charts.size());
    for (const ChartSlot& slot : kept.chartOrder)
        if (slot.kept)
            placed[static_cast<std::size_t>(slot.index)] = true;
    for (std::size_t i = 0; i < placed.size(); ++i)
        if (!placed[i])
            kept.chartOrder.push_back({true, static_cast<int>(i)});
    return read;
}

} // namespace quillex
