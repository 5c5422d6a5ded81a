// Fakes of the shell's ports for driving the dispatcher and the save flow headless:
// they record what was asked of them and answer as the test sets up.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/commands/dispatcher.h"
#include "app/session/shell_ports.h"
#include "items/item_store.h"
#include "ports/messages.h"
#include "ports/shell_hooks.h"

namespace quillex::test {

class RecordingHooks : public NullShellHooks {
  public:
    void setMenuCheck(CommandId id, bool checked) override { checks[id] = checked; }
    void drawFrame() override { ++frames; }
    std::map<CommandId, bool> checks;
    int frames = 0;
};

class FakeUi : public ShellUi {
  public:
    std::optional<std::string> askOpenPath() override {
        ++openDialogs;
        return openAnswer;
    }
    std::optional<SaveTarget> askSavePath(const SaveTarget& start) override {
        saveDialogStarts.push_back(start);
        return saveAnswer;
    }
    SavePromptAnswer askToSaveChanges(const std::string& songName) override {
        ++prompts;
        promptNames.push_back(songName);
        return promptAnswer;
    }
    void closeWindow() override { ++closeRequests; }
    void setWaitCursor(bool) override {}

    std::optional<std::string> openAnswer;
    std::optional<SaveTarget> saveAnswer;
    SavePromptAnswer promptAnswer = SavePromptAnswer::Cancel;
    int openDialogs = 0;
    int prompts = 0;
    int closeRequests = 0;
    std::vector<SaveTarget> saveDialogStarts;
    std::vector<std::string> promptNames;
};

class FakeFiles : public SongFiles {
  public:
    struct Write {
        std::string path;
        bool updateTitle;
        bool perBeatBpm;
    };
    bool loadSong(const std::string& path) override {
        loaded.push_back(path);
        return loadSucceeds;
    }
    bool loadMusic(const std::string& path) override {
        music = path;
        loaded.push_back(path);
        return loadSucceeds;
    }
    void closeSong() override { ++closes; }
    bool writeSong(const std::string& path, bool updateTitle, bool perBeatBpm) override {
        writes.push_back({path, updateTitle, perBeatBpm});
        return writeSucceeds;
    }
    std::string songTitle() const override { return title; }
    std::string musicPath() const override { return music; }
    bool musicLocated() const override { return located; }

    bool located = false;
    std::vector<std::string> loaded;
    std::vector<Write> writes;
    bool loadSucceeds = true;
    bool writeSucceeds = true;
    int closes = 0;
    std::string title;
    std::string music;
};

class FakeTransport : public Transport {
  public:
    bool playing() const override { return isPlaying; }
    void startPlayback() override { isPlaying = true; }
    void stopPlayback() override {
        isPlaying = false;
        ++stops;
    }
    bool snapSet() const override { return snap; }
    bool isPlaying = false;
    bool snap = false;
    int stops = 0;
};

// The dispatcher as the shell makes it, with its save flow, state, options and keys,
// over the dialogs, song files and playback faked as above. The test brings the item
// store, the "Tip" boxes and the window hooks.
struct FakedShell {
    FakedShell(ItemStore& store, Messages& messages, ShellHooks& hooks)
        : saveFlow(files, ui, hooks, store, "/nonexistent/backup"),
          dispatcher(
              {store, messages, hooks, ui, files, transport, saveFlow, state, options, keys}) {}

    FakeUi ui;
    FakeFiles files;
    FakeTransport transport;
    SaveFlow saveFlow;
    ShellState state;
    Options options;
    KeyDownTable keys;
    Dispatcher dispatcher;
};

// A store over any music, with the "Tip" boxes and the menu marks recorded.
struct RecordedStore {
    FixedMusicInfo music;
    BusyCounter busy;
    ItemStore store{music, busy};
    RecordingMessages messages;
    RecordingHooks hooks;
};

// Everything the shell's core half is made of, faked, over a store of its own.
struct ShellFakes : RecordedStore, FakedShell {
    ShellFakes() : FakedShell(store, messages, hooks) {}
};

} // namespace quillex::test
