// libFuzzer target: any text as a `.sm` song, built over silent music decoded once and
// written back. Nothing touches the disk per input.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_editor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static quillex::fuzz::FuzzEditor fuzz;
    if (fuzz.readSmText({reinterpret_cast<const char*>(data), size}))
        fuzz.writeBack();
    fuzz.clear();
    return 0;
}
