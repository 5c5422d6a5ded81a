// The demo song's music: a drum pattern with a bass line, written as Ogg Vorbis.
#pragma once

#include <string>

namespace demo {

bool writeDemoMusic(const std::string& path);

} // namespace demo
