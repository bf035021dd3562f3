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
// per addition, in order, the four fixed words first (tracer.h lists
// them); and last the listing, exactly as wordlist prints it.
//
// Exit status as wordlist's: 0 after a complete run; 1 when the text does
// not fit in memory (nothing is written then); 2 for a usage error, an
// input file that cannot be used or an output that cannot be written; 3
// when occurrences could not be counted (one line on standard error).
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/types.h>
#endif

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "run_steps.h"
#include "tracer.h"

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

// The size of the file `name` in bytes, where it has one that the
// system can tell; 0 otherwise. Only a hint: the run measures the text
// itself. Asks the system, not the C library's streams, which would
// allocate from the heap that the list's elements come from. On Windows
// not the C library's _stati64 either: msvcrt's looks at the path with
// isalpha, and the first use of the locale in a thread frees a block that
// the library allocated at start-up (0x220 bytes, under Wine), which
// wordlist's run never frees. The first elements would fill that hole.
std::uint64_t file_size_hint(const char* name) {
#ifdef _WIN32
  WIN32_FILE_ATTRIBUTE_DATA status{};
  if (GetFileAttributesExA(name, GetFileExInfoStandard, &status) == 0 ||
      (status.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    return 0;
  }
  return (static_cast<std::uint64_t>(status.nFileSizeHigh) << 32U) | status.nFileSizeLow;
#else
  struct stat status {};
  const bool known = stat(name, &status) == 0 && S_ISREG(status.st_mode);
  return known && status.st_size > 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  // wordlist writes nothing until its list is built; the trace writes from
  // the start, and a buffer that the C library took from the heap then
  // would stand where wordlist's first elements stand. Its own buffer
  // keeps the heap as wordlist's run has it.
  static char output_buffer[1U << 16U];
  (void)std::setvbuf(stdout, output_buffer, _IOFBF, sizeof output_buffer);
  Options options;
  if (!parse_options(argc, argv, &options)) {
    return kExitTrouble;
  }
  if (options.help || options.version) {
    errno = 0;  // for finish_output: what a failed write leaves
    (void)std::fputs(options.help ? kUsage : "wordlist-trace " WORDLIST_VERSION "\n", stdout);
    return finish_output(kProgram);
  }
  // The file's size, where it has one, bounds the words it can hold.
  Tracer tracer = tracer_make(file_size_hint(options.file), options.front);
  const int status = run_words(kProgram, options.file,
                               options.front ? kFrontFormatLine : kFormatLine, add_traced, &tracer);
  tracer_release(&tracer);
  return status;
}
