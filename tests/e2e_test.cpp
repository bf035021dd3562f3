// Runs the real program in a fresh directory per case and compares what it
// writes, byte for byte, with what it must write. Addresses differ from run
// to run, so they are checked by their shape and by the links between
// lines, and then taken into the expected text.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model.h"
#include "run_util.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

constexpr std::size_t kAddressDigits = 2 * sizeof(void*);
// Standard output and standard error stay in text mode, which on Windows
// ends every line with a carriage return.
#ifdef _WIN32
const char* const kEol = "\r\n";
#else
const char* const kEol = "\n";
#endif

enum class Input { kFile, kNone, kDirectory, kLink, kSparse };
enum class Output { kFile, kClosed, kDevFull };

struct Case {
  std::string name;
  std::string text;  // the content of neco.txt, with Input::kFile; where
                     // it points, with Input::kLink
  Listing listing;   // the words and counts the listing must show
  int status = 0;
  std::string error;  // standard error, exactly
  Input input = Input::kFile;
  Output output = Output::kFile;
  std::string args;                // extra command-line arguments
  std::uintmax_t sparse_size = 0;  // the size of neco.txt, with Input::kSparse
  long vm_limit_kib = 0;           // a virtual-memory limit, 0 for none
  bool heavy = false;              // too slow to run under valgrind
  bool traced = false;             // runs wordlist-trace instead of wordlist
};

// Names a case in test listings instead of dumping its bytes.
void PrintTo(const Case& test, std::ostream* out) { *out << test.name; }

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// The program under test, a checker it runs under (valgrind, for one),
// and an emulator it needs where the host cannot run it natively.
const std::string& program(const Case& test) {
  static const std::string path = env_or_empty("WORDLIST_PROGRAM");
  // wordlist-trace is built beside wordlist.
  static const std::string traced =
      path.empty() ? path : std::string(path).insert(path.rfind("wordlist") + 8, "-trace");
  return test.traced ? traced : path;
}
const std::string& launcher() {
  static const std::string prefix = env_or_empty("WORDLIST_LAUNCHER");
  return prefix;
}
const std::string& emulator() {
  static const std::string prefix = env_or_empty("WORDLIST_EMULATOR");
  return prefix;
}

// Lays out neco.txt in `dir` as the case asks.
void prepare_input(const Case& test, const fs::path& dir) {
  const fs::path input = dir / "neco.txt";
  switch (test.input) {
    case Input::kFile:
      write_file(input, test.text);
      break;
    case Input::kNone:
      break;
    case Input::kDirectory:
      fs::create_directory(input);
      break;
    case Input::kLink:
      fs::create_symlink(test.text, input);
      break;
    case Input::kSparse:
      // The shell's truncate makes files larger than a 32-bit test may.
      ASSERT_EQ(0, std::system(("truncate -s " + std::to_string(test.sparse_size) + " '" +
                                input.string() + "'")
                                   .c_str()));
      break;
  }
}

#ifdef _WIN32
std::string quoted(const std::string& path) { return '"' + path + '"'; }

// The program's path as Windows sees it: Wine maps the host's root to Z:.
std::string windows_program(const Case& test) {
  std::string path = program(test);
  if (!path.empty() && path[0] == '/') {
    std::replace(path.begin(), path.end(), '/', '\\');
    path = "Z:" + path;
  }
  return path;
}

// The command interpreter's line that runs the program in `dir`.
std::string command_line(const Case& test, const fs::path& dir) {
  return "cd /d " + quoted(dir.string()) + " && " + quoted(windows_program(test)) + " " +
         test.args + " >" + quoted((dir / "out").string()) + " 2>" + quoted((dir / "err").string());
}

// std::system returns the program's exit code as it is.
int exit_status(int raw) { return raw; }
#else
// The shell's line that runs the program in `dir`, with its limits and
// redirections.
std::string command_line(const Case& test, const fs::path& dir) {
  std::string command = "cd '" + dir.string() + "' && ";
  if (test.vm_limit_kib > 0) {
    command += "ulimit -v " + std::to_string(test.vm_limit_kib) + " && ";
  }
  command += launcher() + " " + emulator() + " '" + program(test) + "' " + test.args + " 2>'" +
             (dir / "err").string() + "'";
  switch (test.output) {
    case Output::kFile:
      command += " >'" + (dir / "out").string() + "'";
      break;
    case Output::kClosed:
      command += " >&-";
      break;
    case Output::kDevFull:
      command += " >/dev/full";
      break;
  }
  return command;
}

