// The Qt window around the shell: menus as the table lists them, keys reaching their
// commands, exclusive check marks, suspension under modal boxes, window.ini on close
// and the save prompt's Cancel.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/commands/command_table.h"
#include "app/window/main_window.h"
#include "app/window/recent_menu.h"
#include "view/editor_view.h"
#include "window_fixture.h"

namespace quillex {
namespace {

class MainWindowTest : public test::WindowFixture {
  protected:
    MainWindowTest() { size = QSize(800, 600); }
    int checkedIn(CheckGroup group) {
        int checked = 0;
        for (const MenuEntry& e : mainMenu())
            if (e.group == group && window->action(e.id)->isChecked())
                ++checked;
        return checked;
    }
};

TEST_F(MainWindowTest, MenuBarFollowsTheTable) {
    QStringList titles;
    for (QAction* menu : window->menuBar()->actions())
        titles << menu->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "&Game", "S&nap", "Ti&me", "&Zoom",
                                   "&Tools", "&Help"}));
    auto* special = qobject_cast<QMenu*>(window->action(CommandId::MakeBeatWhite)->parent());
    ASSERT_TRUE(special);
    EXPECT_EQ(special->title(), "Special");
    EXPECT_EQ(qobject_cast<QMenu*>(special->parent())->title(), "&Edit");
    for (const MenuEntry& e : mainMenu()) {
        if (e.isSeparator() || e.id == CommandId::Undo || e.id == CommandId::Redo)
            continue;
        ASSERT_TRUE(window->action(e.id)) << toInt(e.id);
        EXPECT_EQ(window->action(e.id)->text().toStdString(), std::string(e.caption));
        EXPECT_EQ(window->action(e.id)->isCheckable(), e.checkable());
    }
    EXPECT_EQ(window->action(CommandId::Undo)->text(), "Undo \tCtrl+Z");
    EXPECT_FALSE(window->action(CommandId::Undo)->isEnabled()) << "greyed until the history exists";
    EXPECT_FALSE(window->action(CommandId::Redo)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::Open)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::NoteSizeAuto)->isChecked())
        << "note size Auto is marked at start";
    for (CommandId id : {CommandId::NoSnap, CommandId::TimeSeconds, CommandId::VolumeNormal,
                         CommandId::SpeedNormal, CommandId::NoGrid})
        EXPECT_TRUE(window->action(id)->isChecked()) << toInt(id) << " is marked at start";
    for (CommandId id :
         {CommandId::WaveLayer, CommandId::BeatLayer, CommandId::PauseLayer, CommandId::ArrowLayer,
          CommandId::StatusLayer, CommandId::BeatTick, CommandId::NoteTick})
        EXPECT_FALSE(window->action(id)->isChecked()) << toInt(id) << " is off at start";
    EXPECT_EQ(window->windowTitle(), "quillex");
}

TEST_F(MainWindowTest, EveryCommandHasAHandler) {
    // Menu items, keys and the commands other commands run; Paste waits for the clipboard.
    for (CommandId id : kAllCommands)
        EXPECT_TRUE(window->shell().dispatcher.available(id) || id == CommandId::Paste)
            << toInt(id);
}

TEST_F(MainWindowTest, StartUpReadsAndCreatesTheSettingsFiles) {
    EXPECT_EQ(folder.read("noteskin.ini"),
              "#DANCE_SINGLE:STANDARD;\n#DANCE_DOUBLE:STANDARD;\n#DANCE_COUPLE:STANDARD;\n");
    EXPECT_FALSE(window->editor().store().layerOn(Layer::Arrow));
    EXPECT_TRUE(window->shell().timer.running());
}

