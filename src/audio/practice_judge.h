// Playing the current chart on the keyboard: on every timer tick the four arrow keys
// hit the notes of the current row, each row of taps and hold heads is graded by its
// latest press (Marvelous .. Boo) or missed, the combo grows on the three best grades,
// holds are kept to their tail or dropped, and a key down on a mine sets it off. With
// no keys given, the chart plays itself ("AutoPlay") through the same rules.
//
// Runs on the input timer thread; the drawing reads the display state, whose values
// are atomics written whole.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <optional>

#include "audio/play_along_chart.h"

namespace quillex {

enum class Judgement { Marvelous, Perfect, Great, Good, Boo, Miss };
inline constexpr int kJudgementKinds = 6;

// What the layer drawing shows; the drawing fades the values from frame to frame.
struct JudgementDisplay {
    std::atomic<int> lastKind{-1};                        // a Judgement, -1 before the first
    std::array<std::atomic<int>, kJudgementKinds> fade{}; // 255 when graded so
    std::atomic<int> pulse{0};                            // 3 on Marvelous .. Good
    std::atomic<int> combo{0};
    std::atomic<int> comboPulse{255}; // the combo's size, 160..255: set low as it grows
    std::atomic<int> missSlide{0};    // reset to 0 by a Miss
    enum ColumnEffect { None, HoldOk, HoldDropped, MineHit };
    struct Column {
        std::atomic<int> hitFlash{0};  // an accepted press
        std::atomic<int> holdFlash{0}; // a hold started
        std::atomic<bool> holding{false};
        std::atomic<int> effect{None};
        std::atomic<int> effectFlash{0};
    };
    std::array<Column, kJudgedColumns> columns;
};

class PracticeJudge {
  public:
    // Keys down per column (left, down, up, right).
    using Keys = std::array<bool, kJudgedColumns>;
    // Per column, the first press since the last tick at its own position: a press
    // released again before the tick still counts.
    using Presses = std::array<std::optional<SamplePosition>, kJudgedColumns>;
    // One tick's keys as the input timer finds them.
    struct KeyInput {
        Keys down{};
        Presses pressedAt{};
        bool operator==(const KeyInput&) const = default;
    };
    explicit PracticeJudge(std::function<void()> mineSound) : mineSound_(std::move(mineSound)) {}

    // One timer tick at the lag-compensated play position `now`. `keys` null: the
    // chart plays itself. `keysLive` false: keys are not read this tick (recording,
    // window minimised), but rows still turn into misses. `presses` adds presses that
    // came between two ticks.
    void tick(const PlayAlongChart& chart, SamplePosition now, const Keys* keys, bool keysLive,
              const Presses* presses = nullptr);

    const JudgementDisplay& display() const { return display_; }
    JudgementDisplay& display() { return display_; }

  private:
    void startAfresh(const PlayAlongChart& chart, int row);
    void enterRow(const JudgeRow& row, int index);
    void press(const JudgeRow& row, int column, SamplePosition now, int rowIndex,
               const JudgeWindows& windows);
    void held(const JudgeRow& row, int column, SamplePosition now, int rowIndex,
              const JudgeWindows& windows);
    void release(const JudgeRow& row, int column, SamplePosition now, const JudgeWindows& windows);
    void endHold(int column, JudgementDisplay::ColumnEffect effect);
    void setOffMine(int column, int rowIndex);
    void autoPlay(const JudgeRow& row, SamplePosition now, int rowIndex,
                  const JudgeWindows& windows);
    void readKeys(const JudgeRow& row, const Keys& keys, const Presses* presses, SamplePosition now,
                  int rowIndex, const JudgeWindows& windows);
    void gradeRows(const PlayAlongChart& chart, SamplePosition now, int rowIndex);
    void grade(Judgement judgement, int notes);

    std::function<void()> mineSound_;
    JudgementDisplay display_;

    std::uint64_t chartId_ = 0;
    int chartResets_ = -1;
    // Rows before this one are graded or were past when playing started.
    int nextUngraded_ = 0;
    // The current row's presses.
    int row_ = -1;
    std::array<SamplePosition, kRowColumns> hitSample_{};
    std::array<bool, kRowColumns> done_{};
    // Per column, kept from row to row.
    std::array<bool, kJudgedColumns> holdActive_{};
    std::array<int, kJudgedColumns> mineRow_{-1, -1, -1, -1};
    std::array<bool, kJudgedColumns> down_{};
};

} // namespace quillex