// A wait status as a shell reports it: the exit code, or 128 + a signal.
int exit_status(int raw) { return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw); }
#endif

Outcome run_program(const Case& test, const fs::path& dir) {
  Outcome run;
  run.status = exit_status(std::system(command_line(test, dir).c_str()));
  run.out = read_file(dir / "out");
  run.err = read_file(dir / "err");
  return run;
}

bool is_address(const std::string& text) {
  return text.size() == kAddressDigits && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
         });
}

// The address that follows `label` on `line`, or "" if there is none.
std::string address_after(const std::string& line, const std::string& label) {
  const std::size_t at = line.find(label);
  return at == std::string::npos ? "" : line.substr(at + label.size(), kAddressDigits);
}

// The element addresses in the order of the listing's lines.
std::vector<std::string> listed_addresses(const std::string& out, std::size_t elements) {
  std::vector<std::string> addresses;
  std::size_t start = out.find(kEol);
  while (start != std::string::npos && addresses.size() < elements) {
    start += std::char_traits<char>::length(kEol);
    const std::size_t end = out.find(kEol, start);
    addresses.push_back(address_after(out.substr(start, end - start), " ADR: "));
    start = end;
  }
  addresses.resize(elements);
  return addresses;
}

// The listing the program must write for `listing`, with the element
// addresses it actually used, after checking that they look like
// addresses and are distinct. Header and links are derived from them, so a
// wrong header or a broken link shows as a difference in the bytes.
std::string expected_output(const Listing& listing, const std::string& out) {
  if (listing.empty()) {
    return "Seznam je prazdny."s + kEol;
  }
  const auto addresses = listed_addresses(out, listing.size());
  for (const auto& address : addresses) {
    EXPECT_TRUE(is_address(address)) << "not an address: '" << address << "'";
  }
  EXPECT_EQ(addresses.size(), std::set<std::string>(addresses.begin(), addresses.end()).size());
  const std::string null_address(kAddressDigits, '0');
  std::string text = "Seznam - adresa prvniho prvku: " + addresses[0] + kEol;
  for (std::size_t i = 0; i < listing.size(); ++i) {
    const std::string& next = i + 1 < listing.size() ? addresses[i + 1] : null_address;
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%3zu", i + 1);
    text += numbers + " ADR: "s + addresses[i] + " NEXT: " + next;
    std::snprintf(numbers, sizeof numbers, " COUNT: %3d WORD: ", listing[i].second);
    text += numbers + listing[i].first + kEol;
  }
  return text;
}

// Compares two byte strings, reporting the first difference rather than
// both strings whole, which may be megabytes.
testing::AssertionResult same_bytes(const std::string& expected, const std::string& actual) {
  const auto diff = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
  if (diff.first == expected.end() && diff.second == actual.end()) {
    return testing::AssertionSuccess();
  }
  const std::size_t at = static_cast<std::size_t>(diff.first - expected.begin());
  const std::size_t from = at < 40 ? 0 : at - 40;
  return testing::AssertionFailure()
         << "sizes " << expected.size() << " and " << actual.size() << ", first difference at byte "
         << at << "\n  expected: ..." << testing::PrintToString(expected.substr(from, 80))
         << "\n  actual:   ..." << testing::PrintToString(actual.substr(from, 80));
}

// Checks a trace: its format line, one line per word added (the fixed
// words first), each inserted the first time and counted after, and the
// listing at its end exactly as wordlist writes it.
void check_trace(const Case& test, const std::string& out) {
  const std::string format = "wordlist-trace 1"s + kEol;
  ASSERT_EQ(format, out.substr(0, format.size()));
  const std::size_t listing = out.find("Seznam");
  ASSERT_NE(std::string::npos, listing);
  std::vector<std::string> words = fixed_words();
  const std::vector<std::string> text_words = model_words(test.text);
  words.insert(words.end(), text_words.begin(), text_words.end());
  std::map<std::string, int> counts;
  std::size_t at = format.size();
  for (const std::string& word : words) {
    const std::size_t end = out.find(kEol, at);
    ASSERT_LT(end, listing) << "fewer additions than words";
    const std::string line = out.substr(at, end - at);
    const char* kind = ++counts[word] == 1 ? "inserted " : "counted ";
    EXPECT_EQ(0U, line.find(kind)) << line;
    EXPECT_EQ(" WORD: " + word, line.substr(line.size() - word.size() - 7)) << line;
    at = end + std::char_traits<char>::length(kEol);
  }
  EXPECT_EQ(listing, at) << "more additions than words";
  const std::string rest = out.substr(listing);
  EXPECT_TRUE(same_bytes(expected_output(test.listing, rest), rest));
}

