#include "html_writer.h"

#include <cinttypes>
#include <cstdint>

#include "page_template.h"
#include "word_text.h"

namespace {

// The byte of a word as JSON, when a one-byte character needs escaping;
// null when it stands for itself.
const char* json_escape(unsigned char byte) {
  switch (byte) {
    case '"':
      return "\\\"";
    case '\\':
      return "\\\\";
    case '<':
      return "\\u003C";
    case '>':
      return "\\u003E";
    case '&':
      return "\\u0026";
    default:
      return nullptr;
  }
}

// The elements' addresses, all of one width, as one string.
void write_addresses(std::FILE* out, const ParsedListing& listing, std::size_t drawn) {
  std::fputs(R"(,"addresses":")", out);
  for (std::size_t i = 0; i < drawn; ++i) {
    std::fprintf(out, "%0*" PRIX64, listing.address_digits, listing.elements[i].address);
  }
  std::fputc('"', out);
}

void write_counts(std::FILE* out, const ParsedListing& listing, std::size_t drawn) {
  std::fputs(",\"counts\":[", out);
  for (std::size_t i = 0; i < drawn; ++i) {
    std::fprintf(out, "%s%" PRId32, i == 0 ? "" : ",", listing.elements[i].count);
  }
  std::fputc(']', out);
}

// The drawn elements' indices in ascending order of address.
void write_address_order(std::FILE* out, const ParsedListing& listing, std::size_t drawn) {
  std::fputs(",\"byAddress\":[", out);
  const char* separator = "";
  for (std::size_t rank = 0; rank < listing.size; ++rank) {
    if (listing.by_address[rank] < drawn) {
      std::fprintf(out, "%s%zu", separator, listing.by_address[rank]);
      separator = ",";
    }
  }
  std::fputc(']', out);
}

void write_words(std::FILE* out, const ParsedListing& listing, std::size_t drawn) {
  std::fputs(",\"words\":[", out);
  for (std::size_t i = 0; i < drawn; ++i) {
    std::fputs(i == 0 ? "\n" : ",\n", out);
    html_write_word(out, listing.elements[i].word, listing.elements[i].word_length);
  }
  std::fputc(']', out);
}

// The additions of a replay, each one number: 2i for the insertion of
// element i of the final listing, 2i + 1 for a count of it, -1 - k for
// the k-th word not counted, whose words follow.
void write_steps(std::FILE* out, const ParsedTrace& trace) {
  std::fputs(",\"steps\":[", out);
  std::size_t uncounted = 0;
  for (std::size_t i = 0; i < trace.size; ++i) {
    const TraceStep& step = trace.steps[i];
    const char* separator = i == 0 ? "" : ",";
    if (step.kind == StepKind::kNotCounted) {
      std::fprintf(out, "%s-%zu", separator, ++uncounted);
    } else {
      std::fprintf(out, "%s%zu", separator,
                   2 * step.element + (step.kind == StepKind::kCounted ? 1 : 0));
    }
  }
  std::fputs("],\"uncounted\":[", out);
  const char* separator = "";
  for (std::size_t i = 0; i < trace.size; ++i) {
    if (trace.steps[i].kind == StepKind::kNotCounted) {
      std::fputs(separator, out);
      html_write_word(out, trace.steps[i].word, trace.steps[i].word_length);
      separator = ",";
    }
  }
  std::fputc(']', out);
}

// The listing as one JSON object; `tail` is the last drawn element's NEXT.
// A second run of the same additions goes in as its member "other".
void write_data(std::FILE* out, const ParsedListing& listing, GraphView view, std::size_t drawn,
                const ParsedTrace* trace, const ParsedTrace* other = nullptr) {
  const int digits = listing.address_digits == 0 ? 8 : listing.address_digits;
  const std::uint64_t tail = drawn == 0 ? 0 : listing.elements[drawn - 1].next;
  std::fprintf(out, R"({"digits":%d,"total":%zu,"view":"%s","tail":"%0*)" PRIX64 "\"", digits,
               listing.size, view == GraphView::kList ? "list" : "memory", digits, tail);
  write_addresses(out, listing, drawn);
  write_counts(out, listing, drawn);
  write_address_order(out, listing, drawn);
  write_words(out, listing, drawn);
  if (trace != nullptr) {
    std::fputs(trace->front ? R"(,"build":"front")" : R"(,"build":"sorted")", out);
    write_steps(out, *trace);
  }
  if (other != nullptr) {
    std::fputs(",\"other\":", out);
    write_data(out, other->listing, view, other->listing.size, other);
  }
  std::fputs("}", out);
}

}  // namespace

void html_write_word(std::FILE* out, const char* word, std::size_t length) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(word);
  std::fputc('"', out);
  for (std::size_t at = 0; at < length;) {
    std::uint32_t point = 0;
    const std::size_t sequence = utf8_sequence(bytes + at, length - at, &point);
    if (sequence == 0) {
      std::fprintf(out, "\\uDC%02X", bytes[at]);
      at += 1;
      continue;
    }
    const char* escape = sequence == 1 ? json_escape(bytes[at]) : nullptr;
    if (escape != nullptr) {
      std::fputs(escape, out);
    } else if (point < 0x20) {
      std::fprintf(out, "\\u%04" PRIX32, point);
    } else {
      std::fwrite(bytes + at, 1, sequence, out);
    }
    at += sequence;
  }
  std::fputc('"', out);
}

void html_write(std::FILE* out, const ParsedListing& listing, GraphView view, std::size_t limit) {
  const std::size_t drawn = limit == 0 || limit > listing.size ? listing.size : limit;
  std::fwrite(kPageHead, 1, kPageHeadSize, out);
  write_data(out, listing, view, drawn, nullptr);
  std::fwrite(kPageTail, 1, kPageTailSize, out);
}

void html_write_runs(std::FILE* out, const ParsedTrace& first, const ParsedTrace& second,
                     GraphView view) {
  std::fwrite(kPageHead, 1, kPageHeadSize, out);
  write_data(out, first.listing, view, first.listing.size, &first, &second);
  std::fwrite(kPageTail, 1, kPageTailSize, out);
}

void html_write_runs_data(std::FILE* out, const ParsedTrace& first, const ParsedTrace& second,
                          GraphView view) {
  write_data(out, first.listing, view, first.listing.size, &first, &second);
}

void html_write_replay(std::FILE* out, const ParsedTrace& trace, GraphView view) {
  std::fwrite(kPageHead, 1, kPageHeadSize, out);
  write_data(out, trace.listing, view, trace.listing.size, &trace);
  std::fwrite(kPageTail, 1, kPageTailSize, out);
}
