#include "fileio/qxx_pair_check.h"

#include <cstdint>

#include "fileio/statement_text.h"

namespace quillex {

std::string companionCheckValue(std::string_view joinedText) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (unsigned char c : joinedText) {
        hash ^= c;
        hash *= 0x100000001b3u;
    }
    constexpr char kDigits[] = "0123456789abcdef";
    std::string value(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        value[static_cast<std::size_t>(i)] = kDigits[hash & 15];
    return value;
}

std::string withCompanionCheck(std::string songText, std::string_view companionText) {
    return songText.append(kCompanionCheckKey)
        .append(":")
        .append(companionCheckValue(joinLines(companionText, TextKind::Companion)))
        .append(";\r\n");
}

} // namespace quillex
