#include "model/note_kind.h"

namespace quillex {

NoteKind noteKindOf(const EditItem& note) {
    if (note.isHold)
        return note.altKind == 1 ? NoteKind::Roll : NoteKind::Hold;
    if (note.isMineLike())
        return note.altKind == 1 ? NoteKind::Lift : NoteKind::Mine;
    return NoteKind::Tap;
}

NoteKindFields fieldsOfNoteKind(NoteKind kind) {
    switch (kind) {
    case NoteKind::Hold: return {true, false, 0};
    case NoteKind::Roll: return {true, false, 1};
    case NoteKind::Mine: return {false, true, 0};
    case NoteKind::Lift: return {false, true, 1};
    case NoteKind::Tap: break;
    }
    return {false, false, 0};
}

std::string_view noteKindName(NoteKind kind) {
    switch (kind) {
    case NoteKind::Hold: return "hold";
    case NoteKind::Roll: return "roll";
    case NoteKind::Mine: return "mine";
    case NoteKind::Lift: return "lift";
    case NoteKind::Tap: break;
    }
    return "tap";
}

char smHeadCharacter(NoteKind kind) {
    switch (kind) {
    case NoteKind::Hold: return '2';
    case NoteKind::Roll: return '4';
    case NoteKind::Mine: return 'M';
    case NoteKind::Lift: return 'L';
    case NoteKind::Tap: break;
    }
    return '1';
}

std::optional<NoteKind> noteKindFromSmHead(char head) {
    for (NoteKind kind : {NoteKind::Tap, NoteKind::Hold, NoteKind::Roll, NoteKind::Mine,
                          NoteKind::Lift})
        if (smHeadCharacter(kind) == head)
            return kind;
    return std::nullopt;
}

int qxxTypeCode(const EditItem& note) {
    if (!note.isHold && note.isMineLike())
        return note.altKind == 1 ? 2 : 1;
    if (note.isHold && note.altKind == 1)
        return 3;
    return 0;
}

NoteKind noteKindFromQxxTypeCode(int code, bool hasLength) {
    switch (code) {
    case 1: return NoteKind::Mine;
    case 2: return NoteKind::Lift;
    case 3: return NoteKind::Roll;
    default: return hasLength ? NoteKind::Hold : NoteKind::Tap;
    }
}

int foreignColumnCount(std::string_view typeName) {
    if (typeName == "ez2-single") return 5;
    if (typeName == "ez2-double") return 10;
    if (typeName == "ez2-real") return 7;
    if (typeName == "para-single") return 5;
    return 4;
}

} // namespace quillex