TEST_F(MainWindowTest, KeysReachTheirCommands) {
    ItemStore& store = window->editor().store();
    press(Qt::Key_Tab);
    EXPECT_TRUE(store.layerOn(Layer::Arrow));
    EXPECT_TRUE(window->action(CommandId::ArrowLayer)->isChecked());
    press(Qt::Key_F6);
    EXPECT_EQ(store.currentLevel(), 1);
    press(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(store.currentLevel(), 2);
    EXPECT_EQ(checkedIn(CheckGroup::Level), 1);
    EXPECT_TRUE(window->action(levelCommandId(2))->isChecked());
    window->action(levelCommandId(45))->trigger();
    EXPECT_EQ(store.currentLevel(), 45);
    EXPECT_EQ(window->view().status().slot(0), "pump-couple");
    EXPECT_EQ(window->view().status().slot(1), "Hard");

    const int zoom = window->editor().waveView().zoomLevel;
    press(Qt::Key_Plus, Qt::KeypadModifier, "+");
    EXPECT_EQ(window->editor().waveView().zoomLevel, zoom - 1) << "typed + zooms in";
    press(Qt::Key_Minus, Qt::NoModifier, "-");
    EXPECT_EQ(window->editor().waveView().zoomLevel, zoom);

    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(window->action(CommandId::Grid4th)->isChecked()) << "Shift+Tab: next grid";
    EXPECT_EQ(checkedIn(CheckGroup::Grid), 1);
}

TEST_F(MainWindowTest, MenuChoicesMoveExclusiveMarks) {
    window->action(CommandId::SnapTo24th)->trigger();
    EXPECT_TRUE(window->action(CommandId::SnapTo24th)->isChecked());
    EXPECT_EQ(checkedIn(CheckGroup::Snap), 1);
    window->action(CommandId::SnapTo24th)->trigger();
    EXPECT_TRUE(window->action(CommandId::SnapTo24th)->isChecked())
        << "choosing the marked item keeps it marked";
    press(Qt::Key_Escape);
    EXPECT_TRUE(window->action(CommandId::NoSnap)->isChecked()) << "Esc while stopped is No Snap";
    EXPECT_EQ(checkedIn(CheckGroup::Snap), 1);
    press(Qt::Key_T);
    EXPECT_TRUE(window->action(CommandId::TimeBeats)->isChecked());
    EXPECT_EQ(checkedIn(CheckGroup::TimeFormat), 1);
    window->action(CommandId::Mute)->trigger();
    EXPECT_TRUE(window->action(CommandId::Mute)->isChecked());
    EXPECT_FALSE(window->action(CommandId::VolumeNormal)->isChecked());
}

TEST_F(MainWindowTest, ValueCommandsAndResetsLightTheirStatusPanels) {
    StatusLayer& status = window->view().status();
    const std::vector<StatusPanel> all{StatusPanel::Volume, StatusPanel::Zoom, StatusPanel::Speed,
                                       StatusPanel::Freq,   StatusPanel::Bits, StatusPanel::Chan};
    const std::string none = folder.file("none.txt");
    const std::pair<std::function<void()>, std::vector<StatusPanel>> cases[] = {
        {[&] { window->action(CommandId::VolumeUp)->trigger(); }, {StatusPanel::Volume}},
        {[&] { press(Qt::Key_Down, Qt::ControlModifier | Qt::AltModifier); },
         {StatusPanel::Volume}},
        {[&] { window->action(CommandId::Mute)->trigger(); }, {StatusPanel::Volume}},
        {[&] { window->action(CommandId::SpeedNormal)->trigger(); }, {StatusPanel::Speed}},
        {[&] { press(Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier); }, {StatusPanel::Speed}},
        {[&] { press(Qt::Key_Escape); }, all},
        {[&] { window->shell().dispatcher.openPath(none); }, all},
    };
    for (size_t c = 0; c < std::size(cases); ++c) {
        for (int i = 0; i < 128; ++i) // every fade down to 0
            status.fadeStep();
        cases[c].first();
        std::vector<StatusPanel> lit;
        for (StatusPanel p : all)
            if (status.textFade(p) == 255 && status.panelFade(p) == 200)
                lit.push_back(p);
        EXPECT_EQ(lit, cases[c].second) << "case " << c;
    }
    // "[AP]" (the notes play themselves) only while practice mode is off; it is on by default.
    window->view().beginFrame(TransportState{});
    EXPECT_EQ(status.slot(5), "");
}

TEST_F(MainWindowTest, ModalBoxSuspendsTheWindow) {
    bool suspendedDuringBox = false;
    QTimer::singleShot(0, [&] {
        suspendedDuringBox = window->shell().state.suspended.load();
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Cancel)->click();
    });
    window->shell().keysDown.setDown(kVkUp, true);
    EXPECT_EQ(window->askToSaveChanges(""), SavePromptAnswer::Cancel);
    EXPECT_TRUE(suspendedDuringBox);
    EXPECT_FALSE(window->shell().keysDown.isDown(kVkUp)) << "a key released over the box";
    EXPECT_FALSE(window->shell().state.suspended.load());
}

