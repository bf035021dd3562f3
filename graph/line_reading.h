// Reading the lines that the programs write, line by line and field by
// field: what the listing reader and the trace reader share.
#ifndef WORDLIST_GRAPH_LINE_READING_H
#define WORDLIST_GRAPH_LINE_READING_H

#include <cstddef>
#include <cstdint>

// The rest of one line, its line end excluded.
struct Cursor {
  const char* at;
  const char* end;
};

// Where a line ends and how: after LF or after CR LF.
struct LineEnd {
  const char* content_end;
  const char* next_line;
  bool crlf;
};

// Where a reading stopped and why. `what` is a static text.
struct ListingError {
  std::size_t line;
  const char* what;
};

// How a reader words the two faults of a line end: a text that ends
// before its line feed, and a line that ends otherwise than the first one
// (LF and CR LF mixed). Static texts.
struct LineEndFaults {
  const char* cut_short;
  const char* mixed;
};

// The state of a reading: what is left of the text, the number of the
// line it stands at, whether its first line ended in CR LF (every line
// must end as that one did), and where its first fault is recorded.
struct LineReader {
  const char* at;
  const char* end;
  std::size_t line;
  bool crlf;
  const LineEndFaults* faults;
  ListingError* error;
};

// Finds the end of the line starting at `at`; false when the text ends
// before a line feed.
bool find_line_end(const char* at, const char* end, LineEnd* line_end);

// Records `what` as the fault of the reader's line. Returns false, so
// that a check can end in `return fail(...)`.
bool fail(LineReader* reader, const char* what);

// Takes the reader's first line into `line`, and how it ends for the
// rest. False, with the fault recorded, when the text has no line end.
bool first_line(LineReader* reader, Cursor* line);

// Takes the reader's next line into `line`. False, with the fault
// recorded, when the text has no line end or the line ends otherwise
// than the first.
bool next_line(LineReader* reader, Cursor* line);

// Takes `literal` from the cursor; false, taking nothing, when the line
// does not go on with it.
bool take(Cursor* cursor, const char* literal);

// Takes a run of upper-case hexadecimal digits, at most 16; returns how
// many, 0 when there are none or too many.
int take_hex(Cursor* cursor, std::uint64_t* value);

// Whether the rest of the line is a word: at least one byte, none of them
// a delimiter or a zero byte.
bool word_bytes_valid(const Cursor& cursor);

// Orders two words of the given lengths, neither zero-terminated, as the
// list's compare_words orders its zero-terminated ones: by unsigned bytes,
// a proper prefix first. Negative, zero or positive.
int compare_word_bytes(const char* a, std::size_t a_length, const char* b, std::size_t b_length);

#endif  // WORDLIST_GRAPH_LINE_READING_H
