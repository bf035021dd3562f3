// Reading a trace back: the text wordlist-trace writes, checked by
// replaying every addition it records, with its final listing.
#ifndef WORDLIST_GRAPH_TRACE_READER_H
#define WORDLIST_GRAPH_TRACE_READER_H

#include <cstddef>
#include <cstdint>

#include "listing_reader.h"

enum class StepKind : unsigned char { kInserted, kCounted, kNotCounted };

// One addition. `element` is the index, in the final listing, of the
// element inserted or counted; the word points into the text that was
// read and is not zero-terminated.
struct TraceStep {
  StepKind kind;
  std::size_t element;
  const char* word;
  std::size_t word_length;
};

// A trace that replayed without fault: its additions in order, and the
// final listing they built; `front` when the run added with
// list_add_front (every new element at the head), else with
// list_add_sorted.
struct ParsedTrace {
  ParsedListing listing;
  TraceStep* steps;
  std::size_t size;
  bool front;
};

// Whether `text` begins as a trace does: with the line naming its format.
bool is_trace(const char* text, std::size_t size);

// Checks `size` bytes of `text` as one trace and fills `trace`, whose
// steps and elements then point into `text`: every line as the program
// writes it (LF or CR LF, as its first line ends), each counted address an
// element of the list holding the word, its count one higher; each
// inserted address new, with a word not in the list, linked where the
// line says, keeping the words in order (in a front trace: at the head);
// and the list so replayed equal to the final listing, line for line. On
// the first line that breaks a rule returns kInvalid with that line in
// `error`; when memory runs out returns kNoMemory. Nothing is left
// allocated on failure.
ReadResult trace_read(const char* text, std::size_t size, ParsedTrace* trace, ListingError* error);

// The first addition (counted from 1) at which two traces differ in their
// words, or 0 when they are of the same additions in the same order.
std::size_t traces_first_difference(const ParsedTrace& a, const ParsedTrace& b);

// Releases what trace_read allocated, and empties the trace.
void trace_release(ParsedTrace* trace);

#endif  // WORDLIST_GRAPH_TRACE_READER_H
