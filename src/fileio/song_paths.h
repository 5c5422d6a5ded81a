// Paths of song files: the song folder, file names written into songs, names read
// from songs (which may come from Windows with "\" separators), the companion file's
// path and the extension that picks a format.
#pragma once

#include <string>
#include <string_view>

namespace quillex {

// The folder of a file, ending with "/" (empty for a bare file name).
std::string songFolderOf(std::string_view path);
// The text after the last "/" or "\" (the whole text when it has neither).
std::string_view fileNameOf(std::string_view path);
// The text from the last "." to the end ("" when there is none).
std::string_view extensionOf(std::string_view path);
// The path up to its last "." followed by ".qxx".
std::string companionPathOf(std::string_view songPath);

// Finds a file a song names (#MUSIC, #BANNER, #BACKGROUND) in the song folder: the
// name with either separator as a path below the folder; failing that the bare file
// name in the folder; failing that the same name in another case (songs made on
// Windows often differ in case from the files beside them). Returns the first
// candidate when none exists, so that the caller's failure names the expected path.
std::string resolveSongFile(const std::string& songFolder, std::string_view name);

// The name a song in `songFolder` gives the file at `filePath` so that
// resolveSongFile finds it again: the bare file name when the file is in that folder,
// otherwise a relative path with "/" separators (an absolute path when there is none).
std::string songRelativeName(const std::string& songFolder, const std::string& filePath);

// A name a song in `oldFolder` gives one of its files, as a song in `newFolder` must
// give it. A name whose file cannot be found stays as it is.
std::string relocatedSongName(const std::string& oldFolder, const std::string& name,
                              const std::string& newFolder);

} // namespace quillex
