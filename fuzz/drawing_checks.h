// What the fuzz targets require of every drawing and page written from
// an input that a reader accepted: UTF-8, labels that no word can open
// or close, and page data that no word can leave.
#ifndef WORDLIST_FUZZ_DRAWING_CHECKS_H
#define WORDLIST_FUZZ_DRAWING_CHECKS_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dot_writer.h"
#include "html_writer.h"
#include "listing_reader.h"

inline void require(bool condition, const char* what) {
  if (!condition) {
    (void)std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

// Strictly well-formed UTF-8: no stray, overlong, surrogate or too large.
inline bool is_utf8(const unsigned char* text, std::size_t size) {
  for (std::size_t at = 0; at < size;) {
    const unsigned char lead = text[at];
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || at + length > size) {
      return false;
    }
    std::uint32_t point = length == 1 ? lead : lead & (0x7FU >> length);
    for (std::size_t i = 1; i < length; ++i) {
      if ((text[at + i] & 0xC0U) != 0x80U) {
        return false;
      }
      point = point << 6U | (text[at + i] & 0x3FU);
    }
    const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < least[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
      return false;
    }
    at += length;
  }
  return true;
}

// Every line of the graph opens as many angle brackets as it closes (the
// edge operator -> aside): a word that added one would end its label early
// or swallow what follows.
inline bool labels_balanced(const char* text, std::size_t size) {
  long depth = 0;
  for (std::size_t at = 0; at < size; ++at) {
    const bool edge = at > 0 && text[at - 1] == '-' && text[at] == '>';
    depth += text[at] == '<' ? 1 : text[at] == '>' && !edge ? -1 : 0;
    if (depth < 0 || (text[at] == '\n' && depth != 0)) {
      return false;
    }
  }
  return depth == 0;
}

inline void check_drawing(const ParsedListing& listing, GraphView view, std::size_t limit) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  require(out != nullptr, "no memory stream");
  dot_write(out, listing, view, limit);
  require(std::fclose(out) == 0, "the memory stream did not close");
  require(is_utf8(reinterpret_cast<const unsigned char*>(text), size), "the graph is not UTF-8");
  require(labels_balanced(text, size), "a label's brackets do not balance");
  std::free(text);
}

// The page's data holds no '<' at all: no word can end its element, or
// open any other. `write` writes the page to a stream.
template <typename Write>
void check_page(Write write) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  require(out != nullptr, "no memory stream");
  write(out);
  require(std::fclose(out) == 0, "the memory stream did not close");
  require(is_utf8(reinterpret_cast<const unsigned char*>(text), size), "the page is not UTF-8");
  const char open[] = "id=\"listing\">";
  const char* data = std::strstr(text, open);
  require(data != nullptr, "the page has no data");
  data += sizeof open - 1;
  const char* end = std::strstr(data, "</script>");
  require(end != nullptr && std::memchr(data, '<', static_cast<std::size_t>(end - data)) == nullptr,
          "a word reaches out of the page's data");
  require(std::strstr(end + 1, open) == nullptr, "the page holds its data twice");
  std::free(text);
}

#endif  // WORDLIST_FUZZ_DRAWING_CHECKS_H
