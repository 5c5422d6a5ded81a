#include "analysis/magnitude_frames.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <mutex>
#include <numbers>

#include <fftw3.h>

#include "analysis/fftw_planner.h"

namespace quillex {

std::mutex& fftwPlannerMutex() {
    static std::mutex mutex;
    return mutex;
}

struct SpectrumFrames::Plan {
    float* input = nullptr;
    fftwf_complex* output = nullptr;
    fftwf_plan plan = nullptr;
};

SpectrumFrames::SpectrumFrames(int frameSize)
    : size_(frameSize), window_(static_cast<std::size_t>(frameSize)),
      plan_(std::make_unique<Plan>()) {
    for (int i = 0; i < size_; ++i)
        window_[static_cast<std::size_t>(i)] =
            static_cast<float>(0.5 - 0.5 * std::cos(2 * std::numbers::pi * (i + 0.5) / size_));
    std::lock_guard lock(fftwPlannerMutex());
    plan_->input = fftwf_alloc_real(static_cast<std::size_t>(size_));
    plan_->output = fftwf_alloc_complex(static_cast<std::size_t>(bins()));
    plan_->plan = fftwf_plan_dft_r2c_1d(size_, plan_->input, plan_->output, FFTW_ESTIMATE);
}

SpectrumFrames::~SpectrumFrames() {
    std::lock_guard lock(fftwPlannerMutex());
    fftwf_destroy_plan(plan_->plan);
    fftwf_free(plan_->input);
    fftwf_free(plan_->output);
}

void SpectrumFrames::magnitudes(const std::vector<float>& signal, std::ptrdiff_t centre, int count,
                                std::vector<float>& out) {
    const std::ptrdiff_t start = centre - size_ / 2;
    const auto length = static_cast<std::ptrdiff_t>(signal.size());
    for (std::ptrdiff_t i = 0; i < size_; ++i) {
        const std::ptrdiff_t at = start + i;
        const float x = at >= 0 && at < length ? signal[static_cast<std::size_t>(at)] : 0.0f;
        plan_->input[i] = x * window_[static_cast<std::size_t>(i)];
    }
    fftwf_execute(plan_->plan);
    count = std::min(count, bins());
    out.resize(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        const float re = plan_->output[k][0], im = plan_->output[k][1];
        out[static_cast<std::size_t>(k)] = std::sqrt(re * re + im * im);
    }
}

} // namespace quillex
