// The checks of wordlist-graph's inputs whose faults are reported in its
// words, for wordlist-graph and the WebAssembly module alike: why a
// reader refused an input, and two traces read and checked as the two
// runs of one text. Reports are one line on standard error each.
#ifndef WORDLIST_GRAPH_INPUT_CHECKS_H
#define WORDLIST_GRAPH_INPUT_CHECKS_H

#include <cstddef>

#include "listing_reader.h"
#include "trace_reader.h"

// One input, and the name its faults are reported under: a file's name,
// "-" for standard input, or what the module calls it ("sorted trace").
struct NamedInput {
  const char* name;
  const char* bytes;
  std::size_t size;
};

// Reports why a reader refused the input `name`: "PROGRAM: NAME: out of
// memory" for kNoMemory, else "PROGRAM: NAME:LINE: what is wrong". Returns
// the exit status that calls for: kExitNoMemory or kExitTrouble.
int report_refusal(const char* program, const char* name, ReadResult result,
                   const ListingError& error);

// Reads `inputs` as the two runs of one text: each a trace that replays,
// both of the same additions in the same order, one of list_add_sorted's
// run and one of list_add_front's (in either order). Returns kExitSuccess
// with `traces` read, for trace_release; else reports the first fault and
// returns kExitNoMemory or kExitTrouble, with both traces left empty.
int read_two_runs(const char* program, const NamedInput inputs[2], ParsedTrace traces[2]);

#endif  // WORDLIST_GRAPH_INPUT_CHECKS_H