class EndToEndTest : public testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(program(GetParam()).empty()) << "WORDLIST_PROGRAM must name the program to test";
    std::random_device random;
    dir_ = fs::temp_directory_path() /
           ("wordlist-" + GetParam().name + "-" + std::to_string(random()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  fs::path dir_;
};

// Tests one run: its status, its standard error and its listing, exactly.
TEST_P(EndToEndTest, WritesExpectedOutput) {
  const Case& test = GetParam();
  if (!launcher().empty() && (test.heavy || test.vm_limit_kib > 0)) {
    GTEST_SKIP() << "too slow or not possible under " << launcher();
  }
  // Each of these reserves far more address space than the limit allows.
  if (test.vm_limit_kib > 0 && (kSanitized || !emulator().empty())) {
    GTEST_SKIP() << "the limit would bind the sanitizers or the emulator, not the program";
  }
  prepare_input(test, dir_);
  const Outcome run = run_program(test, dir_);
  EXPECT_EQ(test.status, run.status);
  EXPECT_EQ(test.error, run.err);
  if (test.status == 0 && test.output == Output::kFile && test.traced) {
    check_trace(test, run.out);
  } else if ((test.status == 0 || test.status == 3) && test.output == Output::kFile) {
    EXPECT_TRUE(same_bytes(expected_output(test.listing, run.out), run.out));
  } else {
    EXPECT_EQ("", run.out);
  }
}

const Listing kFixedOnly{{"druhy", 1}, {"pokus", 3}};

// One line of standard error as this platform ends it.
std::string line(const char* text) { return text + std::string(kEol); }

Case listed(std::string name, std::string text, Listing listing) {
  Case test;
  test.name = std::move(name);
  test.text = std::move(text);
  test.listing = std::move(listing);
  return test;
}

// Takes the expected listing from the model, for texts too large to spell out.
Case modelled(std::string name, std::string text, bool heavy = false) {
  Case test = listed(std::move(name), std::move(text), {});
  test.listing = model_listing(test.text);
  test.heavy = heavy;
  return test;
}

Case failing(std::string name, Input input, Output output, int status, std::string error) {
  Case test = listed(std::move(name), "", {});
  test.input = input;
  test.output = output;
  test.status = status;
  test.error = std::move(error);
  return test;
}

// Every byte value but zero, once each, in ascending or shuffled order.
std::string all_bytes(bool shuffled) {
  std::string bytes;
  for (int value = 1; value < 256; ++value) {
    bytes += static_cast<char>(value);
  }
  if (shuffled) {
    std::shuffle(bytes.begin(), bytes.end(), std::mt19937(2026));
  }
  return bytes;
}

// `count` distinct lower-case words in a scrambled order, one per line.
std::string distinct_words(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    for (int rest = (i * 7919) % count + count; rest > 0; rest /= 26) {
      text += static_cast<char>('a' + rest % 26);
    }
    text += '\n';
  }
  return text;
}

std::string repeated(const std::string& piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) {
    text += piece;
  }
  return text;
}

#ifndef _WIN32
// A word longer than the output's buffer is written past it: the write
// that fails leaves nothing for the last flush, and the reason must still
// be its own.
Case long_word_to_full_output(std::string name, const std::string& program) {
  Case test = failing(std::move(name), Input::kFile, Output::kDevFull, 2,
                      line((program + ": write error: No space left on device").c_str()));
  test.text = std::string(std::size_t{1} << 16U, 'x');
  return test;
}

