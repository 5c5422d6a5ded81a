#include "fileio/qxx_companion.h"

#include "fileio/qxx_kept_data.h"
#include "fileio/qxx_keys.h"
#include "model/note_kind.h"

namespace quillex {

namespace {

using namespace qxx;

constexpr std::string_view kLineBreak = "\r\n";

void appendInt(std::string& out, std::int64_t value) {
    out += std::to_string(value);
}

// A list statement of start row "=" length rows, one pair per stretch.
void appendStretches(std::string& out, std::string_view key, const ItemList& stretches) {
    out.append(key).append(":");
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        if (i > 0)
            out += ',';
        appendInt(out, stretches[i].row());
        out += '=';
        appendInt(out, stretches[i].lengthRows());
    }
    out.append(";").append(kLineBreak);
}

} // namespace

std::string companionText(const ItemStore& store, const MeterTable& meters, int previewStart,
                          int previewEnd, SamplePosition cursor,
                          std::int32_t beatsBeforeFirstMarker, const KeptSongData& kept,
                          int standInRate) {
    std::string out;
    const ItemList& beats = store.beats();
    out += "#BEATLOC_EX:";
    for (std::size_t i = 0; i < beats.size(); ++i) {
        if (i > 0)
            out += ',';
        appendInt(out, beats[i].row());
        out += '=';
        appendInt(out, beats[i].sample);
    }
    out.append(";").append(kLineBreak);

    out += "#BEATPROPS_EX:";
    for (std::size_t i = 0; i < beats.size(); ++i) {
        if (i > 0)
            out += ',';
        appendInt(out, beats[i].row());
        out += "=0";
        out += beats[i].isSubBeat ? '1' : '0';
        out += beats[i].locked ? '1' : '0';
        out += beats[i].colour.red == 255 ? '1' : '0';
    }
    out.append(";").append(kLineBreak);

    appendStretches(out, "#PAUSES", store.pauses());
    // Written only when there are any, so a song without them keeps its old text.
    if (!store.delays().empty())
        appendStretches(out, kDelayRowsKey, store.delays());
    if (!store.warps().empty())
        appendStretches(out, kWarpRowsKey, store.warps());
    if (beatsBeforeFirstMarker > 0) {
        out.append(kBeatsBeforeFirstMarkerKey).append(":");
        appendInt(out, beatsBeforeFirstMarker);
        out.append(";").append(kLineBreak);
    }

    if (const std::string value = keptDataValue(kept); !value.empty())
        out.append(kKeptDataKey).append(":").append(value).append(";").append(kLineBreak);
    if (standInRate > 0) {
        out.append(kStandInRateKey).append(":");
        appendInt(out, standInRate);
        out.append(";").append(kLineBreak);
    }

    out.append("#SONGDEMOBEGIN:").append(std::to_string(previewStart)).append(";");
    out.append(kLineBreak);
    out.append("#SONGDEMOEND:").append(std::to_string(previewEnd)).append(";").append(kLineBreak);

    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        const ItemList& notes = store.notes(level);
        if (notes.empty())
            continue;
        out += notesKey(level);
        out += ':';
        for (std::size_t i = 0; i < notes.size(); ++i) {
            const EditItem& n = notes[i];
            if (i > 0)
                out += ',';
            appendInt(out, n.row());
            out += '=';
            appendInt(out, n.column);
            out += '|';
            appendInt(out, qxxTypeCode(n));
            out += '|';
            appendInt(out, n.isHold ? n.lengthRows() : 0);
        }
        out.append(";").append(kLineBreak);
    }
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        if (store.notes(level).empty())
            continue;
        out.append(footKey(level)).append(":").append(std::to_string(meters.get(level)));
        out.append(";").append(kLineBreak);
    }
    out.append("#WAVECURSOR:").append(std::to_string(cursor)).append(";").append(kLineBreak);
    return out;
}

} // namespace quillex
