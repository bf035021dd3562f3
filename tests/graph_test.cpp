// The listing reader and the DOT writer, in process: every rule the
// reader enforces, with the line it must name; listings from every target;
// and words that must stay data in the graph.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <numeric>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "dot_writer.h"
#include "html_writer.h"
#include "input_checks.h"
#include "line_reading.h"
#include "listing_reader.h"
#include "page_data.h"
#include "program_status.h"
#include "trace_reader.h"

namespace {

// A well-formed listing of three elements, 16 address digits, LF ends.
const std::string kGood =
    "Seznam - adresa prvniho prvku: 00005555AAAA0010\n"
    "  1 ADR: 00005555AAAA0010 NEXT: 00005555AAAA0050 COUNT:   1 WORD: druhy\n"
    "  2 ADR: 00005555AAAA0050 NEXT: 00005555AAAA0030 COUNT:   3 WORD: pokus\n"
    "  3 ADR: 00005555AAAA0030 NEXT: 0000000000000000 COUNT: 100 WORD: x\"<\\N>\n";

// `text` with its first occurrence of `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// kGood, edited.
std::string edited(const std::string& from, const std::string& to) {
  return replaced(kGood, from, to);
}

// A listing of `lines` elements whose NEXT runs back and forth between
// two addresses, the last one null.
std::string cycle(int lines) {
  std::string text = "Seznam - adresa prvniho prvku: 0000AAA0\n";
  for (int i = 1; i <= lines; ++i) {
    char line[96];
    std::snprintf(line, sizeof line, "%3d ADR: %s NEXT: %s COUNT:   1 WORD: w%d\n", i,
                  i % 2 == 1 ? "0000AAA0" : "0000BBB0",
                  i == lines   ? "00000000"
                  : i % 2 == 1 ? "0000BBB0"
                               : "0000AAA0",
                  i);
    text += line;
  }
  return text;
}

struct BrokenCase {
  const char* name;
  std::string text;
  std::size_t line;
  std::string what;
};

void PrintTo(const BrokenCase& test, std::ostream* out) { *out << test.name; }

class BrokenListingTest : public testing::TestWithParam<BrokenCase> {};

// Tests that the first violation is found, on its line, and nothing kept.
TEST_P(BrokenListingTest, NamesTheLine) {
  ParsedListing listing{nullptr, nullptr, 99, 16};  // what it held counts for nothing
  ListingError error{};
  const std::string& text = GetParam().text;
  ASSERT_EQ(ReadResult::kInvalid, listing_read(text.data(), text.size(), &listing, &error));
  EXPECT_EQ(GetParam().line, error.line) << error.what;
  EXPECT_EQ(GetParam().what, error.what);
  EXPECT_EQ(nullptr, listing.elements);
  EXPECT_EQ(0U, listing.size);
}

// The reader's reasons that more than one rule shares.
const char* const kNoLineEnd = "the line has no line end: the listing is cut short";
const char* const kHeaderDigits =
    "the header's address is not 8 or 16 upper-case hexadecimal digits";
const char* const kPosition = "the position is not the next one (they run 1, 2, 3, ...)";
const char* const kCountLow = "COUNT is below 1";
const char* const kCountHigh = "COUNT is larger than 2147483647";
const char* const kCountForm = "COUNT is not a number as the program writes it";
const char* const kWordBytes = "WORD is empty or holds a delimiter or zero byte";

INSTANTIATE_TEST_SUITE_P(
    Rules, BrokenListingTest,
    testing::Values(
        BrokenCase{"Empty", "", 1, "the input is empty: no listing"},
        BrokenCase{"NotAListing", "hello\n", 1,
                   "not a listing: expected its header or the empty-list line"},
        BrokenCase{"NoLineFeed", "hello", 1, kNoLineEnd},
        BrokenCase{"BlankLine", "\n", 1,
                   "not a listing: expected its header or the empty-list line"},
        BrokenCase{"EmptyListThenMore", "Seznam je prazdny.\nx\n", 2,
                   "a line follows the empty-list line"},
        BrokenCase{"HeaderLowerCase", edited("AAAA0010\n", "aaaa0010\n"), 1, kHeaderDigits},
        BrokenCase{"HeaderTwelveDigits", edited("00005555AAAA0010\n", "5555AAAA0010\n"), 1,
                   kHeaderDigits},
        BrokenCase{"HeaderNull", "Seznam - adresa prvniho prvku: 00000000\n", 1,
                   "the header's address is null"},
        BrokenCase{"HeaderOnly", "Seznam - adresa prvniho prvku: 0000AAAA\n", 2,
                   "no element follows the header"},
        BrokenCase{"CutShort", kGood.substr(0, kGood.size() - 1), 4, kNoLineEnd},
        BrokenCase{"MixedLineEnds", edited("druhy\n", "druhy\r\n"), 2,
                   "the line ends otherwise than the header (LF and CR LF mixed)"},
        BrokenCase{"PositionSkipped", edited("  2 ADR", "  3 ADR"), 3, kPosition},
        BrokenCase{"PositionNotAligned", edited("  1 ADR", "1 ADR"), 2, kPosition},
        BrokenCase{"HeaderDiffersFromFirst", edited("0010\n", "0020\n"), 2,
                   "ADR differs from the header's address"},
        BrokenCase{"NextDiffersFromAdr", edited("0050 COUNT", "0060 COUNT"), 3,
                   "ADR differs from the NEXT of the line before"},
        BrokenCase{"AddressWidthsDiffer", edited("ADR: 00005555AAAA0050", "ADR: AAAA0050"), 3,
                   "ADR is not an address as wide as the header's"},
        BrokenCase{"NextNarrower", edited("NEXT: 00005555AAAA0050", "NEXT: AAAA0050"), 2,
                   "NEXT is not an address as wide as the header's"},
        BrokenCase{"NextMissing", edited(" NEXT: 00005555AAAA0050", ""), 2, "NEXT is missing"},
        BrokenCase{"CountMissing", edited(" COUNT:   3", ""), 3, "COUNT is missing"},
        BrokenCase{"CountZero", edited("COUNT:   3", "COUNT:   0"), 3, kCountLow},
        BrokenCase{"CountNegative", edited("COUNT:   3", "COUNT:  -3"), 3, kCountLow},
        BrokenCase{"CountNotAligned", edited("COUNT:   3", "COUNT: 3"), 3, kCountForm},
        BrokenCase{"CountLeadingZero", edited("COUNT: 100", "COUNT: 010"), 4, kCountForm},
        BrokenCase{"CountTwoDigitsLeadingZero", edited("COUNT:   3", "COUNT:  05"), 3, kCountForm},
        BrokenCase{"CountOverflows", edited("COUNT: 100", "COUNT: 2147483648"), 4, kCountHigh},
        BrokenCase{"CountTooLong", edited("COUNT: 100", "COUNT: 10000000000"), 4, kCountHigh},
        BrokenCase{"WordMissing", edited(" WORD: pokus", ""), 3, "WORD is missing"},
        BrokenCase{"WordEmpty", edited("WORD: pokus", "WORD: "), 3, kWordBytes},
        BrokenCase{"WordWithDelimiter", edited("WORD: pokus", "WORD: po kus"), 3, kWordBytes},
        BrokenCase{"WordWithZeroByte", edited("WORD: pokus", std::string("WORD: po\0kus", 12)), 3,
                   kWordBytes},
        BrokenCase{"LastNextNotNull", edited("NEXT: 0000000000000000", "NEXT: 00005555AAAA0070"), 4,
                   "NEXT is not null, but no element follows"},
        BrokenCase{"LineAfterLast", kGood + "\n", 5,
                   "a line follows the last element, whose NEXT is null"},
        BrokenCase{"AddressRepeats",
                   edited("0030 NEXT: 0000000000000000 COUNT: 100 WORD: x\"<\\N>\n",
                          "0030 NEXT: 00005555AAAA0010 COUNT: 100 WORD: x\n"
                          "  4 ADR: 00005555AAAA0010 NEXT: 0000000000000000 COUNT:   1 WORD: y\n"),
                   5, "ADR is that of an earlier element"},
        // A chain that runs round two elements, 40 lines long: the third
        // line of elements is the first to repeat an address.
        BrokenCase{"AddressesCycle", cycle(40), 4, "ADR is that of an earlier element"}),
    [](const auto& info) { return std::string(info.param.name); });

struct GoodCase {
  const char* name;
  std::string text;
  std::size_t size;
  int digits;
};

void PrintTo(const GoodCase& test, std::ostream* out) { *out << test.name; }

class GoodListingTest : public testing::TestWithParam<GoodCase> {};

// The listing of `words` with 8-digit addresses, with `eol` line ends and
// the position and count widened as the program widens them.
std::string listing_of(std::size_t count, const char* eol) {
  std::string text = std::string("Seznam - adresa prvniho prvku: 00010000") + eol;
  for (std::size_t i = 1; i <= count; ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "%3zu ADR: %08zX NEXT: %08zX COUNT: %3zu WORD: w\x01\xFF%s", i,
                  0x10000 + i - 1, i == count ? 0 : 0x10000 + i, i * 1000, eol);
    text += line;
  }
  return text;
}

