// wordlist-trace: makes wordlist's run on a text, word for word, and
// records every addition to the list as it happens, then prints the final
// list as wordlist does:
//   wordlist-trace | wordlist-graph --html > run.html
//
// With --front the run adds with list_add_front, which links every new
// element at the head, in place of list_add_sorted.
//
// The trace is line-oriented. Its first line names the format (and, for
// a run with --front, says so: "wordlist-trace 1 front"); then one line
// per addition, in order, the four fixed words first:
//   inserted ADR at head WORD: w          a new element, linked first
//   inserted ADR after PREV WORD: w       a new element, linked after PREV
//   counted ADR COUNT: c WORD: w          an element's count, raised to c
//   not counted WORD: w                   out of memory, or count at its limit
// and last the listing, exactly as wordlist prints it. The list is looked
// at only between additions, through its records and its own functions;
// the tracer keeps an index of the elements it has seen inserted, by
// word, so that a counted word's element is known without a walk.
//
// Exit status as wordlist's: 0 after a complete run; 1 when the text does
// not fit in memory (nothing is written then); 2 for a usage error, an
// input file that cannot be used or an output that cannot be written; 3
// when occurrences could not be counted (one line on standard error).
#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

#include "address_text.h"
#include "run_steps.h"
#include "word_list.h"

