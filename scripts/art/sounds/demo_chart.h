// The demo song's .sm file: header with the timing of demo_timing.h and two dance-single
// charts whose notes sit on the drum hits.
#pragma once

#include <string>

namespace demo {

bool writeDemoSm(const std::string& path);

} // namespace demo