// Inputs only a POSIX host can lay out: links, sparse files, limits on
// memory, and standard output closed or full.
void add_posix_cases(std::vector<Case>* all) {
  all->push_back(listed("LinkToDevNull", "/dev/null", kFixedOnly));
  all->back().input = Input::kLink;
  all->push_back(failing("DanglingLink", Input::kLink, Output::kFile, 2,
                         line("wordlist: neco.txt: No such file or directory")));
  all->back().text = "missing";
  // The kernel reports a size of a page for this file but reads a few
  // bytes: the text must end at what was read.
  const char* const short_file = "/sys/devices/system/cpu/online";
  if (fs::exists(short_file)) {
    all->push_back(modelled("ShortRead", read_file(short_file)));
    all->back().input = Input::kLink;
    all->back().text = short_file;
  }
  all->push_back(failing("SparseFileOverMemoryLimit", Input::kSparse, Output::kFile, 1, ""));
  all->back().sparse_size = std::uintmax_t{1} << 30U;
  all->back().vm_limit_kib = 256L * 1024;
  // Past 2 GiB a 32-bit long cannot hold the size: the file cannot be used.
  // A 64-bit build measures it and cannot allocate it under the limit.
  if (sizeof(long) < 8) {
    all->push_back(failing("FileOver2GiB", Input::kSparse, Output::kFile, 2,
                           line("wordlist: neco.txt: Value too large for defined data type")));
  } else {
    all->push_back(failing("FileOver2GiB", Input::kSparse, Output::kFile, 1, ""));
    all->back().vm_limit_kib = 256L * 1024;
  }
  all->back().sparse_size = (std::uintmax_t{1} << 31U) + 16;
  // One word too large to be copied beside the text that holds it: the
  // one occurrence lost is told in the singular.
  all->push_back(listed("OneOccurrenceLost", std::string(std::size_t{32} << 20U, 'x'), kFixedOnly));
  all->back().status = 3;
  all->back().error = line("wordlist: 1 occurrence not counted: out of memory or count limit");
  all->back().vm_limit_kib = 48L * 1024;
  all->push_back(failing("StdoutFull", Input::kFile, Output::kDevFull, 2,
                         line("wordlist: write error: No space left on device")));
  all->push_back(failing("StdoutClosed", Input::kFile, Output::kClosed, 2,
                         line("wordlist: write error: Bad file descriptor")));
  all->push_back(long_word_to_full_output("LongWordStdoutFull", "wordlist"));
}
#endif

// Inputs meant to break a careless reader or list: every byte value, zero
// bytes at the edges, sizes far beyond a normal text, odd file types and
// limits on memory and output.
void add_hostile_cases(std::vector<Case>* all) {
  const std::size_t mib = std::size_t{1} << 20U;
  all->push_back(modelled("AllByteValues", all_bytes(false)));
  all->push_back(modelled("AllByteValuesShuffled", all_bytes(true)));
  all->push_back(listed("LeadingZeroByte", "\0pokus word"s, kFixedOnly));
  all->push_back(listed("TrailingZeroByte", "word\0"s, {{"druhy", 1}, {"pokus", 3}, {"word", 1}}));
  all->push_back(modelled("OneWordOf16MiB", std::string(16 * mib, 'x'), true));
  all->push_back(listed("DelimitersOnly10MiB", repeated(" \r\n\t,.?!*'", mib), kFixedOnly));
  all->push_back(modelled("DistinctWords20000", distinct_words(20000), true));
  all->push_back(listed("OneWordMillionTimes", repeated("slovo\r\n", 1000000),
                        {{"druhy", 1}, {"pokus", 3}, {"slovo", 1000000}}));
#ifndef _WIN32
  add_posix_cases(all);
#endif
}

// What `program` says of a neco.txt that is a directory: Windows refuses
// to open it as a file; Linux opens it and refuses to read it.
std::string directory_error(const std::string& program) {
#ifdef _WIN32
  return line((program + ": neco.txt: Permission denied").c_str());
#else
  return line((program + ": neco.txt: Is a directory").c_str());
#endif
}

