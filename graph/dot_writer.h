// Drawing a listing: Graphviz DOT text with generated node names, the
// words only ever inside escaped labels, and all layout left to Graphviz.
#ifndef WORDLIST_GRAPH_DOT_WRITER_H
#define WORDLIST_GRAPH_DOT_WRITER_H

#include <cstddef>
#include <cstdio>

#include "listing_reader.h"

enum class GraphView {
  kList,    // the chain from the head, in rows of boxes
  kMemory,  // the same boxes in order of address, NEXT drawn across them
};

// Writes `listing` to `out` as one DOT graph. The first `limit` elements
// in list order are drawn (0: all of them); a marker says how many more
// the list holds. Write errors are left in the stream for the caller.
void dot_write(std::FILE* out, const ParsedListing& listing, GraphView view, std::size_t limit);

// Writes `length` bytes of a word as text for an HTML-like label, legible
// whatever the bytes: markup characters as entities, each backslash apart
// (so that Graphviz expands no \N or \G), control and invisible
// characters and bytes that are not UTF-8 in a marked escaped form, and a
// long word shortened with its length in bytes. Writes only UTF-8.
void dot_write_word(std::FILE* out, const char* word, std::size_t length);

#endif  // WORDLIST_GRAPH_DOT_WRITER_H
