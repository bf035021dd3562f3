// Runs the whole pipeline, wordlist | wordlist-graph | dot -Tsvg, in a
// fresh directory per case, and checks the picture: dot accepts the graph
// without a word of complaint, and the SVG holds exactly the nodes and
// edges the listing calls for, whatever the words. Then the command line.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <ostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model.h"
#include "run_util.h"
#include "trace_reader.h"

namespace fs = std::filesystem;

namespace {

// Runs `command` in `dir`, where $WORDLIST, $TRACE and $GRAPH name the programs
// under test, each after the launcher (valgrind, say) when there is one;
// returns its exit status.
int run(const std::string& command, const fs::path& dir) {
  const std::string launcher = env_or_empty("WORDLIST_LAUNCHER");
  const std::string line = "cd '" + dir.string() + "' && WORDLIST=\"" + launcher + " " +
                           WORDLIST_PROGRAM + "\" TRACE=\"" + launcher + " " + WORDLIST_TRACE +
                           "\" GRAPH=\"" + launcher + " " + WORDLIST_GRAPH + "\" && " + command;
  const int raw = std::system(line.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

class GraphTest : public testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    dir_ = fs::temp_directory_path() / ("wordlist-graph-" + std::to_string(random()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  fs::path dir_;
};

struct PictureCase {
  const char* name;
  std::string text;  // neco.txt
  const char* view;
};

void PrintTo(const PictureCase& test, std::ostream* out) { *out << test.name; }

class PictureTest : public GraphTest, public testing::WithParamInterface<PictureCase> {};

// The contents of every SVG element that follows `open` and ends at `close`.
std::vector<std::string> between(const std::string& svg, const std::string& open,
                                 const std::string& close) {
  std::vector<std::string> found;
  for (std::size_t at = svg.find(open); at != std::string::npos; at = svg.find(open, at)) {
    at += open.size();
    const std::size_t end = svg.find(close, at);
    found.push_back(svg.substr(at, end - at));
  }
  return found;
}

// The titles of the SVG's nodes or edges (`kind`): the names in the graph.
std::vector<std::string> titles(const std::string& svg, const std::string& kind) {
  return between(svg, "class=\"" + kind + "\">\n<title>", "</title>");
}

// Whether a drawn text holds what Graphviz writes for \N or \G: a node's
// name (n and digits) or the graph's.
bool holds_expansion(const std::string& text) {
  for (std::size_t at = text.find('n'); at != std::string::npos; at = text.find('n', at + 1)) {
    if (at + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[at + 1])) != 0) {
      return true;
    }
  }
  return text.find("wordlist") != std::string::npos;
}

// How plain text stands in an SVG text element: with XML's entities.
std::string svg_text(const std::string& word) {
  std::string text;
  for (const char c : word) {
    text += c == '&'   ? "&amp;"
            : c == '<' ? "&lt;"
            : c == '>' ? "&gt;"
            : c == '"' ? "&quot;"
                       : std::string(1, c);
  }
  return text;
}

// The edges the picture of `listing` must have, as the SVG names them:
// the head to the first box, each drawn NEXT to the box or marker after
// it, and in the memory view a distance from each box to the next one up.
std::multiset<std::string> expected_edges(const std::string& listing, std::size_t drawn,
                                          const std::string& view) {
  const std::string arrow = "&#45;&gt;";
  const std::string port = view == "list" ? ":next" : "";
  std::multiset<std::string> edges{"head" + arrow + (drawn == 0 ? "null" : "n1")};
  std::vector<std::pair<unsigned long long, std::size_t>> by_address;
  std::istringstream lines(listing);
  std::string line;
  std::getline(lines, line);  // the header
  for (std::size_t position = 1; std::getline(lines, line) && position <= drawn; ++position) {
    std::string from = "n" + std::to_string(position);
    from += port + arrow;
    const bool last = line.find("NEXT: 0000000000000000") != std::string::npos;
    edges.insert(from + (position < drawn ? "n" + std::to_string(position + 1)
                                          : std::string(last ? "null" : "more")));
    by_address.emplace_back(std::stoull(line.substr(line.find("ADR: ") + 5, 16), nullptr, 16),
                            position);
  }
  std::sort(by_address.begin(), by_address.end());
  for (std::size_t i = 1; view == "memory" && i < by_address.size(); ++i) {
    edges.insert("n" + std::to_string(by_address[i - 1].second) + arrow + "n" +
                 std::to_string(by_address[i].second));
  }
  return edges;
}

// Tests the picture of one text in one view.
TEST_P(PictureTest, DrawsEveryElementAndNothingElse) {
  const PictureCase& test = GetParam();
  write_file(dir_ / "neco.txt", test.text);
  ASSERT_EQ(0, run("$WORDLIST >listing", dir_));
  ASSERT_EQ(0, run(std::string("$GRAPH --view ") + test.view + " listing >graph.dot", dir_));
  ASSERT_EQ(0, run("dot -Tsvg graph.dot >graph.svg 2>dot.err", dir_));
  EXPECT_EQ("", read_file(dir_ / "dot.err"));

  const Listing listing = model_listing(test.text);
  const std::size_t drawn = std::min<std::size_t>(listing.size(), 200);
  std::set<std::string> nodes{"head", drawn < listing.size() ? "more" : "null"};
  for (std::size_t i = 1; i <= drawn; ++i) {
    nodes.insert("n" + std::to_string(i));
  }
  const std::string svg = read_file(dir_ / "graph.svg");
  const auto found = titles(svg, "node");
  EXPECT_EQ(nodes, std::set<std::string>(found.begin(), found.end()));
  EXPECT_EQ(nodes.size(), found.size());
  const auto edges = titles(svg, "edge");
  EXPECT_EQ(expected_edges(read_file(dir_ / "listing"), drawn, test.view),
            std::multiset<std::string>(edges.begin(), edges.end()));
  // Graphviz writes \N as the node's name and \G as the graph's: no text
  // drawn may hold either.
  for (const auto& text : between(svg, "<text", "</text>")) {
    EXPECT_FALSE(holds_expansion(text.substr(text.find('>') + 1))) << text;
  }
  if (std::string(test.name).rfind("Sample", 0) == 0) {
    for (const auto& [word, count] : listing) {
      EXPECT_NE(std::string::npos, svg.find(svg_text(word))) << word;
    }
  }
}

// `count` distinct words, more than are drawn by default.
std::string many_words(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += "w" + std::to_string(i) + "\n";
  }
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PictureTest,
    testing::Values(PictureCase{"SampleList", read_file(WORDLIST_SAMPLE), "list"},
                    PictureCase{"SampleMemory", read_file(WORDLIST_SAMPLE), "memory"},
                    PictureCase{"HostileList", read_file(WORDLIST_HOSTILE), "list"},
                    PictureCase{"HostileMemory", read_file(WORDLIST_HOSTILE), "memory"},
                    PictureCase{"LongListList", many_words(500), "list"},
                    PictureCase{"LongListMemory", many_words(500), "memory"},
                    PictureCase{"EmptyFile", "", "list"}),
    [](const auto& info) { return std::string(info.param.name); });

// A text of `words` words drawn from a small vocabulary, so that words
// repeat, with every delimiter between them.
std::string random_text(std::mt19937* random, int words) {
  const std::string vocabulary[] = {"a", "b", "ab", "ba", "pokus", "druhy", "Z", "\xC3\xA1", "zz"};
  const std::string delimiters = " \r\n\t,.?!*'";
  std::string text;
  for (int i = 0; i < words; ++i) {
    text += vocabulary[(*random)() % std::size(vocabulary)];
    text += delimiters[(*random)() % delimiters.size()];
  }
  return text;
}

// The trace that `command` writes in `dir`, read back; its steps'
// words and kinds checked against the words of the run (`words`: the
// fixed words, then the text's), inserted the first time and counted
// after. Returns the final listing's words and counts.
Listing replayed(const std::string& command, const fs::path& dir,
                 const std::vector<std::string>& words, bool front) {
  EXPECT_EQ(0, run(command + " >trace", dir));
  const std::string bytes = read_file(dir / "trace");
  ParsedTrace trace{};
  ListingError error{};
  EXPECT_EQ(ReadResult::kRead, trace_read(bytes.data(), bytes.size(), &trace, &error))
      << error.line << ": " << error.what << "\n"
      << bytes;
  EXPECT_EQ(front, trace.front);
  EXPECT_EQ(words.size(), trace.size);
  std::map<std::string, int> counts;
  for (std::size_t i = 0; i < trace.size && i < words.size(); ++i) {
    const TraceStep& step = trace.steps[i];
    EXPECT_EQ(words[i], std::string(step.word, step.word_length));
    EXPECT_EQ(++counts[words[i]] == 1 ? StepKind::kInserted : StepKind::kCounted, step.kind);
  }
  Listing listed;
  for (std::size_t i = 0; i < trace.listing.size; ++i) {
    const ListedElement& element = trace.listing.elements[i];
    listed.emplace_back(std::string(element.word, element.word_length), element.count);
  }
  trace_release(&trace);
  return listed;
}

// Tests, on random texts, that a trace replays to its own final listing,
// that it records every word in text order, inserted the first time and
// counted after, and that its listing holds a plain model's counts; and
// that the run with list_add_front does the same, its list holding the
// same words and counts in the reverse order of their first appearance.
TEST_F(GraphTest, TraceReplaysAsAModelCounts) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 20; ++round) {
    const std::string text = random_text(&random, static_cast<int>(random() % 60));
    write_file(dir_ / "neco.txt", text);
    std::vector<std::string> words = fixed_words();
    const std::vector<std::string> text_words = model_words(text);
    words.insert(words.end(), text_words.begin(), text_words.end());
    const Listing model = model_listing(text);
    EXPECT_EQ(model, replayed("$TRACE", dir_, words, false));
    const std::map<std::string, int> counts(model.begin(), model.end());
    Listing front;
    for (const std::string& word : words) {
      if (std::none_of(front.begin(), front.end(),
                       [&](const auto& e) { return e.first == word; })) {
        front.insert(front.begin(), {word, counts.at(word)});
      }
    }
    EXPECT_EQ(front, replayed("$TRACE --front", dir_, words, true));
  }
}

