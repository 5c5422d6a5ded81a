#include "fileio/sm_timing_check.h"

#include <cmath>
#include <cstdint>

#include "audio/music_format.h"
#include "base/number_format.h"
#include "base/number_parse.h"
#include "base/text_pieces.h"
#include "fileio/statement_text.h"

namespace quillex {

namespace {

constexpr std::string_view kRefusal = "I can't open this song: ";

// The last whole beat a row of a file may lie on.
constexpr std::int32_t kLastBeat = kLargestFileRow / kRowsPerBeat;

std::string beyondLongestSong() {
    return "longer than " + formatGeneral(std::floor(longestSongSeconds())) +
           " seconds (about 3 hours), the longest a song can last.";
}

std::string entryName(std::string_view tag, std::string_view what, double beat) {
    return std::string(what) + " at beat " + formatGeneral(beat) + " (" + std::string(tag) + ")";
}

// The first entry of a list that lies on a beat no row can hold.
std::string beatBeyondRows(const std::vector<SmTimedValue>& entries, std::string_view tag) {
    for (const SmTimedValue& e : entries)
        if (!(std::abs(e.beat) <= kLastBeat))
            return std::string(kRefusal) + "its " + std::string(tag) + " entry at beat " +
                   formatGeneral(e.beat) + " lies beyond beat " + std::to_string(kLastBeat) +
                   ", the last a song can hold.";
    return {};
}

std::string tempoRefusal(const std::vector<SmTimedValue>& bpms) {
    const SmTimedValue* negative = nullptr;
    for (const SmTimedValue& t : bpms)
        if (t.value < 0 && (!negative || t.beat < negative->beat))
            negative = &t;
    if (negative)
        return std::string(kRefusal) + "it has a negative tempo at beat " +
               formatNumber(negative->beat) + " (#BPMS).  Negative tempos are not supported.";
    for (const SmTimedValue& t : bpms) {
        if (t.value == 0)
            return std::string(kRefusal) + "its " + entryName("#BPMS", "tempo", t.beat) +
                   " is 0 or not a number; a tempo must be above 0.";
        if (60.0 / t.value > longestSongSeconds())
            return std::string(kRefusal) + "its " + entryName("#BPMS", "tempo", t.beat) + " of " +
                   formatGeneral(t.value) + " makes one beat last " + beyondLongestSong();
    }
    return {};
}

// Stops and delays in seconds: a negative stop is refused (a `.ssc` file's have become
// warps by now), and so is one that lasts longer than any song.
std::string pauseRefusal(const std::vector<SmTimedValue>& entries, std::string_view tag,
                         std::string_view what) {
    const SmTimedValue* negative = nullptr;
    for (const SmTimedValue& e : entries)
        if (e.value < 0 && (!negative || e.beat < negative->beat))
            negative = &e;
    if (negative && tag == "#STOPS")
        return std::string(kRefusal) + "it has a negative stop at beat " +
               formatNumber(negative->beat) + " (#STOPS).  Negative stops are not supported.";
    for (const SmTimedValue& e : entries)
        if (e.value > longestSongSeconds())
            return std::string(kRefusal) + "its " + entryName(tag, what, e.beat) + " lasts " +
                   formatGeneral(e.value) + " seconds, " + beyondLongestSong();
    return {};
}

std::string warpRefusal(const std::vector<SmTimedValue>& warps) {
    for (const SmTimedValue& w : warps)
        if (w.beat + w.value > kLastBeat)
            return std::string(kRefusal) + "its " +
                   entryName("#WARPS, or a negative #STOPS entry", "warp", w.beat) + " skips " +
                   formatGeneral(w.value) + " beats, past beat " + std::to_string(kLastBeat) +
                   ", the last a song can hold.";
    return {};
}

} // namespace

double longestSongSeconds() {
    return static_cast<double>(INT32_MAX) / kHighestFrequency;
}

std::string timingRefusal(const SmTimingInput& timing, std::string_view offsetText) {
    if (!trimBlanks(offsetText).empty()) {
        const std::optional<double> offset = parseDecimal(offsetText);
        if (!offset)
            return std::string(kRefusal) + "its #OFFSET (" + std::string(trimBlanks(offsetText)) +
                   ") is not a decimal number of seconds.";
        if (std::abs(*offset) > longestSongSeconds())
            return std::string(kRefusal) + "its #OFFSET of " + formatGeneral(*offset) +
                   " seconds is " + beyondLongestSong();
    }
    for (const auto& [list, tag] :
         {std::pair(&timing.bpms, "#BPMS"), std::pair(&timing.stops, "#STOPS"),
          std::pair(&timing.delays, "#DELAYS"), std::pair(&timing.warps, "#WARPS")})
        if (std::string refusal = beatBeyondRows(*list, tag); !refusal.empty())
            return refusal;
    for (std::string refusal :
         {tempoRefusal(timing.bpms), pauseRefusal(timing.stops, "#STOPS", "stop"),
          pauseRefusal(timing.delays, "#DELAYS", "delay"), warpRefusal(timing.warps)})
        if (!refusal.empty())
            return refusal;
    // Each value fits. Together they may still run past what a sample position holds:
    // the timeline then keeps what it can and names the notes it leaves out.
    return {};
}

} // namespace quillex
