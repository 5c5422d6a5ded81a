// The text layer shared by the song readers and the companion reader: reading a file
// into one joined buffer, splitting it into "#KEY:value;" statements and splitting
// values into lists, and the C library's forgiving number conversions.
#pragma once

#include "base/text_pieces.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillex {

struct JoinedText {
    bool opened = false; // false when the file could not be opened
    std::string text;    // the lines joined with no separator
    // Where a statement that lacked its ";" was closed by the next one: the index in
    // `text` of each ";" the joining added, ascending.
    std::vector<std::size_t> addedClosings;
    // Where each line of a song file begins in `text`, ascending: the rows of a chart
    // whose width only its layout tells (a game type the editor does not know).
    std::vector<std::size_t> lineStarts;
};

// How lines are joined.
enum class TextKind {
    // Song files: everything from the first "//" of a line on is a comment and left
    // out; a line that starts with "#" (after blanks) begins a statement, so a
    // statement before it that lacks its ";" is closed there.
    Song,
    // The companion file: lines joined exactly as they are.
    Companion,
};

// Reads a file and joins its lines without separators, so line breaks vanish. A UTF-8
// byte order mark at the very start is dropped. CR LF, LF and a lone CR all end a
// line. Lines may be of any length: the joined text is never longer than the file.
JoinedText readJoinedText(const std::string& path, TextKind kind);
// The bytes of a file as they are; nothing when it cannot be opened.
std::optional<std::string> readFileBytes(const std::string& path);
// The same on text already in memory; `addedClosings` (when given) receives the
// indices of the ";" the joining added, `lineStarts` where each line begins.
std::string joinLines(std::string_view content, TextKind kind,
                      std::vector<std::size_t>* addedClosings = nullptr,
                      std::vector<std::size_t>* lineStarts = nullptr);

struct Statement {
    std::string_view key;
    std::string_view value;
};

// Splits at every ";" (empty pieces dropped), then each piece at its first ":" into
// key and value, neither trimmed. A piece without ":" is both key and value. A text
// without any ";" gives no statements. The views point into `text`.
std::vector<Statement> splitStatements(std::string_view text);
// Whether a statement split from `text` ends without a ";" of its own: at the end of
// the text, or at one of the `addedClosings` of the joining.
bool statementUnclosed(const Statement& statement, std::string_view text,
                       const std::vector<std::size_t>& addedClosings);

// Splits at the first `separator`; `second` is empty when there is none.
struct SplitPair {
    std::string_view first;
    std::string_view second;
    bool found = false;
};
SplitPair splitFirst(std::string_view text, char separator);

// The text with every blank removed (note data spread over lines).
std::string withoutBlanks(std::string_view text);
std::string toLower(std::string_view text);
std::string toUpper(std::string_view text);

// C library text-to-double in the "C" locale ("." is the decimal point whatever the
// user's locale): leading blanks skipped, an optional sign, the longest prefix that is
// a number, trailing text ignored, no number gives 0. Values that are not finite (nan,
// inf, overflow) also give 0, so that no later arithmetic turns them into undefined
// integers.
double textToDouble(std::string_view text);
// C library text-to-int in base 10 (locale-free like textToDouble), saturated at the
// limits of a 32-bit int instead of overflowing.
std::int32_t textToInt(std::string_view text);
// A double converted to a 32-bit int by truncation, saturated at the limits.
std::int32_t truncToInt32(double value);

// The largest row or length in rows a file may give (some five million beats): far
// beyond any song, and small enough that a row plus a length never overflows.
inline constexpr std::int32_t kLargestFileRow = 1 << 28;
// A row or length read from a file, kept within 0 .. kLargestFileRow.
inline std::int32_t fileRow(std::int64_t row) {
    return row < 0 ? 0 : row > kLargestFileRow ? kLargestFileRow : static_cast<std::int32_t>(row);
}

} // namespace quillex
