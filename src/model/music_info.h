// What the item store and the timing map need to know of the loaded music.
#pragma once

#include "model/row_position.h"

namespace quillex {

// The music's sample rate and length. The music player provides the real values;
// tests and tools without music provide fixed ones.
class MusicInfo {
public:
    virtual ~MusicInfo() = default;
    // Frequency of the decoded music in Hz; 0 when nothing is loaded.
    virtual int sampleRate() const = 0;
    // Length of the decoded music in sample frames; 0 when nothing is loaded.
    virtual SamplePosition musicLength() const = 0;
};

// A MusicInfo whose values are set by hand.
class FixedMusicInfo : public MusicInfo {
public:
    FixedMusicInfo(int rate = 44100, SamplePosition length = 0) : rate_(rate), length_(length) {}
    int sampleRate() const override { return rate_; }
    SamplePosition musicLength() const override { return length_; }
    void set(int rate, SamplePosition length) {
        rate_ = rate;
        length_ = length;
    }

private:
    int rate_;
    SamplePosition length_;
};

} // namespace quillex