// `listing` as the program would print it.
std::string relisted(const ParsedListing& listing, const char* eol) {
  if (listing.size == 0) {
    return std::string("Seznam je prazdny.") + eol;
  }
  const int digits = listing.address_digits;
  char line[128];
  std::snprintf(line, sizeof line, "Seznam - adresa prvniho prvku: %0*" PRIX64 "%s", digits,
                listing.elements[0].address, eol);
  std::string text = line;
  for (std::size_t i = 0; i < listing.size; ++i) {
    const ListedElement& element = listing.elements[i];
    std::snprintf(line, sizeof line,
                  "%3zu ADR: %0*" PRIX64 " NEXT: %0*" PRIX64 " COUNT: %3" PRId32 " WORD: ", i + 1,
                  digits, element.address, digits, element.next, element.count);
    text += line + std::string(element.word, element.word_length) + eol;
  }
  return text;
}

// Tests that what the program writes on each target is read whole.
TEST_P(GoodListingTest, ReadsEveryElement) {
  ParsedListing listing{nullptr, nullptr, 99, 4};  // what it held counts for nothing
  ListingError error{};
  const std::string& text = GetParam().text;
  ASSERT_EQ(ReadResult::kRead, listing_read(text.data(), text.size(), &listing, &error))
      << error.line << ": " << error.what;
  EXPECT_EQ(GetParam().size, listing.size);
  EXPECT_EQ(GetParam().digits, listing.address_digits);
  // Every field read back: the records, written as the program writes
  // them, give the same text.
  EXPECT_EQ(text, relisted(listing, text.find('\r') == std::string::npos ? "\n" : "\r\n"));
  listing_release(&listing);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, GoodListingTest,
    testing::Values(GoodCase{"Linux64", kGood, 3, 16},
                    GoodCase{"CountAtItsLimit", edited("COUNT: 100", "COUNT: 2147483647"), 3, 16},
                    // Any address but null is an element's.
                    GoodCase{"HeadAtOne",
                             replaced(edited("00005555AAAA0010\n", "0000000000000001\n"),
                                      "ADR: 00005555AAAA0010", "ADR: 0000000000000001"),
                             3, 16},
                    GoodCase{"Windows32", listing_of(3, "\r\n"), 3, 8},
                    GoodCase{"WidePositions", listing_of(1200, "\n"), 1200, 8},
                    GoodCase{"EmptyList", "Seznam je prazdny.\n", 0, 0},
                    GoodCase{"EmptyListCrLf", "Seznam je prazdny.\r\n", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// What dot_write_word writes for `word`.
// What `write` writes to a file.
template <typename Write>
std::string written(Write write) {
  std::FILE* file = std::tmpfile();
  write(file);
  std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
  std::rewind(file);
  EXPECT_EQ(text.size(), std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  return text;
}

std::string label_of(const std::string& word) {
  return written([&word](std::FILE* file) { dot_write_word(file, word.data(), word.size()); });
}

// A byte as the label marks it.
std::string marked(const char* escape) {
  return std::string("<FONT COLOR=\"#B00020\">") + escape + "</FONT>";
}

std::string repeated(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) {
    all += text;
  }
  return all;
}

// Tests that words are drawn as their characters and nothing else, at
// every edge of what is well-formed UTF-8 and of what is invisible.
TEST(WordLabelTest, WordsStayData) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "plain"},
      {R"(\N\G\)", R"(<FONT>\</FONT>N<FONT>\</FONT>G<FONT>\</FONT>)"},
      {"<b>&\"x\"</b>", "&lt;b&gt;&amp;&quot;x&quot;&lt;/b&gt;"},
      {"{|};[]~", "{|};[]~"},
      {"\x01\x1F\x7F", marked("\\x01") + marked("\\x1F") + marked("\\x7F")},
      // Two bytes: U+0080..U+07FF; C0 and C1 only ever start overlong forms.
      {"\xC2\x9F\xC2\xA0", marked("\\u009F") + "\xC2\xA0"},
      {"\xDF\xBF", "\xDF\xBF"},
      {"\xDF", marked("\\xDF")},
      {"\xC0\xAF", marked("\\xC0") + marked("\\xAF")},
      // Three bytes: U+0800 up, surrogates excluded.
      {"\xE0\xA0\x80", "\xE0\xA0\x80"},
      {"\xE0\x9F\xBF", marked("\\xE0") + marked("\\x9F") + marked("\\xBF")},
      {"\xED\x9F\xBF\xEE\x80\x80", "\xED\x9F\xBF\xEE\x80\x80"},
      {"\xED\xA0\x80", marked("\\xED") + marked("\\xA0") + marked("\\x80")},
      {"\xED\xBF\xBF", marked("\\xED") + marked("\\xBF") + marked("\\xBF")},
      // Four bytes: up to U+10FFFF.
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
      {"\xF4\x90\x80\x80", marked("\\xF4") + marked("\\x90") + marked("\\x80") + marked("\\x80")},
      {"\xF5\x80", marked("\\xF5") + marked("\\x80")},
      // Overlong four-byte forms, of U+0000 and of U+FFFF, are no characters.
      {"\xF0\x80\x80\x80", marked("\\xF0") + marked("\\x80") + marked("\\x80") + marked("\\x80")},
      {"\xF0\x8F\xBF\xBF", marked("\\xF0") + marked("\\x8F") + marked("\\xBF") + marked("\\xBF")},
      {"\xF0\x90\x80\x80", "\xF0\x90\x80\x80"},
      {"\xE2\x82", marked("\\xE2") + marked("\\x82")},
      // The invisible and direction-changing ranges, and their neighbours.
      // NOLINTBEGIN(misc-misleading-bidirectional)
      {"\xE2\x80\x8A\xE2\x80\x8B", "\xE2\x80\x8A" + marked("\\u200B")},
      {"\xE2\x80\x8F\xE2\x80\x90", marked("\\u200F") + "\xE2\x80\x90"},
      {"\xE2\x80\xA7\xE2\x80\xA8", "\xE2\x80\xA7" + marked("\\u2028")},
      {"\xE2\x80\xAE\xE2\x80\xAF", marked("\\u202E") + "\xE2\x80\xAF"},
      {"\xE2\x81\x9F\xE2\x81\xA0", "\xE2\x81\x9F" + marked("\\u2060")},
      {"\xE2\x81\xA9\xE2\x81\xAA", marked("\\u2069") + "\xE2\x81\xAA"},
      {"\xEF\xBB\xBF", marked("\\uFEFF")},
      // NOLINTEND(misc-misleading-bidirectional)
      // Long words: 40 characters are shown, then the length in bytes.
      {std::string(40, 'a'), std::string(40, 'a')},
      {std::string(41, 'a'), std::string(40, 'a') + "&#8230; (41 bytes)"},
      {repeated("\xC3\xA1", 41), repeated("\xC3\xA1", 40) + "&#8230; (82 bytes)"},
      {repeated("\xFF", 41), repeated(marked("\\xFF"), 40) + "&#8230; (41 bytes)"},
  };
  for (const auto& [word, label] : cases) {
    EXPECT_EQ(label, label_of(word)) << testing::PrintToString(word);
  }
}

