#include "fileio/statement_text.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace quillex {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The "C" locale, so that numbers read with "." whatever locale the program runs in.
// The C library's rules otherwise hold: leading blanks, a sign ("+" too), the longest
// prefix that is a number (decimal, hexadecimal "0x", "inf", "nan").
locale_t cNumericLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

bool startsStatement(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    return i < line.size() && line[i] == '#';
}

// The position of the first "//" in the line, or npos. Lines seldom hold a "/", so
// memchr finds the answer at once.
std::size_t commentStart(std::string_view line) {
    const char* begin = line.data();
    const char* end = begin + line.size();
    for (const char* p = begin; p < end;) {
        const void* slash = std::memchr(p, '/', static_cast<std::size_t>(end - p));
        if (!slash)
            break;
        p = static_cast<const char*>(slash) + 1;
        if (p < end && *p == '/')
            return static_cast<std::size_t>(p - 1 - begin);
    }
    return std::string_view::npos;
}

// Builds the joined text line by line. It remembers the last character that is not a
// blank, so that whether the text so far ends with a ";" is known without looking back.
class LineJoiner {
  public:
    LineJoiner(std::size_t size, TextKind kind, std::vector<std::size_t>* addedClosings,
               std::vector<std::size_t>* lineStarts)
        : kind_(kind), addedClosings_(addedClosings), lineStarts_(lineStarts) {
        out_.reserve(size);
    }

    void append(std::string_view line) {
        if (kind_ == TextKind::Song) {
            const std::size_t comment = commentStart(line);
            if (comment != std::string_view::npos)
                line = line.substr(0, comment);
            if (hasText_ && last_ != ';' && startsStatement(line)) {
                if (addedClosings_)
                    addedClosings_->push_back(out_.size());
                out_.push_back(';');
                last_ = ';';
            }
        }
        if (lineStarts_)
            lineStarts_->push_back(out_.size());
        out_.append(line);
        for (std::size_t i = line.size(); i > 0; --i)
            if (!isBlank(line[i - 1])) {
                last_ = line[i - 1];
                hasText_ = true;
                break;
            }
    }
    std::string take() { return std::move(out_); }

  private:
    TextKind kind_;
    std::vector<std::size_t>* addedClosings_;
    std::vector<std::size_t>* lineStarts_;
    std::string out_;
    bool hasText_ = false; // a character that is not a blank was appended
    char last_ = '\0';     // the last such character
};

// The end of the line starting at `pos`: the next CR or LF. The next of each is found
// with memchr and kept until the lines pass it, so the text is searched once.
class LineBreaks {
  public:
    explicit LineBreaks(std::string_view text)
        : text_(text), nextCr_(find('\r', 0)), nextLf_(find('\n', 0)) {}
    std::size_t lineEnd(std::size_t pos) {
        if (nextCr_ < pos)
            nextCr_ = find('\r', pos);
        if (nextLf_ < pos)
            nextLf_ = find('\n', pos);
        return std::min(nextCr_, nextLf_);
    }

  private:
    std::size_t find(char c, std::size_t pos) const {
        const void* at = std::memchr(text_.data() + pos, c, text_.size() - pos);
        return at ? static_cast<std::size_t>(static_cast<const char*>(at) - text_.data())
                  : text_.size();
    }
    std::string_view text_;
    std::size_t nextCr_;
    std::size_t nextLf_;
};

} // namespace

std::string joinLines(std::string_view content, TextKind kind,
                      std::vector<std::size_t>* addedClosings,
                      std::vector<std::size_t>* lineStarts) {
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        content.remove_prefix(kByteOrderMark.size());
    LineJoiner joined(content.size(), kind, addedClosings, lineStarts);
    LineBreaks breaks(content);
    std::size_t pos = 0;
    while (pos < content.size()) {
        const std::size_t end = breaks.lineEnd(pos);
        joined.append(content.substr(pos, end - pos));
        // Past the line break: CR LF, a lone CR or a lone LF.
        pos = end;
        if (pos < content.size() && content[pos++] == '\r' && pos < content.size() &&
            content[pos] == '\n')
            ++pos;
    }
    return joined.take();
}

std::optional<std::string> readFileBytes(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return std::nullopt;
    std::string content;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        content.append(buffer, got);
    // A read error ends the reading with what was read so far.
    std::fclose(file);
    return content;
}

JoinedText readJoinedText(const std::string& path, TextKind kind) {
    JoinedText result;
    const std::optional<std::string> content = readFileBytes(path);
    if (!content)
        return result;
    result.opened = true;
    result.text = joinLines(*content, kind, &result.addedClosings,
                            kind == TextKind::Song ? &result.lineStarts : nullptr);
    return result;
}

std::vector<Statement> splitStatements(std::string_view text) {
    std::vector<Statement> statements;
    if (text.find(';') == std::string_view::npos)
        return statements;
    const std::vector<std::string_view> pieces = splitNonEmpty(text, ';');
    statements.reserve(pieces.size());
    for (std::string_view piece : pieces) {
        const SplitPair pair = splitFirst(piece, ':');
        if (pair.found)
            statements.push_back({pair.first, pair.second});
        else
            statements.push_back({piece, piece});
    }
    return statements;
}

bool statementUnclosed(const Statement& statement, std::string_view text,
                       const std::vector<std::size_t>& addedClosings) {
    const std::size_t end =
        static_cast<std::size_t>(statement.value.data() + statement.value.size() - text.data());
    return end >= text.size() ||
           std::binary_search(addedClosings.begin(), addedClosings.end(), end);
}

SplitPair splitFirst(std::string_view text, char separator) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos)
        return {text, {}, false};
    return {text.substr(0, at), text.substr(at + 1), true};
}

std::string withoutBlanks(std::string_view text) {
    // Most pieces hold no blank at all: memchr tells at once, and the piece is copied
    // whole instead of character by character.
    const bool hasBlank = std::any_of(kBlanks.begin(), kBlanks.end(), [text](char blank) {
        return std::memchr(text.data(), blank, text.size()) != nullptr;
    });
    if (!hasBlank)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (!isBlank(c))
            out.push_back(c);
    return out;
}

std::string toLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string toUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

double textToDouble(std::string_view text) {
    const std::string copy(text);
    const double value = strtod_l(copy.c_str(), nullptr, cNumericLocale());
    return std::isfinite(value) ? value : 0.0;
}

std::int32_t textToInt(std::string_view text) {
    const std::string copy(text);
    const long long value = strtoll_l(copy.c_str(), nullptr, 10, cNumericLocale());
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

std::int32_t truncToInt32(double value) {
    if (!(value == value))
        return 0;
    if (value >= 2147483647.0)
        return INT32_MAX;
    if (value <= -2147483648.0)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

} // namespace quillex
