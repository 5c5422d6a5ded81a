// The onset features of each music analysed, kept on disk by the music's content so
// that a second request on the same music (in the editor or from quillex-tool) does
// not decode the spectra again. One file per music under $XDG_CACHE_HOME/quillex
// (~/.cache/quillex without it). A file is used only when its header, length and
// checksum all hold; a damaged or foreign one is ignored and written anew.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "analysis/onset_features.h"
#include "audio/audio_backend.h"

namespace quillex {

// A 64-bit hash of the decoded frames, their rate and channel count.
std::uint64_t musicContentHash(const PcmData& music);

// $XDG_CACHE_HOME/quillex, else $HOME/.cache/quillex; empty when neither is set.
std::filesystem::path defaultAnalysisCacheDirectory();

class AnalysisCache {
  public:
    // An empty directory keeps nothing.
    explicit AnalysisCache(std::filesystem::path directory) : directory_(std::move(directory)) {}

    std::optional<OnsetFeatures> load(std::uint64_t hash) const;
    // False when the file could not be written (the analysis goes on without it).
    bool store(std::uint64_t hash, const OnsetFeatures& features) const;

    std::filesystem::path fileFor(std::uint64_t hash) const;

  private:
    std::filesystem::path directory_;
};

} // namespace quillex
