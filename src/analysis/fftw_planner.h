// FFTW's planner may not run on two threads at once (only executing a plan may), and
// analyses run on worker threads: every plan is made and destroyed under this lock.
#pragma once

#include <mutex>

namespace quillex {

std::mutex& fftwPlannerMutex();

} // namespace quillex
