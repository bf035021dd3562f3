// Memory for the tracer's index, never from the heap that the list's
// elements come from: the heap then holds the same blocks in the same
// order as in wordlist's run, and so the elements lie at the same offsets
// from each other. A mapping of its own on Windows and POSIX systems; in
// WebAssembly, which has one memory and no mappings, a static area made
// once, whole. Its own source file, so that a test program can link
// memory that it counts and fails instead.
#ifndef WORDLIST_TRACE_INDEX_MEMORY_H
#define WORDLIST_TRACE_INDEX_MEMORY_H

#include <cstddef>

#include "word_list.h"

// Whether an index can have more slots than it was first made with: not
// in WebAssembly, whose one area of kIndexMostSlots is all there is.
#ifdef __wasi__
constexpr bool kIndexSlotsGrow = false;
#else
constexpr bool kIndexSlotsGrow = true;
#endif

// The most slots an index is made with at first.
constexpr std::size_t kIndexMostSlots = std::size_t{1} << 20U;

// Zeroed room for `count` slots; null when there is none.
const WordNode** index_slots_allocate(std::size_t count);

// Releases what index_slots_allocate gave for `count` slots.
void index_slots_release(const WordNode** slots, std::size_t count);

#endif  // WORDLIST_TRACE_INDEX_MEMORY_H
