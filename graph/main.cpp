// wordlist-graph: reads a listing as wordlist prints it (or a trace as
// wordlist-trace writes it) and writes it as a Graphviz DOT graph, to be
// drawn by dot, or as one interactive page:
//   wordlist | wordlist-graph | dot -Tsvg -o list.svg
//   wordlist | wordlist-graph --html > list.html
//   wordlist-trace | wordlist-graph --html > run.html
//   wordlist-graph --html sorted.trace front.trace > runs.html
//
// Exit status: 0 when the graph or page was written; 1 when the listing does not
// fit in memory; 2 for a usage error, an input that cannot be read or is
// not a listing, or an output that cannot be written (one line on
// standard error in each case).
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "dot_writer.h"
#include "html_writer.h"
#include "input_checks.h"
#include "input_file.h"
#include "listing_reader.h"
#include "program_status.h"
#include "trace_reader.h"

namespace {

constexpr const char* kProgram = "wordlist-graph";
constexpr std::size_t kDefaultLimit = 200;

constexpr const char* kUsage =
    "Usage: wordlist-graph [--html] [--view list|memory] [--max N] [FILE]\n"
    "       wordlist-graph --html [--view list|memory] TRACE TRACE\n"
    "Reads a listing as wordlist prints it, or a trace as wordlist-trace\n"
    "writes it, from FILE, or from standard input when FILE is absent or -,\n"
    "checks it (a trace by replaying it), and writes it to standard output as\n"
    "a Graphviz DOT graph, or with --html as one interactive page (for a\n"
    "trace, with a timeline that replays the run):\n"
    "  wordlist | wordlist-graph | dot -Tsvg -o list.svg\n"
    "  wordlist | wordlist-graph --html > list.html\n"
    "  wordlist-trace | wordlist-graph --html > run.html\n"
    "Given two traces of one text, one made with wordlist-trace --front, the\n"
    "page holds both runs, to switch between and compare (r):\n"
    "  wordlist-graph --html sorted.trace front.trace > runs.html\n"
    "\n"
    "  --html         a self-contained HTML page that needs nothing else: both\n"
    "                 views of every element; click or use the arrow keys to\n"
    "                 follow NEXT, m to switch views, find a word, zoom\n"
    "  --view list    the chain from the head, box by box, in rows (default)\n"
    "  --view memory  the boxes in order of address, with the bytes between\n"
    "                 them, and each NEXT drawn as an arrow across them\n"
    "                 (with --html: the view the page opens in)\n"
    "  --max N        draw at most N elements, in list order (0: all), and say\n"
    "                 how many more the list holds; by default 200 in a graph\n"
    "                 and all of them in a page (a replay is drawn whole)\n"
    "  --help         show this help\n"
    "  --version      show the version\n"
    "\n"
    "Exit status: 0 drawn; 1 out of memory; 2 usage error, unreadable input,\n"
    "not a listing (reported as FILE:LINE: what is wrong), or write error.\n";

struct Options {
  GraphView view = GraphView::kList;
  std::size_t limit = kDefaultLimit;
  bool limit_given = false;
  bool html = false;
  const char* file = "-";
  const char* second = nullptr;  // a second trace, for a page of two runs
  bool help = false;
  bool version = false;
};

void usage_error(const char* what, const char* argument) {
  std::fprintf(stderr, "wordlist-graph: %s '%s' (see wordlist-graph --help)\n", what, argument);
}

// A count of elements in decimal digits only; false when it is not one.
bool parse_limit(const char* text, std::size_t* limit) {
  std::size_t value = 0;
  if (*text == '\0') {
    return false;
  }
  for (; *text != '\0'; ++text) {
    const auto digit = static_cast<std::size_t>(*text - '0');
    if (*text < '0' || *text > '9' || value > (SIZE_MAX - digit) / 10) {
      return false;
    }
    value = value * 10 + digit;
  }
  *limit = value;
  return true;
}

bool parse_view(const char* text, GraphView* view) {
  if (std::strcmp(text, "list") == 0) {
    *view = GraphView::kList;
  } else if (std::strcmp(text, "memory") == 0) {
    *view = GraphView::kMemory;
  } else {
    return false;
  }
  return true;
}

// The value of option `name` when `argument` is that option, given as
// "--name=value" or as "--name value" (then `next` is the value and
// `*used_next` is set); null otherwise, or when the value is missing.
const char* option_value(const char* name, const char* argument, const char* next,
                         bool* used_next) {
  const std::size_t length = std::strlen(name);
  if (std::strncmp(argument, name, length) != 0) {
    return nullptr;
  }
  if (argument[length] == '=') {
    return argument + length + 1;
  }
  if (argument[length] != '\0') {
    return nullptr;
  }
  *used_next = next != nullptr;
  return next;
}

// Reads the command line; false, with the error reported, on a usage error.
bool parse_options(int argc, char** argv, Options* options) {
  bool files_only = false;
  bool have_file = false;
  for (int at = 1; at < argc; ++at) {
    const char* argument = argv[at];
    const char* next = at + 1 < argc ? argv[at + 1] : nullptr;
    bool used_next = false;
    const char* value = nullptr;
    if (files_only || argument[0] != '-' || std::strcmp(argument, "-") == 0) {
      if (options->second != nullptr) {
        usage_error("one listing, or two traces, can be drawn; extra operand", argument);
        return false;
      }
      *(have_file ? &options->second : &options->file) = argument;
      have_file = true;
    } else if (std::strcmp(argument, "--") == 0) {
      files_only = true;
    } else if (std::strcmp(argument, "--help") == 0) {
      options->help = true;
    } else if (std::strcmp(argument, "--version") == 0) {
      options->version = true;
    } else if (std::strcmp(argument, "--html") == 0) {
      options->html = true;
    } else if ((value = option_value("--view", argument, next, &used_next)) != nullptr) {
      if (!parse_view(value, &options->view)) {
        usage_error("--view takes list or memory, not", value);
        return false;
      }
    } else if ((value = option_value("--max", argument, next, &used_next)) != nullptr) {
      if (!parse_limit(value, &options->limit)) {
        usage_error("--max takes a number of elements, not", value);
        return false;
      }
      options->limit_given = true;
    } else {
      usage_error("unknown option, or an option without its value:", argument);
      return false;
    }
    at += used_next ? 1 : 0;
  }
  if (options->second != nullptr && !options->html) {
    usage_error("two traces are drawn as one page only, with --html; extra operand",
                options->second);
    return false;
  }
  return true;
}

// Reads the named file, or standard input for "-", whole. Reports any
// failure.
Load load(const char* file, LoadedInput* input) {
  const Load result = load_input(kProgram, file, Reading::kStreamed, input);
  if (result == Load::kNoMemory) {
    report(kProgram, file, "out of memory");
  }
  return result;
}

// Refuses --max for a page that replays a trace.
int replay_not_cut(const char* file) {
  report(kProgram, file, "a replay is drawn whole: --max does not apply to a trace's page");
  return kExitTrouble;
}

// Checks the listing and draws it.
int draw_listing(const Options& options, const LoadedInput& input) {
  ParsedListing listing{};
  ListingError error{};
  const ReadResult result = listing_read(input.bytes, input.size, &listing, &error);
  if (result != ReadResult::kRead) {
    return report_refusal(kProgram, options.file, result, error);
  }
  errno = 0;  // for finish_output: what a failed write leaves
  if (options.html) {
    html_write(stdout, listing, options.view, options.limit_given ? options.limit : 0);
  } else {
    dot_write(stdout, listing, options.view, options.limit);
  }
  listing_release(&listing);
  return finish_output(kProgram);
}

// Checks the trace by replaying it, and draws its final list, or the
// replay as a page.
int draw_trace(const Options& options, const LoadedInput& input) {
  if (options.html && options.limit_given) {
    return replay_not_cut(options.file);
  }
  ParsedTrace trace{};
  ListingError error{};
  const ReadResult result = trace_read(input.bytes, input.size, &trace, &error);
  if (result != ReadResult::kRead) {
    return report_refusal(kProgram, options.file, result, error);
  }
  errno = 0;
  if (options.html) {
    html_write_replay(stdout, trace, options.view);
  } else {
    dot_write(stdout, trace.listing, options.view, options.limit);
  }
  trace_release(&trace);
  return finish_output(kProgram);
}

// Checks both traces by replaying them, and that they are the two runs of
// one text, and writes them as one page.
int draw_runs(const Options& options, const LoadedInput* inputs) {
  const char* const files[] = {options.file, options.second};
  if (options.limit_given) {
    return replay_not_cut(files[0]);
  }
  const NamedInput named[] = {{files[0], inputs[0].bytes, inputs[0].size},
                              {files[1], inputs[1].bytes, inputs[1].size}};
  ParsedTrace traces[2] = {};
  int status = read_two_runs(kProgram, named, traces);
  if (status == kExitSuccess) {
    errno = 0;
    html_write_runs(stdout, traces[0], traces[1], options.view);
    status = finish_output(kProgram);
  }
  trace_release(&traces[0]);
  trace_release(&traces[1]);
  return status;
}

// A trace names itself in its first line; anything else is read as a
// listing.
int draw(const Options& options, const LoadedInput& input) {
  return is_trace(input.bytes, input.size) ? draw_trace(options, input)
                                           : draw_listing(options, input);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse_options(argc, argv, &options)) {
    return kExitTrouble;
  }
  if (options.help || options.version) {
    errno = 0;
    std::fputs(options.help ? kUsage : "wordlist-graph " WORDLIST_VERSION "\n", stdout);
    return finish_output(kProgram);
  }
  LoadedInput inputs[2] = {};
  const int count = options.second == nullptr ? 1 : 2;
  Load loaded = load(options.file, &inputs[0]);
  if (count == 2 && loaded == Load::kLoaded) {
    loaded = load(options.second, &inputs[1]);
  }
  int status = kExitTrouble;
  if (loaded == Load::kNoMemory) {
    status = kExitNoMemory;
  } else if (loaded == Load::kLoaded) {
    status = count == 2 ? draw_runs(options, inputs) : draw(options, inputs[0]);
  }
  delete[] inputs[0].bytes;
  delete[] inputs[1].bytes;
  return status;
}
