// The tracer's index of the list's elements, by word: an open hash table
// of the elements' addresses, probed linearly, grown by doubling at half
// full. Its slots come from index_memory.h, apart from the heap that the
// list allocates from. When they cannot be had, the index is given up:
// it holds nothing from then on, and its user walks the list instead.
#ifndef WORDLIST_TRACE_WORD_INDEX_H
#define WORDLIST_TRACE_WORD_INDEX_H

#include <cstddef>

#include "word_list.h"

struct WordIndex {
  const WordNode** slots;  // null: an empty slot
  std::size_t capacity;    // a power of two; 0 when given up
  std::size_t size;
  bool given_up;
};

// An empty index of `capacity` slots (a power of two, at least 2), or a
// given-up one when they cannot be had.
WordIndex index_make(std::size_t capacity);

// The element the index holds for `word`, or null: for a word it was
// never given, and for every word once it is given up.
const WordNode* index_find(const WordIndex& index, const char* word);

// Records `node`, whose word the index does not hold yet. Doubles the
// index first when it would be more than half full, and gives it up
// when the larger one cannot be had.
void index_remember(WordIndex* index, const WordNode* node);

// Releases the slots and leaves the index given up.
void index_release(WordIndex* index);

// The slot where the search for `word` starts in an index of `capacity`
// slots: words with the same home meet there, and all but the first are
// found further on.
std::size_t index_home(const char* word, std::size_t capacity);

#endif  // WORDLIST_TRACE_WORD_INDEX_H
