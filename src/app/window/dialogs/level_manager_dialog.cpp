#include "app/window/dialogs/level_manager_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/window/dialogs/dialog_text.h"
#include "app/window/dialogs/difficulty_dialog.h"

namespace quillex {

namespace {

// Per difficulty, Beginner … Edit: rating, "Difficulty...", note counts, "Launch".
constexpr std::array<std::array<int, 4>, kDifficultyCount> kLineControls = {{
    {168, 167, 173, 165},
    {150, 170, 151, 149},
    {152, 172, 153, 154},
    {159, 175, 160, 155},
    {161, 177, 162, 156},
    {179, 182, 183, 178},
}};
// Per difficulty: the notes per second and the stream breakdown.
constexpr std::array<int, kDifficultyCount> kStatisticsLabels = {30101, 30102, 30103,
                                                                 30104, 30105, 30106};
constexpr int kGameLabel = 30014, kPrevious = 157, kNext = 30016;
constexpr int kStops = 163, kBeats = 164, kSyncLaunchButton = 158;
constexpr int kKeptCharts = 30018, kKeptChoice = 30019, kUseSongTiming = 30020;

// "dance-single" → ("dance", "single"); pump-halfdb shows as "halfdouble".
std::pair<QString, QString> menuPlace(int gameType) {
    const QString label = qtText(gameTypeLabel(gameType)).mid(1).chopped(1);
    const qsizetype dash = label.indexOf('-');
    return {label.left(dash), label.mid(dash + 1)};
}

QAction* namedAction(QMenu* menu, const QString& caption, int id) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::number(id));
    action->setCheckable(true);
    return action;
}

} // namespace