std::vector<Case> cases() {
  const std::string worked = "Ahoj, ahoj! Don't stop.\r\n";
  const Listing worked_listing{{"Ahoj", 1},  {"Don", 1},  {"ahoj", 1}, {"druhy", 1},
                               {"pokus", 3}, {"stop", 1}, {"t", 1}};
  std::vector<Case> all{
      listed("WorkedExample", worked, worked_listing),
      listed("EmptyFile", "", kFixedOnly),
      listed("DelimitersOnly", " \r\n\t,.?!*' \r\n\t,.?!*'", kFixedOnly),
      listed("FixedWordCounted", "pokus", {{"druhy", 1}, {"pokus", 4}}),
      listed("CaseDistinct", "Pokus", {{"Pokus", 1}, {"druhy", 1}, {"pokus", 3}}),
      listed("CrLfLines", "b a\r\nb\r\n\r\nc\r\n",
             {{"a", 1}, {"b", 2}, {"c", 1}, {"druhy", 1}, {"pokus", 3}}),
      listed("OtherBytesAreWordBytes", "well-known x:y \"q\"; (p)\f\v[1]",
             {{"\"q\";", 1},
              {"(p)\f\v[1]", 1},
              {"druhy", 1},
              {"pokus", 3},
              {"well-known", 1},
              {"x:y", 1}}),
      listed("ZeroByteEndsText", "one two\0three four"s,
             {{"druhy", 1}, {"one", 1}, {"pokus", 3}, {"two", 1}}),
      listed("HighBytes", "\xC3\xA1 z \xFF\x80 \x80 z",
             {{"druhy", 1}, {"pokus", 3}, {"z", 2}, {"\x80", 1}, {"\xC3\xA1", 1}, {"\xFF\x80", 1}}),
      failing("MissingFile", Input::kNone, Output::kFile, 2,
              line("wordlist: neco.txt: No such file or directory")),
      failing("Directory", Input::kDirectory, Output::kFile, 2, directory_error("wordlist")),
  };
  Case with_args = listed("ArgumentsIgnored", worked, worked_listing);
  with_args.args = "-h --version neco.txt ''";
  all.push_back(with_args);
  add_hostile_cases(&all);
  // wordlist-trace makes the same run, and ends its trace with the same
  // listing.
  std::vector<Case> traced{all[0], all[1], all[7], all[8],
                           failing("MissingFile", Input::kNone, Output::kFile, 2,
                                   line("wordlist-trace: neco.txt: No such file or directory"))};
  traced.push_back(
      failing("Directory", Input::kDirectory, Output::kFile, 2, directory_error("wordlist-trace")));
  // A short option is no file name.
  traced.push_back(
      failing("ShortOption", Input::kFile, Output::kFile, 2,
              line("wordlist-trace: unknown option '-x' (see wordlist-trace --help)")));
  traced.back().args = "-x";
#ifndef _WIN32
  traced.push_back(failing("SparseFileOverMemoryLimit", Input::kSparse, Output::kFile, 1, ""));
  traced.back().sparse_size = std::uintmax_t{1} << 30U;
  traced.back().vm_limit_kib = 256L * 1024;
  traced.push_back(failing("OutputFull", Input::kFile, Output::kDevFull, 2,
                           line("wordlist-trace: write error: No space left on device")));
  traced.push_back(failing("OutputClosed", Input::kFile, Output::kClosed, 2,
                           line("wordlist-trace: write error: Bad file descriptor")));
  traced.push_back(long_word_to_full_output("LongWordOutputFull", "wordlist-trace"));
#endif
  for (Case& test : traced) {
    test.name = "Trace" + test.name;
    test.traced = true;
    all.push_back(test);
  }
  return all;
}

INSTANTIATE_TEST_SUITE_P(Cases, EndToEndTest, testing::ValuesIn(cases()),
                         [](const auto& info) { return info.param.name; });

// Every element's offset from the first element's address, by word.
std::map<std::string, std::uint64_t> offsets_by_word(const std::string& listing) {
  std::map<std::string, std::uint64_t> offsets;
  std::uint64_t first = 0;
  std::size_t start = listing.find(kEol);
  while (start != std::string::npos) {
    start += std::char_traits<char>::length(kEol);
    const std::size_t end = listing.find(kEol, start);
    const std::string line = listing.substr(start, end - start);
    const std::size_t word = line.find(" WORD: ");
    if (word == std::string::npos) {
      break;
    }
    const std::uint64_t address = std::stoull(address_after(line, " ADR: "), nullptr, 16);
    first = offsets.empty() ? address : first;
    offsets[line.substr(word + 7)] = address - first;
    start = end;
  }
  return offsets;
}