struct CommandCase {
  const char* name;
  std::string command;  // writes standard output to "out"
  int status;
  std::string error;  // standard error, exactly
  bool limited;       // runs under an address-space limit
};

void PrintTo(const CommandCase& test, std::ostream* out) { *out << test.name; }

class CommandTest : public GraphTest, public testing::WithParamInterface<CommandCase> {};

// Tests the command line: its status and its one line of error.
TEST_P(CommandTest, EndsAsDocumented) {
  const CommandCase& test = GetParam();
  if (test.limited && (kSanitized || !env_or_empty("WORDLIST_LAUNCHER").empty())) {
    GTEST_SKIP() << "the limit would bind the sanitizers or the checker";
  }
  write_file(dir_ / "broken",
             "Seznam - adresa prvniho prvku: 0000AAAA\n"
             "  1 ADR: 0000AAAA NEXT: 00000000 COUNT:   0 WORD: a\n");
  write_file(dir_ / "listing",
             "Seznam - adresa prvniho prvku: 0000AAA0\n"
             "  1 ADR: 0000AAA0 NEXT: 0000BBB0 COUNT:   1 WORD: a\n"
             "  2 ADR: 0000BBB0 NEXT: 0000CCC0 COUNT:   2 WORD: b\n"
             "  3 ADR: 0000CCC0 NEXT: 00000000 COUNT:   3 WORD: c\n");
  EXPECT_EQ(test.status, run(test.command + " 2>err", dir_));
  EXPECT_EQ(test.error, read_file(dir_ / "err"));
  if (test.status != 0) {
    EXPECT_EQ("", read_file(dir_ / "out"));
  }
}

