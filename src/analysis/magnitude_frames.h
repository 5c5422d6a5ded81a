// Short-time magnitude spectra with FFTW (single precision): Hann-windowed frames of a
// fixed size centred on multiples of the hop (plans made under fftwPlannerMutex()).
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace quillex {

class SpectrumFrames {
  public:
    explicit SpectrumFrames(int frameSize);
    ~SpectrumFrames();
    SpectrumFrames(const SpectrumFrames&) = delete;
    SpectrumFrames& operator=(const SpectrumFrames&) = delete;

    int frameSize() const { return size_; }
    int bins() const { return size_ / 2 + 1; }
    // The magnitudes of the lowest `count` bins (at most bins()) of the frame centred
    // on sample `centre` of `signal` (silence outside it) into `magnitudes`.
    void magnitudes(const std::vector<float>& signal, std::ptrdiff_t centre, int count,
                    std::vector<float>& magnitudes);

  private:
    struct Plan;
    int size_;
    std::vector<float> window_;
    std::unique_ptr<Plan> plan_;
};

} // namespace quillex
