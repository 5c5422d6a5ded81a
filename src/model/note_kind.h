// Note kinds and their encodings: the three item fields that make a kind, the `.sm`
// characters and the companion-file type codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/edit_item.h"

namespace quillex {

enum class NoteKind { Tap, Hold, Roll, Mine, Lift };

// The fields that make a note of a kind.
struct NoteKindFields {
    bool isHold;
    bool mineLike; // divisionClass -1
    std::int32_t altKind;
};

NoteKind noteKindOf(const EditItem& note);
NoteKindFields fieldsOfNoteKind(NoteKind kind);
std::string_view noteKindName(NoteKind kind); // "tap", "hold", "roll", "mine", "lift"

// `.sm` character at the note's row: '1', '2', '4', 'M' or 'L'. A hold or roll tail is '3'.
char smHeadCharacter(NoteKind kind);
// The kind a head character stands for; nothing for any other character.
std::optional<NoteKind> noteKindFromSmHead(char head);
inline constexpr char kSmTailCharacter = '3';

// Companion-file type code: 0 tap or hold, 1 mine, 2 lift, 3 roll.
int qxxTypeCode(const EditItem& note);
// The kind a type code stands for, given whether the note has a length.
NoteKind noteKindFromQxxTypeCode(int code, bool hasLength);

// Columns of a foreign type name, used to split its measures into rows.
int foreignColumnCount(std::string_view typeName);

} // namespace quillex