TEST_F(MainWindowTest, KeyReleasedWhileAMenuIsOpenIsUp) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(window->centralWidget(), &down);
    ASSERT_TRUE(window->shell().keysDown.isDown(kVkDown));
    QMenu* edit = window->menuBar()->actions().at(1)->menu();
    edit->popup(window->mapToGlobal(QPoint(10, 10)));
    ASSERT_EQ(QApplication::activePopupWidget(), edit);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(edit, &up);
    edit->close();
    EXPECT_FALSE(window->shell().keysDown.isDown(kVkDown));
}

TEST_F(MainWindowTest, CloseWritesWindowIniAndCancelKeepsTheSong) {
    window->editor().store().setModified(true);
    QString prompt;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            prompt = box->text();
            box->button(QMessageBox::Cancel)->click();
        }
    });
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompt, "Do you want to save the changes to this file?");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->editor().store().modified());
    const std::optional<WindowGeometry> written = parseWindowFile(folder.read("window.ini"));
    ASSERT_TRUE(written) << "window.ini is written before the prompt";
    EXPECT_EQ(written->width, window->width());
    EXPECT_FALSE(written->maximised);
}

TEST_F(MainWindowTest, FileDialogsOfferTheTypesInOrder) {
    auto filters = std::make_shared<QStringList>();
    auto chosen = std::make_shared<std::string>();
    auto grab = [filters, chosen] {
        QTimer::singleShot(0, [filters, chosen] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            *filters = dialog->nameFilters();
            *chosen = dialog->selectedNameFilter().toStdString();
            dialog->reject();
        });
    };
    grab();
    EXPECT_FALSE(window->askOpenPath());
    EXPECT_EQ(
        *filters,
        (QStringList{"Supported Media (*.qx, *.sm, *.ssc, *.mp3, *.ogg, *.wav) (*.qx *.sm *.ssc "
                     "*.mp3 *.ogg *.wav)",
                     "quillex Files (*.qx) (*.qx)", "StepMania/ITG PC Files (*.sm) (*.sm)",
                     "StepMania 5 Files (*.ssc) (*.ssc)", "MP3 Audio (*.mp3) (*.mp3)",
                     "OggVorbis (*.ogg) (*.ogg)", "Wave (Microsoft) (*.wav) (*.wav)",
                     "All Files (*.*) (*.*)"}));
    grab();
    // A song opened from .sm starts Save As with that type chosen.
    EXPECT_FALSE(window->askSavePath({"My Song", 2}));
    EXPECT_EQ(*filters, (QStringList{"quillex (*.qx) (*.qx)", "StepMania/ITG PC (*.sm) (*.sm)",
                                     "StepMania/ITG, Single BPM (*.sm) (*.sm)",
                                     "StepMania 5 (*.ssc) (*.ssc)", "All Files (*.*) (*.*)"}));
    EXPECT_EQ(*chosen, "StepMania/ITG PC (*.sm)");
}

TEST_F(MainWindowTest, SaveDialogGivesABareNameTheChosenTypesExtension) {
    for (const auto& [type, extension] :
         {std::pair(0, ".qx"), std::pair(3, ".ssc"), std::pair(4, ".sm")}) {
        QTimer::singleShot(0, [type, this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            // The type chosen as a user does, with the arrow keys in its list.
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            ASSERT_TRUE(types);
            for (int i = 0; i < type; ++i) {
                QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
                QApplication::sendEvent(types, &down);
            }
            dialog->selectFile(QString::fromStdString(folder.file("tune")));
            static_cast<QDialog*>(dialog)->accept(); // as the Save button does
        });
        const std::optional<SaveTarget> target = window->askSavePath({"tune", 1});
        ASSERT_TRUE(target);
        EXPECT_EQ(target->path, folder.file("tune") + extension);
        EXPECT_EQ(target->filterIndex, type + 1);
    }
}

