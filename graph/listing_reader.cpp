#include "listing_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr char kHeader[] = "Seznam - adresa prvniho prvku: ";
constexpr char kEmptyList[] = "Seznam je prazdny.";

// Every line must end as the header does.
constexpr LineEndFaults kLineEndFaults{
    "the line has no line end: the listing is cut short",
    "the line ends otherwise than the header (LF and CR LF mixed)"};

bool take_address(Cursor* cursor, int digits, std::uint64_t* value) {
  return take_hex(cursor, value) == digits;
}

// Takes a count as "%3d" writes it: right-aligned in three characters, or
// wider with no blank. Returns what is wrong, or null.
const char* take_count(Cursor* cursor, std::int32_t* count) {
  int blanks = 0;
  for (; cursor->at < cursor->end && *cursor->at == ' '; ++cursor->at) {
    ++blanks;
  }
  const bool negative = cursor->at < cursor->end && *cursor->at == '-';
  cursor->at += negative ? 1 : 0;
  int digits = 0;
  std::int64_t value = 0;
  for (; cursor->at < cursor->end && *cursor->at >= '0' && *cursor->at <= '9'; ++cursor->at) {
    value = value * 10 + (*cursor->at - '0');
    if (++digits > 10) {
      return "COUNT is larger than 2147483647";
    }
  }
  const int width = digits + (negative ? 1 : 0);
  if (digits == 0 || blanks != std::max(0, 3 - width) ||
      (digits > 1 && cursor->at[-digits] == '0')) {
    return "COUNT is not a number as the program writes it";
  }
  if (negative || value < 1) {
    return "COUNT is below 1";
  }
  if (value > INT32_MAX) {
    return "COUNT is larger than 2147483647";
  }
  *count = static_cast<std::int32_t>(value);
  return nullptr;
}

// Reads the header (or the empty-list line), which sets the line end and
// the address width for the rest. `head` is the first element's address,
// 0 for an empty list.
bool read_header(LineReader* reader, int* digits, std::uint64_t* head) {
  if (reader->at == reader->end) {
    return fail(reader, "the input is empty: no listing");
  }
  Cursor line{};
  if (!first_line(reader, &line)) {
    return false;
  }
  Cursor empty = line;
  if (take(&empty, kEmptyList) && empty.at == empty.end) {
    *head = 0;
    ++reader->line;
    return reader->at == reader->end || fail(reader, "a line follows the empty-list line");
  }
  if (!take(&line, kHeader)) {
    return fail(reader, "not a listing: expected its header or the empty-list line");
  }
  *digits = take_hex(&line, head);
  if ((*digits != 8 && *digits != 16) || line.at != line.end) {
    return fail(reader, "the header's address is not 8 or 16 upper-case hexadecimal digits");
  }
  if (*head == 0) {
    return fail(reader, "the header's address is null");
  }
  ++reader->line;
  return true;
}

// Reads the element line for `position`, which must begin at `expected`.
bool read_element(LineReader* reader, std::size_t position, std::uint64_t expected, int digits,
                  ListedElement* element) {
  Cursor line{};
  if (!next_line(reader, &line)) {
    return false;
  }
  char prefix[32];
  (void)std::snprintf(prefix, sizeof prefix, "%3zu ADR: ", position);
  if (!take(&line, prefix)) {
    return fail(reader, "the position is not the next one (they run 1, 2, 3, ...)");
  }
  if (!take_address(&line, digits, &element->address)) {
    return fail(reader, "ADR is not an address as wide as the header's");
  }
  if (element->address != expected) {
    return fail(reader, position == 1 ? "ADR differs from the header's address"
                                      : "ADR differs from the NEXT of the line before");
  }
  if (!take(&line, " NEXT: ")) {
    return fail(reader, "NEXT is missing");
  }
  if (!take_address(&line, digits, &element->next)) {
    return fail(reader, "NEXT is not an address as wide as the header's");
  }
  if (!take(&line, " COUNT: ")) {
    return fail(reader, "COUNT is missing");
  }
  if (const char* wrong = take_count(&line, &element->count)) {
    return fail(reader, wrong);
  }
  if (!take(&line, " WORD: ")) {
    return fail(reader, "WORD is missing");
  }
  if (!word_bytes_valid(line)) {
    return fail(reader, "WORD is empty or holds a delimiter or zero byte");
  }
  element->word = line.at;
  element->word_length = static_cast<std::size_t>(line.end - line.at);
  return true;
}

