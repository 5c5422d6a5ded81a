// libFuzzer target: any bytes as a `.ssc` song, built over silent music decoded once and
// written back as `.sm`, `.ssc` and a companion. Nothing touches the disk per input.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_editor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static quillex::fuzz::FuzzEditor fuzz;
    if (fuzz.readSscText({reinterpret_cast<const char*>(data), size}))
        fuzz.writeBack();
    fuzz.clear();
    return 0;
}