// Genesis as Debian's bible-kjv prints it, with chapter headings and verse
// numbers. Empty where the program is missing. Under Wine no Linux program
// can be started from here: the build has run it, where it could.
std::string genesis_verses() {
#ifdef _WIN32
  return read_file(WORDLIST_GENESIS_VERSES);
#else
  if (!fs::exists("/usr/bin/bible")) {
    return "";
  }
  std::FILE* pipe = popen("/usr/bin/bible gen1:1-gen50:26", "r");
  std::string raw;
  char chunk[65536];
  for (std::size_t got = 0;
       pipe != nullptr && (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
    raw.append(chunk, got);
  }
  return pipe == nullptr || pclose(pipe) != 0 ? "" : raw;
#endif
}

// Genesis from Debian's bible-kjv, as plain text: no chapter headings, no
// verse numbers. Empty where the program is missing.
std::string genesis() {
  const std::string raw = genesis_verses();
  std::string text;
  for (std::size_t at = 0; at < raw.size();) {
    const std::size_t end = std::min(raw.find('\n', at), raw.size() - 1) + 1;
    std::string line = raw.substr(at, end - at);
    at = end;
    if (line.rfind("Genesis ", 0) == 0 &&
        line.find_first_not_of("0123456789\n", 8) == std::string::npos) {
      continue;
    }
    const std::size_t digits = line.find_first_not_of(' ');
    const std::size_t after = line.find_first_not_of("0123456789", digits);
    if (digits != std::string::npos && after != digits && after != std::string::npos &&
        line[after] == ' ') {
      line.erase(0, after + 1);
    }
    text += line;
  }
  return text;
}

std::string sample_text() { return read_file(WORDLIST_SAMPLE); }
std::string one_word() { return "alone"; }

struct LayoutCase {
  const char* name;
  std::string (*text)();
};

void PrintTo(const LayoutCase& test, std::ostream* out) { *out << test.name; }

class SameLayoutTest : public testing::TestWithParam<LayoutCase> {};

// The tracer keeps what it needs apart from the heap, so the list's
// elements lie at the same offsets from each other as in wordlist's run on
// the same text (the base itself moves from run to run).
TEST_P(SameLayoutTest, TracedElementsLieAsListedOnes) {
  if (!launcher().empty() || kSanitized) {
    GTEST_SKIP() << "the checker's or the sanitizers' allocator is not the program's";
  }
  Case test;
  test.name = GetParam().name;
  test.text = GetParam().text();
  if (test.text.empty()) {
    GTEST_SKIP() << "no text: /usr/bin/bible (Debian's bible-kjv) makes Genesis, and is missing";
  }
  std::random_device random;
  const fs::path dir = fs::temp_directory_path() / ("wordlist-layout-" + std::to_string(random()));
  fs::create_directories(dir);
  prepare_input(test, dir);
  const Outcome listed = run_program(test, dir);
  test.traced = true;
  const Outcome traced = run_program(test, dir);
  fs::remove_all(dir);
  ASSERT_EQ(0, listed.status);
  ASSERT_EQ(0, traced.status);
  const auto expected = offsets_by_word(listed.out);
  const auto actual = offsets_by_word(traced.out.substr(traced.out.find("Seznam")));
  ASSERT_EQ(model_counts(test.text).size(), expected.size());
  std::size_t differ = 0;
  for (const auto& [word, offset] : expected) {
    differ += actual.count(word) == 0 || actual.at(word) != offset ? 1 : 0;
  }
  EXPECT_EQ(0U, differ) << "of " << expected.size() << " elements";
}

INSTANTIATE_TEST_SUITE_P(Texts, SameLayoutTest,
                         testing::Values(LayoutCase{"Sample", sample_text},
                                         LayoutCase{"OneWord", one_word},
                                         LayoutCase{"Genesis", genesis}),
                         [](const auto& info) { return std::string(info.param.name); });

#ifndef _WIN32
// The words and counts a listing shows, read back from its lines.
Listing listed_counts(const std::string& out) {
  Listing listing;
  std::size_t start = out.find('\n');
  while (start != std::string::npos && start + 1 < out.size()) {
    const std::size_t end = out.find('\n', start + 1);
    const std::string text = out.substr(start + 1, end - start - 1);
    const std::size_t count = text.find(" COUNT: ");
    const std::size_t word = text.find(" WORD: ");
    if (count == std::string::npos || word == std::string::npos) {
      break;
    }
    listing.emplace_back(text.substr(word + 7), std::stoi(text.substr(count + 8)));
    start = end;
  }
  return listing;
}

// Checks one run under a memory limit: a complete listing and status 0;
// nothing at all and status 1; or a well-formed listing of part of the
// words with status 3 and one line saying how many occurrences are missing.
// The tracer's listing ends its trace, which has a "not counted" line for
// each occurrence missing.
void check_limited_run(const Case& test, const Outcome& run, long kib) {
  const Listing full = model_listing(test.text);
  SCOPED_TRACE("limit " + std::to_string(kib) + " KiB");
  const std::size_t listing_start = test.traced ? run.out.find("Seznam") : 0;
  const std::string listing =
      listing_start == std::string::npos ? "" : run.out.substr(listing_start);
  const std::string trace = run.out.substr(0, run.out.size() - listing.size());
  long not_counted = 0;
  for (std::size_t at = trace.find("\nnot counted "); at != std::string::npos;
       at = trace.find("\nnot counted ", at + 1)) {
    ++not_counted;
  }
  if (run.status == 0 || run.status == 1) {
    EXPECT_EQ("", run.err);
    EXPECT_EQ(0, not_counted);
    EXPECT_TRUE(same_bytes(run.status == 0 ? expected_output(full, listing) : "", listing));
    return;
  }
  ASSERT_EQ(3, run.status) << run.err;
  const Listing partial = listed_counts(listing);
  EXPECT_TRUE(same_bytes(expected_output(partial, listing), listing));
  std::map<std::string, int> counts(full.begin(), full.end());
  long missing = 0;
  for (const auto& [word, count] : full) {
    missing += count;
  }
  for (const auto& [word, count] : partial) {
    EXPECT_LE(count, counts[word]) << word;
    missing -= count;
  }
  EXPECT_TRUE(std::is_sorted(partial.begin(), partial.end()));
  EXPECT_EQ(test.traced ? missing : 0, not_counted);
  EXPECT_EQ((test.traced ? "wordlist-trace: " : "wordlist: ") + std::to_string(missing) +
                (missing == 1 ? " occurrence" : " occurrences") +
                " not counted: out of memory or count limit\n",
            run.err);
}

class MemoryLimitTest : public testing::TestWithParam<bool> {};

// Tests every address-space limit from the lowest at which the program
// (or, with the parameter, the tracer) starts to the lowest at which it
// completes: each run ends in one of the three honest ways, never with a
// crash or a silent partial listing.
TEST_P(MemoryLimitTest, EveryLimitEndsHonestly) {
  if (!launcher().empty() || !emulator().empty() || kSanitized) {
    GTEST_SKIP() << "the limit would bind the checker, the emulator or the sanitizers";
  }
  // A text buffer large enough to be mapped on its own, then words long
  // enough that the list makes the heap grow several times on any target.
  std::string text(std::size_t{256} << 10U, ' ');
  for (const char byte : distinct_words(3000)) {
    text += byte == '\n' ? std::string(48, '-') + '\n' : std::string(1, byte);
  }
  Case test = modelled("MemoryLimits", text);
  test.traced = GetParam();
  const fs::path dir = fs::temp_directory_path() / ("wordlist-limits-" + std::to_string(getpid()));
  fs::create_directories(dir);
  prepare_input(test, dir);
  const auto run_at = [&](long kib) {
    test.vm_limit_kib = kib;
    return run_program(test, dir);
  };
  // Below some limit the runtime itself cannot start; find it coarsely,
  // then take every page-sized step from just below it.
  constexpr long kCoarse = 256;
  constexpr long kPage = 4;
  long kib = kCoarse;
  for (int status = run_at(kib).status; status != 0 && status != 1 && status != 3;
       status = run_at(kib).status) {
    kib += kCoarse;
    ASSERT_LT(kib, 1L << 20) << "the program never started";
  }
  for (kib -= kCoarse; kib > 0 && run_at(kib).status > 3; kib += kPage) {
  }
  std::map<int, int> seen;  // runs by status
  for (;; kib += kPage) {
    const Outcome run = run_at(kib);
    check_limited_run(test, run, kib);
    ++seen[run.status];
    if (run.status == 0 || testing::Test::HasFatalFailure()) {
      break;
    }
  }
  EXPECT_EQ(3U, seen.size());
  for (const auto& [status, runs] : seen) {
    RecordProperty("runs_with_status_" + std::to_string(status), runs);
  }
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Programs, MemoryLimitTest, testing::Bool(), [](const auto& info) {
  return std::string(info.param ? "Traced" : "Listed");
});
#endif

}  // namespace
