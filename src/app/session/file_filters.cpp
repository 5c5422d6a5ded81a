#include "app/session/file_filters.h"

#include "fileio/song_paths.h"

namespace quillex {

std::string_view saveTypeExtension(int filterIndex) {
    if (filterIndex < 1 || filterIndex > static_cast<int>(kSaveFilters.size()))
        return kSaveDefaultExtension;
    // A type's pattern is "*.ext"; "*.*" names no extension of its own.
    std::string_view pattern = kSaveFilters[static_cast<size_t>(filterIndex - 1)].patterns;
    pattern.remove_prefix(pattern.find('.') + 1);
    return pattern == "*" ? kSaveDefaultExtension : pattern;
}

std::string savePathForType(const std::string& typed, int filterIndex) {
    if (fileNameOf(typed).find('.') != std::string_view::npos)
        return typed;
    return typed + "." + std::string(saveTypeExtension(filterIndex));
}

} // namespace quillex
