// The tracer's index memory for tests, in place of trace/index_memory.cpp:
// from the C library's heap, counted, and failing on command, as
// countdown_alloc fails the list's allocations.
#ifndef WORDLIST_TESTS_COUNTDOWN_SLOTS_H
#define WORDLIST_TESTS_COUNTDOWN_SLOTS_H

namespace countdown_slots {

// Arms the memory: allocation number `n` (1 = the next one) fails, and
// only that one; 0 disarms it.
void fail_at(long n);

// How many areas of slots are allocated and not yet released.
long live();

}  // namespace countdown_slots

#endif  // WORDLIST_TESTS_COUNTDOWN_SLOTS_H
