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
#include "drawing_checks.h"
#include "html_writer.h"
#include "listing_reader.h"

namespace {

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
  check_page([&listing](std::FILE* out) { html_write(out, listing, GraphView::kList, 0); });
  listing_release(&listing);
  return 0;
}
