// Fuzz target for the listing reader and the DOT and page writers: any
// bytes as a listing. Whatever the reader accepts must hang together as a
// list, its drawing must be UTF-8 whose labels no word can open or close,
// and its page UTF-8 whose data no word can leave.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dot_writer.h"
#include "html_writer.h"
#include "listing_reader.h"

namespace {

void require(bool condition, const char* what) {
  if (!condition) {
    (void)std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

void check_list(const ParsedListing& listing) {
  for (std::size_t i = 0; i < listing.size; ++i) {
    const ListedElement& element = listing.elements[i];
    const std::uint64_t next = i + 1 < listing.size ? listing.elements[i + 1].address : 0;
    require(element.next == next, "a NEXT is not the following element");
    require(element.count >= 1 && element.word_length > 0, "a count or a word is missing");
    require(i == 0 || listing.elements[listing.by_address[i - 1]].address <
                          listing.elements[listing.by_address[i]].address,
            "addresses are not strictly ascending in address order");
  }
}

// Strictly well-formed UTF-8: no stray, overlong, surrogate or too large.
bool is_utf8(const unsigned char* text, std::size_t size) {
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
bool labels_balanced(const char* text, std::size_t size) {
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

void check_drawing(const ParsedListing& listing, GraphView view, std::size_t limit) {
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
// open any other.
void check_page(const ParsedListing& listing) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  require(out != nullptr, "no memory stream");
  html_write(out, listing, GraphView::kList, 0);
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ParsedListing listing{};
  ListingError error{};
  const ReadResult result =
      listing_read(reinterpret_cast<const char*>(data), size, &listing, &error);
  if (result != ReadResult::kRead) {
    require(result == ReadResult::kInvalid && error.line >= 1 && error.what != nullptr,
            "a rejection without its line or reason");
    require(listing.elements == nullptr, "a rejected listing kept its elements");
    return 0;
  }
  check_list(listing);
  check_drawing(listing, GraphView::kList, 3);
  check_drawing(listing, GraphView::kMemory, 0);
  check_page(listing);
  listing_release(&listing);
  return 0;
}
