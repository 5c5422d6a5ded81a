// The editor's long-lived subsystems, owned in one place. There is no global state:
// the program makes one Editor at start, a test makes a fresh one of its own.
#pragma once

#include <memory>

#include "app/messages.h"
#include "items/busy_counter.h"
#include "items/item_store.h"
#include "model/game_type.h"
#include "model/music_info.h"

namespace quillex {

class Editor {
public:
    // `music` supplies the sample rate and length of the loaded music; `messages`
    // shows the "Tip" boxes. Both must outlive the editor.
    Editor(Messages& messages, const MusicInfo& music);

    Messages& messages() { return messages_; }
    const MusicInfo& music() const { return music_; }
    BusyCounter& busyCounter() { return busy_; }
    ItemStore& store() { return store_; }
    const ItemStore& store() const { return store_; }
    MeterTable& meters() { return meters_; }
    const MeterTable& meters() const { return meters_; }
    TimingMap timing() const { return store_.timing(); }

private:
    Messages& messages_;
    const MusicInfo& music_;
    BusyCounter busy_;
    ItemStore store_;
    MeterTable meters_;
};

} // namespace quillex
