#include "analysis/analysis_cache.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace quillex {

namespace {

// Bumped whenever the features change meaning, so older files are not trusted.
constexpr char kMagic[8] = {'Q', 'X', 'O', 'N', 'S', 'E', 'T', '3'};

constexpr std::uint64_t kFnvBasis = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

std::uint64_t fnv(const unsigned char* data, std::size_t size, std::uint64_t hash = kFnvBasis) {
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * kFnvPrime;
    return hash;
}

class Writer {
  public:
    template <typename T> void put(const T& value) {
        const auto* p = reinterpret_cast<const unsigned char*>(&value);
        bytes.insert(bytes.end(), p, p + sizeof(T));
    }
    std::vector<unsigned char> bytes;
};

class Reader {
  public:
    explicit Reader(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}
    template <typename T> bool get(T& value) {
        if (bytes_.size() - at_ < sizeof(T))
            return false;
        std::memcpy(&value, bytes_.data() + at_, sizeof(T));
        at_ += sizeof(T);
        return true;
    }
    std::size_t left() const { return bytes_.size() - at_; }

  private:
    const std::vector<unsigned char>& bytes_;
    std::size_t at_ = 0;
};

} // namespace

std::uint64_t musicContentHash(const PcmData& music) {
    // Eight bytes at a time: a five-minute song hashes in a few milliseconds.
    std::uint64_t hash = kFnvBasis;
    const auto* data = reinterpret_cast<const unsigned char*>(music.samples.data());
    const std::size_t size = music.samples.size() * sizeof(std::int16_t);
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, 8);
        hash = (hash ^ word) * kFnvPrime;
        hash ^= hash >> 29;
    }
    hash = fnv(data + i, size - i, hash);
    const std::int64_t shape[2] = {music.frequency, music.channels};
    return fnv(reinterpret_cast<const unsigned char*>(shape), sizeof shape, hash);
}

std::filesystem::path defaultAnalysisCacheDirectory() {
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "quillex";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".cache" / "quillex";
    return {};
}

std::filesystem::path AnalysisCache::fileFor(std::uint64_t hash) const {
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.onsets", static_cast<unsigned long long>(hash));
    return directory_ / name;
}

bool AnalysisCache::store(std::uint64_t hash, const OnsetFeatures& f) const {
    if (directory_.empty())
        return false;
    Writer w;
    for (char c : kMagic)
        w.put(c);
    w.put(hash);
    w.put(static_cast<std::int64_t>(f.sampleRate));
    w.put(f.musicFrames);
    w.put(static_cast<std::int64_t>(f.hop));
    w.put(static_cast<std::uint64_t>(f.strength.size()));
    for (float v : f.strength)
        w.put(v);
    w.put(static_cast<std::uint64_t>(f.onsets.size()));
    for (const Onset& o : f.onsets) {
        w.put(o.sample);
        w.put(o.strength);
        w.put(o.body);
    }
    w.put(fnv(w.bytes.data(), w.bytes.size()));
    std::error_code error;
    std::filesystem::create_directories(directory_, error);
    // Written beside and renamed over, so a reader never sees half a file.
    const std::filesystem::path target = fileFor(hash);
    std::filesystem::path partial = target;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(w.bytes.data()),
                  static_cast<std::streamsize>(w.bytes.size()));
        if (!out.good())
            return false;
    }
    std::filesystem::rename(partial, target, error);
    return !error;
}

std::optional<OnsetFeatures> AnalysisCache::load(std::uint64_t hash) const {
    if (directory_.empty())
        return std::nullopt;
    std::ifstream in(fileFor(hash), std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    constexpr std::size_t kChecksum = sizeof(std::uint64_t);
    if (bytes.size() < sizeof kMagic + kChecksum ||
        std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    std::uint64_t checksum;
    std::memcpy(&checksum, bytes.data() + bytes.size() - kChecksum, kChecksum);
    if (checksum != fnv(bytes.data(), bytes.size() - kChecksum))
        return std::nullopt;
    Reader r(bytes);
    char magic[sizeof kMagic];
    for (char& c : magic)
        r.get(c);
    std::uint64_t storedHash = 0, count = 0;
    std::int64_t rate = 0, hop = 0;
    OnsetFeatures f;
    if (!r.get(storedHash) || storedHash != hash || !r.get(rate) || !r.get(f.musicFrames) ||
        !r.get(hop) || !r.get(count) || count > r.left() / sizeof(float))
        return std::nullopt;
    f.sampleRate = static_cast<int>(rate);
    f.hop = static_cast<int>(hop);
    f.strength.resize(count);
    for (float& v : f.strength)
        r.get(v);
    if (!r.get(count) || count > r.left() / (sizeof(double) + 2 * sizeof(float)))
        return std::nullopt;
    f.onsets.resize(count);
    for (Onset& o : f.onsets)
        if (!r.get(o.sample) || !r.get(o.strength) || !r.get(o.body))
            return std::nullopt;
    if (r.left() != kChecksum || f.sampleRate <= 0 || f.hop <= 0)
        return std::nullopt;
    return f;
}

} // namespace quillex