// Tests that a word in the page's data is a JSON string that nothing in
// it can end early, and that keeps every byte.
TEST(PageWordTest, WordsStayData) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", R"("plain")"},
      {"</script><!--", R"("\u003C/script\u003E\u003C!--")"},
      {"a\"b\\&", R"("a\"b\\\u0026")"},
      {"\x01\x1F\x7F", "\"\\u0001\\u001F\x7F\""},
      // NOLINTNEXTLINE(misc-misleading-bidirectional): a right-to-left override stays as it is
      {"\xC3\xA1\xE2\x80\xAE\xF0\x9F\x98\x80", "\"\xC3\xA1\xE2\x80\xAE\xF0\x9F\x98\x80\""},
      {"\xFF\xC0\xAF", R"("\uDCFF\uDCC0\uDCAF")"},
      {"\xE2\x82", R"("\uDCE2\uDC82")"},
      {"\xED\xA0\x80", R"("\uDCED\uDCA0\uDC80")"},
      {"\xF0\x80\x80\x80", R"("\uDCF0\uDC80\uDC80\uDC80")"},
  };
  for (const auto& [word, json] : cases) {
    EXPECT_EQ(json, written([&word = word](std::FILE* file) {
                html_write_word(file, word.data(), word.size());
              }))
        << testing::PrintToString(word);
  }
}

// Tests that the page holds the data once, where no word can reach out of
// it, and that --max draws the first elements.
TEST(PageTest, HoldsTheData) {
  ParsedListing listing{};
  ListingError error{};
  ASSERT_EQ(ReadResult::kRead, listing_read(kGood.data(), kGood.size(), &listing, &error));
  const std::string page =
      written([&](std::FILE* file) { html_write(file, listing, GraphView::kMemory, 2); });
  listing_release(&listing);
  const std::string open = R"(<script type="application/json" id="listing">)";
  const std::size_t data = page.find(open) + open.size();
  ASSERT_NE(std::string::npos, page.find(open));
  EXPECT_EQ(R"({"digits":16,"total":3,"view":"memory","tail":"00005555AAAA0030",)"
            R"("addresses":"00005555AAAA001000005555AAAA0050","counts":[1,3],"byAddress":[0,1],)"
            "\"words\":[\n\"druhy\",\n\"pokus\"]}</script>",
            page.substr(data, page.find("</script>", data) + 9 - data));
  for (const char* placeholder : {"@STYLE", "@SCRIPT", "@DATA@"}) {
    EXPECT_EQ(std::string::npos, page.find(placeholder)) << placeholder;
  }
}

