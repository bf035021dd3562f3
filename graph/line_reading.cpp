#include "line_reading.h"

#include <cstring>

#include "word_delimiters.h"

namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

}  // namespace

bool find_line_end(const char* at, const char* end, LineEnd* line_end) {
  const void* feed = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
  if (feed == nullptr) {
    return false;
  }
  const char* content_end = static_cast<const char*>(feed);
  line_end->crlf = content_end > at && content_end[-1] == '\r';
  line_end->content_end = line_end->crlf ? content_end - 1 : content_end;
  line_end->next_line = content_end + 1;
  return true;
}

bool fail(LineReader* reader, const char* what) {
  reader->error->line = reader->line;
  reader->error->what = what;
  return false;
}

bool first_line(LineReader* reader, Cursor* line) {
  LineEnd line_end{};
  if (!find_line_end(reader->at, reader->end, &line_end)) {
    return fail(reader, reader->faults->cut_short);
  }
  reader->crlf = line_end.crlf;
  *line = Cursor{reader->at, line_end.content_end};
  reader->at = line_end.next_line;
  return true;
}

bool next_line(LineReader* reader, Cursor* line) {
  LineEnd line_end{};
  if (!find_line_end(reader->at, reader->end, &line_end)) {
    return fail(reader, reader->faults->cut_short);
  }
  if (line_end.crlf != reader->crlf) {
    return fail(reader, reader->faults->mixed);
  }
  *line = Cursor{reader->at, line_end.content_end};
  reader->at = line_end.next_line;
  return true;
}

bool take(Cursor* cursor, const char* literal) {
  const std::size_t length = std::strlen(literal);
  if (static_cast<std::size_t>(cursor->end - cursor->at) < length ||
      std::memcmp(cursor->at, literal, length) != 0) {
    return false;
  }
  cursor->at += length;
  return true;
}

int take_hex(Cursor* cursor, std::uint64_t* value) {
  int digits = 0;
  *value = 0;
  for (; cursor->at < cursor->end && hex_digit(*cursor->at) >= 0; ++cursor->at) {
    if (++digits > 16) {
      return 0;
    }
    *value = *value << 4U | static_cast<unsigned>(hex_digit(*cursor->at));
  }
  return digits;
}

bool word_bytes_valid(const Cursor& cursor) {
  if (cursor.at == cursor.end) {
    return false;
  }
  for (const char* byte = cursor.at; byte < cursor.end; ++byte) {
    // A delimiter would have ended the word; strchr would find the
    // terminator itself in a zero byte.
    if (*byte == '\0' || std::strchr(kWordDelimiters, *byte) != nullptr) {
      return false;
    }
  }
  return true;
}

int compare_word_bytes(const char* a, std::size_t a_length, const char* b, std::size_t b_length) {
  const int order = std::memcmp(a, b, a_length < b_length ? a_length : b_length);
  if (order != 0) {
    return order;
  }
  return a_length < b_length ? -1 : a_length > b_length ? 1 : 0;
}
