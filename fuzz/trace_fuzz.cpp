// Fuzz target for the trace reader and the replay page: any bytes as a
// trace. Whatever the reader accepts must replay to its own listing, as
// a plain model of the sorted list replays it here: each element
// inserted once, where the word sorts, before any count of it, each
// count one higher, the counts at the end the listing's. Its drawing and
// its page must be as safe as a listing's.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "dot_writer.h"
#include "drawing_checks.h"
#include "html_writer.h"
#include "line_reading.h"
#include "trace_reader.h"

namespace {

bool same_word(const TraceStep& step, const ListedElement& element) {
  return step.word_length == element.word_length &&
         std::memcmp(step.word, element.word, step.word_length) == 0;
}

// Replays the steps on the final listing's elements: the list at each
// step is the elements inserted so far, in the listing's (sorted) order.
void check_replay(const ParsedTrace& trace) {
  const ParsedListing& listing = trace.listing;
  std::vector<std::int32_t> counts(listing.size, 0);
  for (std::size_t i = 0; i < trace.size; ++i) {
    const TraceStep& step = trace.steps[i];
    if (step.kind == StepKind::kNotCounted) {
      require(step.element == SIZE_MAX && step.word_length > 0, "a word not counted is named");
      continue;
    }
    require(step.element < listing.size, "a step names no element of the listing");
    require(same_word(step, listing.elements[step.element]), "a step's word is not its element's");
    std::int32_t& count = counts[step.element];
    require((step.kind == StepKind::kInserted) == (count == 0),
            "an element is counted before it is inserted, or inserted twice");
    ++count;
  }
  for (std::size_t i = 0; i < listing.size; ++i) {
    require(counts[i] == listing.elements[i].count, "a count differs from the steps' count");
    require(i == 0 || compare_word_bytes(
                          listing.elements[i - 1].word, listing.elements[i - 1].word_length,
                          listing.elements[i].word, listing.elements[i].word_length) < 0,
            "the listing's words are not in order");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ParsedTrace trace{};
  ListingError error{};
  const ReadResult result = trace_read(reinterpret_cast<const char*>(data), size, &trace, &error);
  if (result != ReadResult::kRead) {
    require(result == ReadResult::kInvalid && error.line >= 1 && error.what != nullptr,
            "a rejection without its line or reason");
    require(trace.steps == nullptr && trace.listing.elements == nullptr,
            "a rejected trace kept its steps");
    return 0;
  }
  check_replay(trace);
  check_drawing(trace.listing, GraphView::kMemory, 0);
  check_page([&trace](std::FILE* out) { html_write_replay(out, trace, GraphView::kList); });
  trace_release(&trace);
  return 0;
}