struct DrawCase {
  const char* name;
  std::size_t size;  // elements in the listing
  GraphView view;
  std::size_t limit;
  std::vector<std::string> parts;  // each must stand in the graph
};

void PrintTo(const DrawCase& test, std::ostream* out) { *out << test.name; }

class DrawTest : public testing::TestWithParam<DrawCase> {};

// Tests the graph's title, markers, boxes and rows.
TEST_P(DrawTest, WritesTheParts) {
  const DrawCase& test = GetParam();
  const std::string text = listing_of(test.size, "\n");
  ParsedListing listing{};
  ListingError error{};
  ASSERT_EQ(ReadResult::kRead, listing_read(text.data(), text.size(), &listing, &error));
  const std::string graph =
      written([&](std::FILE* file) { dot_write(file, listing, test.view, test.limit); });
  listing_release(&listing);
  for (const std::string& part : test.parts) {
    EXPECT_NE(std::string::npos, graph.find(part)) << part << "\nin\n" << graph;
  }
}

const std::string kBox =
    R"(label=<<TABLE BORDER="0" CELLBORDER="1" CELLSPACING="0" CELLPADDING="3">)";

INSTANTIATE_TEST_SUITE_P(
    Graphs, DrawTest,
    testing::Values(
        DrawCase{"One",
                 1,
                 GraphView::kList,
                 0,
                 {"label=\"1 element in list order\"]", "null [", "n1:next -> null"}},
        DrawCase{"OneMore",
                 2,
                 GraphView::kList,
                 1,
                 {"label=\"2 elements in list order (the first 1 of the list drawn)\"]",
                  "label=\"... and 1 more element\"]", "n1:next -> more"}},
        DrawCase{"TwoMore",
                 3,
                 GraphView::kMemory,
                 1,
                 {"3 elements in order of address", "label=\"... and 2 more elements\"]"}},
        DrawCase{"ListRows",
                 13,
                 GraphView::kList,
                 0,
                 {"{ rank=same; n1; n2; n3; n4; n5; n6; }\n",
                  "{ rank=same; n7; n8; n9; n10; n11; n12; }\n", "{ rank=same; n13; }\n",
                  "n1 -> n7 [style=invis, weight=100]", "n7 -> n13 [style=invis, weight=100]",
                  "n5:next -> n6 [];", "n6:next -> n7 [constraint=false]",
                  "n2 [" + kBox + R"(<TR><TD BGCOLOR="#E4ECF7">2</TD>)"}},
        DrawCase{
            "MemoryRows",
            9,
            GraphView::kMemory,
            0,
            {"{ rank=same; n1; n2; n3; n4; n5; n6; n7; n8; }\n", "{ rank=same; n9; }\n",
             "n1 -> n9 [style=invis, weight=100]", "n8 -> n9 [color=\"#909090\"",
             "label=\"+1 B\", constraint=false]",
             "n2 [" + kBox + R"(<TR><TD BGCOLOR="#E4ECF7"><B>00010001</B></TD></TR><TR><TD>2. w)",
             "</TD></TR></TABLE>>];\n  n3 "}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// A well-formed trace: five additions, one not counted, then its listing.
const std::string kTrace =
    "wordlist-trace 1\n"
    "inserted 00001000 at head WORD: pokus\n"
    "inserted 00001040 at head WORD: druhy\n"
    "counted 00001000 COUNT: 2 WORD: pokus\n"
    "not counted WORD: pokus\n"
    "inserted 00001080 after 00001000 WORD: t\n"
    "Seznam - adresa prvniho prvku: 00001040\n"
    "  1 ADR: 00001040 NEXT: 00001000 COUNT:   1 WORD: druhy\n"
    "  2 ADR: 00001000 NEXT: 00001080 COUNT:   2 WORD: pokus\n"
    "  3 ADR: 00001080 NEXT: 00000000 COUNT:   1 WORD: t\n";

// kTrace with its first occurrence of `from` replaced by `to`.
std::string trace_edited(const std::string& from, const std::string& to) {
  return replaced(kTrace, from, to);
}

// A well-formed trace of a run that added with list_add_front.
const std::string kFrontTrace =
    "wordlist-trace 1 front\n"
    "inserted 00001000 at head WORD: pokus\n"
    "inserted 00001040 at head WORD: druhy\n"
    "counted 00001000 COUNT: 2 WORD: pokus\n"
    "inserted 00001080 at head WORD: zz\n"
    "Seznam - adresa prvniho prvku: 00001080\n"
    "  1 ADR: 00001080 NEXT: 00001040 COUNT:   1 WORD: zz\n"
    "  2 ADR: 00001040 NEXT: 00001000 COUNT:   1 WORD: druhy\n"
    "  3 ADR: 00001000 NEXT: 00000000 COUNT:   2 WORD: pokus\n";

std::string front_edited(const std::string& from, const std::string& to) {
  return replaced(kFrontTrace, from, to);
}

class BrokenTraceTest : public testing::TestWithParam<BrokenCase> {};

// Tests that the first line that breaks a rule of the replay is named.
TEST_P(BrokenTraceTest, NamesTheLine) {
  ParsedTrace trace{};
  ListingError error{};
  const std::string& text = GetParam().text;
  ASSERT_TRUE(is_trace(text.data(), text.size()));
  ASSERT_EQ(ReadResult::kInvalid, trace_read(text.data(), text.size(), &trace, &error));
  EXPECT_EQ(GetParam().line, error.line) << error.what;
  EXPECT_EQ(GetParam().what, error.what);
  EXPECT_EQ(nullptr, trace.steps);
}

const char* const kNotAddition =
    "not an addition as the trace writes it (inserted, counted, not counted)";
const char* const kCountForm2 = "COUNT is not a count as the trace writes it";
const char* const kNarrower = "the listing's addresses are not as wide as the trace's";
const std::string kTLine = "inserted 00001080 after 00001000 WORD: t\n";

INSTANTIATE_TEST_SUITE_P(
    Rules, BrokenTraceTest,
    testing::Values(
        BrokenCase{"OtherVersion", trace_edited("trace 1", "trace 2"), 1,
                   "the trace's format is not version 1"},
        BrokenCase{"FirstLineCutShort", "wordlist-trace 1", 1,
                   "the line has no line end: the trace is cut short"},
        BrokenCase{"CutShort", kTrace.substr(0, kTrace.find("druhy") + 5), 3,
                   "the line has no line end: the trace is cut short"},
        BrokenCase{"NoListing", kTrace.substr(0, kTrace.find("Seznam")), 7,
                   "the trace ends without its final listing"},
        BrokenCase{"MixedLineEnds", trace_edited("druhy\n", "druhy\r\n"), 3,
                   "the line ends otherwise than the first line (LF and CR LF mixed)"},
        BrokenCase{"ListingLineEnds", trace_edited("00001040\n", "00001040\r\n"), 7,
                   "the line ends otherwise than the first line (LF and CR LF mixed)"},
        BrokenCase{"UnknownAddition", trace_edited("counted 0", "count 0"), 4, kNotAddition},
        BrokenCase{"AddressTooShort", trace_edited("inserted 00001000", "inserted 1000"), 2,
                   "an address is not 8 or 16 upper-case hexadecimal digits"},
        BrokenCase{"AddressesDiffer", trace_edited("counted 00001000", "counted 0000000000001000"),
                   4, "an address is not as wide as the trace's first"},
        BrokenCase{"LinkedNowhere", trace_edited("00001080 after", "00001080 before"), 6,
                   "an inserted element is linked neither at head nor after an address"},
        BrokenCase{"WordMissing", trace_edited(" WORD: t", ""), 6, "WORD is missing"},
        BrokenCase{"WordWithDelimiter", trace_edited("WORD: t", "WORD: t,u"), 6, kWordBytes},
        BrokenCase{"CountPadded", trace_edited("COUNT: 2", "COUNT:  2"), 4, kCountForm2},
        BrokenCase{"CountOfOne", trace_edited("COUNT: 2", "COUNT: 1"), 4, kCountForm2},
        BrokenCase{"CountLeadingZero", trace_edited("COUNT: 2", "COUNT: 02"), 4, kCountForm2},
        BrokenCase{"CountOverflows", trace_edited("COUNT: 2", "COUNT: 2147483648"), 4, kCountHigh},
        BrokenCase{"CountAtItsLimit", trace_edited("COUNT: 2", "COUNT: 2147483647"), 4,
                   "COUNT is not the element's count plus one"},
        BrokenCase{"InsertedNull", trace_edited("inserted 00001040", "inserted 00000000"), 3,
                   "ADR is null"},
        BrokenCase{"InsertedTwice", trace_edited("inserted 00001040", "inserted 00001000"), 3,
                   "ADR is already an element: an inserted element must be new"},
        BrokenCase{"InsertedPresentWord", trace_edited("WORD: t\n", "WORD: pokus\n"), 6,
                   "the word is in the list already: it would have been counted"},
        BrokenCase{"LinkedAfterUnknown", trace_edited("after 00001000", "after 00002000"), 6,
                   "the element it is linked after is not in the list"},
        // Addresses below and between the inserted ones, not only above.
        BrokenCase{"LinkedAfterBelowAll", trace_edited("after 00001000", "after 00000800"), 6,
                   "the element it is linked after is not in the list"},
        BrokenCase{"CountedBetween", trace_edited("counted 00001000", "counted 00001020"), 4,
                   "ADR is not an element of the list"},
        BrokenCase{"LinkedOutOfOrder", trace_edited("after 00001000", "after 00001040"), 6,
                   "the word would not stand in order where it is linked"},
        BrokenCase{"InsertedAtWrongHead",
                   trace_edited(kTLine, "inserted 00001080 at head WORD: t\n"), 6,
                   "the word would not stand in order where it is linked"},
        BrokenCase{"CountedUnknown", trace_edited("counted 00001000", "counted 00002000"), 4,
                   "ADR is not an element of the list"},
        BrokenCase{"CountedOtherWord", trace_edited("counted 00001000", "counted 00001040"), 4,
                   "the element at ADR holds another word"},
        BrokenCase{"CountSkips", trace_edited("COUNT: 2", "COUNT: 3"), 4,
                   "COUNT is not the element's count plus one"},
        BrokenCase{"ListingBroken", trace_edited("COUNT:   2", "COUNT:   0"), 9, kCountLow},
        BrokenCase{"ListingCountDiffers", trace_edited("COUNT:   2", "COUNT:   3"), 9,
                   "COUNT differs from the replayed count"},
        BrokenCase{"ListingWordDiffers", trace_edited("COUNT:   1 WORD: t", "COUNT:   1 WORD: u"),
                   10, "WORD differs from the replayed word"},
        BrokenCase{"ListingAddressDiffers", trace_edited("inserted 00001080", "inserted 00001090"),
                   10, "ADR is not the replayed list's element at this position"},
        BrokenCase{"ListingShorter",
                   trace_edited("NEXT: 00001080 COUNT:   2 WORD: pokus\n"
                                "  3 ADR: 00001080 NEXT: 00000000 COUNT:   1 WORD: t\n",
                                "NEXT: 00000000 COUNT:   2 WORD: pokus\n"),
                   9, "the listing ends before the replayed list"},
        BrokenCase{"ListingLonger", trace_edited(kTLine, ""), 9,
                   "the replayed list ends before this element"},
        BrokenCase{"ListingWider",
                   "wordlist-trace 1\ninserted 00001000 at head WORD: a\n"
                   "Seznam - adresa prvniho prvku: 0000000000001000\n"
                   "  1 ADR: 0000000000001000 NEXT: 0000000000000000 COUNT:   1 WORD: a\n",
                   3, kNarrower},
        BrokenCase{"ListingNarrower",
                   "wordlist-trace 1\ninserted 0000000000001000 at head WORD: a\n"
                   "Seznam - adresa prvniho prvku: 00001000\n"
                   "  1 ADR: 00001000 NEXT: 00000000 COUNT:   1 WORD: a\n",
                   3, kNarrower},
        BrokenCase{"FrontLinkedAfter", front_edited("00001080 at head", "00001080 after 00001040"),
                   5, "a new element is linked after another: a front trace links it at head"},
        BrokenCase{"FrontWordAgain", front_edited("at head WORD: zz", "at head WORD: pokus"), 5,
                   "the word is in the list already: it would have been counted"},
        BrokenCase{
            "FrontListingInOrder",
            front_edited("00001080\n  1 ADR: 00001080 NEXT: 00001040 COUNT:   1 WORD: zz\n"
                         "  2 ADR: 00001040 NEXT: 00001000 COUNT:   1 WORD: druhy\n"
                         "  3 ADR: 00001000 NEXT: 00000000 COUNT:   2 WORD: pokus\n",
                         "00001040\n  1 ADR: 00001040 NEXT: 00001000 COUNT:   1 WORD: druhy\n"
                         "  2 ADR: 00001000 NEXT: 00001080 COUNT:   2 WORD: pokus\n"
                         "  3 ADR: 00001080 NEXT: 00000000 COUNT:   1 WORD: zz\n"),
            7, "ADR is not the replayed list's element at this position"},
        BrokenCase{"OtherBuild", trace_edited("trace 1\n", "trace 1 back\n"), 1,
                   "the trace's format is not version 1"},
        // No addresses in the additions, or no additions at all.
        BrokenCase{"ListingWithoutInsertions",
                   "wordlist-trace 1\nnot counted WORD: a\n"
                   "Seznam - adresa prvniho prvku: 00001000\n"
                   "  1 ADR: 00001000 NEXT: 00000000 COUNT:   1 WORD: a\n",
                   4, "the replayed list ends before this element"},
        BrokenCase{"ListingWithoutAdditions",
                   "wordlist-trace 1\nSeznam - adresa prvniho prvku: 00001000\n", 3,
                   "no element follows the header"},
        BrokenCase{"ListingEmpty", kTrace.substr(0, kTrace.find("Seznam")) + "Seznam je prazdny.\n",
                   7, "the replayed list is not empty"}),
    [](const auto& info) { return std::string(info.param.name); });

// Tests that a good trace is read whole, its steps naming the final
// listing's elements, on every target's line ends.
TEST(TraceTest, ReadsEveryStep) {
  std::string crlf;
  for (const char c : kTrace) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  for (const std::string& text : {kTrace, crlf}) {
    ParsedTrace trace{};
    ListingError error{};
    ASSERT_EQ(ReadResult::kRead, trace_read(text.data(), text.size(), &trace, &error))
        << error.line << ": " << error.what;
    const std::pair<StepKind, std::size_t> expected[] = {{StepKind::kInserted, 1},
                                                         {StepKind::kInserted, 0},
                                                         {StepKind::kCounted, 1},
                                                         {StepKind::kNotCounted, SIZE_MAX},
                                                         {StepKind::kInserted, 2}};
    ASSERT_EQ(5U, trace.size);
    for (std::size_t i = 0; i < trace.size; ++i) {
      EXPECT_EQ(expected[i].first, trace.steps[i].kind) << i;
      EXPECT_EQ(expected[i].second, trace.steps[i].element) << i;
    }
    EXPECT_EQ(3U, trace.listing.size);
    EXPECT_FALSE(trace.front);
    trace_release(&trace);
  }
  EXPECT_FALSE(is_trace(kGood.data(), kGood.size()));
  EXPECT_TRUE(is_trace("wordlist-trace ", 15));  // the name alone, to be read as a trace
  EXPECT_FALSE(is_trace("wordlist-trace", 14));
  ParsedTrace front{};
  ListingError error{};
  ASSERT_EQ(ReadResult::kRead, trace_read(kFrontTrace.data(), kFrontTrace.size(), &front, &error))
      << error.line << ": " << error.what;
  EXPECT_TRUE(front.front);
  const std::size_t elements[] = {2, 1, 2, 0};
  ASSERT_EQ(4U, front.size);
  for (std::size_t i = 0; i < front.size; ++i) {
    EXPECT_EQ(elements[i], front.steps[i].element) << i;
  }
  trace_release(&front);
}

// Tests where two traces' additions first differ: nowhere, in the first
// word (of the same length), in a later one, or where the shorter ends,
// whichever of the two it is.
TEST(TraceTest, FindsTheFirstDifference) {
  const std::string other_first =
      "wordlist-trace 1\ninserted 00001000 at head WORD: pokuz\n"
      "Seznam - adresa prvniho prvku: 00001000\n"
      "  1 ADR: 00001000 NEXT: 00000000 COUNT:   1 WORD: pokuz\n";
  const std::string shorter = kTrace.substr(0, kTrace.find("inserted 00001080")) +
                              "Seznam - adresa prvniho prvku: 00001040\n"
                              "  1 ADR: 00001040 NEXT: 00001000 COUNT:   1 WORD: druhy\n"
                              "  2 ADR: 00001000 NEXT: 00000000 COUNT:   2 WORD: pokus\n";
  const struct {
    const std::string& a;
    const std::string& b;
    std::size_t differs;
  } cases[] = {{kTrace, kTrace, 0},
               {kTrace, other_first, 1},
               {kTrace, kFrontTrace, 4},
               {kTrace, shorter, 5},
               {shorter, kTrace, 5}};
  for (const auto& test : cases) {
    ParsedTrace a{};
    ParsedTrace b{};
    ListingError error{};
    ASSERT_EQ(ReadResult::kRead, trace_read(test.a.data(), test.a.size(), &a, &error))
        << error.line << ": " << error.what;
    ASSERT_EQ(ReadResult::kRead, trace_read(test.b.data(), test.b.size(), &b, &error))
        << error.line << ": " << error.what;
    EXPECT_EQ(test.differs, traces_first_difference(a, b)) << test.differs;
    trace_release(&a);
    trace_release(&b);
  }
}

// Tests that two inputs refused as a page's two runs leave both traces
// empty, the first too when it was read, and say why in one line that
// names the input at fault.
TEST(TraceTest, RefusedRunsLeaveNothingRead) {
  const struct {
    const char* name;
    std::string first;
    std::string second;
    const char* reason;
  } cases[] = {
      {"SecondNotATrace", kTrace, kGood, "second: not a trace"},
      {"SecondBroken", kFrontTrace, trace_edited("WORD: t\n", "WORD: \n"), "second:6: WORD is"},
      {"SameWay", kTrace, kTrace, "second: built the same way"},
      {"OtherAdditions", kTrace, kFrontTrace, "second: addition 4 is not that of first"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    const NamedInput inputs[2] = {{"first", test.first.data(), test.first.size()},
                                  {"second", test.second.data(), test.second.size()}};
    ParsedTrace traces[2] = {};
    testing::internal::CaptureStderr();
    const int status = read_two_runs("wordlist-graph", inputs, traces);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(kExitTrouble, status);
    EXPECT_EQ(0U, said.find(std::string("wordlist-graph: ") + test.reason)) << said;
    EXPECT_EQ(said.size() - 1, said.find('\n')) << said;
    for (const ParsedTrace& trace : traces) {
      EXPECT_EQ(nullptr, trace.steps);
      EXPECT_EQ(nullptr, trace.listing.elements);
    }
  }
}

}  // namespace

namespace {

// Tests that a trace is replayed whole when its addresses meet in the
// reader's table: thousands of elements at random addresses, each
// inserted in order and then counted once, in a shuffled order.
TEST(TraceTest, ReplaysALargeTraceWhoseAddressesMeet) {
  constexpr std::size_t kWords = 3000;
  std::mt19937_64 random(20261208);
  std::set<std::uint64_t> taken;
  std::vector<std::uint64_t> addresses;
  while (addresses.size() < kWords) {
    const std::uint64_t address = (random() & 0xFFFFFFFFFFF0ULL) | 0x10;
    if (taken.insert(address).second) {
      addresses.push_back(address);
    }
  }
  const auto hex = [](std::uint64_t value) {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016" PRIX64, value);
    return std::string(digits);
  };
  const auto word = [](std::size_t i) { return "w" + std::to_string(10000 + i); };
  std::string text = "wordlist-trace 1\n";
  for (std::size_t i = 0; i < kWords; ++i) {
    text += "inserted " + hex(addresses[i]) +
            (i == 0 ? " at head" : " after " + hex(addresses[i - 1])) + " WORD: " + word(i) + "\n";
  }
  std::vector<std::size_t> counted(kWords);
  std::iota(counted.begin(), counted.end(), 0);
  std::shuffle(counted.begin(), counted.end(), random);
  for (const std::size_t i : counted) {
    text += "counted " + hex(addresses[i]) + " COUNT: 2 WORD: " + word(i) + "\n";
  }
  text += "Seznam - adresa prvniho prvku: " + hex(addresses[0]) + "\n";
  for (std::size_t i = 0; i < kWords; ++i) {
    char position[8];
    std::snprintf(position, sizeof position, "%3zu", i + 1);
    text += position + (" ADR: " + hex(addresses[i])) +
            " NEXT: " + hex(i + 1 < kWords ? addresses[i + 1] : 0) +
            " COUNT:   2 WORD: " + word(i) + "\n";
  }
  ParsedTrace trace{};
  ListingError error{};
  ASSERT_EQ(ReadResult::kRead, trace_read(text.data(), text.size(), &trace, &error))
      << error.line << ": " << error.what;
  ASSERT_EQ(2 * kWords, trace.size);
  for (std::size_t i = 0; i < trace.size; ++i) {
    EXPECT_EQ(i < kWords ? i : counted[i - kWords], trace.steps[i].element) << i;
  }
  trace_release(&trace);
}

// Tests where a line is found to end, for every way a line can end or
// not: each text is read from the byte after a carriage return, which a
// reader that looks before the line would take for part of its end.
TEST(LineEndTest, LooksOnlyWithinTheLine) {
  struct {
    std::string text;
    std::ptrdiff_t content;  // bytes before the line end
    bool ends;
    bool crlf;
  } const cases[] = {
      {"\n", 0, true, false},      {"\r\n", 0, true, true},   {"a\n", 1, true, false},
      {"a\r\nb\n", 1, true, true}, {"\r\r\n", 1, true, true}, {"a\rb\n", 3, true, false},
      {"", 0, false, false},       {"\r", 0, false, false},   {"ab", 0, false, false},
  };
  for (const auto& test : cases) {
    const std::string buffer = "\r" + test.text;
    const char* at = buffer.data() + 1;
    LineEnd line_end{};
    ASSERT_EQ(test.ends, find_line_end(at, at + test.text.size(), &line_end))
        << testing::PrintToString(test.text);
    if (test.ends) {
      EXPECT_EQ(test.content, line_end.content_end - at) << testing::PrintToString(test.text);
      EXPECT_EQ(test.crlf, line_end.crlf) << testing::PrintToString(test.text);
      EXPECT_EQ(at + test.text.find('\n') + 1, line_end.next_line);
    }
  }
}

struct PageCase {
  const char* name;
  std::string text;  // a listing or a trace
  std::size_t limit;
  std::vector<long long> steps;  // of a trace, as the page numbers them
  std::vector<std::string> uncounted;
};

void PrintTo(const PageCase& test, std::ostream* out) { *out << test.name; }

class PageDataTest : public testing::TestWithParam<PageCase> {};

std::vector<long long> numbers_of(const JsonValue& array) {
  std::vector<long long> numbers;
  for (const JsonValue& item : array.items) {
    numbers.push_back(item.kind == JsonValue::kNumber ? item.number : LLONG_MIN);
  }
  return numbers;
}

std::vector<std::string> texts_of(const JsonValue& array) {
  std::vector<std::string> texts;
  for (const JsonValue& item : array.items) {
    texts.push_back(item.kind == JsonValue::kString ? item.text : "(not a string)");
  }
  return texts;
}

// Tests that the page's data, read back, says exactly what the listing
// or trace it was made from says: the drawn elements' addresses, counts,
// words and order of address, the list's size and the NEXT that ends the
// drawing, and a replay's every addition.
TEST_P(PageDataTest, SaysWhatItWasMadeFrom) {
  const PageCase& test = GetParam();
  ParsedTrace trace{};
  ListingError error{};
  const bool replay = is_trace(test.text.data(), test.text.size());
  const ReadResult read =
      replay ? trace_read(test.text.data(), test.text.size(), &trace, &error)
             : listing_read(test.text.data(), test.text.size(), &trace.listing, &error);
  ASSERT_EQ(ReadResult::kRead, read) << error.line << ": " << error.what;
  const ParsedListing& listing = trace.listing;
  const JsonValue data = page_data(written([&](std::FILE* file) {
    if (replay) {
      html_write_replay(file, trace, GraphView::kList);
    } else {
      html_write(file, listing, GraphView::kList, test.limit);
    }
  }));
  ASSERT_EQ(JsonValue::kObject, data.kind);
  const std::size_t drawn =
      test.limit == 0 ? listing.size : std::min<std::size_t>(test.limit, listing.size);
  const int digits = listing.size == 0 ? 8 : listing.address_digits;
  const auto hex = [digits](std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%0*" PRIX64, digits, value);
    return std::string(text);
  };
  std::string addresses;
  std::vector<long long> counts;
  std::vector<std::string> words;
  std::vector<long long> by_address(drawn);
  for (std::size_t i = 0; i < drawn; ++i) {
    addresses += hex(listing.elements[i].address);
    counts.push_back(listing.elements[i].count);
    words.emplace_back(listing.elements[i].word, listing.elements[i].word_length);
    by_address[i] = static_cast<long long>(i);
  }
  std::sort(by_address.begin(), by_address.end(), [&](long long a, long long b) {
    return listing.elements[a].address < listing.elements[b].address;
  });
  EXPECT_EQ(digits, data["digits"].number);
  EXPECT_EQ(static_cast<long long>(listing.size), data["total"].number);
  EXPECT_EQ("list", data["view"].text);
  EXPECT_EQ(hex(drawn == 0 ? 0 : listing.elements[drawn - 1].next), data["tail"].text);
  EXPECT_EQ(addresses, data["addresses"].text);
  EXPECT_EQ(counts, numbers_of(data["counts"]));
  EXPECT_EQ(words, texts_of(data["words"]));
  EXPECT_EQ(by_address, numbers_of(data["byAddress"]));
  EXPECT_EQ(replay ? JsonValue::kArray : JsonValue::kInvalid, data["steps"].kind);
  EXPECT_EQ(test.steps, numbers_of(data["steps"]));
  EXPECT_EQ(test.uncounted, texts_of(data["uncounted"]));
  EXPECT_EQ(replay ? (trace.front ? "front" : "sorted") : "", data["build"].text);
  trace_release(&trace);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageDataTest,
    testing::Values(PageCase{"EmptyList", "Seznam je prazdny.\n", 0, {}, {}},
                    PageCase{"OneElement", listing_of(1, "\n"), 0, {}, {}},
                    PageCase{"LimitOne", kGood, 1, {}, {}},
                    PageCase{"LimitBelowSize", kGood, 2, {}, {}},
                    PageCase{"LimitAtSize", kGood, 3, {}, {}},
                    PageCase{"LimitAboveSize", kGood, 4, {}, {}},
                    PageCase{"NoLimit", kGood, 0, {}, {}},
                    // The second word not counted comes after an insertion.
                    PageCase{"Replay",
                             trace_edited(kTLine, kTLine + "not counted WORD: druh\xC3\xA9\xFF\n"),
                             0,
                             {2, 0, 3, -1, 4, -2},
                             {"pokus", "druh\xC3\xA9\xFF"}},
                    PageCase{"EmptyReplay", "wordlist-trace 1\nSeznam je prazdny.\n", 0, {}, {}},
                    PageCase{"FrontReplay", kFrontTrace, 0, {4, 2, 5, 0}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// Tests that a page of two runs holds each, the second as "other", each
// with its own elements, order of address and additions.
TEST(PageDataTest, HoldsBothRuns) {
  const std::string front =
      "wordlist-trace 1 front\n"
      "inserted 00002000 at head WORD: pokus\n"
      "inserted 00002040 at head WORD: druhy\n"
      "counted 00002000 COUNT: 2 WORD: pokus\n"
      "not counted WORD: pokus\n"
      "inserted 00002080 at head WORD: t\n"
      "Seznam - adresa prvniho prvku: 00002080\n"
      "  1 ADR: 00002080 NEXT: 00002040 COUNT:   1 WORD: t\n"
      "  2 ADR: 00002040 NEXT: 00002000 COUNT:   1 WORD: druhy\n"
      "  3 ADR: 00002000 NEXT: 00000000 COUNT:   2 WORD: pokus\n";
  ParsedTrace runs[2] = {};
  ListingError error{};
  ASSERT_EQ(ReadResult::kRead, trace_read(kTrace.data(), kTrace.size(), &runs[0], &error));
  ASSERT_EQ(ReadResult::kRead, trace_read(front.data(), front.size(), &runs[1], &error))
      << error.line << ": " << error.what;
  const JsonValue data = page_data(
      written([&](std::FILE* file) { html_write_runs(file, runs[0], runs[1], GraphView::kList); }));
  const JsonValue& other = data["other"];
  EXPECT_EQ("sorted", data["build"].text);
  EXPECT_EQ((std::vector<long long>{2, 0, 3, -1, 4}), numbers_of(data["steps"]));
  EXPECT_EQ("front", other["build"].text);
  EXPECT_EQ((std::vector<long long>{4, 2, 5, -1, 0}), numbers_of(other["steps"]));
  EXPECT_EQ((std::vector<std::string>{"pokus"}), texts_of(other["uncounted"]));
  EXPECT_EQ("000020800000204000002000", other["addresses"].text);
  EXPECT_EQ((std::vector<std::string>{"t", "druhy", "pokus"}), texts_of(other["words"]));
  EXPECT_EQ((std::vector<long long>{2, 1, 0}), numbers_of(other["byAddress"]));
  EXPECT_EQ(JsonValue::kInvalid, other["other"].kind);
  trace_release(&runs[0]);
  trace_release(&runs[1]);
}

}  // namespace
