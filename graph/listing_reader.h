// Reading a listing back: the text wordlist prints, checked line by line
// and turned into plain records for drawing.
#ifndef WORDLIST_GRAPH_LISTING_READER_H
#define WORDLIST_GRAPH_LISTING_READER_H

#include <cstddef>
#include <cstdint>

#include "line_reading.h"

// One element line. The word points into the text that was read and is
// not zero-terminated. Addresses are kept as numbers.
struct ListedElement {
  std::uint64_t address;
  std::uint64_t next;
  std::int32_t count;
  const char* word;
  std::size_t word_length;
};

// A listing that passed every check: its elements in list order (the
// first is at the head, position 1), the same elements' indices in
// ascending order of address, and the width of its addresses in
// hexadecimal digits (8 or 16). No elements: the list was empty.
struct ParsedListing {
  ListedElement* elements;
  std::size_t* by_address;
  std::size_t size;
  int address_digits;
};

enum class ReadResult { kRead, kInvalid, kNoMemory };

// Checks `size` bytes of `text` as one complete listing, exactly as the
// program writes it (LF or CRLF line ends, 8 or 16 address digits), and
// fills `listing`, whose elements then point into `text`. On the first
// violation returns kInvalid with its line in `error`; when memory runs
// out returns kNoMemory. Nothing is left allocated on failure.
ReadResult listing_read(const char* text, std::size_t size, ParsedListing* listing,
                        ListingError* error);

// Releases what listing_read allocated, and empties the listing.
void listing_release(ParsedListing* listing);

#endif  // WORDLIST_GRAPH_LISTING_READER_H
