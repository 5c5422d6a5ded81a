// The dialogs in the window: opened by their keys and menu items, their controls
// filled by control id, OK and Cancel pressed, and the song, the options and the files
// checked afterwards.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <sstream>

#include "app/window/dialogs/about_dialog.h"
#include "app/window/dialogs/difficulty_dialog.h"
#include "app/window/dialogs/go_to_dialog.h"
#include "app/window/dialogs/level_manager_dialog.h"
#include "app/window/dialogs/options_dialog.h"
#include "app/window/dialogs/properties_dialog.h"
#include "app/window/dialogs/statistics_dialog.h"
#include "app/window/main_window.h"
#include "audio/platform/platform_audio.h"
#include "audio/platform/sndfile_decoder.h"
#include "audio/silent_output.h"
#include "cli/song_tool.h"
#include "window_fixture.h"

namespace quillex {
namespace {

constexpr const char* kDemo = QUILLEX_EXAMPLES_DIR "/demo/demo.sm";

template <typename T> T* control(QWidget* dialog, int id) {
    T* found = dialog->findChild<T*>(QString::number(id));
    EXPECT_TRUE(found) << id;
    return found;
}

void click(QWidget* dialog, int id) {
    control<QAbstractButton>(dialog, id)->click();
}

void type(QWidget* dialog, int id, const QString& text) {
    control<QLineEdit>(dialog, id)->setText(text);
}

class DialogsTest : public test::WindowFixture {
  protected:
    DialogsTest() {
        folder.write("options.ini", "#BEAT_ASSIST_VOL:70;\n#NOSHOWFPS:YES;\n");
        folder.write("readme.txt", "quillex read-me\nsecond line\n");
        dialogsShow = true;
    }

    // Runs `act` on the modal dialog of type T once it shows; any other modal is closed.
    template <typename T> void whenOpen(std::function<void(T*)> act) {
        QTimer::singleShot(0, [act] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<T*>(modal)) {
                act(dialog);
                if (dialog->isVisible())
                    dialog->reject();
            } else {
                ADD_FAILURE() << "expected dialog missing";
                if (auto* other = qobject_cast<QDialog*>(modal))
                    other->reject();
            }
        });
    }
    void openDemo(std::function<void(LevelManagerDialog*)> act) {
        whenOpen(std::move(act));
        window->shell().dispatcher.openPath(kDemo);
    }
    Editor& editor() { return window->editor(); }
};

// The tool's counts of a chart: taps, holds and rolls, mines and lifts.
std::string toolCounts(const std::string& chartName) {
    std::ostringstream out, err;
    runSongTool({"info", kDemo}, out, err, makePlatformAudio());
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        if (line.find(chartName) == std::string::npos)
            continue;
        std::map<std::string, int> n;
        std::istringstream fields(line.substr(line.find("meter")));
        std::string word;
        fields >> word >> word;
        for (int count = 0; fields >> count >> word;)
            n[word] = count;
        return std::to_string(n["tap"]) + "/" + std::to_string(n["hold"] + n["roll"]) + "/" +
               std::to_string(n["mine"] + n["lift"]);
    }
    return "missing";
}

TEST_F(DialogsTest, LevelManagerOpensAfterTheSongAndLaunchesMedium) {
    openDemo([](LevelManagerDialog* d) {
        EXPECT_EQ(control<QLabel>(d, 30014)->text(), "[dance-single]");
        EXPECT_EQ(control<QLabel>(d, 153)->text().toStdString(),
                  "Tap(s)/Hold(s)/Mine(s):  " + toolCounts("dance-single Medium"));
        EXPECT_EQ(control<QLabel>(d, 152)->text(), "6");
        EXPECT_EQ(control<QLabel>(d, 164)->text(), "Beat(s)/Sub-beat(s):  94/0");
        EXPECT_FALSE(control<QAbstractButton>(d, 167)->isEnabled()) << "Beginner is empty";
        click(d, 154);
    });
    EXPECT_EQ(editor().store().currentLevel(), levelIndex(0, 2));
    EXPECT_TRUE(editor().store().layerOn(Layer::Arrow));
    EXPECT_TRUE(window->action(CommandId::ArrowLayer)->isChecked());
    EXPECT_FALSE(editor().store().modified());
}

