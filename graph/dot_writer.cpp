#include "dot_writer.h"

#include <cinttypes>
#include <cstdint>

#include "word_text.h"

namespace {

constexpr std::size_t kListRowLength = 6;
constexpr std::size_t kMemoryRowLength = 8;
constexpr std::size_t kShownCharacters = 40;
constexpr const char* kEscapeColour = "#B00020";

// Characters that draw as nothing, or move the text around them.
bool is_invisible(std::uint32_t point) {
  return point < 0x20 || (point >= 0x7F && point <= 0x9F) || (point >= 0x200B && point <= 0x200F) ||
         (point >= 0x2028 && point <= 0x202E) || (point >= 0x2060 && point <= 0x2069) ||
         point == 0xFEFF;
}

// Writes one character of a word, or one byte that starts no character.
// Such bytes and control bytes show as \xHH, other invisible characters as
// \uHHHH, both in a colour of their own so as not to pass for the text.
void write_character(std::FILE* out, const unsigned char* bytes, std::size_t length,
                     std::uint32_t point) {
  if (length == 0 || (length == 1 && is_invisible(point))) {
    std::fprintf(out, R"(<FONT COLOR="%s">\x%02X</FONT>)", kEscapeColour, bytes[0]);
  } else if (is_invisible(point)) {
    std::fprintf(out, R"(<FONT COLOR="%s">\u%04)" PRIX32 "</FONT>", kEscapeColour, point);
  } else if (point == '\\') {
    std::fputs("<FONT>\\</FONT>", out);  // a span of its own: no \N or \G
  } else if (point == '&') {
    std::fputs("&amp;", out);
  } else if (point == '<') {
    std::fputs("&lt;", out);
  } else if (point == '>') {
    std::fputs("&gt;", out);
  } else if (point == '"') {
    std::fputs("&quot;", out);
  } else {
    std::fwrite(bytes, 1, length, out);
  }
}

// Writes one element's box for the list view: position and word, count,
// its own address, and NEXT, from which the arrow leaves.
void write_list_box(std::FILE* out, const ParsedListing& listing, std::size_t index) {
  const ListedElement& element = listing.elements[index];
  const int digits = listing.address_digits;
  std::fprintf(out,
               "  n%zu [label=<<TABLE BORDER=\"0\" CELLBORDER=\"1\" CELLSPACING=\"0\" "
               "CELLPADDING=\"3\"><TR><TD BGCOLOR=\"#E4ECF7\">%zu</TD><TD BGCOLOR=\"#E4ECF7\"><B>",
               index + 1, index + 1);
  dot_write_word(out, element.word, element.word_length);
  std::fprintf(out,
               "</B></TD></TR><TR><TD ALIGN=\"LEFT\">COUNT</TD><TD ALIGN=\"RIGHT\">%" PRId32
               "</TD></TR><TR><TD ALIGN=\"LEFT\">ADR</TD><TD>%0*" PRIX64
               "</TD></TR><TR><TD ALIGN=\"LEFT\">NEXT</TD><TD PORT=\"next\">%0*" PRIX64
               "</TD></TR></TABLE>>];\n",
               element.count, digits, element.address, digits, element.next);
}

// Writes one element's box for the memory view: its address over its
// position, word and count.
void write_memory_box(std::FILE* out, const ParsedListing& listing, std::size_t index) {
  const ListedElement& element = listing.elements[index];
  std::fprintf(out,
               "  n%zu [label=<<TABLE BORDER=\"0\" CELLBORDER=\"1\" CELLSPACING=\"0\" "
               "CELLPADDING=\"3\"><TR><TD BGCOLOR=\"#E4ECF7\"><B>%0*" PRIX64
               "</B></TD></TR><TR><TD>%zu. ",
               index + 1, listing.address_digits, element.address, index + 1);
  dot_write_word(out, element.word, element.word_length);
  std::fprintf(out, " (%" PRId32 ")</TD></TR></TABLE>>];\n", element.count);
}

// The graph's settings, its title and the markers: the head, and where
// the last drawn NEXT leads: the null that ends the list, or the elements
// left out. The
// memory view's rows stand further apart, to leave room for the links
// that run between them.
void write_prologue(std::FILE* out, const ParsedListing& listing, std::size_t drawn,
                    GraphView view) {
  const bool list = view == GraphView::kList;
  std::fprintf(out,
               "digraph wordlist {\n"
               "  graph [labelloc=t, fontname=\"Helvetica\", nodesep=0.25, ranksep=%s, "
               "label=\"%zu element%s in %s",
               list ? "0.45" : "0.9", listing.size, listing.size == 1 ? "" : "s",
               list ? "list order" : "order of address (grey: bytes to the next box, blue: NEXT)");
  if (drawn < listing.size) {
    std::fprintf(out, " (the first %zu of the list drawn)", drawn);
  }
  std::fputs(
      "\"];\n"
      "  node [shape=plaintext, fontname=\"DejaVu Sans Mono\", fontsize=10];\n"
      "  edge [arrowsize=0.7];\n"
      "  head [shape=box, style=rounded, fontname=\"Helvetica\", label=\"head\"];\n",
      out);
  if (drawn == listing.size) {
    std::fputs("  null [shape=plaintext, fontname=\"Helvetica\", label=\"NULL\"];\n", out);
  } else {
    std::fprintf(out,
                 "  more [shape=note, fontname=\"Helvetica\", label=\"... and %zu more "
                 "element%s\"];\n",
                 listing.size - drawn, listing.size - drawn == 1 ? "" : "s");
  }
}

// The index of the element at `rank` in the view's order: list order, or
// ascending address.
std::size_t index_at(const ParsedListing& listing, GraphView view, std::size_t rank) {
  return view == GraphView::kList ? rank : listing.by_address[rank];
}

std::size_t row_length(GraphView view) {
  return view == GraphView::kList ? kListRowLength : kMemoryRowLength;
}

// Lays the drawn boxes out in rows, in the view's order, so that a long
// list reads like a page rather than one line: each row on a rank of its
// own, its first box held under the first box of the row above.
void write_rows(std::FILE* out, const ParsedListing& listing, std::size_t drawn, GraphView view) {
  std::size_t in_row = 0;
  std::size_t row_start = 0;
  for (std::size_t rank = 0; rank < listing.size; ++rank) {
    const std::size_t index = index_at(listing, view, rank);
    if (index >= drawn) {
      continue;
    }
    if (in_row == 0) {
      if (row_start != 0) {
        std::fprintf(out, "  n%zu -> n%zu [style=invis, weight=100];\n", row_start, index + 1);
      }
      row_start = index + 1;
      std::fputs("  { rank=same;", out);
    }
    std::fprintf(out, " n%zu;", index + 1);
    if (++in_row == row_length(view)) {
      std::fputs(" }\n", out);
      in_row = 0;
    }
  }
  if (in_row > 0) {
    std::fputs(" }\n", out);
  }
}

// An edge from the end of one row to the start of the next must not pull
// the rows out of line.
bool crosses_rows(std::size_t drawn_before, GraphView view) {
  return drawn_before % row_length(view) == 0;
}

// In the memory view, each box is joined to the next one up in memory by
// a grey line that gives the distance in bytes; these lines set the order.
void write_distances(std::FILE* out, const ParsedListing& listing, std::size_t drawn) {
  const ListedElement* previous = nullptr;
  std::size_t previous_index = 0;
  std::size_t before = 0;  // boxes drawn before this one
  for (std::size_t rank = 0; rank < listing.size; ++rank) {
    const std::size_t index = listing.by_address[rank];
    if (index >= drawn) {
      continue;
    }
    const ListedElement& element = listing.elements[index];
    if (previous != nullptr) {
      std::fprintf(out,
                   "  n%zu -> n%zu [color=\"#909090\", fontcolor=\"#606060\", fontsize=9, "
                   "arrowhead=none, label=\"+%" PRIu64 " B\"%s];\n",
                   previous_index + 1, index + 1, element.address - previous->address,
                   crosses_rows(before, GraphView::kMemory) ? ", constraint=false" : "");
    }
    previous = &element;
    previous_index = index;
    ++before;
  }
}

// The links: the head to the first box, each NEXT to the following box,
// the last drawn NEXT to a marker. In the memory view they are drawn over
// the address order without changing it.
void write_links(std::FILE* out, std::size_t size, std::size_t drawn, GraphView view) {
  const bool list = view == GraphView::kList;
  const char* port = list ? ":next" : "";
  // Translucent in the memory view, where many cross.
  const char* style = list ? "" : "color=\"#1F5FBF99\", penwidth=0.8, constraint=false";
  if (drawn == 0) {
    std::fprintf(out, "  head -> null [%s];\n", style);
    return;
  }
  std::fprintf(out, "  head -> n1 [%s];\n", style);
  for (std::size_t position = 1; position < drawn; ++position) {
    std::fprintf(out, "  n%zu%s -> n%zu [%s%s];\n", position, port, position + 1, style,
                 list && crosses_rows(position, view) ? "constraint=false" : "");
  }
  std::fprintf(out, "  n%zu%s -> %s [%s];\n", drawn, port, drawn < size ? "more" : "null", style);
}

}  // namespace

void dot_write_word(std::FILE* out, const char* word, std::size_t length) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(word);
  std::size_t at = 0;
  for (std::size_t shown = 0; at < length && shown < kShownCharacters; ++shown) {
    std::uint32_t point = 0;
    const std::size_t sequence = utf8_sequence(bytes + at, length - at, &point);
    write_character(out, bytes + at, sequence, point);
    at += sequence == 0 ? 1 : sequence;
  }
  if (at < length) {
    std::fprintf(out, "&#8230; (%zu bytes)", length);
  }
}

void dot_write(std::FILE* out, const ParsedListing& listing, GraphView view, std::size_t limit) {
  const std::size_t drawn = limit == 0 || limit > listing.size ? listing.size : limit;
  const bool list = view == GraphView::kList;
  write_prologue(out, listing, drawn, view);
  for (std::size_t index = 0; index < drawn; ++index) {
    (list ? write_list_box : write_memory_box)(out, listing, index);
  }
  write_rows(out, listing, drawn, view);
  if (!list) {
    write_distances(out, listing, drawn);
  }
  write_links(out, listing.size, drawn, view);
  std::fputs("}\n", out);
}