const char* const kFull = "wordlist-graph: write error: No space left on device\n";
// A trace of 20 million additions, each line empty, in "big".
const std::string kEndlessTrace =
    "{ echo 'wordlist-trace 1'; head -c 20000000 /dev/zero | tr '\\0' '\\n'; } >big";

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandTest,
    testing::Values(
        CommandCase{"Help", "$GRAPH --help >out", 0, "", false},
        CommandCase{
            "Version",
            "$GRAPH --version >out && test \"$(cat out)\" = 'wordlist-graph " WORDLIST_VERSION "'",
            0, "", false},
        CommandCase{"BrokenFile", "$GRAPH broken >out", 2,
                    "wordlist-graph: broken:2: COUNT is below 1\n", false},
        CommandCase{"BrokenStdin", "$GRAPH - <broken >out", 2,
                    "wordlist-graph: -:2: COUNT is below 1\n", false},
        CommandCase{"MissingFile", "$GRAPH missing >out", 2,
                    "wordlist-graph: missing: No such file or directory\n", false},
        CommandCase{"UnknownOption", "$GRAPH --colour listing >out", 2,
                    "wordlist-graph: unknown option, or an option without its value: '--colour' "
                    "(see wordlist-graph --help)\n",
                    false},
        CommandCase{"ShortOption", "$GRAPH -x listing >out", 2,
                    "wordlist-graph: unknown option, or an option without its value: '-x' "
                    "(see wordlist-graph --help)\n",
                    false},
        CommandCase{"BadView", "$GRAPH --view=tree listing >out", 2,
                    "wordlist-graph: --view takes list or memory, not 'tree' (see wordlist-graph "
                    "--help)\n",
                    false},
        CommandCase{"ViewLastWins",
                    "$GRAPH --view memory --view list listing >out && grep -qF 'in list order' out",
                    0, "", false},
        CommandCase{"MaxEmpty", "$GRAPH --max= listing >out", 2,
                    "wordlist-graph: --max takes a number of elements, not '' (see wordlist-graph "
                    "--help)\n",
                    false},
        CommandCase{"MaxPastSizeMax", "$GRAPH --max 18446744073709551616 listing >out", 2,
                    "wordlist-graph: --max takes a number of elements, not "
                    "'18446744073709551616' (see wordlist-graph --help)\n",
                    false},
        CommandCase{"MaxOfSizeMax", "$GRAPH --max " + std::to_string(SIZE_MAX) + " listing >out", 0,
                    "", false},
        CommandCase{"MaxNotOnlyDigits", "$GRAPH --max=1e3 listing >out", 2,
                    "wordlist-graph: --max takes a number of elements, not '1e3' (see "
                    "wordlist-graph --help)\n",
                    false},
        CommandCase{"MaxOne", "$GRAPH --max 1 listing >out && grep -qF '... and 2 more' out", 0, "",
                    false},
        // Every digit counts, 9 among them.
        CommandCase{"MaxNineteen",
                    "seq 30 >neco.txt && $WORDLIST >big && $GRAPH --max 19 big >out && "
                    "grep -qF '... and 13 more' out",
                    0, "", false},
        CommandCase{
            "TraceMaxOne",
            "echo a b c >t && $TRACE t | $GRAPH --max 1 >out && grep -qF '... and 4 more' out", 0,
            "", false},
        CommandCase{"PageWhole", "$GRAPH --html listing >out && grep -qF '\"counts\":[1,2,3]' out",
                    0, "", false},
        CommandCase{"PageMaxOne",
                    "$GRAPH --html --max 1 listing >out && grep -qF '\"counts\":[1]' out", 0, "",
                    false},
        // Larger than the first buffer the input is read into.
        CommandCase{"LargeInput",
                    "seq 3000 >neco.txt && $WORDLIST >big && $GRAPH --max 1 big >out && "
                    "grep -qF '... and 3001 more' out",
                    0, "", false},
        // A text that can be read but not measured.
        CommandCase{
            "ListFromPipe",
            "mkfifo neco.txt && (timeout 10 sh -c 'echo word >neco.txt' &) && $WORDLIST >out", 2,
            "wordlist: neco.txt: Illegal seek\n", false},
        CommandCase{"DirectoryInput", "$GRAPH . >out", 2, "wordlist-graph: .: Is a directory\n",
                    false},
        CommandCase{"OutputFull", "echo 'Seznam je prazdny.' | $GRAPH >/dev/full", 2, kFull, false},
        CommandCase{"OutputClosed", "echo 'Seznam je prazdny.' | $GRAPH >&-", 2,
                    "wordlist-graph: write error: Bad file descriptor\n", false},
        CommandCase{"PageOutputFull", "echo 'Seznam je prazdny.' | $GRAPH --html >/dev/full", 2,
                    kFull, false},
        CommandCase{"HelpOutputFull", "$GRAPH --help >/dev/full", 2, kFull, false},
        CommandCase{"TraceHelp", "$TRACE --help >out", 0, "", false},
        CommandCase{
            "TraceVersion",
            "$TRACE --version >out && test \"$(cat out)\" = 'wordlist-trace " WORDLIST_VERSION "'",
            0, "", false},
        CommandCase{"TraceMissingFile", "$TRACE missing >out", 2,
                    "wordlist-trace: missing: No such file or directory\n", false},
        CommandCase{"TraceUnknownOption", "$TRACE --quiet >out", 2,
                    "wordlist-trace: unknown option '--quiet' (see wordlist-trace --help)\n",
                    false},
        CommandCase{"TraceExtraOperand", "$TRACE listing broken >out", 2,
                    "wordlist-trace: only one text can be traced; extra operand 'broken'\n", false},
        CommandCase{"TraceOperandsOnlyAfterDashes",
                    "echo x >-x && $TRACE -- -x >out && grep -qx 'inserted .* WORD: x' out", 0, "",
                    false},
        CommandCase{"TraceOutputFull", "echo a >t && $TRACE t >/dev/full", 2,
                    "wordlist-trace: write error: No space left on device\n", false},
        CommandCase{"BrokenTrace",
                    "printf 'wordlist-trace 1\\ncounted 00001000 COUNT: 2 WORD: a\\n' >t && "
                    "$GRAPH t >out",
                    2, "wordlist-graph: t:2: ADR is not an element of the list\n", false},
        CommandCase{"TwoRuns",
                    "echo a b a >t && $TRACE t >s && $TRACE --front t >f && $GRAPH --html s f >out "
                    "&& grep -qF '\"other\":{' out && grep -qF '\"build\":\"sorted\"' out && "
                    "grep -qF '\"build\":\"front\"' out",
                    0, "", false},
        CommandCase{"TracePage",
                    "echo a b a >t && $TRACE t | $GRAPH --html >out && "
                    "grep -qF '\"build\":\"sorted\"' out",
                    0, "", false},
        CommandCase{"TwoRunsOneBroken",
                    "echo a >t && $TRACE t >s && "
                    "printf 'wordlist-trace 1 front\\ncounted 00001000 COUNT: 2 WORD: a\\n' >b && "
                    "$GRAPH --html s b >out",
                    2, "wordlist-graph: b:2: ADR is not an element of the list\n", false},
        CommandCase{"TwoRunsNotShortened",
                    "echo a >t && $TRACE t >s && $TRACE --front t >f && $GRAPH --html --max 1 s f "
                    ">out",
                    2,
                    "wordlist-graph: s: a replay is drawn whole: --max does not apply to a trace's "
                    "page\n",
                    false},
        CommandCase{"TwoRunsOutputFull",
                    "echo a >t && $TRACE t >s && $TRACE --front t >f && $GRAPH --html s f "
                    ">/dev/full",
                    2, kFull, false},
        CommandCase{"OperandsOnlyAfterDashes", "cp listing ./-x && $GRAPH -- -x >out", 0, "",
                    false},
        CommandCase{"TwoRunsBuiltAlike",
                    "echo a >t && $TRACE t >s && cp s s2 && $GRAPH --html s2 s >out", 2,
                    "wordlist-graph: s: built the same way as the first trace: give one trace of "
                    "each way (wordlist-trace, and wordlist-trace --front)\n",
                    false},
        CommandCase{
            "TwoRunsOfOtherTexts",
            "echo a >t && $TRACE t >s && echo b >t && $TRACE --front t >f && "
            "$GRAPH --html s f >out",
            2,
            "wordlist-graph: f: addition 5 is not that of s: the traces are not of the same "
            "additions in the same order\n",
            false},
        CommandCase{"TwoRunsFirstBroken",
                    "printf 'wordlist-trace 1\\ncounted 00001000 COUNT: 2 WORD: a\\n' >b && "
                    "echo a >t && $TRACE --front t >f && $GRAPH --html b f >out",
                    2, "wordlist-graph: b:2: ADR is not an element of the list\n", false},
        CommandCase{
            "TwoRunsOneLonger",
            "echo a >t && $TRACE t >s && echo a b >t && $TRACE --front t >f && "
            "$GRAPH --html s f >out",
            2,
            "wordlist-graph: f: addition 6 is not that of s: the traces are not of the same "
            "additions in the same order\n",
            false},
        CommandCase{
            "TwoRunsOneListing", "echo a >t && $TRACE t >s && $GRAPH --html s listing >out", 2,
            "wordlist-graph: listing: not a trace: two inputs must be two traces of one text\n",
            false},
        CommandCase{"TwoRunsWithoutPage", "$GRAPH listing listing >out", 2,
                    "wordlist-graph: two traces are drawn as one page only, with --html; extra "
                    "operand 'listing' (see wordlist-graph --help)\n",
                    false},
        CommandCase{"ThreeOperands", "$GRAPH --html listing listing listing >out", 2,
                    "wordlist-graph: one listing, or two traces, can be drawn; extra operand "
                    "'listing' (see wordlist-graph --help)\n",
                    false},
        CommandCase{"TracePageNotShortened", "echo a >t && $TRACE t | $GRAPH --html --max 2 >out",
                    2,
                    "wordlist-graph: -: a replay is drawn whole: --max does not apply to a trace's "
                    "page\n",
                    false},
        CommandCase{"BrokenPage", "$GRAPH --html broken >out", 2,
                    "wordlist-graph: broken:2: COUNT is below 1\n", false},
        // Read whole, but more lines than the reader has room for.
        CommandCase{"ReaderOutOfMemory",
                    "{ echo 'Seznam - adresa prvniho prvku: 0000AAA0'; head -c 16777216 /dev/zero "
                    "| tr '\\0' '\\n'; } >big && ulimit -v 262144 && $GRAPH big >out",
                    1, "wordlist-graph: big: out of memory\n", true},
        CommandCase{"TooLargeForMemory",
                    "truncate -s 256M big && ulimit -v 131072 && $GRAPH big >out", 1,
                    "wordlist-graph: big: out of memory\n", true},
        // Read whole, but with a line each for 20 million additions, too
        // many to replay: the reader runs out, alone or as one of two runs.
        CommandCase{"TraceTooLargeToReplay",
                    kEndlessTrace + " && ulimit -v 131072 && $GRAPH big >out", 1,
                    "wordlist-graph: big: out of memory\n", true},
        CommandCase{"TwoRunsTooLargeToReplay",
                    kEndlessTrace + " && ulimit -v 131072 && $GRAPH --html big big >out", 1,
                    "wordlist-graph: big: out of memory\n", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
