// libFuzzer target: any text as a `.qxx` companion, applied to a song with silent music
// and written back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_editor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static quillex::fuzz::FuzzEditor fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    quillex::applyCompanionText(fuzz.files, quillex::joinLines(text, quillex::TextKind::Companion));
    fuzz.writeBack();
    fuzz.clear();
    return 0;
}