namespace {

constexpr const char* kProgram = "wordlist-trace";
constexpr const char* kFormatLine = "wordlist-trace 1\n";
constexpr const char* kFrontFormatLine = "wordlist-trace 1 front\n";

constexpr const char* kUsage =
    "Usage: wordlist-trace [--front] [FILE]\n"
    "Makes wordlist's run on FILE (by default neco.txt in the current\n"
    "directory): the four fixed words, then every word of the text, each\n"
    "added to the ordered list. Writes to standard output a trace: a line\n"
    "naming the format, one line per addition saying what became of it\n"
    "(inserted, and where; counted, and the new count; not counted), then\n"
    "the final listing exactly as wordlist prints it.\n"
    "  wordlist-trace | wordlist-graph --html > run.html\n"
    "\n"
    "  --front    add with list_add_front instead: every new element is\n"
    "             linked at the head, and the list keeps no order\n"
    "  --help     show this help\n"
    "  --version  show the version\n"
    "\n"
    "Exit status: 0 traced; 1 the text does not fit in memory; 2 usage error,\n"
    "unusable input file or write error; 3 occurrences not counted.\n";

struct Options {
  const char* file = "neco.txt";
  bool front = false;
  bool help = false;
  bool version = false;
};

// Reads the command line; false, with the error reported, on a usage error.
bool parse_options(int argc, char** argv, Options* options) {
  bool files_only = false;
  bool have_file = false;
  for (int at = 1; at < argc; ++at) {
    const char* argument = argv[at];
    if (!files_only && std::strcmp(argument, "--") == 0) {
      files_only = true;
    } else if (!files_only && std::strcmp(argument, "--help") == 0) {
      options->help = true;
    } else if (!files_only && std::strcmp(argument, "--version") == 0) {
      options->version = true;
    } else if (!files_only && std::strcmp(argument, "--front") == 0) {
      options->front = true;
    } else if (!files_only && argument[0] == '-') {
      (void)std::fprintf(stderr, "%s: unknown option '%s' (see %s --help)\n", kProgram, argument,
                         kProgram);
      return false;
    } else if (have_file) {
      (void)std::fprintf(stderr, "%s: only one text can be traced; extra operand '%s'\n", kProgram,
                         argument);
      return false;
    } else {
      options->file = argument;
      have_file = true;
    }
  }
  return true;
}

// The elements the trace has seen inserted, found by word: an open hash
// table of the list's own elements, grown by doubling at half full. When
// it cannot grow (memory runs out), it is given up, and the tracer walks
// the list instead.
//
// It is made before the text is loaded, large enough for every word the
// text can hold (up to 8 MiB, which the C library maps apart from its
// heap), so that it never grows between the list's elements: they stand
// in memory as they do in wordlist's run.
struct WordIndex {
  const WordNode** slots;  // null: an empty slot
  std::size_t capacity;    // a power of two, at least 1024 unless given up
  std::size_t size;
  bool given_up;
};

// How the run adds a word (with list_add_front, or list_add_sorted), and
// the index of the elements it added.
struct Tracer {
  bool front;
  WordIndex index;
};

std::size_t hash_word(const char* word) {
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (; *word != '\0'; ++word) {
    hash = (hash ^ static_cast<unsigned char>(*word)) * 1099511628211ULL;
  }
  return static_cast<std::size_t>(hash ^ (hash >> 32U));
}

// The slot holding `word`'s element, or the empty slot where it belongs.
const WordNode** slot_of(const WordIndex& index, const char* word) {
  std::size_t at = hash_word(word) & (index.capacity - 1);
  while (index.slots[at] != nullptr && std::strcmp(index.slots[at]->word, word) != 0) {
    at = (at + 1) & (index.capacity - 1);
  }
  return &index.slots[at];
}

bool grow(WordIndex* index) {
  const std::size_t capacity = 2 * index->capacity;
  auto** slots = new (std::nothrow) const WordNode*[capacity]();
  if (slots == nullptr) {
    return false;
  }
  WordIndex larger{slots, capacity, index->size, false};
  for (std::size_t i = 0; i < index->capacity; ++i) {
    if (index->slots[i] != nullptr) {
      *slot_of(larger, index->slots[i]->word) = index->slots[i];
    }
  }
  delete[] index->slots;
  *index = larger;
  return true;
}

// An index with room for the distinct words of a text of `bytes` bytes
// (each word and its delimiter take at least two), given up when even
// that cannot be had.
WordIndex index_for(std::uintmax_t bytes) {
  constexpr std::size_t kMostSlots = std::size_t{1} << 20U;
  const std::uintmax_t words = bytes / 2 + 1 + 4;
  std::size_t capacity = 1024;
  while (capacity < 2 * words && capacity < kMostSlots) {
    capacity *= 2;
  }
  auto** slots = new (std::nothrow) const WordNode*[capacity]();
  return slots == nullptr ? WordIndex{nullptr, 0, 0, true} : WordIndex{slots, capacity, 0, false};
}

// The element holding `word`, known from the index, or found by a walk
// of the list's records once the index is given up; null for none.
const WordNode* find_counted(const WordIndex& index, WordNode* const* head, const char* word) {
  if (!index.given_up) {
    return *slot_of(index, word);
  }
  for (const WordNode* node = *head; node != nullptr; node = node->next) {
    if (std::strcmp(node->word, word) == 0) {
      return node;
    }
  }
  return nullptr;
}

void remember(WordIndex* index, const WordNode* node) {
  if (index->given_up) {
    return;
  }
  if (2 * (index->size + 1) > index->capacity && !grow(index)) {
    delete[] index->slots;
    *index = WordIndex{nullptr, 0, 0, true};
    return;
  }
  *slot_of(*index, node->word) = node;
  ++index->size;
}

// Adds a word as the run does, then writes what became of it. A word the
// index knows was counted in its element; otherwise it is new, and its
// element follows the last one that sorts before it (with --front: it is
// the head).
bool add_traced(WordNode** head, const char* word, void* context) {
  auto* tracer = static_cast<Tracer*>(context);
  if (!(tracer->front ? list_add_front(head, word) : list_add_sorted(head, word))) {
    std::printf("not counted WORD: %s\n", word);
    return false;
  }
  // An element that holds the word with a count above 1 was counted now;
  // with a count of 1 it was inserted now.
  const WordNode* node = find_counted(tracer->index, head, word);
  if (node != nullptr && node->count > 1) {
    std::printf("counted %s COUNT: %" PRId32 " WORD: %s\n", format_address(node).digits,
                node->count, word);
    return true;
  }
  const WordNode* before = tracer->front ? nullptr : list_find_predecessor(head, word);
  node = before == nullptr ? *head : before->next;
  if (before == nullptr) {
    std::printf("inserted %s at head WORD: %s\n", format_address(node).digits, word);
  } else {
    std::printf("inserted %s after %s WORD: %s\n", format_address(node).digits,
                format_address(before).digits, word);
  }
  remember(&tracer->index, node);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse_options(argc, argv, &options)) {
    return kExitTrouble;
  }
  if (options.help || options.version) {
    (void)std::fputs(options.help ? kUsage : "wordlist-trace " WORDLIST_VERSION "\n", stdout);
    return finish_output(kProgram);
  }
  // The file's size, where it has one, bounds the words it can hold.
  std::error_code unknown;
  const std::uintmax_t bytes = std::filesystem::file_size(options.file, unknown);
  Tracer tracer{options.front, index_for(unknown ? 0 : bytes)};
  const int status = run_words(kProgram, options.file,
                               options.front ? kFrontFormatLine : kFormatLine, add_traced, &tracer);
  delete[] tracer.index.slots;
  return status;
}
