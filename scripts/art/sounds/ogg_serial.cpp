// Fixed Ogg stream serials (see ogg_serial.h). Page layout: "OggS", version, flags,
// granule position (8 bytes), serial (4, at 14), sequence (4), checksum (4, at 22),
// segment count (at 26), segment table, body. The checksum is CRC-32 with polynomial
// 0x04c11db7, unreflected, over the page with the checksum field zeroed.
#include "ogg_serial.h"

#include <array>
#include <fstream>
#include <iterator>
#include <vector>

namespace synth {

namespace {

std::uint32_t oggCrc(const std::uint8_t* data, size_t length) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t r = i << 24;
            for (int bit = 0; bit < 8; ++bit) {
                r = (r & 0x80000000u) ? (r << 1) ^ 0x04c11db7u : r << 1;
            }
            t[i] = r;
        }
        return t;
    }();
    std::uint32_t crc = 0;
    for (size_t i = 0; i < length; ++i) {
        crc = (crc << 8) ^ table[((crc >> 24) ^ data[i]) & 0xff];
    }
    return crc;
}

void putLittleEndian(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

} // namespace

bool setOggSerial(const std::string& path, std::uint32_t serial) {
    std::vector<std::uint8_t> bytes;
    {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            return false;
        }
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    size_t page = 0;
    while (page < bytes.size()) {
        if (page + 27 > bytes.size() || bytes[page] != 'O' || bytes[page + 1] != 'g' ||
            bytes[page + 2] != 'g' || bytes[page + 3] != 'S') {
            return false;
        }
        const size_t segments = bytes[page + 26];
        if (page + 27 + segments > bytes.size()) {
            return false;
        }
        size_t bodyLength = 0;
        for (size_t i = 0; i < segments; ++i) {
            bodyLength += bytes[page + 27 + i];
        }
        const size_t pageLength = 27 + segments + bodyLength;
        if (page + pageLength > bytes.size()) {
            return false;
        }
        putLittleEndian(&bytes[page + 14], serial);
        putLittleEndian(&bytes[page + 22], 0);
        putLittleEndian(&bytes[page + 22], oggCrc(&bytes[page], pageLength));
        page += pageLength;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace synth
