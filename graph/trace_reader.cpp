#include "trace_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "line_reading.h"

namespace {

constexpr char kFormatName[] = "wordlist-trace ";
constexpr char kFormatLine[] = "wordlist-trace 1";
constexpr char kFrontMark[] = " front";
constexpr char kListingStart[] = "Seznam ";
constexpr std::size_t kNone = SIZE_MAX;

// One element of the list as the trace builds it, in order of insertion.
struct Replayed {
  std::uint64_t address;
  const char* word;
  std::size_t word_length;
  std::int32_t count;
  std::size_t next;    // the following element's id, or kNone
  std::size_t listed;  // its index in the final listing, once matched
};

// A word, as a trace line holds it.
struct Word {
  const char* bytes;
  std::size_t length;
};

// The list replayed so far, and its elements found by address: every
// address that the trace inserts, in ascending order (`addresses`, as
// many as `inserted`), and for each the id of its element once it is
// inserted (`ids`, kNone before). A binary search finds an address in
// O(log N) steps whatever the addresses are, so that no choice of them can
// make the reading slow. The words that the trace inserts are found the
// same way (`words`, `word_ids`): a front trace's list keeps no order
// that would show a word already in it.
struct Replay {
  Replayed* elements;
  std::size_t size;
  std::size_t head;
  std::uint64_t* addresses;
  std::size_t* ids;
  std::size_t inserted;
  Word* words;
  std::size_t* word_ids;
};

// Every line must end as the first one does.
constexpr LineEndFaults kLineEndFaults{
    "the line has no line end: the trace is cut short",
    "the line ends otherwise than the first line (LF and CR LF mixed)"};

// The state of a reading: its lines, and what the trace has said so far.
struct Reader {
  LineReader lines;
  bool front;  // the first line names a run of list_add_front
  int digits;  // of every address; 0 until the first
};

// One addition line, as read, and where.
struct Addition {
  StepKind kind;
  std::uint64_t address;
  std::uint64_t after;  // inserted: 0 for the head
  bool at_head;
  std::int32_t count;
  const char* word;
  std::size_t word_length;
  std::size_t line;
};

// Where `address` stands among the inserted addresses, or kNone.
std::size_t rank_of(const Replay& replay, std::uint64_t address) {
  const std::uint64_t* first = replay.addresses;
  const std::uint64_t* end = first + replay.inserted;
  const std::uint64_t* at = std::lower_bound(first, end, address);
  return at != end && *at == address ? static_cast<std::size_t>(at - replay.addresses) : kNone;
}

bool word_before(const Word& a, const Word& b) {
  return compare_word_bytes(a.bytes, a.length, b.bytes, b.length) < 0;
}

// The id of the element at the address that an insertion inserts (one of
// the indexed addresses), or kNone; to be set when it is inserted.
std::size_t& inserted_id(const Replay& replay, const Addition& addition) {
  return replay.ids[rank_of(replay, addition.address)];
}

// The id of the element holding the addition's word, or kNone; to be set
// when the word is inserted.
std::size_t& word_id(const Replay& replay, const Addition& addition) {
  const Word word{addition.word, addition.word_length};
  const Word* at =
      std::lower_bound(replay.words, replay.words + replay.inserted, word, word_before);
  return replay.word_ids[at - replay.words];
}

// The id of the element at `address`, or kNone.
std::size_t find(const Replay& replay, std::uint64_t address) {
  const std::size_t rank = rank_of(replay, address);
  return rank == kNone ? kNone : replay.ids[rank];
}

bool read_format(Reader* reader) {
  Cursor line{};
  if (!first_line(&reader->lines, &line)) {
    return false;
  }
  Cursor format = line;
  const bool known = take(&format, kFormatLine);
  reader->front = known && take(&format, kFrontMark);
  if (!known || format.at != format.end) {
    return fail(&reader->lines, take(&line, kFormatName)
                                    ? "the trace's format is not version 1"
                                    : "not a trace: expected wordlist-trace 1");
  }
  return true;
}

bool read_address(Reader* reader, Cursor* line, std::uint64_t* address) {
  const int digits = take_hex(line, address);
  if (digits != 8 && digits != 16) {
    return fail(&reader->lines, "an address is not 8 or 16 upper-case hexadecimal digits");
  }
  if (reader->digits != 0 && digits != reader->digits) {
    return fail(&reader->lines, "an address is not as wide as the trace's first");
  }
  reader->digits = digits;
  return true;
}

// A counted count as the trace writes it: decimal, unpadded, at least 2.
bool read_count(Reader* reader, Cursor* line, std::int32_t* count) {
  std::int64_t value = 0;
  const char* first = line->at;
  for (; line->at < line->end && *line->at >= '0' && *line->at <= '9'; ++line->at) {
    value = value * 10 + (*line->at - '0');
    if (value > INT32_MAX) {
      return fail(&reader->lines, "COUNT is larger than 2147483647");
    }
  }
  if (line->at == first || *first == '0' || value < 2) {
    return fail(&reader->lines, "COUNT is not a count as the trace writes it");
  }
  *count = static_cast<std::int32_t>(value);
  return true;
}

bool read_word(Reader* reader, Cursor* line, Addition* addition) {
  if (!take(line, " WORD: ")) {
    return fail(&reader->lines, "WORD is missing");
  }
  if (!word_bytes_valid(*line)) {
    return fail(&reader->lines, "WORD is empty or holds a delimiter or zero byte");
  }
  addition->word = line->at;
  addition->word_length = static_cast<std::size_t>(line->end - line->at);
  return true;
}

// Reads one addition line, as the program writes it.
bool read_addition(Reader* reader, Cursor line, Addition* addition) {
  *addition = Addition{};
  if (take(&line, "not counted")) {
    addition->kind = StepKind::kNotCounted;
    return read_word(reader, &line, addition);
  }
  if (take(&line, "counted ")) {
    addition->kind = StepKind::kCounted;
    return read_address(reader, &line, &addition->address) &&
           (take(&line, " COUNT: ") || fail(&reader->lines, "COUNT is missing")) &&
           read_count(reader, &line, &addition->count) && read_word(reader, &line, addition);
  }
  if (!take(&line, "inserted ")) {
    return fail(&reader->lines,
                "not an addition as the trace writes it (inserted, counted, not counted)");
  }
  addition->kind = StepKind::kInserted;
  if (!read_address(reader, &line, &addition->address)) {
    return false;
  }
  addition->at_head = take(&line, " at head");
  if (!addition->at_head && !take(&line, " after ")) {
    return fail(&reader->lines,
                "an inserted element is linked neither at head nor after an address");
  }
  return (addition->at_head || read_address(reader, &line, &addition->after)) &&
         read_word(reader, &line, addition);
}

int compare(const Replayed& element, const Addition& addition) {
  return compare_word_bytes(element.word, element.word_length, addition.word, addition.word_length);
}

// Links a new element where the line says, if it is new and its word
// keeps the list in order there.
bool replay_insertion(Reader* reader, Replay* replay, const Addition& addition, std::size_t* id) {
  if (addition.address == 0) {
    return fail(&reader->lines, "ADR is null");
  }
  std::size_t& same_address = inserted_id(*replay, addition);
  if (same_address != kNone) {
    return fail(&reader->lines, "ADR is already an element: an inserted element must be new");
  }
  std::size_t& same_word = word_id(*replay, addition);
  if (same_word != kNone) {
    return fail(&reader->lines, "the word is in the list already: it would have been counted");
  }
  if (reader->front && !addition.at_head) {
    return fail(&reader->lines,
                "a new element is linked after another: a front trace links it at head");
  }
  std::size_t before = kNone;
  if (!addition.at_head) {
    before = find(*replay, addition.after);
    if (before == kNone) {
      return fail(&reader->lines, "the element it is linked after is not in the list");
    }
  }
  const std::size_t after = before == kNone ? replay->head : replay->elements[before].next;
  const int below = before == kNone ? -1 : compare(replay->elements[before], addition);
  const int above = after == kNone ? 1 : compare(replay->elements[after], addition);
  if (!reader->front && (below >= 0 || above <= 0)) {
    return fail(&reader->lines, "the word would not stand in order where it is linked");
  }
  *id = replay->size++;
  replay->elements[*id] =
      Replayed{addition.address, addition.word, addition.word_length, 1, after, kNone};
  (before == kNone ? replay->head : replay->elements[before].next) = *id;
  same_address = *id;
  same_word = *id;
  return true;
}

bool replay_count(Reader* reader, Replay* replay, const Addition& addition, std::size_t* id) {
  *id = find(*replay, addition.address);
  if (*id == kNone) {
    return fail(&reader->lines, "ADR is not an element of the list");
  }
  Replayed& element = replay->elements[*id];
  if (compare(element, addition) != 0) {
    return fail(&reader->lines, "the element at ADR holds another word");
  }
  if (addition.count != element.count + 1) {
    return fail(&reader->lines, "COUNT is not the element's count plus one");
  }
  element.count = addition.count;
  return true;
}

// Reads the addition lines, up to the final listing, into `additions`
// (`*count` of them). False, with the reader's error set, at the first
// line that is not one; what was read before it is kept.
bool read_additions(Reader* reader, Addition* additions, std::size_t* count) {
  for (;;) {
    ++reader->lines.line;
    if (reader->lines.at == reader->lines.end) {
      return fail(&reader->lines, "the trace ends without its final listing");
    }
    Cursor start{reader->lines.at, reader->lines.end};
    if (take(&start, kListingStart)) {
      return true;
    }
    Cursor line{};
    Addition& addition = additions[*count];
    if (!next_line(&reader->lines, &line) || !read_addition(reader, line, &addition)) {
      return false;
    }
    addition.line = reader->lines.line;
    ++*count;
  }
}

// Sorts the addresses and the words that the additions insert, for
// finding them.
void index_insertions(const Addition* additions, std::size_t count, Replay* replay) {
  for (std::size_t i = 0; i < count; ++i) {
    if (additions[i].kind == StepKind::kInserted) {
      replay->words[replay->inserted] = Word{additions[i].word, additions[i].word_length};
      replay->addresses[replay->inserted++] = additions[i].address;
    }
  }
  std::sort(replay->addresses, replay->addresses + replay->inserted);
  std::fill(replay->ids, replay->ids + replay->inserted, kNone);
  std::sort(replay->words, replay->words + replay->inserted, word_before);
  std::fill(replay->word_ids, replay->word_ids + replay->inserted, kNone);
}

// Replays the additions in order; false, naming the line, at the first
// that breaks a rule of the list.
bool replay_additions(Reader* reader, const Addition* additions, std::size_t count, Replay* replay,
                      ParsedTrace* trace) {
  for (std::size_t i = 0; i < count; ++i) {
    const Addition& addition = additions[i];
    reader->lines.line = addition.line;
    std::size_t id = kNone;
    if ((addition.kind == StepKind::kInserted &&
         !replay_insertion(reader, replay, addition, &id)) ||
        (addition.kind == StepKind::kCounted && !replay_count(reader, replay, addition, &id))) {
      return false;
    }
    trace->steps[trace->size++] = TraceStep{addition.kind, id, addition.word, addition.word_length};
  }
  return true;
}

// Reads the final listing and checks that it is the replayed list.
ReadResult read_final_listing(Reader* reader, Replay* replay, ParsedTrace* trace) {
  const std::size_t listing_line = reader->lines.line;
  LineEnd line_end{};
  if (find_line_end(reader->lines.at, reader->lines.end, &line_end) &&
      line_end.crlf != reader->lines.crlf) {
    fail(&reader->lines, kLineEndFaults.mixed);
    return ReadResult::kInvalid;
  }
  const ReadResult result =
      listing_read(reader->lines.at, static_cast<std::size_t>(reader->lines.end - reader->lines.at),
                   &trace->listing, reader->lines.error);
  if (result != ReadResult::kRead) {
    reader->lines.error->line += listing_line - 1;
    return result;
  }
  const ParsedListing& listing = trace->listing;
  if (listing.size > 0 && reader->digits != 0 && listing.address_digits != reader->digits) {
    fail(&reader->lines, "the listing's addresses are not as wide as the trace's");
    return ReadResult::kInvalid;
  }
  std::size_t index = 0;
  for (std::size_t id = replay->head; id != kNone; id = replay->elements[id].next, ++index) {
    Replayed& element = replay->elements[id];
    reader->lines.line = listing_line + std::min(index + 1, listing.size);
    const char* wrong =
        index >= listing.size ? (listing.size == 0 ? "the replayed list is not empty"
                                                   : "the listing ends before the replayed list")
        : listing.elements[index].address != element.address
            ? "ADR is not the replayed list's element at this position"
        : listing.elements[index].count != element.count ? "COUNT differs from the replayed count"
        : compare_word_bytes(listing.elements[index].word, listing.elements[index].word_length,
                             element.word, element.word_length) != 0
            ? "WORD differs from the replayed word"
            : nullptr;
    if (wrong != nullptr) {
      fail(&reader->lines, wrong);
      return ReadResult::kInvalid;
    }
    element.listed = index;
  }
  if (index < listing.size) {
    reader->lines.line = listing_line + index + 1;
    fail(&reader->lines, "the replayed list ends before this element");
    return ReadResult::kInvalid;
  }
  return ReadResult::kRead;
}

// Room for as many additions, elements and addresses as the text has
// lines.
struct Room {
  Addition* additions;
  std::size_t lines;
};

bool allocate(const char* text, std::size_t size, Room* room, Replay* replay, ParsedTrace* trace) {
  room->lines = static_cast<std::size_t>(std::count(text, text + size, '\n')) + 1;
  const std::size_t lines = room->lines;
  room->additions = new (std::nothrow) Addition[lines];
  replay->elements = new (std::nothrow) Replayed[lines];
  replay->addresses = new (std::nothrow) std::uint64_t[lines];
  replay->ids = new (std::nothrow) std::size_t[lines];
  replay->words = new (std::nothrow) Word[lines];
  replay->word_ids = new (std::nothrow) std::size_t[lines];
  trace->steps = new (std::nothrow) TraceStep[lines];
  return room->additions != nullptr && replay->elements != nullptr &&
         replay->addresses != nullptr && replay->ids != nullptr && replay->words != nullptr &&
         replay->word_ids != nullptr && trace->steps != nullptr;
}

// Reads the additions, replays them, then reads the final listing. The
// first line that breaks a rule is the one reported: a replay that fails
// before a line that cannot be read names its own line.
ReadResult read_and_replay(Reader* reader, const Room& room, Replay* replay, ParsedTrace* trace) {
  std::size_t count = 0;
  const bool all_read = read_additions(reader, room.additions, &count);
  const ListingError unreadable = *reader->lines.error;
  index_insertions(room.additions, count, replay);
  if (!replay_additions(reader, room.additions, count, replay, trace)) {
    return ReadResult::kInvalid;
  }
  if (!all_read) {
    *reader->lines.error = unreadable;
    return ReadResult::kInvalid;
  }
  reader->lines.line = count == 0 ? 2 : room.additions[count - 1].line + 1;
  return read_final_listing(reader, replay, trace);
}

}  // namespace

