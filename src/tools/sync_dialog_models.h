// What the three sync dialogs show and accept, without the widgets: Sub-Beat Fraction,
// Grow/Smooth Region and Autofill Beats. Each model gives the texts a dialog opens
// with and reads the texts typed at OK: either the values to use, or the message that
// keeps the dialog open. Numbers are read and written with "." whatever the locale;
// a value that is not a number, is not finite, or is out of a sensible range is
// refused with a message rather than replaced by a default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tools/beat_insertion.h"
#include "tools/beat_moves.h"

namespace quillex {

inline constexpr std::string_view kFractionRangeMessage = "You need to put in a number from 1 to 47.";
inline constexpr std::string_view kPositiveNumberMessage = "You need to put in a positive number.";
inline constexpr double kLowestTypedBpm = 1;
inline constexpr double kHighestTypedBpm = 10000;
inline constexpr std::string_view kBpmRangeMessage = "Type a BPM from 1 to 10000.";
inline constexpr int kLongestSmoothWindow = 1000;
inline constexpr std::string_view kSmoothWindowMessage =
    "Type a smoothing window from 1 to 1000 beats.";
inline constexpr std::int64_t kMostInsertedBeats = 999;
inline constexpr std::string_view kInsertCountMessage =
    "Type how many beats to insert between each pair of selected beats, from 1 to 999.";

// A number typed in a dialog: the whole text (blanks around it allowed) in the "C"
// form. Nothing for any other text; infinities and NaN come back as they are.
std::optional<double> typedNumber(std::string_view text);
std::optional<std::int64_t> typedWholeNumber(std::string_view text);

// Edit Sub-Beat Fraction: the marker's fraction, and the fractions that keep it
// strictly between its neighbours' rows.
class SubBeatFractionModel {
  public:
    SubBeatFractionModel(std::int32_t fraction, FractionRange allowed)
        : fraction_(fraction), allowed_(allowed) {}
    std::string fractionText() const { return std::to_string(fraction_); }
    // The refusal, or nothing with fraction() set.
    std::optional<std::string> accept(std::string_view text);
    std::int32_t fraction() const { return fraction_; }

  private:
    std::int32_t fraction_;
    FractionRange allowed_;
};

// What the Grow/Smooth dialog remembers for the whole run of the program.
struct GrowSmoothMemory {
    bool growMode = false; // Smooth is offered first
    int smoothWindow = 0;
    bool fillToEnd = false;
};

class GrowSmoothModel {
  public:
    // `manySelected`: more than one marker selected, so the region ends at the last
    // selected one and cannot be filled on to the end of the song.
    GrowSmoothModel(GrowSmoothMemory& memory, const GrowRegion& region, bool manySelected,
                    int sampleRate)
        : memory_(memory), region_(region), manySelected_(manySelected), sampleRate_(sampleRate),
          bpm_(region.averageBpm) {}

    bool growMode() const { return memory_.growMode; }
    std::string bpmText() const;
    std::string windowText() const { return std::to_string(memory_.smoothWindow); }
    std::string averageBpmText() const;
    std::string firstBpmText() const;
    bool fillBoxEnabled() const { return !manySelected_; }

    // The refusal, or nothing with the values below set and remembered.
    std::optional<std::string> accept(bool growMode, std::string_view bpmText,
                                      std::string_view windowText, bool fillToEnd);
    double bpm() const { return bpm_; }
    int window() const { return memory_.smoothWindow; }
    bool fillToEnd() const { return memory_.fillToEnd && !manySelected_; }

  private:
    GrowSmoothMemory& memory_;
    GrowRegion region_;
    bool manySelected_;
    int sampleRate_;
    double bpm_;
};

// What the Autofill dialog remembers for the whole run of the program.
struct AutofillMemory {
    std::string bpmText;
    std::string offsetText;
    std::string countText;
    bool averageMode = false; // Insertion mode is offered first
};

class AutofillModel {
  public:
    // Opening: the BPM and offset texts come from the markers (100 BPM from 0 s
    // without them); fewer than two markers allow only the average mode.
    AutofillModel(AutofillMemory& memory, const TimingMap& timing);

    bool insertionAvailable() const { return insertionAvailable_; }
    bool averageMode() const { return memory_.averageMode; }
    const std::string& bpmText() const { return memory_.bpmText; }
    const std::string& offsetText() const { return memory_.offsetText; }
    const std::string& countText() const { return memory_.countText; }

    // Reads the fields of the chosen mode: the refusal, or nothing with the values
    // below set and the texts remembered.
    std::optional<std::string> accept(bool averageMode, std::string_view bpmText,
                                      std::string_view offsetText, std::string_view countText);
    double bpm() const { return bpm_; }
    double offsetSeconds() const { return offset_; }
    std::int64_t count() const { return count_; }

  private:
    AutofillMemory& memory_;
    int sampleRate_;
    SamplePosition musicLength_;
    bool insertionAvailable_;
    double bpm_ = 0;
    double offset_ = 0;
    std::int64_t count_ = 0;
};

// A BPM typed for grow or autofill: the refusal, or nothing.
std::optional<std::string> bpmRefusal(std::optional<double> bpm);
// An offset in seconds for autofill on music of this rate and length.
std::optional<std::string> offsetRefusal(std::optional<double> seconds, int sampleRate,
                                         SamplePosition musicLength);

} // namespace quillex
