#include "audio/timeline_sound.h"

#include <algorithm>

namespace quillex {

std::shared_ptr<const PcmData> musicInSilence(const PcmData& music, std::int64_t lead,
                                              std::int64_t frames) {
    auto padded = std::make_shared<PcmData>();
    padded->channels = music.channels;
    padded->frequency = music.frequency;
    lead = std::max<std::int64_t>(lead, 0);
    frames = std::max(frames, lead + music.frames());
    const auto channels = static_cast<std::size_t>(std::max(music.channels, 1));
    padded->samples.resize(static_cast<std::size_t>(frames) * channels);
    const auto leadSamples = static_cast<std::size_t>(lead) * channels;
    // A block taken from the heap (below the mapped size) is not cleared for us.
    if (padded->samples.size() * sizeof(std::int16_t) <
        LargeBufferAllocator<std::int16_t>::kMappedBytes)
        std::fill(padded->samples.begin(), padded->samples.end(), std::int16_t{0});
    std::copy(music.samples.begin(), music.samples.end(),
              padded->samples.begin() + static_cast<std::ptrdiff_t>(leadSamples));
    return padded;
}

} // namespace quillex
