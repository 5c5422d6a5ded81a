// Tools ▸ Level Manager: the song's summary, each difficulty of the current game type
// with its rating and note counts, Launch per difficulty and for sync mode, the charts
// kept as read, and its own menu of game types, Properties, noteskins and About.
#pragma once

#include <array>
#include <functional>
#include <optional>

#include <QDialog>

#include "app/forms/level_manager.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenuBar;
class QPushButton;

namespace quillex {

inline constexpr int kSyncLaunch = -1;

class LevelManagerDialog : public QDialog {
    Q_OBJECT
  public:
    // `runCommand` runs a main-window command (Properties, About).
    LevelManagerDialog(LevelManager& manager, Editor& editor,
                       std::function<void(CommandId)> runCommand, QWidget* parent);
    // The difficulty launched, kSyncLaunch, or nothing (closed).
    std::optional<int> launched() const { return launched_; }
    // Shows the current game type and its charts.
    void refresh();

  protected:
    bool event(QEvent* event) override;

  private:
    struct Line {
        QLabel* rating;
        QPushButton* difficulty;
        QLabel* counts;
        QLabel* statistics;
        QPushButton* launch;
    };
    QMenuBar* buildMenu();
    void launch(int difficulty);
    void rate(int difficulty);
    // After a game-type or noteskin command.
    void changed() { refresh(); }

    LevelManager& manager_;
    Editor& editor_;
    std::function<void(CommandId)> runCommand_;
    std::optional<int> launched_;
    QLabel* label_;
    QLabel* stops_;
    QLabel* beats_;
    QGroupBox* kept_;
    QLabel* keptCharts_;
    QComboBox* keptChoice_;
    QPushButton* useSongTiming_;
    std::array<Line, kDifficultyCount> lines_{};
    std::array<QAction*, kGameTypeCount> gameItems_{};
    std::array<QAction*, kNoteskinMenu.size()> noteskinItems_{};
};

} // namespace quillex
