// libFuzzer target: any text as a `.qxx` companion, applied to a song with silent music
// and written back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fileio/statement_text.h"
#include "fuzz_editor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static quillex::fuzz::FuzzEditor fuzz;
    static const bool loaded = fuzz.editor.player().loadMusic(fuzz.musicPath(), "", true);
    if (!loaded)
        __builtin_trap();
    fuzz.editor.store().clearSong();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    quillex::applyCompanionText(fuzz.files, quillex::joinLines(text, quillex::TextKind::Companion));
    fuzz.writeBack();
    return 0;
}
