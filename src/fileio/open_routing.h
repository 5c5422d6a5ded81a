// Which files Open takes and how: songs go to the readers, music to the player, the
// companion file and everything else are refused with a message.
#pragma once

#include <string_view>

#include "fileio/song_paths.h"

namespace quillex {

inline constexpr std::string_view kCompanionRefusedMessage =
    "Sorry, quillex cannot open .qxx files directly.  Open the .qx file instead.";
inline constexpr std::string_view kUnsupportedFileMessage =
    "Sorry, quillex does not support this file type.";

enum class OpenKind { Song, Music, Companion, Unsupported };

// By the extension, compared exactly: ".sm", ".ssc" and ".qx" are songs; ".ogg", ".wav" and
// ".mp3" music; ".qxx" the companion.
inline OpenKind openKindOf(std::string_view path) {
    const std::string_view extension = extensionOf(path);
    if (extension == ".sm" || extension == ".ssc" || extension == ".qx")
        return OpenKind::Song;
    if (extension == ".ogg" || extension == ".wav" || extension == ".mp3")
        return OpenKind::Music;
    if (extension == ".qxx")
        return OpenKind::Companion;
    return OpenKind::Unsupported;
}

} // namespace quillex
