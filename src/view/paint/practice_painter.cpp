// The practice-mode effects over the layers: a glow on each receptor hit, held hold or
// exploding hold end or mine, the latest judgement word and the combo. Each frame they
// fade a step; the judging on the timer thread sets them back to full.
#include <algorithm>
#include <string>

#include "view/column_layout.h"
#include "view/paint/frame_context.h"
#include "view/paint/noteskin.h"
#include "view/paint/renderer.h"

namespace quillex {

namespace {

constexpr int kWordWidth = 168;
constexpr int kWordHeight = 28;
constexpr int kDigitWidth = 44;
constexpr int kDigitHeight = 66;
constexpr int kComboLabelWidth = 96;
constexpr int kComboLabelHeight = 32;
constexpr int kCentreX = 400;
constexpr int kMissSlideEnd = 25;

// One step of a value toward `to`, unless the timer thread has just set it anew.
void stepToward(std::atomic<int>& value, int step, int to) {
    int v = value.load();
    if (v == to)
        return;
    const int next = v > to ? std::max(to, v - step) : std::min(to, v + step);
    value.compare_exchange_strong(v, next);
}

void fadeStep(JudgementDisplay& shown) {
    for (auto& fade : shown.fade)
        stepToward(fade, 4, 0);
    stepToward(shown.pulse, 1, 0);
    stepToward(shown.missSlide, 1, kMissSlideEnd);
    stepToward(shown.comboPulse, 12, 255);
    for (auto& column : shown.columns) {
        stepToward(column.hitFlash, 6, 0);
        stepToward(column.holdFlash, column.holding.load() ? 1 : 6, 0);
        stepToward(column.effectFlash, 6, 0);
    }
}

bool practiceEffectsShown(const EditorView& view) {
    return view.judgement && view.practiceMode && !view.recording;
}

// Whether fadeStep() would still change anything drawn (the word's pulse and slide
// show only while its fade does).
bool stillFading(const JudgementDisplay& shown) {
    for (const auto& fade : shown.fade)
        if (fade.load() != 0)
            return true;
    if (shown.comboPulse.load() != 255)
        return true;
    for (const auto& column : shown.columns)
        if (column.hitFlash.load() != 0 || column.holdFlash.load() != 0 ||
            column.effectFlash.load() != 0)
            return true;
    return false;
}

void paintColumns(const FrameContext& frame, const JudgementDisplay& shown, Renderer& renderer) {
    const int type = frame.arrow.gameType;
    const int size = frame.arrow.noteSize;
    const int half = noteHalfSize(size);
    const int row = frame.view.wave().cursorRow;
    const Noteskin skin(type, frame.view.enhancedNoteskin(type));
    const int columns = std::min(columnCount(type), kJudgedColumns);
    for (int c = 0; c < columns; ++c) {
        const JudgementDisplay::Column& column = shown.columns[static_cast<std::size_t>(c)];
        const int x = columnX(type, size, c);
        const int code = directionCode(type, c);
        const int glow = std::max(
            {column.hitFlash.load(), column.holdFlash.load(), column.holding.load() ? 128 : 0});
        if (glow > 0) {
            const SkinPart part = skin.glow(code);
            renderer.sprite(part.picture, part.cell, x, row, half, part.turn, glow);
        }
        const int flash = column.effectFlash.load();
        if (flash <= 0)
            continue;
        if (column.effect.load() == JudgementDisplay::HoldOk) {
            const SkinPart part = skin.freezeOkExplosion(code);
            renderer.sprite(part.picture, part.cell, x, row, half * 3 / 2, part.turn, flash);
        } else if (column.effect.load() == JudgementDisplay::MineHit) {
            renderer.sprite(PictureId::MineExplosion, QRect(0, 0, 128, 128), x, row, half * 2,
                            Turn::None, flash);
        }
    }
}

void paintJudgement(const FrameContext& frame, const JudgementDisplay& shown, Renderer& renderer) {
    const int kind = shown.lastKind.load();
    if (kind < 0 || kind >= kJudgementKinds)
        return;
    int alpha = shown.fade[static_cast<std::size_t>(kind)].load();
    if (alpha <= 0)
        return;
    const int cursorRow = frame.view.wave().cursorRow;
    const int count = frame.view.frameCount();
    const int pulse = std::max(0, shown.pulse.load());
    int x = kCentreX;
    int y = cursorRow + 150;
    if (kind == static_cast<int>(Judgement::Marvelous) && (count / 4) % 2 == 1)
        alpha = std::min(alpha, 128);
    if (kind == static_cast<int>(Judgement::Boo)) { // a shake, varying from frame to frame
        x = 396 + (count * 5) % 8;
        y = cursorRow + 147 + (count * 7) % 6;
    }
    if (kind == static_cast<int>(Judgement::Miss))
        y = cursorRow + 120 + shown.missSlide.load();
    const int width = kWordWidth + 12 * pulse;
    const int height = kWordHeight + 2 * pulse;
    renderer.stretched(PictureId::Judgement, QRect(0, kind * kWordHeight, kWordWidth, kWordHeight),
                       QRect(x - width / 2, y - height / 2, width, height), alpha);
}

void paintCombo(const FrameContext& frame, const JudgementDisplay& shown, Renderer& renderer) {
    const int combo = shown.combo.load();
    if (combo <= 0)
        return;
    const std::string digits = std::to_string(combo);
    const int scale = std::clamp(shown.comboPulse.load(), 0, 255);
    const int w = kDigitWidth * scale / 255;
    const int h = kDigitHeight * scale / 255;
    const int y = frame.view.wave().cursorRow + 260;
    const int total = w * static_cast<int>(digits.size()) + kComboLabelWidth;
    int x = kCentreX - total / 2;
    for (char d : digits) {
        renderer.stretched(PictureId::ComboNumbers,
                           QRect((d - '0') * kDigitWidth, 0, kDigitWidth, kDigitHeight),
                           QRect(x, y - h / 2, w, h), 255);
        x += w;
    }
    renderer.stretched(PictureId::ComboLabel, QRect(0, 0, kComboLabelWidth, kComboLabelHeight),
                       QRect(x, y - kComboLabelHeight / 2, kComboLabelWidth, kComboLabelHeight),
                       255);
}

} // namespace

bool practiceEffectsFading(const EditorView& view) {
    return practiceEffectsShown(view) && stillFading(*view.judgement);
}

void paintPracticeEffects(const FrameContext& frame, Renderer& renderer) {
    if (!practiceEffectsShown(frame.view))
        return;
    JudgementDisplay* shown = frame.view.judgement;
    if (frame.layerOn(Layer::Arrow))
        paintColumns(frame, *shown, renderer);
    paintJudgement(frame, *shown, renderer);
    paintCombo(frame, *shown, renderer);
    fadeStep(*shown);
}

} // namespace quillex