// Reads the element lines that follow the header, up to the element whose
// NEXT is null, which must be the last line.
bool read_elements(LineReader* reader, std::uint64_t head, int digits, ParsedListing* listing) {
  std::uint64_t expected = head;
  while (expected != 0) {
    if (reader->at == reader->end && listing->size == 0) {
      return fail(reader, "no element follows the header");
    }
    if (reader->at == reader->end) {
      --reader->line;  // the fault is in the last line's NEXT
      return fail(reader, "NEXT is not null, but no element follows");
    }
    if (!read_element(reader, listing->size + 1, expected, digits,
                      &listing->elements[listing->size])) {
      return false;
    }
    expected = listing->elements[listing->size].next;
    ++listing->size;
    ++reader->line;
  }
  return reader->at == reader->end ||
         fail(reader, "a line follows the last element, whose NEXT is null");
}

// Orders the elements by address; two elements at one address cannot be.
// Elements at one address stand in list order, so that the second of each
// is the first to repeat it: the earliest of those is the line at fault.
bool sort_by_address(LineReader* reader, ParsedListing* listing) {
  const ListedElement* elements = listing->elements;
  for (std::size_t i = 0; i < listing->size; ++i) {
    listing->by_address[i] = i;
  }
  std::sort(listing->by_address, listing->by_address + listing->size,
            [elements](std::size_t a, std::size_t b) {
              return elements[a].address != elements[b].address
                         ? elements[a].address < elements[b].address
                         : a < b;
            });
  std::size_t repeat = SIZE_MAX;
  for (std::size_t i = 1; i < listing->size; ++i) {
    const std::size_t b = listing->by_address[i];
    if (elements[listing->by_address[i - 1]].address == elements[b].address) {
      repeat = std::min(repeat, b);
    }
  }
  if (repeat != SIZE_MAX) {
    reader->line = repeat + 2;  // after the header, 1-based
    return fail(reader, "ADR is that of an earlier element");
  }
  return true;
}

// Allocates room for as many elements as the text has lines.
bool allocate(const char* text, std::size_t size, ParsedListing* listing) {
  const std::size_t lines = static_cast<std::size_t>(std::count(text, text + size, '\n'));
  listing->elements = new (std::nothrow) ListedElement[lines + 1];
  listing->by_address = new (std::nothrow) std::size_t[lines + 1];
  return listing->elements != nullptr && listing->by_address != nullptr;
}

}  // namespace

ReadResult listing_read(const char* text, std::size_t size, ParsedListing* listing,
                        ListingError* error) {
  *listing = ParsedListing{};
  LineReader reader{text, text + size, 1, false, &kLineEndFaults, error};
  int digits = 0;
  std::uint64_t head = 0;
  if (!read_header(&reader, &digits, &head)) {
    return ReadResult::kInvalid;
  }
  listing->address_digits = digits;
  if (head == 0) {
    return ReadResult::kRead;
  }
  if (!allocate(text, size, listing)) {
    listing_release(listing);
    return ReadResult::kNoMemory;
  }
  if (!read_elements(&reader, head, digits, listing) || !sort_by_address(&reader, listing)) {
    listing_release(listing);
    return ReadResult::kInvalid;
  }
  return ReadResult::kRead;
}

void listing_release(ParsedListing* listing) {
  delete[] listing->elements;
  delete[] listing->by_address;
  *listing = ParsedListing{};
}
