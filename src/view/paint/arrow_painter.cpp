// The arrow layer: snap marker, receptors on the cursor row, and the current chart's
// notes in view (taps by quantisation class, animated mines and lifts, holds and
// rolls with body, tail and head).
#include "view/column_layout.h"
#include "view/paint/frame_context.h"
#include "view/paint/noteskin.h"
#include "view/paint/renderer.h"
#include "view/visible_items.h"

namespace quillex {

namespace {

constexpr int kSnapHalf = 16;

void paintSnapMarker(const FrameContext& frame, const Noteskin& skin, Renderer& renderer) {
    const int snap = frame.transport.snapIndex;
    if (snap <= 0 || snap > 10)
        return;
    const SkinPart part = skin.snapMarker(snap);
    const int row = frame.view.wave().cursorRow;
    for (int x : {49, 750}) {
        renderer.sprite(part.picture, part.cell, x, row, kSnapHalf, part.turn, 255);
        if (snap >= 9)
            renderer.text(snap == 9 ? "96" : "192", x - 8, row - 7, 255, FontSize::Small);
    }
}

void paintReceptors(const FrameContext& frame, const Noteskin& skin, Renderer& renderer) {
    const int type = frame.arrow.gameType;
    const int size = frame.arrow.noteSize;
    const int half = noteHalfSize(size);
    const int row = frame.view.wave().cursorRow;
    const int receptor = receptorFrame(frame.positionRow.fraction);
    for (int c = 0; c < columnCount(type); ++c) {
        const SkinPart part = skin.receptor(directionCode(type, c), receptor);
        renderer.sprite(part.picture, part.cell, columnX(type, size, c), row, half, part.turn, 255);
    }
}

struct NotePainter {
    const FrameContext& frame;
    const Noteskin& skin;
    Renderer& renderer;
    int half;
    int animation; // 0..15 through each beat
    int mineFrame; // (current beat - 1) mod 4
    int liftFrame; // 0..7 through each beat

    void paint(const EditItem& note) const {
        const ViewGeometry& g = frame.geometry;
        const int type = frame.arrow.gameType;
        const int x = columnX(type, frame.arrow.noteSize, note.column);
        const int head = g.rowOfSample(note.sample);
        const int code = directionCode(type, note.column);
        // Notes inside a warp are not played: they are drawn faint, as cut ones are.
        const int alpha = itemAlpha(note.cutMark || frame.timing.insideWarp(note.row()));
        int boxBottom = head + half;

        if (note.isMineLike()) {
            const SkinPart part =
                note.altKind == 1 ? Noteskin::lift(liftFrame) : Noteskin::mine(mineFrame);
            renderer.sprite(part.picture, part.cell, x, head, half, part.turn, alpha);
        } else {
            if (note.isHold) {
                const int end =
                    g.rowOfSample(frame.timing.rowToSample(RowPosition::fromRow(note.endRow())));
                if (end < head)
                    return;
                paintHoldBodyAndTail(note, code, x, head, end, alpha);
                boxBottom = end + half;
            }
            const SkinPart part = skin.tap(code, note.divisionClass, animation);
            renderer.sprite(part.picture, part.cell, x, head, half, part.turn, alpha);
        }
        if (note.selected)
            renderer.rectangle(x - half, head - half, x + half, boxBottom,
                               {selectionAlpha(note.cutMark), 255, 255, 255}, true);
    }

    void paintHoldBodyAndTail(const EditItem& note, int code, int x, int head, int end,
                              int alpha) const {
        const bool roll = note.altKind == 1;
        const SkinPart body = skin.holdBody(code, roll);
        // The body repeats every 8 half-sizes, a whole repeat ending at the end row.
        const int repeat = 8 * half;
        renderer.tiled(body.picture, body.cell, QRect(x - half, head, 2 * half, end + 1 - head),
                       2 * half, repeat, x - half, end + 1, alpha);
        const SkinPart tail = skin.holdTail(code, roll);
        const int tailHeight = 2 * half * tail.cell.height() / tail.cell.width();
        const int tailY = end + half / 2;
        renderer.stretched(tail.picture, tail.cell,
                           QRect(x - half, tailY - tailHeight / 2, 2 * half, tailHeight), alpha);
    }
};

} // namespace

void paintArrowLayer(const FrameContext& frame, Renderer& renderer) {
    if (!frame.layerOn(Layer::Arrow))
        return;
    const int type = frame.arrow.gameType;
    const Noteskin skin(type, frame.view.enhancedNoteskin(type));
    paintSnapMarker(frame, skin, renderer);
    paintReceptors(frame, skin, renderer);

    const int fraction = frame.positionRow.fraction;
    const NotePainter painter{frame,        skin,
                              renderer,     noteHalfSize(frame.arrow.noteSize),
                              fraction / 3, ((frame.positionRow.beat - 1) % 4 + 4) % 4,
                              fraction / 6};
    const auto& notes = frame.notes.items();
    const IndexRange range = visibleRange(notes, frame.geometry);
    for (std::size_t i = range.first; i < range.last; ++i)
        painter.paint(notes[i]);
}

} // namespace quillex
