// libFuzzer target: any text as a `.sm` song, read with silent music and written back.
#include <cstddef>
#include <cstdint>
#include <fstream>

#include "fileio/song_reader.h"
#include "fuzz_editor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static quillex::fuzz::FuzzEditor fuzz;
    const std::string path = (fuzz.folder / "song.sm").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (quillex::readSong(fuzz.files, path))
        fuzz.writeBack();
    return 0;
}
