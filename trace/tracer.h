// The tracer: makes each addition to the list as the run does, and writes
// to standard output what became of it, one line per addition:
//   inserted ADR at head WORD: w          a new element, linked first
//   inserted ADR after PREV WORD: w       a new element, linked after PREV
//   counted ADR COUNT: c WORD: w          an element's count, raised to c
//   not counted WORD: w                   out of memory, or count at its limit
// The list is looked at only between additions, through its records and
// its own functions; the tracer keeps an index of the elements it has seen
// inserted, by word, so that a counted word's element is known without a
// walk. The index stays out of the heap that the list allocates from, so
// the elements lie as they do in wordlist's run.
//
// Use: make a tracer for the text, hand add_traced and the tracer to
// run_words (or add_fixed_words and add_text_words), release it after.
#ifndef WORDLIST_TRACE_TRACER_H
#define WORDLIST_TRACE_TRACER_H

#include <cstddef>
#include <cstdint>

#include "word_index.h"
#include "word_list.h"

// How the run adds a word (with list_add_front, or list_add_sorted), and
// the index of the elements it added.
struct Tracer {
  bool front;
  WordIndex index;
};

// A tracer for a text of `text_bytes` bytes (0 when unknown), its index
// large enough for every word such a text can hold, up to a limit. Never
// fails: without memory for an index the tracer walks the list.
Tracer tracer_make(std::uint64_t text_bytes, bool front);

// Adds `word` as the run does (`context` is the Tracer), then writes
// what became of it. Returns whether the word was counted.
bool add_traced(WordNode** head, const char* word, void* context);

// Releases the tracer's index.
void tracer_release(Tracer* tracer);

#endif  // WORDLIST_TRACE_TRACER_H