TEST_F(DialogsTest, DifficultyRefusesBadRatingsAndKeepsGoodOnes) {
    openDemo([](LevelManagerDialog*) {});
    whenOpen<LevelManagerDialog>([this](LevelManagerDialog* manager) {
        whenOpen<DifficultyDialog>([](DifficultyDialog* d) {
            EXPECT_EQ(control<QLineEdit>(d, 137)->text(), "no data");
            EXPECT_FALSE(control<QLineEdit>(d, 137)->isEnabled());
            for (const char* bad : {"0", "abc"}) {
                type(d, 92, bad);
                QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
                EXPECT_TRUE(d->isVisible()) << bad;
            }
            type(d, 92, "7");
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
            EXPECT_FALSE(d->isVisible());
        });
        click(manager, 172);
        EXPECT_EQ(control<QLabel>(manager, 152)->text(), "7");
        manager->reject();
    });
    press(Qt::Key_L, Qt::NoModifier, "l");
    EXPECT_EQ(editor().meters().get(levelIndex(0, 2)), 7);
}

TEST_F(DialogsTest, PropertiesRefusesSymbolsThenKeepsTheTitleAndPreview) {
    openDemo([](LevelManagerDialog*) {});
    whenOpen<PropertiesDialog>([](PropertiesDialog* d) {
        EXPECT_EQ(control<QLineEdit>(d, 74)->text(), "quillex demo");
        EXPECT_EQ(control<QLabel>(d, 84)->text(), "120.000 to 150.000");
        type(d, 74, "Demo #2");
        QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
        EXPECT_TRUE(d->isVisible());
        type(d, 74, "Demo two");
        type(d, 75, "Demo Genre");
        type(d, 101, "1000");
        type(d, 106, "1000");
        click(d, 80);
        type(d, 81, "inf");
        QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
        EXPECT_FALSE(d->isVisible());
    });
    window->action(CommandId::Properties)->trigger();
    const SongProperties& p = editor().song().properties();
    EXPECT_EQ(p.title, "Demo two");
    EXPECT_EQ(p.genre, "Demo Genre");
    EXPECT_EQ(p.displayBpmMode, DisplayBpmMode::Range);
    EXPECT_EQ(p.displayBpmLow, "100.000");
    EXPECT_EQ(editor().player().previewStart(), 0);
    EXPECT_EQ(editor().player().previewEnd(), 0);
    EXPECT_TRUE(editor().store().modified());
}

TEST_F(DialogsTest, OptionsCancelChangesNothingAndOkWritesTheFile) {
    const std::string before = folder.read("options.ini");
    whenOpen<OptionsDialog>([this](OptionsDialog* d) {
        EXPECT_EQ(control<QSlider>(d, 415)->value(), 7);
        control<QSlider>(d, 415)->setValue(0);
        EXPECT_EQ(editor().player().beatTickVolume(), 0) << "heard at once";
        control<QAbstractButton>(d, 98)->click();
        d->reject();
    });
    press(Qt::Key_O, Qt::NoModifier, "o");
    EXPECT_EQ(folder.read("options.ini"), before);
    EXPECT_EQ(editor().player().beatTickVolume(), 70);

    whenOpen<OptionsDialog>([this](OptionsDialog* d) {
        control<QSlider>(d, 415)->setValue(0);
        control<QAbstractButton>(d, 115)->click(); // show the frame rate
        type(d, 118, "1e12");
        QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
        EXPECT_TRUE(d->isVisible());
        type(d, 118, "200");
        QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
        EXPECT_FALSE(d->isVisible());
    });
    press(Qt::Key_O, Qt::NoModifier, "o");
    const std::string written = folder.read("options.ini");
    EXPECT_NE(written.find("#BEAT_ASSIST_VOL:0;"), std::string::npos) << written;
    EXPECT_NE(written.find("#NOSHOWFPS:NO;"), std::string::npos);
    EXPECT_NE(written.find("#PRACTICEMODEBOO:200;"), std::string::npos);
    EXPECT_EQ(window->shell().options.booWindow, 0.2);
    EXPECT_EQ(editor().player().beatTickVolume(), 0);
}

