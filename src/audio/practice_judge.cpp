#include "audio/practice_judge.h"

#include <algorithm>
#include <cstdlib>

namespace quillex {

namespace {

constexpr int kFlash = 255;
constexpr int kPulses = 3;
constexpr int kComboPulseLow = 160;

bool isGraded(char note) {
    return note == '1' || note == '2';
}

Judgement judgementOf(SamplePosition error, const JudgeWindows& w) {
    if (error <= w.marvelous)
        return Judgement::Marvelous;
    if (error <= w.perfect)
        return Judgement::Perfect;
    if (error <= w.great)
        return Judgement::Great;
    if (error <= w.good)
        return Judgement::Good;
    if (error <= w.boo)
        return Judgement::Boo;
    return Judgement::Miss;
}

} // namespace

void PracticeJudge::tick(const PlayAlongChart& chart, SamplePosition now, const Keys* keys,
                         bool keysLive, const Presses* presses) {
    const int r = chart.currentRow.load();
    if (chart.id != chartId_ || chart.resets.load() != chartResets_)
        startAfresh(chart, r);
    if (r < 0 || r >= static_cast<int>(chart.rows.size()))
        return;
    const JudgeRow& row = chart.rows[static_cast<std::size_t>(r)];
    if (r != row_)
        enterRow(row, r);
    if (keysLive) {
        if (keys)
            readKeys(row, *keys, presses, now, r, chart.windows);
        else
            autoPlay(row, now, r, chart.windows);
    }
    gradeRows(chart, now, r);
}

void PracticeJudge::startAfresh(const PlayAlongChart& chart, int row) {
    chartId_ = chart.id;
    chartResets_ = chart.resets.load();
    nextUngraded_ = std::max(row, 0);
    row_ = -1;
    for (int c = 0; c < kJudgedColumns; ++c)
        if (holdActive_[static_cast<std::size_t>(c)])
            endHold(c, JudgementDisplay::None);
    mineRow_.fill(-1);
}

void PracticeJudge::enterRow(const JudgeRow& row, int index) {
    row_ = index;
    hitSample_.fill(row.rowSample);
    for (std::size_t c = 0; c < done_.size(); ++c)
        done_[c] = !isGraded(row.notes[c]);
}

void PracticeJudge::readKeys(const JudgeRow& row, const Keys& keys, const Presses* presses,
                             SamplePosition now, int r, const JudgeWindows& windows) {
    for (int c = 0; c < kJudgedColumns; ++c) {
        const auto i = static_cast<std::size_t>(c);
        if (presses && (*presses)[i]) {
            const SamplePosition at = *(*presses)[i];
            if (down_[i]) // released and pressed again since the last tick
                release(row, c, at, windows);
            press(row, c, at, r, windows);
            down_[i] = true;
            if (keys[i])
                continue; // still down: held from the next tick on
        }
        if (keys[i] && !down_[i])
            press(row, c, now, r, windows);
        else if (keys[i])
            held(row, c, now, r, windows);
        else if (down_[i])
            release(row, c, now, windows);
        down_[i] = keys[i];
    }
}

void PracticeJudge::autoPlay(const JudgeRow& row, SamplePosition now, int r,
                             const JudgeWindows& windows) {
    for (int c = 0; c < kJudgedColumns; ++c) {
        const auto i = static_cast<std::size_t>(c);
        const char note = row.notes[i];
        if (now < row.rowSample) {
            if (down_[i])
                held(row, c, now, r, windows);
        } else if (isGraded(note)) {
            if (!done_[i])
                press(row, c, now, r, windows);
            down_[i] = true;
        } else if (note == '3' || !holdActive_[i]) {
            if (down_[i])
                release(row, c, now, windows);
            down_[i] = false;
        } else {
            held(row, c, now, r, windows);
        }
    }
}

void PracticeJudge::press(const JudgeRow& row, int c, SamplePosition now, int r,
                          const JudgeWindows& windows) {
    const auto i = static_cast<std::size_t>(c);
    const char note = row.notes[i];
    if (!(isGraded(note) || note == 'M') || now < row.windowStart || now > row.windowEnd)
        return;
    if (isGraded(note) && done_[i])
        return; // this row's note in this column is already hit
    JudgementDisplay::Column& column = display_.columns[i];
    column.hitFlash = kFlash;
    hitSample_[i] = now;
    done_[i] = true;
    if (note == '2') {
        holdActive_[i] = true;
        column.holding = true;
        column.holdFlash = kFlash;
    } else if (note == 'M' && std::abs(now - row.rowSample) <= windows.mine && mineRow_[i] != r) {
        setOffMine(c, r);
    }
}

void PracticeJudge::held(const JudgeRow& row, int c, SamplePosition now, int r,
                         const JudgeWindows& windows) {
    const auto i = static_cast<std::size_t>(c);
    const char note = row.notes[i];
    if (holdActive_[i] && note == '3' && now >= row.rowSample)
        endHold(c, JudgementDisplay::HoldOk);
    else if (note == 'M' && std::abs(now - row.rowSample) <= windows.mine && mineRow_[i] != r)
        setOffMine(c, r);
}

void PracticeJudge::release(const JudgeRow& row, int c, SamplePosition now,
                            const JudgeWindows& windows) {
    const auto i = static_cast<std::size_t>(c);
    if (!holdActive_[i])
        return;
    const bool inTime = row.notes[i] == '3' && std::abs(now - row.rowSample) <= windows.freezeOk;
    endHold(c, inTime ? JudgementDisplay::HoldOk : JudgementDisplay::HoldDropped);
}

void PracticeJudge::endHold(int c, JudgementDisplay::ColumnEffect effect) {
    const auto i = static_cast<std::size_t>(c);
    holdActive_[i] = false;
    JudgementDisplay::Column& column = display_.columns[i];
    column.holding = false;
    if (effect != JudgementDisplay::None) {
        column.effect = effect;
        column.effectFlash = kFlash;
    }
}

void PracticeJudge::setOffMine(int c, int r) {
    const auto i = static_cast<std::size_t>(c);
    mineRow_[i] = r;
    display_.columns[i].effect = JudgementDisplay::MineHit;
    display_.columns[i].effectFlash = kFlash;
    if (mineSound_)
        mineSound_();
}

void PracticeJudge::gradeRows(const PlayAlongChart& chart, SamplePosition now, int r) {
    // The row before the current one had its chance.
    if (r - 1 >= nextUngraded_) {
        nextUngraded_ = r;
        const int notes = chart.rows[static_cast<std::size_t>(r) - 1].gradedNotes();
        if (notes > 0) {
            grade(Judgement::Miss, notes);
            return;
        }
    }
    if (r < nextUngraded_)
        return;
    const JudgeRow& row = chart.rows[static_cast<std::size_t>(r)];
    const int notes = row.gradedNotes();
    if (notes == 0)
        return;
    const bool allDone = std::all_of(done_.begin(), done_.end(), [](bool d) { return d; });
    if (allDone && now >= row.windowStart && now <= row.windowEnd) {
        SamplePosition error = 0;
        for (SamplePosition hit : hitSample_)
            error = std::max(error, std::abs(row.rowSample - hit));
        nextUngraded_ = r + 1;
        grade(judgementOf(error, chart.windows), notes);
    } else if (now > row.windowEnd) {
        nextUngraded_ = r + 1;
        grade(Judgement::Miss, notes);
    }
}

void PracticeJudge::grade(Judgement judgement, int notes) {
    const int kind = static_cast<int>(judgement);
    display_.lastKind = kind;
    display_.fade[static_cast<std::size_t>(kind)] = kFlash;
    switch (judgement) {
    case Judgement::Marvelous:
    case Judgement::Perfect:
    case Judgement::Great:
        display_.combo.fetch_add(notes);
        display_.comboPulse = kComboPulseLow;
        display_.pulse = kPulses;
        break;
    case Judgement::Good:
        display_.combo = 0;
        display_.pulse = kPulses;
        break;
    case Judgement::Boo:
        display_.combo = 0;
        break;
    case Judgement::Miss:
        display_.combo = 0;
        display_.missSlide = 0;
        break;
    }
}

} // namespace quillex
