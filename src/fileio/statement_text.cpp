#include "fileio/statement_text.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool startsStatement(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    return i < line.size() && line[i] == '#';
}

bool endsUnterminated(const std::string& text) {
    std::size_t i = text.size();
    while (i > 0 && isBlank(text[i - 1]))
        --i;
    return i > 0 && text[i - 1] != ';';
}

// Appends one line to the joined text.
void appendLine(std::string& out, std::string_view line, TextKind kind) {
    if (kind == TextKind::Song) {
        const std::size_t comment = line.find("//");
        if (comment != std::string_view::npos)
            line = line.substr(0, comment);
        if (startsStatement(line) && endsUnterminated(out))
            out.push_back(';');
    }
    out.append(line);
}

} // namespace

std::string joinLines(std::string_view content, TextKind kind) {
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        content.remove_prefix(kByteOrderMark.size());
    std::string out;
    out.reserve(content.size());
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t end = content.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = content.size();
        std::string_view line = content.substr(pos, end - pos);
        if (line.size() > kMaxLineLength) {
            // The line buffer takes this much of the line; the reading ends here.
            appendLine(out, line.substr(0, kMaxLineLength), kind);
            break;
        }
        appendLine(out, line, kind);
        // Past the line break: CR LF, a lone CR or a lone LF.
        pos = end;
        if (pos < content.size() && content[pos++] == '\r' && pos < content.size() &&
            content[pos] == '\n')
            ++pos;
    }
    return out;
}

JoinedText readJoinedText(const std::string& path, TextKind kind) {
    JoinedText result;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return result;
    result.opened = true;
    std::string content;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        content.append(buffer, got);
    // A read error ends the reading with what was read so far.
    std::fclose(file);
    result.text = joinLines(content, kind);
    return result;
}

std::vector<Statement> splitStatements(std::string_view text) {
    std::vector<Statement> statements;
    if (text.find(';') == std::string_view::npos)
        return statements;
    for (std::string_view piece : splitNonEmpty(text, ';')) {
        const SplitPair pair = splitFirst(piece, ':');
        if (pair.found)
            statements.push_back({pair.first, pair.second});
        else
            statements.push_back({piece, piece});
    }
    return statements;
}

SplitPair splitFirst(std::string_view text, char separator) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos)
        return {text, {}, false};
    return {text.substr(0, at), text.substr(at + 1), true};
}

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string withoutBlanks(std::string_view text) {
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
