// How the process heap treats the blocks the song's lists come and go in.
#pragma once

namespace quillex {

// Every edit that re-times notes copies each changed list (the undo history keeps the
// old one), and undoing, redoing or trimming the history frees such copies again: a
// few megabytes at a time for a large song. By default the C library gives blocks of
// that size straight back to the system (unmapping them, or trimming the heap's top),
// so the next edit has the kernel map in and clear all those pages afresh. This keeps
// up to a few dozen megabytes of freed heap for reuse instead. Takes effect once per
// process; later calls do nothing.
void keepFreedHeapForReuse();

} // namespace quillex