bool is_trace(const char* text, std::size_t size) {
  const std::size_t length = sizeof kFormatName - 1;
  return size >= length && std::memcmp(text, kFormatName, length) == 0;
}

ReadResult trace_read(const char* text, std::size_t size, ParsedTrace* trace, ListingError* error) {
  *trace = ParsedTrace{};
  *error = ListingError{};
  Reader reader{{text, text + size, 1, false, &kLineEndFaults, error}, false, 0};
  if (!read_format(&reader)) {
    return ReadResult::kInvalid;
  }
  Replay replay{nullptr, 0, kNone, nullptr, nullptr, 0, nullptr, nullptr};
  Room room{nullptr, 0};
  ReadResult result = ReadResult::kNoMemory;
  if (allocate(text, size, &room, &replay, trace)) {
    result = read_and_replay(&reader, room, &replay, trace);
  }
  if (result == ReadResult::kRead) {
    trace->front = reader.front;
    for (std::size_t i = 0; i < trace->size; ++i) {
      TraceStep& step = trace->steps[i];
      step.element =
          step.kind == StepKind::kNotCounted ? kNone : replay.elements[step.element].listed;
    }
  }
  delete[] room.additions;
  delete[] replay.elements;
  delete[] replay.addresses;
  delete[] replay.ids;
  delete[] replay.words;
  delete[] replay.word_ids;
  if (result != ReadResult::kRead) {
    trace_release(trace);
  }
  return result;
}

void trace_release(ParsedTrace* trace) {
  listing_release(&trace->listing);
  delete[] trace->steps;
  *trace = ParsedTrace{};
}

std::size_t traces_first_difference(const ParsedTrace& a, const ParsedTrace& b) {
  for (std::size_t i = 0; i < a.size || i < b.size; ++i) {
    if (i >= a.size || i >= b.size || a.steps[i].word_length != b.steps[i].word_length ||
        std::memcmp(a.steps[i].word, b.steps[i].word, a.steps[i].word_length) != 0) {
      return i + 1;
    }
  }
  return 0;
}