TEST_F(MainWindowTest, OpeningASongEndsTheSaveNoticeAndListsItUnderOpenRecent) {
    window->startSaveNotice(SaveNotice::SavedAsQx);
    window->shell().dispatcher.openPath(QUILLEX_EXAMPLES_DIR "/demo/demo.sm");
    EXPECT_EQ(window->view().status().saveFade(SaveNotice::SavedAsQx), 0);
    window->recentMenu().fill();
    const QList<QAction*> recent = window->recentMenu().menu()->actions();
    ASSERT_EQ(recent.size(), 1);
    EXPECT_TRUE(recent[0]->text().startsWith("&1 demo.sm  (")) << recent[0]->text().toStdString();
    auto* file = qobject_cast<QMenu*>(window->action(CommandId::Open)->parent());
    EXPECT_EQ(file->actions().indexOf(window->recentMenu().menu()->menuAction()), 1)
        << "right after Open";
}

class MainWindowWithSettingsTest : public MainWindowTest {
  protected:
    MainWindowWithSettingsTest() {
        folder.write("options.ini",
                     "#SCROLLINGCURSOR:NO;\n#ONELAYEREDIT:NO;\n#SAVEBACKUPS:YES;\n"
                     "#BEAT_ASSIST_VOL:30;\n#STATUSBAR_EXTRAY:40;\n#PRACTICEMODE:NO;\n");
        folder.write("noteskin.ini", "#DANCE_COUPLE:ENHANCED;");
    }
};

TEST_F(MainWindowWithSettingsTest, StartUpHandsTheSettingsToTheirOwners) {
    EXPECT_FALSE(window->editor().waveView().scrollingCursor);
    EXPECT_FALSE(window->editor().store().options().oneLayerEdit);
    EXPECT_EQ(window->editor().player().beatTickVolume(), 30);
    EXPECT_EQ(window->editor().player().noteTickVolume(), 100);
    EXPECT_TRUE(window->shell().noteskins.enhancedFor(2));
    window->view().beginFrame(TransportState{});
    EXPECT_EQ(window->view().status().slot(5), "[AP]") << "practice mode off";
    EXPECT_EQ(folder.read("noteskin.ini"), "#DANCE_COUPLE:ENHANCED;") << "an existing file is kept";
}

} // namespace
} // namespace quillex

namespace quillex {
namespace {

// The pictures load before the window shows: a missing one means no window at all.
TEST(MainWindowStartUpTest, WindowShowsOnlyOnceThePicturesHaveLoaded) {
    test::TempFolder folder;
    const QString song = QString::fromStdString(folder.file("none.txt"));
    for (const auto& [data, starts] : {std::pair(QString::fromStdString(folder.path()), false),
                                       std::pair(QString(QUILLEX_DATA_DIR), true)}) {
        MainWindow window(ShellPaths::inFolder(folder.path()), data);
        window.setUnattended(true);
        EXPECT_EQ(window.start(song), starts);
        EXPECT_EQ(window.isVisible(), starts);
        window.close();
    }
}

// Without any audio device the window still starts, plays on a silent clock and says
// so in the status layer's first slot.
TEST(MainWindowWithoutAudioTest, StartsAndReportsTheSilentClock) {
    const QByteArray drivers = qgetenv("ALSOFT_DRIVERS");
    qputenv("ALSOFT_DRIVERS", "no-such-driver");
    test::TempFolder folder;
    MainWindow window(ShellPaths::inFolder(folder.path()), QString());
    qputenv("ALSOFT_DRIVERS", drivers);
    window.setUnattended(true);
    EXPECT_FALSE(window.editor().player().audible());
    EXPECT_NE(window.view().status().slot(0).find("silent"), std::string::npos);
}

} // namespace
} // namespace quillex