LevelManagerDialog::LevelManagerDialog(LevelManager& manager, Editor& editor,
                                       std::function<void(CommandId)> runCommand, QWidget* parent)
    : QDialog(parent), manager_(manager), editor_(editor), runCommand_(std::move(runCommand)) {
    setWindowTitle("Level Manager");
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(buildMenu());

    auto* previous = named(new QPushButton("<<", this), kPrevious);
    auto* next = named(new QPushButton(">>", this), kNext);
    label_ = named(new QLabel(this), kGameLabel);
    label_->setAlignment(Qt::AlignCenter);
    QFont bold = label_->font();
    bold.setBold(true);
    label_->setFont(bold);
    connect(previous, &QPushButton::clicked, this, [this] {
        manager_.previousGameType();
        changed();
    });
    connect(next, &QPushButton::clicked, this, [this] {
        manager_.nextGameType();
        changed();
    });
    auto* top = new QHBoxLayout;
    top->addWidget(previous);
    top->addWidget(label_, 1);
    top->addWidget(next);
    layout->addLayout(top);

    auto* charts = new QGroupBox("Charts", this);
    auto* grid = new QGridLayout(charts);
    for (int d = 0; d < kDifficultyCount; ++d) {
        const auto& ids = kLineControls[static_cast<std::size_t>(d)];
        Line& line = lines_[static_cast<std::size_t>(d)];
        line.rating = named(new QLabel(charts), ids[0]);
        line.rating->setMinimumWidth(line.rating->fontMetrics().horizontalAdvance("0000"));
        line.difficulty = named(new QPushButton("Difficulty...", charts), ids[1]);
        line.counts = named(new QLabel(charts), ids[2]);
        line.statistics = named(new QLabel(charts), kStatisticsLabels[static_cast<std::size_t>(d)]);
        line.launch = named(new QPushButton("Launch", charts), ids[3]);
        grid->addWidget(new QLabel(qtText(difficultySmName(d)), charts), d, 0);
        grid->addWidget(line.rating, d, 1);
        grid->addWidget(line.difficulty, d, 2);
        grid->addWidget(line.counts, d, 3);
        grid->addWidget(line.statistics, d, 4);
        grid->addWidget(line.launch, d, 5);
        connect(line.launch, &QPushButton::clicked, this, [this, d] { launch(d); });
        connect(line.difficulty, &QPushButton::clicked, this, [this, d] { rate(d); });
    }
    grid->setColumnStretch(4, 1);
    layout->addWidget(charts);

    auto* sync = new QGroupBox("Sync Mode", this);
    auto* syncLayout = new QGridLayout(sync);
    stops_ = named(new QLabel(sync), kStops);
    beats_ = named(new QLabel(sync), kBeats);
    auto* syncLaunch = named(new QPushButton("Launch", sync), kSyncLaunchButton);
    syncLayout->addWidget(beats_, 0, 0);
    syncLayout->addWidget(stops_, 1, 0);
    syncLayout->addWidget(syncLaunch, 0, 1, 2, 1);
    syncLayout->setColumnStretch(0, 1);
    connect(syncLaunch, &QPushButton::clicked, this, [this] { launch(kSyncLaunch); });
    layout->addWidget(sync);

    kept_ = new QGroupBox("Kept as read", this);
    keptCharts_ = named(new QLabel(kept_), kKeptCharts);
    keptChoice_ = named(new QComboBox(kept_), kKeptChoice);
    useSongTiming_ = named(new QPushButton("Use Song Timing", kept_), kUseSongTiming);
    auto* keptLayout = new QGridLayout(kept_);
    keptLayout->addWidget(keptCharts_, 0, 0, 1, 2);
    keptLayout->addWidget(keptChoice_, 1, 0);
    keptLayout->addWidget(useSongTiming_, 1, 1);
    keptLayout->setColumnStretch(0, 1);
    connect(useSongTiming_, &QPushButton::clicked, this, [this] {
        if (keptChoice_->currentIndex() >= 0)
            manager_.useSongTiming(keptChoice_->currentData().toULongLong());
        refresh();
    });
    layout->addWidget(kept_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    refresh();
    // Enter launches the chart being edited (or sync mode when it cannot be launched).
    QPushButton* current =
        lines_[static_cast<std::size_t>(difficultyOfLevel(editor.store().currentLevel()))].launch;
    QPushButton* start = current->isEnabled() ? current : syncLaunch;
    start->setDefault(true);
    start->setFocus();
}

QMenuBar* LevelManagerDialog::buildMenu() {
    auto* bar = new QMenuBar(this);
    QMenu* game = bar->addMenu("&Game");
    QMenu* noteskin = bar->addMenu("&Noteskin");
    std::map<QString, QMenu*> gameFamilies, skinFamilies, skinTypes;
    for (int type = 0; type < kGameTypeCount; ++type) {
        const auto [family, name] = menuPlace(type);
        QMenu*& menu = gameFamilies[family];
        if (!menu)
            menu = game->addMenu(family);
        gameItems_[static_cast<std::size_t>(type)] = namedAction(menu, name, kGameMenuIds[type]);
        connect(gameItems_[static_cast<std::size_t>(type)], &QAction::triggered, this,
                [this, type] {
                    manager_.chooseGameType(type);
                    changed();
                });
    }
    game->addSeparator();
    QAction* properties = game->addAction("Properties...");
    properties->setObjectName(QString::number(kLevelManagerProperties));
    connect(properties, &QAction::triggered, this, [this] {
        runCommand_(CommandId::Properties);
        refresh();
    });

    for (std::size_t i = 0; i < kNoteskinMenu.size(); ++i) {
        const NoteskinMenuItem item = kNoteskinMenu[i];
        const auto [family, name] = menuPlace(item.gameType);
        QMenu*& familyMenu = skinFamilies[family];
        if (!familyMenu)
            familyMenu = noteskin->addMenu(family);
        QMenu*& typeMenu = skinTypes[family + name];
        if (!typeMenu)
            typeMenu = familyMenu->addMenu(name);
        noteskinItems_[i] = namedAction(typeMenu, item.enhanced ? "Enhanced" : "Standard", item.id);
        connect(noteskinItems_[i], &QAction::triggered, this, [this, item] {
            manager_.chooseNoteskin(item.gameType, item.enhanced);
            changed();
        });
    }

    QMenu* help = bar->addMenu("&Help");
    QAction* about = help->addAction("About quillex...");
    about->setObjectName(QString::number(kLevelManagerAbout));
    connect(about, &QAction::triggered, this, [this] { runCommand_(CommandId::About); });
    return bar;
}

void LevelManagerDialog::refresh() {
    const LevelManagerView view = manager_.view();
    label_->setText(qtText(view.label));
    for (int type = 0; type < kGameTypeCount; ++type)
        gameItems_[static_cast<std::size_t>(type)]->setChecked(type == manager_.gameType());
    for (std::size_t i = 0; i < kNoteskinMenu.size(); ++i)
        noteskinItems_[i]->setChecked(manager_.noteskinMarked(kNoteskinMenu[i]));
    for (std::size_t d = 0; d < lines_.size(); ++d) {
        const DifficultyLine& shown = view.lines[d];
        Line& line = lines_[d];
        line.rating->setText(qtText(shown.rating));
        line.counts->setText(qtText(shown.counts));
        line.statistics->setText(qtText(shown.statistics));
        line.rating->setEnabled(shown.textsEnabled);
        line.counts->setEnabled(shown.textsEnabled);
        line.launch->setEnabled(shown.launchEnabled);
        line.difficulty->setEnabled(shown.ratingEnabled);
    }
    stops_->setText(qtText(view.stops));
    beats_->setText(qtText(view.beats));
    keptCharts_->setText(qtText(view.keptCharts));
    kept_->setVisible(!view.keptCharts.empty());
    // The charts with timing of their own whose level is free can take the song's.
    keptChoice_->clear();
    const QStringList names = keptCharts_->text().split('\n');
    for (std::size_t i = 0; i < view.keptChartChoices.size(); ++i)
        if (view.keptChartChoices[i].second)
            keptChoice_->addItem(names[static_cast<qsizetype>(i)].section(':', 0, 0),
                                 QVariant::fromValue<qulonglong>(view.keptChartChoices[i].first));
    keptChoice_->setVisible(keptChoice_->count() > 0);
    useSongTiming_->setVisible(keptChoice_->count() > 0);
}

bool LevelManagerDialog::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        refresh(); // the song may have changed behind it
    return QDialog::event(event);
}

void LevelManagerDialog::launch(int difficulty) {
    launched_ = difficulty;
    accept();
}

void LevelManagerDialog::rate(int difficulty) {
    QPushButton* launchButton = lines_[static_cast<std::size_t>(difficulty)].launch;
    launchButton->setDefault(true);
    DifficultyDialog dialog(editor_, manager_.gameType(), difficulty, this);
    dialog.exec();
    refresh();
}

} // namespace quillex
