// Reading the lines that the programs write, field by field: what the
// listing reader and the trace reader share.
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

// Finds the end of the line starting at `at`; false when the text ends
// before a line feed.
bool find_line_end(const char* at, const char* end, LineEnd* line_end);

// Takes `literal` from the cursor; false, taking nothing, when the line
// does not go on with it.
bool take(Cursor* cursor, const char* literal);

// Takes a run of upper-case hexadecimal digits, at most 16; returns how
// many, 0 when there are none or too many.
int take_hex(Cursor* cursor, std::uint64_t* value);

// Whether the rest of the line is a word: at least one byte, none of them
// a delimiter or a zero byte.
bool word_bytes_valid(const Cursor& cursor);

// Orders two words as the list does: by unsigned bytes, a proper prefix
// first.
int compare_words(const char* a, std::size_t a_length, const char* b, std::size_t b_length);

#endif  // WORDLIST_GRAPH_LINE_READING_H
