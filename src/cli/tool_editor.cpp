#include "cli/tool_editor.h"

#include "fileio/open_routing.h"

namespace quillex {

bool openFile(Editor& editor, EditorSongFiles& files, const std::string& path, std::ostream& err) {
    switch (openKindOf(path)) {
    case OpenKind::Song:
        return files.loadSong(path);
    case OpenKind::Music:
        if (files.loadMusic(path))
            return true;
        err << "quillex-tool: cannot load the music " << path << '\n';
        return false;
    case OpenKind::Companion:
        editor.messages().show(kCompanionRefusedMessage);
        return false;
    case OpenKind::Unsupported:
        editor.messages().show(kUnsupportedFileMessage);
        return false;
    }
    return false;
}

} // namespace quillex
