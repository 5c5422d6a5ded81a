// libFuzzer target: any text as options.ini. What is read is written; reading that
// text again must give the same options, so a saved file keeps what it holds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quillex::Options options;
    quillex::parseOptions(std::string(reinterpret_cast<const char*>(data), size), options);
    const std::string written = quillex::formatOptions(options);
    quillex::Options again;
    quillex::parseOptions(written, again);
    if (quillex::formatOptions(again) != written)
        __builtin_trap();
    return 0;
}
