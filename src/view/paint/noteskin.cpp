// Picture cells of the three noteskins.
#include "view/paint/noteskin.h"

#include <algorithm>

#include "view/column_layout.h"

namespace quillex {

namespace {

constexpr int kFrame = 64;

// Each pump picture group runs down-left, up-left, centre, as pumpShape() numbers them.
static_assert(pictureAt(PictureId::PumpNoteDownLeft, 2) == PictureId::PumpNoteCenter);
static_assert(pictureAt(PictureId::PumpFreezeBodyDownLeft, 2) == PictureId::PumpFreezeBodyCenter);
static_assert(pictureAt(PictureId::PumpFreezeTailDownLeft, 2) == PictureId::PumpFreezeTailCenter);

QRect stripCell(int frame) {
    return {frame * kFrame, 0, kFrame, kFrame};
}

} // namespace

bool Noteskin::pump() const {
    return isPumpGameType(gameType_);
}

Turn Noteskin::danceTurn(int code) const {
    switch (code) {
    case 1:
        return Turn::CounterClockwise; // down
    case 2:
        return Turn::Clockwise; // up
    case 3:
        return Turn::HalfTurn; // right
    case 5:
        return Turn::Clockwise; // up-right from up-left
    default:
        return Turn::None; // left, up-left
    }
}

int Noteskin::pumpShape(int code) {
    if (code == 2)
        return 2;
    return code == 1 || code == 3 ? 1 : 0;
}

Turn Noteskin::pumpTurn(int code) const {
    // The second of each pair is the first turned to the other side.
    return code == 3 || code == 4 ? Turn::MirrorX : Turn::None;
}

SkinPart Noteskin::receptor(int code, int frame) const {
    frame = std::clamp(frame, 0, 3);
    if (pump()) {
        if (code == 2)
            return {PictureId::PumpCenterReceptor, stripCell(frame == 0 ? 0 : 1), Turn::None};
        // One corner picture (down-left) for all four corners.
        static constexpr Turn kCornerTurns[5] = {Turn::None, Turn::MirrorY, Turn::None,
                                                 Turn::HalfTurn, Turn::MirrorX};
        return {PictureId::PumpCornerReceptor, stripCell(frame == 0 ? 0 : 1),
                kCornerTurns[std::clamp(code, 0, 4)]};
    }
    if (diagonal(code))
        return {PictureId::DiagonalReceptor, stripCell(frame), danceTurn(code)};
    return {enhanced_ ? PictureId::EnhancedReceptor : PictureId::DanceReceptor, stripCell(frame),
            danceTurn(code)};
}

SkinPart Noteskin::glow(int code) const {
    SkinPart part = receptor(code, 0);
    part.cell = stripCell(0);
    if (pump())
        part.picture = code == 2 ? PictureId::PumpCenterGlow : PictureId::PumpArrowGlow;
    else
        part.picture = diagonal(code) ? PictureId::DiagonalArrowGlow : PictureId::DanceArrowGlow;
    return part;
}

SkinPart Noteskin::freezeOkExplosion(int code) const {
    constexpr int kSize = 70;
    const bool diagonalPanel = !pump() && diagonal(code);
    return {diagonalPanel ? PictureId::DiagonalFreezeOkExplosion : PictureId::DanceFreezeOkExplosion,
            QRect(0, 0, kSize, kSize), pump() ? Turn::None : danceTurn(code)};
}

SkinPart Noteskin::tap(int code, int divisionClass, int animation) const {
    const int cls = std::clamp(divisionClass, 0, kQuantisationClasses - 1);
    if (pump()) {
        const int frame = std::clamp(animation, 0, 15) * 6 / 16;
        return {pictureAt(PictureId::PumpNoteDownLeft, pumpShape(code)), stripCell(frame),
                pumpTurn(code)};
    }
    if (diagonal(code))
        return {pictureAt(PictureId::DiagonalTap04, cls), stripCell(0), danceTurn(code)};
    if (enhanced_) {
        const int frame = (animation + 11) % 16;
        return {pictureAt(PictureId::EnhancedTap04, cls),
                QRect((frame % 4) * kFrame, (frame / 4) * kFrame, kFrame, kFrame), danceTurn(code)};
    }
    return {pictureAt(PictureId::DanceTap04, cls), stripCell(0), danceTurn(code)};
}

SkinPart Noteskin::holdBody(int code, bool roll) const {
    if (roll)
        return {PictureId::RollBody, QRect(0, 0, 64, 256), Turn::None};
    if (pump())
        return {pictureAt(PictureId::PumpFreezeBodyDownLeft, pumpShape(code)), QRect(0, 0, 64, 64),
                Turn::None};
    if (diagonal(code))
        return {PictureId::DiagonalFreezeBody, QRect(0, 0, 64, 128), Turn::None};
    if (enhanced_)
        return {PictureId::EnhancedFreezeBody, QRect(0, 0, 64, 256), Turn::None};
    return {PictureId::DanceFreezeBody, QRect(0, 0, 64, 128), Turn::None};
}

SkinPart Noteskin::holdTail(int code, bool roll) const {
    if (roll)
        return {PictureId::RollTail, QRect(0, 0, 64, 32), Turn::None};
    if (pump())
        return {pictureAt(PictureId::PumpFreezeTailDownLeft, pumpShape(code)), QRect(0, 0, 64, 32),
                Turn::None};
    if (diagonal(code))
        return {PictureId::DiagonalFreezeTail, stripCell(0), Turn::None};
    return {enhanced_ ? PictureId::EnhancedFreezeTail : PictureId::DanceFreezeTail, stripCell(0),
            Turn::None};
}

SkinPart Noteskin::mine(int frame) {
    return {PictureId::AnimMine, stripCell(frame & 3), Turn::None};
}

SkinPart Noteskin::lift(int frame) {
    return {PictureId::AnimLift, QRect((frame & 7) * 32, 0, 32, 32), Turn::None};
}

SkinPart Noteskin::snapMarker(int snapIndex) const {
    const PictureId picture =
        enhanced_ && !pump() ? PictureId::EnhancedSnapBase : PictureId::DanceSnapBase;
    if (snapIndex >= 9)
        return {picture, QRect(0, 32, 32, 32), Turn::None};
    return {picture, QRect((std::clamp(snapIndex, 1, 8) - 1) * 32, 0, 32, 32), Turn::None};
}

} // namespace quillex
