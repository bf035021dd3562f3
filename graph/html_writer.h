// Drawing a listing as one self-contained interactive page: the page's
// fixed text, made at build time, around the listing's data as JSON.
#ifndef WORDLIST_GRAPH_HTML_WRITER_H
#define WORDLIST_GRAPH_HTML_WRITER_H

#include <cstddef>
#include <cstdio>

#include "dot_writer.h"
#include "listing_reader.h"
#include "trace_reader.h"

// Writes `listing` to `out` as an HTML page that opens in `view`. The
// first `limit` elements in list order are drawn (0: all of them). Write
// errors are left in the stream for the caller.
void html_write(std::FILE* out, const ParsedListing& listing, GraphView view, std::size_t limit);

// Writes `trace` to `out` as the same page with a timeline: its final
// list, and every addition that built it, to replay.
void html_write_replay(std::FILE* out, const ParsedTrace& trace, GraphView view);

// Writes two traces of the same additions (the runs of list_add_sorted
// and list_add_front on one text) to `out` as one page that replays
// either, opening with `first`.
void html_write_runs(std::FILE* out, const ParsedTrace& first, const ParsedTrace& second,
                     GraphView view);

// Writes only the data of html_write_runs's page: one JSON object.
void html_write_runs_data(std::FILE* out, const ParsedTrace& first, const ParsedTrace& second,
                          GraphView view);

// Writes `length` bytes of a word as a JSON string that can stand inside
// an HTML script element: valid UTF-8 as itself, but for the characters
// that JSON or HTML give a meaning (quotes, backslashes, control bytes,
// < > &), which are escaped; each byte that starts no UTF-8 character as
// the lone surrogate U+DC00 + byte, which no character can be.
void html_write_word(std::FILE* out, const char* word, std::size_t length);

#endif  // WORDLIST_GRAPH_HTML_WRITER_H
