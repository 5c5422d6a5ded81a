#include "app/editor.h"

namespace quillex {

Editor::Editor(Messages& messages, const MusicInfo& music)
    : messages_(messages), music_(music), store_(music_, busy_) {}

} // namespace quillex
