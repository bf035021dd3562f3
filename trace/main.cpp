// wordlist-trace: makes wordlist's run on a text, word for word, and
// records every addition to the list as it happens, then prints the final
// list as wordlist does:
//   wordlist-trace | wordlist-graph --html > run.html
//
// The trace is line-oriented. Its first line names the format; then one
// line per addition, in order, the four fixed words first:
//   inserted ADR at head WORD: w          a new element, linked first
//   inserted ADR after PREV WORD: w       a new element, linked after PREV
//   counted ADR COUNT: c WORD: w          an element's count, raised to c
//   not counted WORD: w                   out of memory, or count at its limit
// and last the listing, exactly as wordlist prints it. The list is looked
// at only between additions, through its records and its own functions.
//
// Exit status as wordlist's: 0 after a complete run; 1 when the text does
// not fit in memory (nothing is written then); 2 for a usage error, an
// input file that cannot be used or an output that cannot be written; 3
// when occurrences could not be counted (one line on standard error).
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "address_text.h"
#include "run_steps.h"
#include "word_list.h"

namespace {

constexpr const char* kProgram = "wordlist-trace";
constexpr const char* kFormatLine = "wordlist-trace 1\n";

constexpr const char* kUsage =
    "Usage: wordlist-trace [FILE]\n"
    "Makes wordlist's run on FILE (by default neco.txt in the current\n"
    "directory): the four fixed words, then every word of the text, each\n"
    "added to the ordered list. Writes to standard output a trace: a line\n"
    "naming the format, one line per addition saying what became of it\n"
    "(inserted, and where; counted, and the new count; not counted), then\n"
    "the final listing exactly as wordlist prints it.\n"
    "  wordlist-trace | wordlist-graph --html > run.html\n"
    "\n"
    "  --help     show this help\n"
    "  --version  show the version\n"
    "\n"
    "Exit status: 0 traced; 1 the text does not fit in memory; 2 usage error,\n"
    "unusable input file or write error; 3 occurrences not counted.\n";

struct Options {
  const char* file = "neco.txt";
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

// Adds a word as wordlist does, then writes what became of it. The
// element that holds the word now follows the last one that sorts before
// it; a count of 1 says that it is new.
bool add_traced(WordNode** head, const char* word, void* /*context*/) {
  if (!list_add_sorted(head, word)) {
    std::printf("not counted WORD: %s\n", word);
    return false;
  }
  const WordNode* before = list_find_predecessor(head, word);
  const WordNode* node = before == nullptr ? *head : before->next;
  if (node->count > 1) {
    std::printf("counted %s COUNT: %" PRId32 " WORD: %s\n", format_address(node).digits,
                node->count, word);
  } else if (before == nullptr) {
    std::printf("inserted %s at head WORD: %s\n", format_address(node).digits, word);
  } else {
    std::printf("inserted %s after %s WORD: %s\n", format_address(node).digits,
                format_address(before).digits, word);
  }
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
  return run_words(kProgram, options.file, kFormatLine, add_traced, nullptr);
}
