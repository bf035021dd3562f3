// A global allocator for tests that can be told to fail: the n-th nothrow
// allocation from now fails, and with `sticky` every one after it too.
// Throwing allocations (the test framework's own) never fail.
#ifndef WORDLIST_TESTS_COUNTDOWN_ALLOC_H
#define WORDLIST_TESTS_COUNTDOWN_ALLOC_H

namespace countdown {

// Arms the allocator: allocation number `n` (1 = the next one) fails.
void fail_at(long n, bool sticky);

// Disarms it; every allocation succeeds again.
void disarm();

// How many nothrow allocations were attempted since the last arming.
long attempts();

// Whether an armed failure has happened since the last arming.
bool failed();

// How many blocks are allocated and not yet released, by any form of new.
long live();

}  // namespace countdown

#endif  // WORDLIST_TESTS_COUNTDOWN_ALLOC_H