TEST_F(DialogsTest, GoToLandsOnTheSampleAndRefusesBadText) {
    openDemo([](LevelManagerDialog*) {});
    whenOpen<GoToDialog>([](GoToDialog* d) {
        EXPECT_EQ(control<QLineEdit>(d, 70)->text(), "0.000");
        for (const char* bad : {"nan", "1.2.3"}) {
            type(d, 70, bad);
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
            EXPECT_TRUE(d->isVisible()) << bad;
        }
        type(d, 70, "12.5");
        QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
    });
    press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(editor().player().position(), 551250);
}

TEST_F(DialogsTest, ColumnKeysReachTheEditorAgainWhenADialogOrABoxCloses) {
    openDemo([](LevelManagerDialog*) {});
    window->setUnattended(false); // the "Tip" box shows
    window->setDialogsUnattended(false);
    // A key as the platform delivers it: to the window that has the keyboard.
    auto columnKeyFour = [this](const char* after) {
        QApplication::processEvents();
        QWindow* focus = QGuiApplication::focusWindow();
        ASSERT_EQ(focus, window->windowHandle()) << after;
        EXPECT_EQ(QApplication::focusWidget(), window->centralWidget()) << after;
        EXPECT_TRUE(window->shell().state.active.load()) << after;
        QTest::keyPress(focus, Qt::Key_4);
        EXPECT_TRUE(window->shell().keysDown.isDown('4')) << after;
        QTest::keyRelease(focus, Qt::Key_4);
    };
    whenOpen<GoToDialog>([](GoToDialog* d) {
        type(d, 70, "23:00");
        QTest::keyClick(d->windowHandle(), Qt::Key_Return);
    });
    press(Qt::Key_G, Qt::ControlModifier);
    columnKeyFour("Go To");
    whenOpen<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->text(), "First, select some beat(s) to change color.");
        QTest::keyClick(box->windowHandle(), Qt::Key_Return);
    });
    press(Qt::Key_2, Qt::ControlModifier);
    columnKeyFour("a Tip box");
}

TEST_F(DialogsTest, AboutShowsTheReadMe) {
    whenOpen<AboutDialog>([](AboutDialog* d) {
        EXPECT_EQ(control<QPlainTextEdit>(d, 210)->toPlainText(), "quillex read-me\nsecond line\n");
        EXPECT_TRUE(control<QPlainTextEdit>(d, 210)->isReadOnly());
    });
    window->action(CommandId::About)->trigger();
}

// Tools ▸ Statistics shows, value by value, the line `quillex-tool stats` prints for the
// chart being edited, and the Level Manager's line for it the same figures.
TEST_F(DialogsTest, StatisticsShowWhatTheToolPrints) {
    // As quillex-tool runs: a second OpenAL output made and closed here would leave the
    // window's own unable to open the music afterwards.
    AudioBackend audio;
    audio.makeDecoder = [] { return std::make_unique<SndfileDecoder>(); };
    audio.output = std::make_unique<SilentOutput>();
    std::ostringstream out, err;
    runSongTool({"stats", kDemo, "--level", "dance-single:Medium"}, out, err, std::move(audio));
    std::istringstream table(out.str());
    std::string header, line;
    std::getline(table, header);
    std::getline(table, line);
    std::istringstream keys(header), values(line);
    std::map<std::string, std::string> printed;
    for (std::string key, value; std::getline(keys, key, '\t') && std::getline(values, value, '\t');)
        printed[key] = value;
    ASSERT_EQ(printed.size(), 11u) << out.str() << err.str();

    openDemo([&printed](LevelManagerDialog* d) {
        EXPECT_EQ(control<QLabel>(d, 30103)->text().toStdString(),
                  "NPS peak/average:  " + printed["peak_nps"] + "/" + printed["average_nps"] +
                      "   Stream:  " + printed["breakdown"]);
        click(d, 154);
    });
    whenOpen<StatisticsDialog>([&printed](StatisticsDialog* d) {
        for (const auto& [key, value] : printed) {
            if (key == "level")
                continue;
            const auto* shown = d->findChild<QLabel*>(QString::fromStdString(key));
            ASSERT_TRUE(shown) << key;
            EXPECT_EQ(shown->text().toStdString(), value) << key;
        }
    });
    window->action(CommandId::Statistics)->trigger();
}

} // namespace
} // namespace quillex
